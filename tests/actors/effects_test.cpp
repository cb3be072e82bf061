// Explosions: their start, their animation and the Step in which each kind removes itself.

#include <set>

#include "actors/EffectsFixture.h"
#include "actors/Explosions.h"
#include "framework/PictureCollection.h"

namespace vorlanex {
namespace {

using EffectsTest = testing::EffectsFixture;

// Steps an explosion until it dies; returns the Step in which it was killed (0 if it outlived `limit`).
template <typename T>
int StepOfDeath(TSpriteEngine& engine, int limit = 200)
{
    auto* boom = new T(&engine);
    for (int step = 1; step <= limit; ++step)
    {
        boom->Step(16);
        if (boom->IsDead)
        {
            engine.FreeKilled();
            return step;
        }
    }
    return 0;
}

TEST_F(EffectsTest, EachKindDiesInItsOwnStepWhateverItsAnimation)
{
    EXPECT_EQ(StepOfDeath<TExplosion>(Engine()), 16);
    EXPECT_EQ(StepOfDeath<TExplosionRed>(Engine()), 46);
    EXPECT_EQ(StepOfDeath<TExplosionBig>(Engine()), 61);

    // Through the engine's passes too, with the animation started elsewhere.
    auto* boom = new TExplosion(&Engine());
    boom->FrameIndex = 3.9;
    for (int frame = 1; frame < 16; ++frame)
        Frame();
    EXPECT_EQ(Engine().ChildCount(), 1);
    Frame();
    EXPECT_EQ(Engine().ChildCount(), 0);
}

TEST_F(EffectsTest, StartsFromItsPictureOnARandomWholePattern)
{
    struct Expect
    {
        TImageSprite* sprite;
        const char* picture;
        int size, patterns, timeLeft;
    };
    auto* small = new TExplosion(&Engine());
    auto* red = new TExplosionRed(&Engine());
    auto* big = new TExplosionBig(&Engine());
    for (const Expect& e : {Expect{small, "Explosion", 32, 4, small->TimeLeft},
                            Expect{red, "ExplosionRed", 32, 5, red->TimeLeft},
                            Expect{big, "BigExplosion", 64, 6, big->TimeLeft}})
    {
        ASSERT_NE(e.sprite->Image, nullptr);
        EXPECT_EQ(e.sprite->Image->Name(), e.picture);
        EXPECT_EQ(e.sprite->Width, e.size);
        EXPECT_EQ(e.sprite->Height, e.size);
        EXPECT_EQ(e.sprite->FrameCount, e.patterns);
        EXPECT_TRUE(e.sprite->FrameLooped);
        EXPECT_DOUBLE_EQ(e.sprite->FrameSpeed, 0.015);
        EXPECT_TRUE(e.sprite->Collidable);
    }
    EXPECT_EQ(small->TimeLeft, 15);
    EXPECT_EQ(red->TimeLeft, 45);
    EXPECT_EQ(big->TimeLeft, 60);

    std::set<double> starts;
    for (int i = 0; i < 20; ++i)
    {
        auto* boom = new TExplosionBig(&Engine());
        EXPECT_EQ(boom->FrameIndex, double(int(boom->FrameIndex)));
        EXPECT_GE(boom->FrameIndex, 0);
        EXPECT_LT(boom->FrameIndex, 6);
        starts.insert(boom->FrameIndex);
    }
    EXPECT_GE(starts.size(), 3u);   // explosions made together do not pulse in step
}

TEST_F(EffectsTest, AnimationLoopsAQuarterPatternPerFrame)
{
    auto* boom = new TExplosion(&Engine());
    boom->FrameIndex = 3;
    boom->Step(16);
    EXPECT_NEAR(boom->FrameIndex, 3.24, 1e-9);
    for (int i = 0; i < 4; ++i)
        boom->Step(16);
    EXPECT_NEAR(boom->FrameIndex, 0.2, 1e-9);   // 4.2 wrapped
    EXPECT_EQ(boom->PatternIndex(), 0);
}

}  // namespace
}  // namespace vorlanex
