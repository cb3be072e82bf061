#include <gtest/gtest.h>

#include "platform/common/Gbk.h"
#include "platform/common/Utf8.h"

namespace vorlanex {
namespace {

// GBK bytes written out by hand, so the tests do not depend on the converter they check.
const std::string helpFileGbk = "\xB2\xD9\xD7\xF7\xB0\xEF\xD6\xFA.TXT";       // 操作帮助.TXT
const std::string starsGbk = "\xA1\xEE\xA1\xEF";                              // ☆★
const std::string enemiesGbk = "\xB5\xD0\xB7\xBD\xCC\xB9\xBF\xCB\xCA\xFD\xA3\xBA" "20";   // 敌方坦克数：20

TEST(Gbk, GameTextsConvertBothWays)
{
    EXPECT_EQ(GbkToUtf8(helpFileGbk), "操作帮助.TXT");
    EXPECT_EQ(GbkToUtf8(starsGbk), "☆★");
    EXPECT_EQ(GbkToUtf8(enemiesGbk), "敌方坦克数：20");
    for (const std::string& gbk : {helpFileGbk, starsGbk, enemiesGbk, std::string("MAP001.map"), std::string()})
        EXPECT_EQ(Utf8ToGbk(GbkToUtf8(gbk)), gbk);
}

TEST(Gbk, Utf16MatchesUtf8)
{
    EXPECT_EQ(GbkToUtf16(helpFileGbk), u"操作帮助.TXT");
    EXPECT_EQ(GbkToUtf16(starsGbk), u"☆★");
    EXPECT_EQ(Utf16ToUtf8(GbkToUtf16(enemiesGbk)), "敌方坦克数：20");
    EXPECT_EQ(Utf16ToUtf8(u"\U0001F600x"), "\U0001F600x");   // a surrogate pair becomes one code point
}

TEST(Gbk, BrokenInputIsRefusedWithAMessage)
{
    // A lead byte at the very end, a lead byte followed by a byte that cannot trail, and the 0xFF byte.
    for (const std::string& bad : {std::string("ab\xB2"), std::string("\xB2\x20zz"), std::string("\xFF")})
    {
        try
        {
            GbkToUtf8(bad);
            ADD_FAILURE() << "accepted broken GBK";
        }
        catch (const TextEncodingError& error)
        {
            EXPECT_NE(std::string(error.what()).find("GBK"), std::string::npos) << error.what();
        }
    }
    EXPECT_THROW(GbkToUtf16("\x81"), TextEncodingError);
    const std::pair<std::string, std::string> refused[] = {
        {"ab\xE6\x93", "Invalid UTF-8 text at byte 2"},      // truncated
        {"a\xED\xA0\x80", "Invalid UTF-8 text at byte 1"},   // an encoded surrogate
        {"a\U0001F600", "no GBK form at byte 1"},
        {"\xEF\xBF\xBD", "no GBK form at byte 0"},          // U+FFFD itself is fine UTF-8 but not GBK
    };
    for (const auto& [utf8, message] : refused)
    {
        try
        {
            Utf8ToGbk(utf8);
            ADD_FAILURE() << "converted " << utf8;
        }
        catch (const TextEncodingError& error)
        {
            EXPECT_NE(std::string(error.what()).find(message), std::string::npos) << error.what();
        }
    }
    EXPECT_THROW(Utf16ToUtf8(std::u16string(1, char16_t(0xD800))), TextEncodingError);
    EXPECT_THROW(Utf16ToUtf8(std::u16string{char16_t(0xDC00), u'a'}), TextEncodingError);
}

TEST(Utf8, DecodingConsumesEveryByteOnce)
{
    const std::string text = "a敌\xC3\x28\xE2\x82\xF0\x9F\x98\x80\xC0\xAF\xED\xA0\x80";
    std::u32string decoded;
    for (std::size_t pos = 0; pos < text.size();)
    {
        const std::size_t before = pos;
        decoded += NextCodePoint(text, pos);
        ASSERT_GT(pos, before);
        ASSERT_LE(pos, text.size());
    }
    const char32_t r = ReplacementCharacter;
    // Broken lead, good '(', truncated sequence (two bytes), emoji, overlong '/', encoded surrogate (three bytes).
    EXPECT_EQ(decoded, (std::u32string{U'a', U'敌', r, U'(', r, r, U'\U0001F600', r, r, r, r, r}));
}

TEST(Utf8, EncodingRoundTripsAndReplacesNonScalars)
{
    std::string out;
    for (char32_t cp : {char32_t(0x41), char32_t(0x7FF), char32_t(0xFFFF), char32_t(0x10FFFF)})
        AppendUtf8(out, cp);
    std::size_t pos = 0;
    EXPECT_EQ(NextCodePoint(out, pos), 0x41u);
    EXPECT_EQ(NextCodePoint(out, pos), 0x7FFu);
    EXPECT_EQ(NextCodePoint(out, pos), 0xFFFFu);
    EXPECT_EQ(NextCodePoint(out, pos), 0x10FFFFu);
    EXPECT_EQ(pos, out.size());
    std::string bad;
    AppendUtf8(bad, 0xD800);
    AppendUtf8(bad, 0x110000);
    EXPECT_EQ(bad, "\xEF\xBF\xBD\xEF\xBF\xBD");
}

}  // namespace
}  // namespace vorlanex
