// Help planes: the straight flight, the fan of missiles, leaving past the right edge with every missile still in
// flight, and a plane that nothing can stop — not a freeze, not a bullet.

#include <gtest/gtest.h>

#include "actors/Bullet.h"
#include "actors/HelpPlane.h"
#include "actors/MyTank.h"
#include "support/BattleTesting.h"

namespace vorlanex::testing {
namespace {

std::vector<TBullet*> MissilesOf(TestBattle& battle, const THelpPlane& plane)
{
    std::vector<TBullet*> missiles;
    for (int i = 0; i < battle.engine.ChildCount(); ++i)
        if (auto* bullet = dynamic_cast<TBullet*>(battle.engine.Child(i)); bullet && bullet->Owner() == &plane)
            missiles.push_back(bullet);
    return missiles;
}

TEST(HelpPlane, ASquadronEntersFromTheLeftAsAnArrowhead)
{
    struct Expected
    {
        int count;
        std::vector<double> ys, xs;
    };
    const Expected squadrons[] = {
        {7, {51, 153, 255, 357, 459, 561, 663}, {-288, -192, -96, 0, -96, -192, -288}},
        {9, {40, 120, 200, 280, 360, 440, 520, 600, 680}, {-384, -288, -192, -96, 0, -96, -192, -288, -384}},
    };
    for (const Expected& squadron : squadrons)
    {
        TestBattle battle;
        battle.CallPlanes(EnemiesTeam, squadron.count);
        ASSERT_EQ(battle.engine.ChildCount(), squadron.count);
        for (int i = 0; i < squadron.count; ++i)
        {
            auto* plane = dynamic_cast<THelpPlane*>(battle.engine.Child(i));
            ASSERT_NE(plane, nullptr);
            EXPECT_EQ(plane->Team, EnemiesTeam);
            EXPECT_EQ(plane->Y, squadron.ys[std::size_t(i)]) << squadron.count << " planes, plane " << i;
            EXPECT_EQ(plane->X, squadron.xs[std::size_t(i)]) << squadron.count << " planes, plane " << i;
        }
    }
}

TEST(HelpPlane, FiresAFanOfFiveMissilesJustAboveTheTanks)
{
    TestBattle battle;
    auto* plane = new THelpPlane(&battle.engine);
    plane->Y = 300;
    for (int i = 0; i < 9; ++i)
        battle.Frame();
    EXPECT_TRUE(MissilesOf(battle, *plane).empty()) << "ShotDelay 10 holds the first volley";
    battle.Frame();
    const std::vector<TBullet*> fan = MissilesOf(battle, *plane);
    ASSERT_EQ(fan.size(), 5u);
    EXPECT_EQ(plane->LiveBullets, 5);
    const double angles[] = {0, 4, -4, 8, -8};
    for (std::size_t i = 0; i < fan.size(); ++i)
    {
        EXPECT_EQ(fan[i]->Angle, angles[i]) << i;
        EXPECT_EQ(fan[i]->Z, 1);
        EXPECT_EQ(fan[i]->Image, battle.pictures.ImageFind("Mission"));
        EXPECT_EQ(fan[i]->Width, 40);
        EXPECT_EQ(fan[i]->Height, 6);
        EXPECT_EQ(fan[i]->Power, 800);
        EXPECT_EQ(fan[i]->X + 20, plane->X + plane->Width / 2.0);
        EXPECT_EQ(fan[i]->Y + 3, plane->Y + plane->Height / 2.0);
    }
}

TEST(HelpPlane, FliesEightPixelsAFrameAndLeavesWithAllItsMissiles)
{
    TestBattle battle;
    auto* leaving = new THelpPlane(&battle.engine);
    leaving->LastShot = -100;
    auto* other = new THelpPlane(&battle.engine);
    other->Y = 500;
    other->LastShot = -100;
    battle.Frame();
    EXPECT_EQ(leaving->X, 8);
    EXPECT_EQ(leaving->Y, 100);
    for (int i = 0; i < 30; ++i)
        battle.Frame();   // the first fan is far ahead by now, a later one close behind
    ASSERT_GE(MissilesOf(battle, *leaving).size(), 10u);
    const std::size_t othersMissiles = MissilesOf(battle, *other).size();
    leaving->X = battle.DisplayWidth() - 1;
    battle.engine.Move(16);
    EXPECT_TRUE(leaving->IsDead);
    for (TBullet* missile : MissilesOf(battle, *leaving))
        EXPECT_TRUE(missile->IsDead);
    battle.engine.FreeKilled();
    EXPECT_EQ(battle.CountOf<THelpPlane>(), 1);
    EXPECT_EQ(MissilesOf(battle, *other).size(), othersMissiles);
}

TEST(HelpPlane, AFrozenPlaneFliesAndFiresOn)
{
    TestBattle battle;
    auto* plane = new THelpPlane(&battle.engine);
    battle.FreezeOtherTeams(EnemiesTeam);
    for (int i = 0; i < 10; ++i)
        battle.Frame();
    EXPECT_EQ(plane->State, StateFrozen);
    EXPECT_EQ(plane->X, 80);
    EXPECT_EQ(MissilesOf(battle, *plane).size(), 5u);
}

TEST(HelpPlane, BulletsPassThroughItAndItsMissilesHitSilently)
{
    TestBattle battle;
    auto* enemyShooter = new TMyTank(&battle.engine);
    enemyShooter->Team = EnemiesTeam;
    enemyShooter->X = 900;
    enemyShooter->Y = 700;
    auto* plane = new THelpPlane(&battle.engine);
    plane->X = 200;
    plane->MaxBullets = 0;
    auto* bullet = new TBullet(&battle.engine);
    bullet->SetOwner(enemyShooter);
    bullet->Speed = 0;
    bullet->X = 220;
    bullet->Y = 110;
    for (int i = 0; i < 3; ++i)
    {
        bullet->X = plane->X + 20;
        battle.Frame();
        ASSERT_FALSE(plane->Collidable);
        ASSERT_EQ(battle.CountOf<TBullet>(), 1) << "the bullet flies on";
    }
    EXPECT_EQ(plane->Life, 400);
    EXPECT_EQ(enemyShooter->Score, 0);

    // A fan into a wall of bricks ahead of the plane: every brick it reaches loses 800, without a sound.
    bullet->Kill();
    plane->MaxBullets = 10;
    plane->LastShot = -100;
    constexpr std::int32_t durability = 100000;
    for (int row = 0; row < 10; ++row)
        battle.PutBrick(20, row, durability);
    for (int i = 0; i < 60; ++i)
        battle.Frame();
    int damage = 0;
    for (int i = 0; i < battle.engine.ChildCount(); ++i)
        if (auto* brick = dynamic_cast<TTerrSprite*>(battle.engine.Child(i)))
            damage += durability - brick->Durability;
    EXPECT_GE(damage, 5 * 800);
    EXPECT_EQ(damage % 800, 0);
    EXPECT_EQ(battle.SoundCount("kan!!"), 0);
}

}  // namespace
}  // namespace vorlanex::testing
