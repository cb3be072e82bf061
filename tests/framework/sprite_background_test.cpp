// Background sprites: the chip grid, tiled and untiled drawing, and the solid-map touch test.

#include <gtest/gtest.h>

#include "support/SpriteTesting.h"

namespace vorlanex {
namespace {

using testing::MakeProbe;
using testing::PictureStage;

// A colour that survives 5-6-5 and tells a pixel's place in a picture of up to 1024 x 768; never the key.
TColor GradientColour(int x, int y)
{
    const int block = (x / 32 + y / 64 * 3) % 31 + 1;
    return RGBColor(std::uint8_t(x % 32 * 8), std::uint8_t(y % 64 * 4), std::uint8_t(block * 8));
}

TBitmap Gradient(int w, int h)
{
    std::vector<TColor> pixels;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            pixels.push_back(GradientColour(x, y));
    return TBitmap::TrueColor(w, h, std::move(pixels));
}

std::uint16_t GradientPixel(int x, int y)
{
    return Rgb565(GradientColour(x, y));
}

int FloorMod(int v, int m)
{
    return ((v % m) + m) % m;
}

// Every pixel of the view must show the chip at its place in an endless repetition starting at (x, y).
::testing::AssertionResult TiledEverywhere(const PictureStage& stage, int x, int y, int cw, int ch)
{
    for (int sy = 0; sy < 768; ++sy)
        for (int sx = 0; sx < 1024; ++sx)
            if (stage.Pixel(sx, sy) != GradientPixel(FloorMod(sx - x, cw), FloorMod(sy - y, ch)))
                return ::testing::AssertionFailure() << "wrong pixel at " << sx << "," << sy;
    return ::testing::AssertionSuccess();
}

TEST(BackgroundGrid, NewGridShowsPatternZeroAndIsSolid)
{
    TSpriteEngine engine;
    auto* bg = new TBackgroundSprite(&engine);
    EXPECT_FALSE(bg->Collidable);
    bg->SetGridSize(3, 2);
    EXPECT_EQ(bg->ChipAt(2, 1), 0);
    EXPECT_TRUE(bg->SolidAt(2, 1));
    EXPECT_EQ(bg->ChipAt(3, 0), -1);
    EXPECT_EQ(bg->ChipAt(-1, 0), -1);
    EXPECT_FALSE(bg->SolidAt(0, 2));

    bg->SetChip(1, 1, 5);
    bg->SetSolid(1, 1, false);
    bg->SetGridSize(3, 2);   // the same size keeps the contents
    EXPECT_EQ(bg->ChipAt(1, 1), 5);
    EXPECT_FALSE(bg->SolidAt(1, 1));
    bg->SetGridSize(2, 3);   // another size starts afresh
    EXPECT_EQ(bg->ChipAt(1, 1), 0);
    EXPECT_TRUE(bg->SolidAt(1, 1));

    bg->SetGridSize(0, 5);
    EXPECT_EQ(bg->GridCols, 0);
    EXPECT_EQ(bg->GridRows, 0);
    EXPECT_TRUE(bg->ChipMap.empty());
    EXPECT_EQ(bg->ChipAt(0, 0), -1);

    EXPECT_THROW(bg->SetGridSize(100000, 100000), ESpriteError);
}

TEST(BackgroundDrawing, EmptyGridDrawsNothingAndTouchesEverything)
{
    PictureStage stage;
    TPictureCollectionItem& chip = stage.AddBitmap("Chip", Gradient(32, 32), 32, 32);
    auto* bg = new TBackgroundSprite(&stage.engine);
    bg->Image = &chip;
    bg->Tiled = true;
    bg->SetGridSize(0, 5);
    stage.engine.Draw();
    EXPECT_EQ(stage.Pixel(0, 0), 0);
    EXPECT_EQ(stage.Pixel(1023, 767), 0);
    TSprite other(&stage.engine);
    EXPECT_TRUE(bg->Touches(other));
}

// A small chip, and one the size of the view (which the tiling must still repeat without gaps when shifted).
TEST(BackgroundDrawing, TiledGridCoversTheViewFromItsPosition)
{
    for (auto [cw, ch] : {std::pair{32, 32}, {1024, 768}})
    {
        PictureStage stage;
        TPictureCollectionItem& chip = stage.AddBitmap("Chip", Gradient(cw, ch), cw, ch);
        auto* bg = new TBackgroundSprite(&stage.engine);
        bg->Image = &chip;
        bg->SetGridSize(1, 1);
        bg->Tiled = true;
        EXPECT_EQ(bg->Bounds(), stage.engine.ViewRect);
        for (auto [x, y] : {std::pair{0, 0}, {10, 5}, {-40, -7}, {300, -200}})
        {
            bg->X = x;
            bg->Y = y;
            stage.engine.Draw();
            EXPECT_TRUE(TiledEverywhere(stage, x, y, cw, ch)) << cw << " at " << x << "," << y;
        }
    }
}

TEST(BackgroundDrawing, TiledGridRepeatsItsChipsInGridOrder)
{
    PictureStage stage;
    const TColor a = RGBColor(255, 0, 0), b = RGBColor(0, 0, 255);
    TPictureCollectionItem& chips = stage.AddPicture("Chips", 32, 32, 2, 1, {a, b});
    auto* bg = new TBackgroundSprite(&stage.engine);
    bg->Image = &chips;
    bg->SetGridSize(2, 2);
    bg->SetChip(1, 0, 1);
    bg->SetChip(0, 1, 1);
    bg->Tiled = true;
    bg->X = 40;
    stage.engine.Draw();
    for (int cy = 0; cy < 24; ++cy)
        for (int cx = -1; cx < 31; ++cx)
        {
            const bool chipB = ((cx & 1) != 0) != ((cy & 1) != 0);
            ASSERT_EQ(stage.Pixel(40 + 32 * cx + 1, 32 * cy + 1), Rgb565(chipB ? b : a)) << cx << "," << cy;
        }
}

TEST(BackgroundDrawing, UntiledGridIsDrawnOnceAtItsPlace)
{
    PictureStage stage;
    const TColor a = RGBColor(255, 0, 0), b = RGBColor(0, 0, 255);
    TPictureCollectionItem& chips = stage.AddPicture("Chips", 32, 32, 2, 1, {a, b});
    auto* bg = new TBackgroundSprite(&stage.engine);
    bg->Image = &chips;
    bg->SetGridSize(3, 2);
    bg->SetChip(1, 0, 1);
    bg->SetChip(2, 1, -1);   // a hole
    bg->X = -40;
    bg->Y = 10;
    EXPECT_EQ(bg->Bounds(), (TRect{-40, 10, 56, 74}));
    stage.engine.Draw();
    EXPECT_EQ(stage.Pixel(0, 10), Rgb565(b));    // column 1 spans -8 .. 24
    EXPECT_EQ(stage.Pixel(23, 41), Rgb565(b));
    EXPECT_EQ(stage.Pixel(24, 10), Rgb565(a));   // column 2
    EXPECT_EQ(stage.Pixel(30, 42), 0);           // the hole
    EXPECT_EQ(stage.Pixel(10, 42), Rgb565(a));
    EXPECT_EQ(stage.Pixel(56, 10), 0);
    EXPECT_EQ(stage.Pixel(10, 74), 0);
    EXPECT_EQ(stage.Pixel(10, 9), 0);
}

TEST(BackgroundTouch, OnlySolidChipsUnderTheOtherSpriteCount)
{
    PictureStage stage;
    TPictureCollectionItem& chip = stage.AddBitmap("Chip", Gradient(32, 32), 32, 32);
    auto* bg = new TBackgroundSprite(&stage.engine);
    bg->Image = &chip;
    bg->SetGridSize(2, 2);
    for (int r = 0; r < 2; ++r)
        for (int c = 0; c < 2; ++c)
            bg->SetSolid(c, r, c == 1 && r == 1);
    std::vector<std::string> log;
    auto* probe = MakeProbe(&stage.engine, "p", log, 10, 10, 8, 8);
    EXPECT_FALSE(bg->Touches(*probe));
    probe->X = probe->Y = 40;
    EXPECT_TRUE(bg->Touches(*probe));
    probe->X = probe->Y = 30;
    probe->Width = probe->Height = 4;   // reaches into the solid chip by two pixels
    EXPECT_TRUE(bg->Touches(*probe));
    probe->X = probe->Y = 28;           // ends exactly on its edge
    EXPECT_FALSE(bg->Touches(*probe));

    // A collidable background is hit only where it is solid.
    bg->Collidable = true;
    probe->X = probe->Y = 10;
    EXPECT_EQ(probe->CheckHits(), 0);
    probe->X = probe->Y = 50;
    EXPECT_EQ(probe->CheckHits(), 1);
}

}  // namespace
}  // namespace vorlanex
