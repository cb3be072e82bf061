// Snow: drift with the wind, fall, and replacement at the top when a flake leaves the screen.

#include <map>

#include "actors/EffectsFixture.h"
#include "actors/Snow.h"
#include "framework/PictureCollection.h"

namespace vorlanex {
namespace {

using SnowTest = testing::EffectsFixture;

std::vector<TScrollBackground2*> Flakes(TSpriteEngine& engine)
{
    std::vector<TScrollBackground2*> flakes;
    for (int i = 0; i < engine.ChildCount(); ++i)
        if (auto* flake = dynamic_cast<TScrollBackground2*>(engine.Child(i)))
            flakes.push_back(flake);
    return flakes;
}

TScrollBackground2* PlaceFlake(TSpriteEngine& engine, double x, double y, double speed)
{
    TScrollBackground2* flake = CreateSnowFlake(engine, true);
    flake->X = x;
    flake->Y = y;
    flake->FlakeSpeed = speed;
    return flake;
}

void ExpectFreshFlakeAtTheTop(const TScrollBackground2& flake)
{
    EXPECT_EQ(flake.Y, 0);
    EXPECT_GE(flake.X, 0);
    EXPECT_LT(flake.X, 1024);
    EXPECT_EQ(flake.Z, 8);
    EXPECT_GE(flake.FlakeSpeed, 2);
    EXPECT_LE(flake.FlakeSpeed, 7);
    EXPECT_EQ(flake.FlakeSpeed, double(int(flake.FlakeSpeed)));
    EXPECT_EQ(flake.GridCols, 1);
    EXPECT_EQ(flake.GridRows, 1);
    EXPECT_FALSE(flake.Collidable);
    EXPECT_FALSE(flake.Tiled);
    ASSERT_NE(flake.Image, nullptr);
}

TEST_F(SnowTest, DriftsAgainstTheWindlessSideAndFallsInverselyToItsSpeed)
{
    TScrollBackground2* flake = PlaceFlake(Engine(), 500, 100, 2);
    Frame();
    EXPECT_NEAR(flake->X, 500 - 2.0 / 3, 1e-9);
    EXPECT_DOUBLE_EQ(flake->Y, 104);
    form->Game.Wind = 1;
    flake->FlakeSpeed = 7;
    Frame();
    EXPECT_NEAR(flake->X, 500 - 2.0 / 3 + 7.0 / 3, 1e-9);
    EXPECT_NEAR(flake->Y, 104 + 8.0 / 7, 1e-9);
}

TEST_F(SnowTest, LeavingAtEitherSideIsReplacedAtTheTopNotWrapped)
{
    TScrollBackground2* left = PlaceFlake(Engine(), 1, 300, 6);   // to -1 with no wind
    Frame();
    std::vector<TScrollBackground2*> flakes = Flakes(Engine());
    ASSERT_EQ(flakes.size(), 1u);
    EXPECT_NE(flakes[0], left);
    ExpectFreshFlakeAtTheTop(*flakes[0]);

    Engine().Clear();
    form->Game.Wind = 1;
    TScrollBackground2* right = PlaceFlake(Engine(), 1023, 300, 6);   // to 1025
    Frame();
    flakes = Flakes(Engine());
    ASSERT_EQ(flakes.size(), 1u);
    EXPECT_NE(flakes[0], right);
    ExpectFreshFlakeAtTheTop(*flakes[0]);

    // Exactly on the right edge still counts as on screen.
    Engine().Clear();
    TScrollBackground2* edge = PlaceFlake(Engine(), 1022, 300, 6);
    Frame();
    EXPECT_EQ(Flakes(Engine()), std::vector<TScrollBackground2*>{edge});
    EXPECT_DOUBLE_EQ(edge->X, 1024);
}

TEST_F(SnowTest, TheBottomEdgeItselfIsStillOnScreen)
{
    TScrollBackground2* stays = PlaceFlake(Engine(), 500, 766, 4);       // falls 2 to exactly 768
    TScrollBackground2* leaves = PlaceFlake(Engine(), 500, 766.5, 4);    // to 768.5
    Frame();
    EXPECT_FALSE(stays->IsDead);
    EXPECT_DOUBLE_EQ(stays->Y, 768);
    std::vector<TScrollBackground2*> flakes = Flakes(Engine());
    ASSERT_EQ(flakes.size(), 2u);
    EXPECT_EQ(flakes[0], stays);
    EXPECT_NE(flakes[1], leaves);
    ExpectFreshFlakeAtTheTop(*flakes[1]);
}

TEST_F(SnowTest, AHundredFlakesStayAHundredAndCoverTheScreen)
{
    for (int i = 0; i < 100; ++i)
    {
        TScrollBackground2* flake = CreateSnowFlake(Engine(), false);
        ASSERT_GE(flake->Y, 0);
        ASSERT_LT(flake->Y, 768);
    }
    for (int frame = 0; frame < 600; ++frame)
    {
        if (frame == 300)
            form->Game.Wind = 1;
        Frame();
        ASSERT_EQ(Engine().ChildCount(), 100) << "frame " << frame;
    }
    for (TScrollBackground2* flake : Flakes(Engine()))
    {
        EXPECT_GE(flake->X, 0);
        EXPECT_LE(flake->X, 1024);
        EXPECT_LE(flake->Y, 768);
    }
}

TEST_F(SnowTest, PicturesComeInTheirShares)
{
    std::map<std::string, int> counts;
    constexpr int total = 6000;
    for (int i = 0; i < total; ++i)
    {
        TScrollBackground2* flake = CreateSnowFlake(Engine(), true);
        ASSERT_NE(flake->Image, nullptr);
        ++counts[flake->Image->Name()];
        delete flake;
    }
    EXPECT_NEAR(counts["Snow0"] / double(total), 0.30, 0.025);
    EXPECT_NEAR(counts["snow2"] / double(total), 0.49, 0.025);
    EXPECT_NEAR(counts["Snow1"] / double(total), 0.21, 0.025);
}

}  // namespace
}  // namespace vorlanex
