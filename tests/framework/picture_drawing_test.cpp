#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <limits>
#include <random>

#include "framework/PictureCollection.h"

using namespace vorlanex;

namespace {

constexpr std::uint16_t kGround = 0x1234;   // what the destination holds before a draw

// A picture with keyed holes scattered through it (and at its edges), so keyed copies have many short runs.
TBitmap Holey(int w, int h, TColor key)
{
    std::vector<TColor> pixels;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            pixels.push_back((x * 7 + y * 3) % 5 == 0 || x == w - 1
                                 ? key
                                 : RGBColor(std::uint8_t(x * 8 + 8), std::uint8_t(y * 4 + 4), 77));
    return TBitmap::TrueColor(w, h, std::move(pixels));
}

struct Rig
{
    TDXDraw display;
    TPictureCollection list;
    TDirectDrawSurface dest{64, 48};

    TPictureCollectionItem& Add(TBitmap picture, int pw = 0, int ph = 0, TColor key = clBlack, bool transparent = true)
    {
        TPictureCollectionItem& item = list.Add();
        item.Picture = std::move(picture);
        item.SetPatternWidth(pw);
        item.SetPatternHeight(ph);
        item.Transparent = transparent;
        item.SetTransparentColor(key);
        item.Load(display);
        return item;
    }
    void Clear() { FillSurface(dest, kGround); }
    std::vector<std::uint16_t> Pixels() const { return {dest.Bits(), dest.Bits() + 64 * 48}; }
};

// What a keyed, clipped copy must give, pixel by pixel.
std::vector<std::uint16_t> Expected(const TPictureCollectionItem& item, int index, int x, int y, int dw, int dh)
{
    std::vector<std::uint16_t> out(std::size_t(dw * dh), kGround);
    const auto& p = item.Patterns()[std::size_t(index)];
    for (int py = 0; py < p.rect.Height(); ++py)
        for (int px = 0; px < p.rect.Width(); ++px) {
            const int dx = x + px, dy = y + py;
            const std::uint16_t v = p.surface->Pixel(p.rect.Left + px, p.rect.Top + py);
            if (dx >= 0 && dy >= 0 && dx < dw && dy < dh && !(item.Transparent && v == Rgb565(item.TransparentColor())))
                out[std::size_t(dy * dw + dx)] = v;
        }
    return out;
}

TEST(DrawPattern, ClipsAtEveryEdgeAndSkipsKeyedPixels)
{
    Rig rig;
    auto& item = rig.Add(Holey(40, 24, clBlack), 20, 12);   // 2 x 2 patterns
    for (int index : {0, 3})
        for (int x : {-25, -19, -10, -1, 0, 7, 44, 50, 63, 64})
            for (int y : {-13, -11, -5, 0, 20, 36, 40, 47, 48}) {
                rig.Clear();
                item.DrawPattern(rig.dest, x, y, index);
                ASSERT_EQ(rig.Pixels(), Expected(item, index, x, y, 64, 48)) << index << " at " << x << "," << y;
            }
}

TEST(DrawPattern, IndexAndPositionRulesDrawNothing)
{
    Rig rig;
    auto& item = rig.Add(Holey(40, 24, clBlack), 20, 12);
    for (int index : {-1, item.PatternCount(), INT_MAX}) {
        rig.Clear();
        item.DrawPattern(rig.dest, 0, 0, index);
        EXPECT_EQ(rig.Pixels(), std::vector<std::uint16_t>(64 * 48, kGround)) << index;
    }
    for (auto [x, y] : {std::pair{65, 0}, {0, 49}, {INT_MAX, 0}, {INT_MIN, INT_MIN}, {0, INT_MIN + 5}}) {
        rig.Clear();
        item.DrawPattern(rig.dest, x, y, 0);
        EXPECT_EQ(rig.Pixels(), std::vector<std::uint16_t>(64 * 48, kGround)) << x << "," << y;
    }
    TDirectDrawSurface none;
    item.DrawPattern(none, 0, 0, 0);
}

// Whether a draw hides everything beneath it: said yes only when the draw really writes every pixel, which is
// checked by drawing over a ground the picture does not contain.
TEST(DrawPattern, CoversWholeOnlyWhenEveryPixelIsWritten)
{
    Rig rig;
    const auto plain = [&](int w, int h, bool transparent) -> TPictureCollectionItem& {
        return rig.Add(TBitmap::TrueColor(w, h, std::vector<TColor>(std::size_t(w * h), RGBColor(200, 40, 90))), 0, 0,
                       clBlack, transparent);
    };
    struct Case
    {
        TPictureCollectionItem* item;
        int x, y;
        bool covers;
    };
    TPictureCollectionItem& exact = plain(64, 48, false);
    TPictureCollectionItem& larger = plain(70, 50, false);
    TPictureCollectionItem& keyed = plain(64, 48, true);
    TPictureCollectionItem& narrow = plain(63, 48, false);
    const Case cases[] = {{&exact, 0, 0, true},   {&exact, 1, 0, false},  {&exact, 0, -1, false},
                          {&larger, -3, -2, true}, {&larger, -7, 0, false}, {&keyed, 0, 0, false},
                          {&narrow, 0, 0, false}};
    for (const Case& c : cases)
    {
        EXPECT_EQ(c.item->CoversWhole(rig.dest, c.x, c.y, 0), c.covers) << c.x << "," << c.y;
        rig.Clear();
        c.item->DrawPattern(rig.dest, c.x, c.y, 0);
        const auto pixels = rig.Pixels();
        const bool allWritten = std::find(pixels.begin(), pixels.end(), kGround) == pixels.end();
        EXPECT_TRUE(!c.covers || allWritten) << c.x << "," << c.y;
    }
    EXPECT_FALSE(exact.CoversWhole(rig.dest, 0, 0, 1)) << "no such pattern";
}

TEST(DrawPattern, KeyColourDecidesWhatShows)
{
    Rig rig;
    // White-keyed like the boss: white stays out, black is drawn.
    auto& boss = rig.Add(TBitmap::TrueColor(2, 1, {clWhite, clBlack}), 0, 0, clWhite);
    rig.Clear();
    boss.DrawPattern(rig.dest, 0, 0, 0);
    EXPECT_EQ(rig.dest.Pixel(0, 0), kGround);
    EXPECT_EQ(rig.dest.Pixel(1, 0), 0);

    // Colours that land on the key's 16-bit value are transparent too.
    auto& nearBlack = rig.Add(TBitmap::TrueColor(2, 1, {RGBColor(7, 3, 7), RGBColor(8, 0, 0)}));
    rig.Clear();
    nearBlack.DrawPattern(rig.dest, 0, 0, 0);
    EXPECT_EQ(rig.dest.Pixel(0, 0), kGround);
    EXPECT_EQ(rig.dest.Pixel(1, 0), Rgb565(8, 0, 0));

    // An opaque backdrop covers everything, its key colour included.
    auto& star = rig.Add(Holey(64, 48, RGBColor(255, 255, 253)), 64, 48, RGBColor(255, 255, 253), false);
    rig.Clear();
    star.DrawPattern(rig.dest, 0, 0, 0);
    for (std::uint16_t v : rig.Pixels())
        ASSERT_NE(v, kGround);
    EXPECT_EQ(rig.dest.Pixel(63, 0), Rgb565(RGBColor(255, 255, 253)));

    // Re-keying a loaded item takes effect at once.
    boss.SetTransparentColor(clBlack);
    rig.Clear();
    boss.DrawPattern(rig.dest, 0, 0, 0);
    EXPECT_EQ(rig.dest.Pixel(0, 0), 0xFFFF);
    EXPECT_EQ(rig.dest.Pixel(1, 0), kGround);
}

TEST(StretchPattern, ScalesByNearestNeighbourClippedAndKeyed)
{
    Rig rig;
    const TColor a = RGBColor(255, 0, 0), b = RGBColor(0, 255, 0), c = RGBColor(0, 0, 255);
    auto& item = rig.Add(TBitmap::TrueColor(4, 2, {a, b, clBlack, c, c, clBlack, b, a}), 2, 2);
    rig.Clear();
    item.StretchPattern(rig.dest, {10, 10, 14, 14}, 0);
    EXPECT_EQ(rig.dest.Pixel(10, 10), Rgb565(a));
    EXPECT_EQ(rig.dest.Pixel(11, 11), Rgb565(a));
    EXPECT_EQ(rig.dest.Pixel(13, 10), Rgb565(b));
    EXPECT_EQ(rig.dest.Pixel(10, 13), Rgb565(c));
    EXPECT_EQ(rig.dest.Pixel(13, 13), kGround);   // keyed
    EXPECT_EQ(rig.dest.Pixel(14, 14), kGround);   // right and bottom edges are exclusive

    rig.Clear();
    item.StretchPattern(rig.dest, {-2, -2, 6, 6}, 1);   // 8 x 8, its upper left corner off the surface
    EXPECT_EQ(rig.dest.Pixel(0, 0), kGround);            // keyed
    EXPECT_EQ(rig.dest.Pixel(2, 0), Rgb565(c));
    EXPECT_EQ(rig.dest.Pixel(0, 2), Rgb565(b));
    EXPECT_EQ(rig.dest.Pixel(5, 5), Rgb565(a));
    EXPECT_EQ(rig.dest.Pixel(6, 6), kGround);

    rig.Clear();
    item.StretchPattern(rig.dest, {10, 10, 10, 20}, 0);
    item.StretchPattern(rig.dest, {20, 20, 10, 10}, 0);
    item.StretchPattern(rig.dest, {0, 0, 8, 8}, 2);
    EXPECT_EQ(rig.Pixels(), std::vector<std::uint16_t>(64 * 48, kGround));
    // A rectangle as large as coordinates go: the surface sees the middle of the pattern, pixel (1, 1).
    item.StretchPattern(rig.dest, {INT_MIN, INT_MIN, INT_MAX, INT_MAX}, 1);
    EXPECT_EQ(rig.Pixels(), std::vector<std::uint16_t>(64 * 48, Rgb565(a)));
}

TEST(Turn, TableValuesAndMasking)
{
    EXPECT_DOUBLE_EQ(TurnSin(64), 1.0);
    EXPECT_NEAR(TurnCos(64), 0.0, 1e-15);
    EXPECT_EQ(TurnCos(-1), TurnCos(255));
    EXPECT_EQ(TurnSin(-64), TurnSin(192));
    EXPECT_DOUBLE_EQ(TurnSin(192), -1.0);
    EXPECT_EQ(TurnCos(256 + 5), TurnCos(5));
    for (int i = 0; i < 256; ++i)
        ASSERT_NEAR(TurnSin(i), std::sin(i * 2 * 3.14159265358979323846 / 256), 1e-12) << i;
}

// A 4 x 2 pattern with every pixel distinct, keyed black at one corner.
struct RotateRig : Rig
{
    TPictureCollectionItem* item;
    RotateRig()
    {
        std::vector<TColor> pixels;
        for (int i = 0; i < 8; ++i)
            pixels.push_back(i == 7 ? clBlack : RGBColor(std::uint8_t(32 * i + 16), 200, 40));
        item = &Add(TBitmap::TrueColor(4, 2, pixels));
    }
    std::uint16_t P(int x, int y) const { return item->Patterns()[0].surface->Pixel(x, y); }
};

TEST(DrawPatternRotated, UnturnedScaledAndFullTurns)
{
    RotateRig rig;
    rig.Clear();
    rig.item->DrawPattern(rig.dest, 18, 9, 0);   // centred on (20, 10)
    const auto plain = rig.Pixels();
    for (int angle : {0, 256, -512}) {
        rig.Clear();
        rig.item->DrawPatternRotated(rig.dest, 20, 10, 4, 2, 0, 0.5, 0.5, angle);
        EXPECT_EQ(rig.Pixels(), plain) << angle;
    }

    // Twice the size, pivot at the top-left corner: each pattern pixel becomes a 2 x 2 block right-down of X, Y.
    rig.Clear();
    rig.item->DrawPatternRotated(rig.dest, 30, 30, 8, 4, 0, 0, 0, 0);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 8; ++x) {
            const std::uint16_t want = (x / 2 == 3 && y / 2 == 1) ? kGround : rig.P(x / 2, y / 2);
            EXPECT_EQ(rig.dest.Pixel(30 + x, 30 + y), want) << x << "," << y;
        }
    EXPECT_EQ(rig.dest.Pixel(29, 30), kGround);
    EXPECT_EQ(rig.dest.Pixel(38, 30), kGround);
}

// A picture keyed around its shapes, with areas of a second colour that becomes the key in turn. Unturned it must
// give exactly the keyed copy, whichever colour is the key.
TEST(DrawPatternRotated, APictureKeyedAroundItsShapesGivesTheKeyedCopy)
{
    const TColor other = RGBColor(10, 250, 10);
    std::vector<TColor> pixels;
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 40; ++x) {
            const bool shape = (x >= 5 && x < 13 && y >= 3 && y < 11) || (x == 20 && y == 12) || (x == 35 && y == 20);
            const bool otherKey = x >= 24 && y < 8;   // an area of the second key colour
            pixels.push_back(shape ? RGBColor(std::uint8_t(x * 6), 90, std::uint8_t(y * 9)) : otherKey ? other : clBlack);
        }
    Rig rig;
    TPictureCollectionItem& item = rig.Add(TBitmap::TrueColor(40, 24, pixels));
    for (TColor key : {clBlack, other, clBlack}) {
        item.SetTransparentColor(key);
        rig.Clear();
        item.DrawPattern(rig.dest, 7, 9, 0);
        const auto copy = rig.Pixels();
        rig.Clear();
        item.DrawPatternRotated(rig.dest, 27, 21, 40, 24, 0, 0.5, 0.5, 0);
        EXPECT_EQ(rig.Pixels(), copy) << "key " << key;
    }
    // Over black, leaving the black key pixels out or drawing them makes no difference: at any angle and size
    // the keyed draw must match the unkeyed one.
    item.SetTransparentColor(clBlack);
    TPictureCollectionItem& unkeyed = rig.Add(TBitmap::TrueColor(40, 24, pixels), 0, 0, clBlack, false);
    for (int angle = 0; angle < 256; angle += 5)
        for (auto [w, h] : {std::pair{40, 24}, {20, 12}, {90, 50}}) {
            FillSurface(rig.dest, 0);
            item.DrawPatternRotatedAlpha(rig.dest, 30, 22, w, h, 0, 0.4, 0.6, angle, 200);
            const auto keyedDraw = rig.Pixels();
            FillSurface(rig.dest, 0);
            unkeyed.DrawPatternRotatedAlpha(rig.dest, 30, 22, w, h, 0, 0.4, 0.6, angle, 200);
            ASSERT_EQ(keyedDraw, rig.Pixels()) << "angle " << angle << ", " << w << " x " << h;
        }
}

TEST(DrawPatternRotated, QuarterTurnIsClockwiseOnScreen)
{
    RotateRig rig;
    rig.Clear();
    rig.item->DrawPatternRotated(rig.dest, 20, 10, 4, 2, 0, 0.5, 0.5, 64);
    // Turned clockwise the 4 x 2 pattern stands 2 wide and 4 high: its top row becomes the right column
    // (read downwards) and its left column the top row (read right to left).
    for (int j = -2; j < 2; ++j) {
        EXPECT_EQ(rig.dest.Pixel(20, 10 + j), rig.P(j + 2, 0)) << j;
        const std::uint16_t bottomRow = rig.P(j + 2, 1);
        EXPECT_EQ(rig.dest.Pixel(19, 10 + j), j + 2 == 3 ? kGround : bottomRow) << j;
    }
    int changed = 0;
    for (std::uint16_t v : rig.Pixels())
        changed += v != kGround;
    EXPECT_EQ(changed, 7);   // 8 pixels, one keyed; nothing outside the turned rectangle
}

TEST(DrawPatternRotated, ClippedAndDegenerateArgumentsAreSafe)
{
    RotateRig rig;
    rig.Clear();
    rig.item->DrawPatternRotated(rig.dest, 0, 0, 40, 40, 0, 0.5, 0.5, 37);   // mostly off the top-left
    rig.item->DrawPatternRotated(rig.dest, 63, 47, 40, 40, 0, 0.5, 0.5, 200);
    EXPECT_NE(rig.dest.Pixel(0, 0), kGround);
    EXPECT_NE(rig.dest.Pixel(63, 47), kGround);
    const auto before = rig.Pixels();
    rig.item->DrawPatternRotated(rig.dest, 10, 10, 0, 4, 0, 0.5, 0.5, 0);
    rig.item->DrawPatternRotated(rig.dest, 10, 10, 4, 4, 1, 0.5, 0.5, 0);
    rig.item->DrawPatternRotated(rig.dest, INT_MIN, INT_MAX, INT_MAX, INT_MIN, 0, 1e300, -1e300, 3);
    rig.item->DrawPatternRotated(rig.dest, 10, 10, 1, 1, 0, std::numeric_limits<double>::quiet_NaN(), 0.5, 3);
    rig.item->DrawPatternRotated(rig.dest, 10, 10, 4, 2, 0, 1e12, 1e12, 3);
    EXPECT_EQ(rig.Pixels(), before);
    rig.item->DrawPatternRotated(rig.dest, 32, 24, INT_MAX, INT_MAX, 0, 0.5, 0.5, 9);   // fills the screen
    TDirectDrawSurface none;
    rig.item->DrawPatternRotated(none, 0, 0, 4, 2, 0, 0.5, 0.5, 0);
}

TEST(DrawPatternRotatedAlpha, BlendsByTheFormulaAndBoundsAlpha)
{
    RotateRig rig;
    rig.Clear();
    rig.item->DrawPatternRotated(rig.dest, 20, 10, 8, 4, 0, 0.5, 0.5, 19);
    const auto solid = rig.Pixels();

    const auto drawn = [&](int alpha) {
        rig.Clear();
        rig.item->DrawPatternRotatedAlpha(rig.dest, 20, 10, 8, 4, 0, 0.5, 0.5, 19, alpha);
        return rig.Pixels();
    };
    EXPECT_EQ(drawn(0), std::vector<std::uint16_t>(64 * 48, kGround));
    EXPECT_EQ(drawn(-5), std::vector<std::uint16_t>(64 * 48, kGround));
    EXPECT_EQ(drawn(255), solid);
    EXPECT_EQ(drawn(1000), solid);

    // Per 8-bit channel: below + (pattern - below) * alpha div 256, rounded down.
    const std::vector<std::uint16_t> mid = drawn(100);
    const auto mix = [](int below, int over) {
        return std::uint8_t(below + int(std::floor((over - below) * 100 / 256.0)));
    };
    std::uint8_t br, bg, bb, pr, pg, pb;
    Rgb565To888(kGround, br, bg, bb);
    for (std::size_t i = 0; i < solid.size(); ++i) {
        Rgb565To888(solid[i], pr, pg, pb);
        ASSERT_EQ(mid[i], solid[i] == kGround ? kGround : Rgb565(mix(br, pr), mix(bg, pg), mix(bb, pb))) << i;
    }
}

TEST(DrawPatternRotatedAlpha, EveryPairOfColoursBlendsByTheFormula)
{
    // A whole-surface picture of random colours over a ground of random colours, unturned, so that each pixel
    // blends one known pair; many alphas, so that every channel value meets many others.
    Rig rig;
    std::mt19937 random(5);
    std::vector<TColor> colours;
    for (int i = 0; i < 64 * 48; ++i) {
        std::uint8_t r, g, b;
        Rgb565To888(std::uint16_t(random()), r, g, b);
        colours.push_back(RGBColor(r, g, b));
    }
    TPictureCollectionItem& item = rig.Add(TBitmap::TrueColor(64, 48, colours), 0, 0, clBlack, false);
    std::vector<std::uint16_t> ground(64 * 48);
    for (std::uint16_t& v : ground)
        v = std::uint16_t(random());
    for (int alpha : {1, 37, 128, 200, 254}) {
        std::copy(ground.begin(), ground.end(), rig.dest.Bits());
        item.DrawPatternRotatedAlpha(rig.dest, 32, 24, 64, 48, 0, 0.5, 0.5, 0, alpha);
        const auto mix = [alpha](int below, int over) { return std::uint8_t(below + int(std::floor((over - below) * alpha / 256.0))); };
        std::uint8_t br, bg, bb, pr, pg, pb;
        for (std::size_t i = 0; i < ground.size(); ++i) {
            Rgb565To888(ground[i], br, bg, bb);
            Rgb565To888(Rgb565(colours[i]), pr, pg, pb);
            ASSERT_EQ(rig.dest.Bits()[i], Rgb565(mix(br, pr), mix(bg, pg), mix(bb, pb))) << "alpha " << alpha << ", pixel " << i;
        }
    }
}

}  // namespace
