#include <gtest/gtest.h>

#include <climits>
#include <random>

#include "platform/common/AlphaMask.h"
#include "platform/sdl2/SdlPlatform.h"

namespace vorlanex {
namespace {

const std::string statusLine = "   Alt+F4：退出  敌方坦克数：20 (关卡：1)";

struct Rgb
{
    int r, g, b;
};

Rgb Expand(std::uint16_t p) { return {(p >> 11) * 255 / 31, ((p >> 5) & 63) * 255 / 63, (p & 31) * 255 / 31}; }

// A 16-bit buffer with a guard band around the view, to catch writes outside the clip rectangle.
struct GuardedBuffer
{
    static constexpr std::uint16_t guard = 0x1234;
    static constexpr int margin = 8;
    GuardedBuffer(int width, int height)
        : width(width), height(height), pitch(width + 2 * margin),
          pixels(std::size_t(pitch) * std::size_t(height + 2 * margin), guard)
    {
        for (int y = 0; y < height; ++y)
            std::fill_n(&pixels[Index(0, y)], width, std::uint16_t(0));
    }
    std::size_t Index(int x, int y) const { return std::size_t(y + margin) * std::size_t(pitch) + std::size_t(x + margin); }
    PixelView View() { return {&pixels[Index(0, 0)], width, height, pitch}; }
    std::uint16_t At(int x, int y) const { return pixels[Index(x, y)]; }
    bool GuardIntact() const
    {
        for (int y = -margin; y < height + margin; ++y)
            for (int x = -margin; x < pitch - margin; ++x)
                if ((x < 0 || y < 0 || x >= width || y >= height) && pixels[Index(x, y)] != guard)
                    return false;
        return true;
    }
    int width, height, pitch;
    std::vector<std::uint16_t> pixels;
};

class SdlTextTest : public testing::Test
{
protected:
    void SetUp() override
    {
        text = MakeSdlText();
        text->SetFont("宋体", 12);
    }
    std::unique_ptr<Text> text;
};

TEST_F(SdlTextTest, StatusLineHasSensibleMetricsAt12Points)
{
    int w = 0, h = 0;
    text->Measure(statusLine, w, h);
    EXPECT_GE(w, 250);   // twelve Chinese cells of 16 px plus seventeen narrow ones
    EXPECT_LE(w, 420);
    EXPECT_GE(h, 14);
    EXPECT_LE(h, 24);
    int cjkW = 0, cjkH = 0;
    text->Measure("敌", cjkW, cjkH);
    EXPECT_NEAR(cjkW, 16, 1);   // 12 pt at 96 dpi is a 16-pixel em
    int bigW = 0, bigH = 0;
    text->SetFont("宋体", 16);
    text->Measure(statusLine, bigW, bigH);
    EXPECT_GT(bigW, w);
    EXPECT_GT(bigH, h);
    int emptyW = -1, emptyH = -1;
    text->Measure("", emptyW, emptyH);
    EXPECT_EQ(emptyW, 0);
    EXPECT_GT(emptyH, 0);
}

TEST_F(SdlTextTest, DrawsYellowTextInsideItsBox)
{
    GuardedBuffer buffer(480, 40);
    text->Draw(buffer.View(), 10, 8, statusLine, 255, 255, 0);
    int w = 0, h = 0;
    text->Measure(statusLine, w, h);
    int yellow = 0;
    for (int y = 0; y < buffer.height; ++y)
        for (int x = 0; x < buffer.width; ++x)
        {
            const std::uint16_t p = buffer.At(x, y);
            if (p == 0)
                continue;
            EXPECT_TRUE(x >= 10 && x < 10 + w && y >= 8 && y < 8 + h) << x << "," << y;
            const Rgb c = Expand(p);
            EXPECT_EQ(c.b, 0);
            EXPECT_NEAR(c.r, c.g, 12);   // every blend of yellow onto black is a darker yellow
            yellow += c.r > 200 && c.g > 200;
        }
    EXPECT_GT(yellow, 150);
    EXPECT_TRUE(buffer.GuardIntact());
}

// Renders are cached without their colour, so the same string must still come out in each caller's colour.
TEST_F(SdlTextTest, SameStringInAnotherColourUsesThatColour)
{
    GuardedBuffer first(200, 24), second(200, 24);
    text->Draw(first.View(), 0, 0, "敌方坦克数：20", 255, 255, 0);
    text->Draw(second.View(), 0, 0, "敌方坦克数：20", 255, 0, 0);
    int red = 0;
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 200; ++x)
        {
            const Rgb a = Expand(first.At(x, y)), c = Expand(second.At(x, y));
            EXPECT_EQ(c.g, 0);
            EXPECT_EQ(a.r > 200, c.r > 200) << x << "," << y;   // same coverage, other colour
            red += c.r > 200;
        }
    EXPECT_GT(red, 50);
}

TEST_F(SdlTextTest, ClippingAtEveryEdgeStaysInsideTheTarget)
{
    GuardedBuffer buffer(64, 16);
    const std::pair<int, int> places[] = {{-30, -6}, {40, 8}, {-5, 10}, {60, -10}, {0, 15}, {63, 0},
                                          {INT_MIN, 0}, {INT_MAX, INT_MAX}, {0, INT_MIN}, {INT_MAX - 4, 3}};
    for (const auto& [x, y] : places)
        text->Draw(buffer.View(), x, y, statusLine, 255, 255, 0);
    EXPECT_TRUE(buffer.GuardIntact());
    int painted = 0;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 64; ++x)
            painted += buffer.At(x, y) != 0;
    EXPECT_GT(painted, 20);
}

TEST_F(SdlTextTest, HostileTextNeitherCrashesNorEscapesTheTarget)
{
    GuardedBuffer buffer(256, 24);
    text->Draw(buffer.View(), 0, 0, "\xFF\xFE\xC3 abc\xE6\x95", 255, 255, 255);
    text->Draw(buffer.View(), 0, 0, std::string("a\0b", 3), 255, 255, 255);
    std::string endless;
    for (int i = 0; i < 100000; ++i)
        endless += "敌方";
    int w = 0, h = 0;
    text->Measure(endless, w, h);
    EXPECT_GT(w, 1000000);
    GuardedBuffer ticker(256, 24);
    text->Draw(ticker.View(), -1000000, 2, endless, 255, 255, 0);
    int painted = 0;
    for (int x = 0; x < 256; ++x)
        painted += ticker.At(x, 10) != 0;
    EXPECT_GT(painted, 10);   // the middle of the line is on screen
    EXPECT_TRUE(buffer.GuardIntact());
    EXPECT_TRUE(ticker.GuardIntact());

    for (int points : {0, -12, 1000000})
    {
        text->SetFont("宋体", points);
        text->Measure("敌", w, h);
        EXPECT_GT(w, 0);
        EXPECT_LT(h, 2000);
        text->Draw(buffer.View(), 0, 0, "敌", 255, 255, 255);
    }
    EXPECT_TRUE(buffer.GuardIntact());
}

// A family whose own font lacks Chinese glyphs still draws Chinese: another installed font covers it.
TEST_F(SdlTextTest, FamilyWithoutChineseFallsBackToAFontThatHasIt)
{
    int songW = 0, songH = 0;
    text->Measure("敌方坦克", songW, songH);
    text->SetFont("DejaVu Sans", 12);
    int latinW = 0, latinH = 0;
    text->Measure("敌方坦克", latinW, latinH);
    EXPECT_EQ(latinW, songW);
    text->SetFont("No Such Family At All", 12);
    text->Measure("Alt+F4", latinW, latinH);
    EXPECT_GT(latinW, 0);
}

TEST(AlphaMask, BlendsPartialCoverageAndSkipsEmptyPixels)
{
    AlphaMask mask{3, 1, {0, 128, 255}};
    std::vector<std::uint16_t> pixels = {0x001F, 0x001F, 0x001F};   // blue
    BlendMask({pixels.data(), 3, 1, 3}, 0, 0, mask, 255, 0, 0);
    EXPECT_EQ(pixels[0], 0x001F);
    EXPECT_EQ(pixels[2], 0xF800);
    const Rgb half = Expand(pixels[1]);
    EXPECT_NEAR(half.r, 128, 9);
    EXPECT_NEAR(half.b, 127, 9);
    AlphaMask broken{4, 4, {255}};   // claims more pixels than it has
    BlendMask({pixels.data(), 3, 1, 3}, 0, 0, broken, 0, 0, 0);
    EXPECT_EQ(pixels[2], 0xF800);
}

// Every coverage value over many colours, in rows of 19 so that both the eight-wide blend and the single pixels
// at a row's end are checked against the per-channel rule: round((text * a + beneath * (255 - a)) / 255), the
// beneath channel widened by repeating its top bits.
TEST(AlphaMask, EveryCoverageBlendsByTheRuleInEveryLane)
{
    constexpr int Width = 19;
    std::mt19937 random(5);
    const auto widen = [](unsigned v, int bits) { return (v << (8 - bits)) | (v >> (2 * bits - 8)); };
    for (const Rgb text : {Rgb{0, 0, 0}, Rgb{255, 255, 255}, Rgb{255, 215, 0}, Rgb{17, 130, 250}})
    {
        AlphaMask mask{Width, 256 / Width + 1, {}};
        for (int i = 0; i < mask.width * mask.height; ++i)
            mask.alpha.push_back(std::uint8_t(i * 97 % 256));
        std::vector<std::uint16_t> pixels(mask.alpha.size());
        for (std::uint16_t& p : pixels)
            p = std::uint16_t(random());
        const std::vector<std::uint16_t> before = pixels;
        BlendMask({pixels.data(), Width, mask.height, Width}, 0, 0, mask, std::uint8_t(text.r), std::uint8_t(text.g),
                  std::uint8_t(text.b));
        for (std::size_t i = 0; i < pixels.size(); ++i)
        {
            const unsigned a = mask.alpha[i], d = before[i];
            const auto mix = [a](unsigned c, unsigned beneath) { return (c * a + beneath * (255 - a) + 127) / 255; };
            const unsigned r = mix(unsigned(text.r), widen(d >> 11, 5)) >> 3;
            const unsigned g = mix(unsigned(text.g), widen((d >> 5) & 63, 6)) >> 2;
            const unsigned b = mix(unsigned(text.b), widen(d & 31, 5)) >> 3;
            ASSERT_EQ(pixels[i], (r << 11) | (g << 5) | b) << "coverage " << a << " over " << d << " at " << i;
        }
    }
}

}  // namespace
}  // namespace vorlanex
