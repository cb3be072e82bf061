// The asset generator's raster toolkit: colour reduction, keying and lettering.

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <stdexcept>

#include "Canvas.h"
#include "Encode.h"
#include "Lettering.h"
#include "framework/Bitmap.h"

namespace vorlanex::assetgen {
namespace {

int ChannelError(TColor a, TColor b)
{
    return std::max({std::abs(RedOf(a) - RedOf(b)), std::abs(GreenOf(a) - GreenOf(b)), std::abs(BlueOf(a) - BlueOf(b))});
}

Canvas Gradient(int w, int h)
{
    Canvas c(w, h);
    c.Paint([w, h](double x, double y) { return Rgb(255 * x / w, 255 * y / h, 128 + 100 * std::sin(x * 0.1)); });
    return c;
}

TEST(ColourReduction, ManyColoursFitTheColourTableAndStayClose)
{
    const Canvas canvas = Gradient(200, 120);
    const TBitmap bmp = TBitmap::FromBytes(EncodeIndexed(canvas, std::nullopt), "gradient");
    ASSERT_EQ(bmp.BitCount(), 8);
    EXPECT_LE(bmp.Palette().size(), 256u);
    std::set<TColor> used;
    int worst = 0;
    for (int y = 0; y < 120; ++y)
        for (int x = 0; x < 200; ++x)
        {
            used.insert(bmp.PixelAt(x, y));
            worst = std::max(worst, ChannelError(bmp.PixelAt(x, y), VisibleColour(canvas.At(x, y), std::nullopt)));
        }
    EXPECT_GT(used.size(), 200u) << "the table is put to use";
    EXPECT_LT(worst, 40);
}

TEST(ColourReduction, MedianCutIsDeterministicAndKeepsFewColoursExact)
{
    std::vector<TColor> colours;
    std::vector<std::uint32_t> counts;
    for (int i = 0; i < 600; ++i)
    {
        colours.push_back(RGBColor(std::uint8_t(i % 256), std::uint8_t((i * 7) % 256), std::uint8_t((i * 13) % 256)));
        counts.push_back(std::uint32_t(1 + i % 5));
    }
    const auto once = MedianCut(colours, counts, 64);
    EXPECT_EQ(once, MedianCut(colours, counts, 64));
    EXPECT_LE(std::set<TColor>(once.begin(), once.end()).size(), 64u);

    const std::vector<TColor> few{RGBColor(10, 20, 30), RGBColor(200, 10, 10), RGBColor(0, 255, 0)};
    EXPECT_EQ(MedianCut(few, {1, 1, 1}, 8), few);
}

// Pixels only half covered fall to the key; near-key colours that are meant to be seen are moved off the
// key's 16-bit value instead of vanishing.
TEST(ColourKeying, TransparentPixelsAreTheKeyAndNearKeyColoursStayVisible)
{
    struct Case
    {
        TColor key;
        Colour nearKey;
    };
    const Case cases[] = {{clBlack, Rgb(3, 2, 5)}, {clWhite, Rgb(252, 254, 251)}, {clRed, Rgb(250, 1, 3)},
                          {clNavy, Rgb(2, 1, 130)}};
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.key);
        Canvas canvas(4, 1);
        canvas.Set(0, 0, c.nearKey);
        canvas.Set(1, 0, Rgb(90, 140, 40), 0.4);
        canvas.Set(2, 0, Rgb(90, 140, 40), 0.6);
        for (const bool trueColour : {false, true})
        {
            const auto bytes = trueColour ? EncodeTrueColor(canvas, c.key) : EncodeIndexed(canvas, c.key);
            const TBitmap bmp = TBitmap::FromBytes(bytes, "keyed");
            EXPECT_NE(Rgb565(bmp.PixelAt(0, 0)), Rgb565(c.key));
            EXPECT_LE(ChannelError(bmp.PixelAt(0, 0), VisibleColour(canvas.At(0, 0), std::nullopt)), 8);
            EXPECT_EQ(bmp.PixelAt(1, 0), c.key);
            EXPECT_EQ(bmp.PixelAt(2, 0), RGBColor(90, 140, 40));
            EXPECT_EQ(bmp.PixelAt(3, 0), c.key);
        }
    }
}

TEST(CanvasShapes, CoverageFollowsTheShapeArea)
{
    Canvas canvas(40, 40);
    canvas.Fill(Circle(20, 20, 12), Rgb(200, 100, 50));
    double area = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x)
            area += canvas.At(x, y).a;
    EXPECT_NEAR(area, 3.14159265 * 144, 6.0);

    Canvas ring(40, 40);
    ring.Fill(Ring(20, 20, 8, 12), Rgb(200, 100, 50));
    EXPECT_FALSE(ring.Opaque(20, 20));
    EXPECT_TRUE(ring.Opaque(20, 10));
}

// Every glyph stays inside the box its text claims, so lettering never spills over the picture's edge.
TEST(Lettering, GlyphsStayInsideTheirMeasuredBox)
{
    const std::u32string all = U"ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789+-! 低中高难度胜利失败";
    TextStyle style;
    style.unit = 3, style.stroke = 2, style.slant = 0.15;
    for (char32_t ch : all)
    {
        const std::u32string text(1, ch);
        const int w = int(std::ceil(TextWidth(text, style))), h = int(std::ceil(TextHeight(text, style)));
        Canvas canvas(w + 20, h + 20);
        canvas.Fill(TextShape(text, 10, 10, style), Rgb(255, 255, 255));
        int inside = 0, outside = 0;
        for (int y = 0; y < canvas.Height(); ++y)
            for (int x = 0; x < canvas.Width(); ++x)
                if (canvas.At(x, y).a > 0)
                    (x >= 10 && y >= 10 && x < 10 + w && y < 10 + h ? inside : outside) += 1;
        EXPECT_EQ(outside, 0) << "U+" << std::hex << std::uint32_t(ch);
        if (ch != U' ')
        {
            EXPECT_GT(inside, 10) << "U+" << std::hex << std::uint32_t(ch);
        }
    }
}

TEST(Lettering, MissingGlyphsAreReportedNotSkipped)
{
    EXPECT_THROW(GlyphFor(U'?'), std::runtime_error);
    Canvas canvas(40, 8);
    EXPECT_THROW(DrawTinyText(canvas, "A?", 0, 0, Rgb(255, 255, 255)), std::runtime_error);
    EXPECT_EQ(DrawTinyText(canvas, "24", 0, 0, Rgb(255, 255, 255)), TinyTextWidth("24"));
    EXPECT_EQ(TinyTextWidth("24"), 7);
    EXPECT_TRUE(canvas.Opaque(0, 0));
    EXPECT_FALSE(canvas.Opaque(7, 0));
}

}  // namespace
}  // namespace vorlanex::assetgen
