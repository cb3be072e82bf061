// Damaged and hostile compound files: every fault is a CompoundFileError naming the file, never a crash,
// a hang or a huge allocation.

#include <gtest/gtest.h>

#include <functional>

#include "framework/CompoundFile.h"
#include "framework/CompoundFileNames.h"
#include "framework/CompoundFileWriter.h"
#include "support/CompoundFileTesting.h"

namespace vorlanex {
namespace {

using testing::GetLe32;
using testing::PatternBytes;
using testing::PutLe32;
using Image = std::vector<std::uint8_t>;

constexpr std::uint32_t Sector = 512;

// Root: "Dir" (holding "Inner", 100 bytes), "Large" (5000 bytes, ordinary sectors), "Small" (200 bytes, mini).
Image Sample()
{
    CompoundFileWriter writer(3);
    writer.AddStream({u"Large"}, PatternBytes(5000, 1));
    writer.AddStream({u"Small"}, PatternBytes(200, 2));
    writer.AddStream({u"Dir", u"Inner"}, PatternBytes(100, 3));
    return writer.Build();
}

std::size_t SectorOffset(std::uint32_t sector) { return (std::size_t(sector) + 1) * Sector; }

// Offset of the directory entry called `name` (the writer puts the directory's two sectors side by side).
std::size_t EntryOffset(const Image& image, const std::u16string& name)
{
    const std::size_t dir = SectorOffset(GetLe32(image, 48));
    for (std::size_t e = 0; e < 2 * Sector / 128; ++e)
    {
        std::u16string entryName;
        for (std::size_t i = 0; i + 2 < image[dir + e * 128 + 64]; i += 2)
            entryName.push_back(char16_t(image[dir + e * 128 + i] | (image[dir + e * 128 + i + 1] << 8)));
        if (entryName == name)
            return dir + e * 128;
    }
    ADD_FAILURE() << "no entry";
    return dir;
}

std::size_t FatEntryOffset(const Image& image, std::uint32_t sector)
{
    return SectorOffset(GetLe32(image, 76) + sector / 128) + 4 * (sector % 128);
}

std::vector<std::uint8_t> ReadPath(const CompoundFile& file, const std::vector<std::u16string>& path)
{
    CompoundFile::EntryId at = CompoundFile::RootId;
    for (std::size_t i = 0; i + 1 < path.size(); ++i)
        at = file.OpenStorage(at, path[i]);
    return file.ReadStream(file.OpenStream(at, path.back()));
}

// Opening and reading everything must either work or fail with a CompoundFileError naming the source.
void ExpectCleanFailure(const Image& image, const std::string& expected)
{
    try
    {
        const auto file = CompoundFile::FromBytes(image, "hostile.til");
        ReadPath(file, {u"Large"});
        ReadPath(file, {u"Small"});
        ReadPath(file, {u"Dir", u"Inner"});
        file.FindChild(file.OpenStorage(CompoundFile::RootId, u"Dir"), u"Missing");
        ADD_FAILURE() << "no error, expected: " << expected;
    }
    catch (const CompoundFileError& e)
    {
        const std::string message = e.what();
        EXPECT_EQ(message.rfind("hostile.til: ", 0), 0u) << message;
        EXPECT_NE(message.find(expected), std::string::npos) << message;
    }
}

TEST(CompoundFileHostile, TheSampleItselfReads)
{
    const auto file = CompoundFile::FromBytes(Sample(), "sample");
    EXPECT_EQ(ReadPath(file, {u"Large"}), PatternBytes(5000, 1));
    EXPECT_EQ(ReadPath(file, {u"Small"}), PatternBytes(200, 2));
    EXPECT_EQ(ReadPath(file, {u"Dir", u"Inner"}), PatternBytes(100, 3));
}

TEST(CompoundFileHostile, DamagedHeadersAreRefused)
{
    struct Case
    {
        const char* expected;
        std::function<void(Image&)> damage;
    };
    const Case cases[] = {
        {"too short", [](Image& i) { i.resize(300); }},
        {"wrong signature", [](Image& i) { i[0] = 'M'; }},
        {"byte order", [](Image& i) { i[28] = 0; }},
        {"unsupported version 4 with sector shift 9", [](Image& i) { i[26] = 4; }},
        {"mini sector shift", [](Image& i) { i[32] = 7; }},
        {"mini stream cutoff", [](Image& i) { PutLe32(i, 56, 8192); }},
        {"allocation table sectors", [](Image& i) { PutLe32(i, 44, 0xFFFFFFFF); }},
        {"allocation table sector 9999", [](Image& i) { PutLe32(i, 76, 9999); }},
        {"allocation table sector 4294967295", [](Image& i) { PutLe32(i, 44, 12); }},
        {"truncated header sector", [](Image& i) { i[26] = 4; i[30] = 12; i.resize(3000); }},
    };
    for (const Case& c : cases)
    {
        Image image = Sample();
        c.damage(image);
        ExpectCleanFailure(image, c.expected);
    }
}

TEST(CompoundFileHostile, BrokenChainsAreRefused)
{
    struct Case
    {
        const char* expected;
        std::function<void(Image&)> damage;
    };
    const Case cases[] = {
        {"loops back", [](Image& i) {   // the large stream's first sector points to itself
             const std::uint32_t start = GetLe32(i, EntryOffset(i, u"Large") + 116);
             PutLe32(i, FatEntryOffset(i, start), start);
         }},
        {"outside", [](Image& i) { PutLe32(i, EntryOffset(i, u"Large") + 116, 100000); }},
        {"ends before its size", [](Image& i) {
             const std::uint32_t start = GetLe32(i, EntryOffset(i, u"Large") + 116);
             PutLe32(i, FatEntryOffset(i, start), 0xFFFFFFFE);
         }},
        {"loops back", [](Image& i) {   // the small stream's first mini sector points to itself
             const std::uint32_t start = GetLe32(i, EntryOffset(i, u"Small") + 116);
             PutLe32(i, SectorOffset(GetLe32(i, 60)) + 4 * start, start);
         }},
        {"loops back", [](Image& i) {   // the directory chain
             const std::uint32_t dir = GetLe32(i, 48);
             PutLe32(i, FatEntryOffset(i, dir), dir);
         }},
        {"has no directory", [](Image& i) { PutLe32(i, 48, 0xFFFFFFFE); }},
        {"more than the file holds", [](Image& i) { PutLe32(i, EntryOffset(i, u"Large") + 120, 0xFFFFFFF0); }},
        {"more than the mini stream holds", [](Image& i) { PutLe32(i, EntryOffset(i, u"Small") + 120, 4000); }},
        {"mini stream claims", [](Image& i) { PutLe32(i, EntryOffset(i, u"Root Entry") + 120, 0x7FFFFFFF); }},
        {"truncated", [](Image& i) { i.resize(i.size() - 100); }},
    };
    for (const Case& c : cases)
    {
        Image image = Sample();
        c.damage(image);
        ExpectCleanFailure(image, c.expected);
    }
}

TEST(CompoundFileHostile, BrokenDirectoriesAreRefused)
{
    struct Case
    {
        const char* expected;
        std::function<void(Image&)> damage;
    };
    const Case cases[] = {
        {"loops", [](Image& i) {   // a sibling that is the entry itself: both the search and the walk stop
             const std::size_t inner = EntryOffset(i, u"Inner");
             PutLe32(i, inner + 72, GetLe32(i, EntryOffset(i, u"Dir") + 76));
         }},
        {"does not exist", [](Image& i) { PutLe32(i, EntryOffset(i, u"Dir") + 76, 5000); }},
        {"bad name length", [](Image& i) { i[EntryOffset(i, u"Inner") + 64] = 66; }},
        {"unknown type", [](Image& i) { i[EntryOffset(i, u"Inner") + 66] = 9; }},
        {"has no root entry", [](Image& i) { i[EntryOffset(i, u"Root Entry") + 66] = 0; }},
        {"no storage 'Dir'", [](Image& i) { i[EntryOffset(i, u"Dir") + 66] = 2; }},
    };
    for (const Case& c : cases)
    {
        Image image = Sample();
        c.damage(image);
        ExpectCleanFailure(image, c.expected);
    }
}

TEST(CompoundFileHostile, ExtendedAllocationTableMustBeComplete)
{
    // Over 109 allocation table sectors: the rest are listed in sectors of their own.
    CompoundFileWriter writer(3);
    writer.AddStream({u"Big"}, PatternBytes(8u << 20, 5));
    const Image sample = writer.Build();
    ASSERT_GT(GetLe32(sample, 44), 109u);
    for (const std::size_t field : {68u, 72u})   // first extended sector, count of extended sectors
    {
        Image image = sample;
        PutLe32(image, field, field == 68 ? 0xFFFFFFFE : 0);
        EXPECT_THROW(CompoundFile::FromBytes(image, "difat"), CompoundFileError);
    }
}

TEST(CompoundFileHostile, MissingAndNonFilesNameThePath)
{
    testing::ScratchFolder folder;
    for (const auto& path : {folder / "absent.til", folder.Path()})
    {
        try
        {
            CompoundFile::Open(path.string());
            ADD_FAILURE() << "opened " << path;
        }
        catch (const CompoundFileError& e)
        {
            EXPECT_NE(std::string(e.what()).find(path.string()), std::string::npos) << e.what();
        }
    }
}

TEST(CompoundFileNames, OrderIsLengthFirstThenUpperCase)
{
    EXPECT_LT(CompareCompoundNames(u"Z", u"AA"), 0);
    EXPECT_EQ(CompareCompoundNames(u"brick", u"BRICK"), 0);
    EXPECT_LT(CompareCompoundNames(u"abc", u"ABD"), 0);
    EXPECT_EQ(CompareCompoundNames(u"\u00e9t\u00e9", u"\u00c9T\u00c9"), 0);   // Latin-1 letters fold too
    EXPECT_EQ(CompareCompoundNames(u"\u0434\u043e\u043c", u"\u0414\u041e\u041c"), 0);   // and Cyrillic
    EXPECT_NE(CompareCompoundNames(u"\u00f7", u"\u00d7"), 0);   // division and multiplication signs differ
    EXPECT_LT(CompareCompoundNames(u"砖墙", u"钢板"), 0);        // CJK by code unit: U+7816 < U+94A2
    EXPECT_EQ(CompoundNameFromUtf8("图库"), u"图库");
    // Names from damaged files go into messages: broken surrogates must not stop the message being made.
    EXPECT_EQ(CompoundNameToUtf8(std::u16string{char16_t(0xD800), u'a'}), "\xEF\xBF\xBD" "a");
    EXPECT_EQ(CompoundNameToUtf8(std::u16string{char16_t(0xD83D), char16_t(0xDE00)}), "\xF0\x9F\x98\x80");

    EXPECT_TRUE(IsValidCompoundName(u"地形"));
    EXPECT_FALSE(IsValidCompoundName(u""));
    EXPECT_FALSE(IsValidCompoundName(u"a/b"));
    EXPECT_FALSE(IsValidCompoundName(std::u16string(32, u'x')));
}

}  // namespace
}  // namespace vorlanex
