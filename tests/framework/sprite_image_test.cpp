// Image sprites: animation, wrapping bounds, centring, drawing and the pixel-exact touch test.

#include <gtest/gtest.h>

#include "support/SpriteTesting.h"

namespace vorlanex {
namespace {

using testing::PictureStage;

TEST(ImageSpriteAnimation, NonLoopedStopsOnItsLastPatternForGood)
{
    TSpriteEngine engine;
    auto* s = new TImageSprite(&engine);
    s->FrameStart = 2;
    s->FrameCount = 4;
    s->FrameSpeed = 0.01;
    s->Step(16);
    EXPECT_DOUBLE_EQ(s->FrameIndex, 0.16);
    EXPECT_EQ(s->PatternIndex(), 2);
    for (int i = 0; i < 40; ++i)
        s->Step(16);
    EXPECT_EQ(s->FrameIndex, 3);
    EXPECT_EQ(s->FrameSpeed, 0);
    EXPECT_EQ(s->PatternIndex(), 5);

    // Running backwards stops on the first pattern.
    s->FrameSpeed = -1;
    s->Step(16);
    EXPECT_EQ(s->FrameIndex, 0);
    EXPECT_EQ(s->FrameSpeed, 0);

    // No patterns at all: the index settles on 0, never negative.
    s->FrameCount = 0;
    s->FrameSpeed = 1;
    s->Step(1);
    EXPECT_EQ(s->FrameIndex, 0);
}

TEST(ImageSpriteAnimation, LoopedWrapsBothWays)
{
    TSpriteEngine engine;
    auto* s = new TImageSprite(&engine);
    s->FrameLooped = true;
    s->FrameCount = 4;
    s->FrameIndex = -0.5;
    s->Step(16);
    EXPECT_DOUBLE_EQ(s->FrameIndex, 3.5);
    EXPECT_EQ(s->PatternIndex(), 3);
    s->FrameSpeed = 0.25;
    s->Step(4);   // 4.5 wraps to 0.5
    EXPECT_DOUBLE_EQ(s->FrameIndex, 0.5);
    s->FrameIndex = -9;   // far below: still lands in 0 .. FrameCount
    s->FrameSpeed = 0;
    s->Step(1);
    EXPECT_DOUBLE_EQ(s->FrameIndex, 3);
    s->FrameCount = 0;
    s->Step(1);
    EXPECT_EQ(s->FrameIndex, 0);
}

TEST(ImageSpriteGeometry, BoundsTruncateTowardZeroAndWrapAroundTheView)
{
    TSpriteEngine engine;
    engine.ViewRect = {0, 0, 1024, 768};
    auto* s = new TImageSprite(&engine);
    s->Width = 32;
    s->Height = 16;
    s->X = -0.7;
    s->Y = 5.9;
    EXPECT_EQ(s->Bounds(), (TRect{0, 5, 32, 21}));

    s->Wrap = true;
    s->X = 1100;   // 1100 mod (1024 + 32) = 44
    s->Y = -10;    // -10 mod (768 + 16) = 774, past the bottom: back to -10
    EXPECT_EQ(s->Bounds(), (TRect{44, -10, 76, 6}));
    s->X = 1030;   // still partly beyond the right edge: shown entering from the left
    EXPECT_EQ(s->Bounds().Left, -26);
    s->X = 1024;
    EXPECT_EQ(s->Bounds().Left, 1024);

    // No view and no size: nothing to wrap around, and no division by zero.
    engine.ViewRect = {};
    s->Width = 0;
    s->X = 7;
    EXPECT_EQ(s->Bounds().Left, 7);
}

TEST(ImageSpriteDrawing, PatternIsCentredInTheBoxAndDrawnAtItsPlace)
{
    PictureStage stage;
    TPictureCollectionItem& picture =
        stage.AddPicture("Strip", 8, 8, 3, 1, {clRed, RGBColor(0, 255, 0), RGBColor(0, 0, 255)});
    auto* s = new TImageSprite(&stage.engine);
    s->Image = &picture;
    s->X = 100;
    s->Y = 50;
    s->Width = 13;    // (13 - 8) div 2 = 2
    s->Height = 3;    // (3 - 8) div 2 = -2, truncated toward zero
    EXPECT_EQ(s->DrawRect(), (TRect{102, 48, 115, 51}));

    s->FrameIndex = 1.9;
    stage.engine.Draw();
    EXPECT_EQ(stage.Pixel(102, 48), Rgb565(RGBColor(0, 255, 0)));
    EXPECT_EQ(stage.Pixel(109, 55), Rgb565(RGBColor(0, 255, 0)));
    EXPECT_EQ(stage.Pixel(110, 55), 0);
    EXPECT_EQ(stage.Pixel(101, 48), 0);

    // A pattern past the picture's end draws nothing.
    FillSurface(stage.display.BackSurface, 0);
    s->FrameIndex = 3;
    stage.engine.Draw();
    EXPECT_EQ(stage.Pixel(102, 48), 0);
}

// An 8 x 8 pattern whose only opaque pixel is its top-left corner.
TBitmap CornerDot()
{
    std::vector<TColor> pixels(64, clBlack);
    pixels[0] = clWhite;
    return TBitmap::TrueColor(8, 8, std::move(pixels));
}

TEST(ImageSpriteTouch, PixelExactLooksAtOpaquePixelsOnly)
{
    PictureStage stage;
    TPictureCollectionItem& dot = stage.AddBitmap("Dot", CornerDot(), 8, 8);
    auto make = [&](double x, double y) {
        auto* s = new TImageSprite(&stage.engine);
        s->Image = &dot;
        s->X = x;
        s->Y = y;
        s->Width = s->Height = 8;
        return s;
    };
    TImageSprite* a = make(0, 0);
    TImageSprite* b = make(4, 4);
    EXPECT_TRUE(a->Touches(*b));   // no pixel test unless asked for
    a->PixelExact = true;
    EXPECT_FALSE(a->Touches(*b));  // the boxes overlap, the dots do not
    EXPECT_EQ(a->CheckHits(), 0);

    b->X = b->Y = 0;
    EXPECT_TRUE(a->Touches(*b));
    b->X = -1;   // b's dot now lies left of a's pattern
    EXPECT_FALSE(a->Touches(*b));

    TSprite plain(&stage.engine);
    EXPECT_TRUE(a->Touches(plain));   // only image sprites are compared pixel by pixel
    b->Image = nullptr;
    EXPECT_FALSE(a->Touches(*b));     // nothing drawn, nothing to touch
}

}  // namespace
}  // namespace vorlanex
