// Enemy tanks, the player's corner slide, the boss's aim and the planes' exit, on a bare engine.

#include <gtest/gtest.h>

#include "actors/Bullet.h"
#include "actors/EnemyBoss.h"
#include "actors/EnemyTank.h"
#include "actors/HelpPlane.h"
#include "actors/MyTank.h"
#include "support/BattleTesting.h"

namespace vorlanex::testing {
namespace {

// An enemy past its blink, placed and headed as the test wants, that neither fires nor turns at random.
TEnemyTank* ActiveEnemy(TestBattle& battle, int kind, double x, double y, Heading direction)
{
    battle.game.EnemyTurnChance = 0;
    auto* enemy = new TEnemyTank(&battle.engine);
    enemy->Team = EnemiesTeam;
    enemy->Kind = kind;
    for (int i = 0; i < 61; ++i)
        battle.Frame();
    enemy->X = x;
    enemy->Y = y;
    enemy->Direction = direction;
    enemy->MaxBullets = 0;
    return enemy;
}

TEST(EnemyTank, KindStatsArriveOnlyWhenTheBlinkEnds)
{
    TestBattle battle;
    battle.game.Difficulty = 2;
    auto* enemy = new TEnemyTank(&battle.engine);
    enemy->Kind = 3;
    for (int i = 0; i < 60; ++i)
        battle.Frame();
    EXPECT_EQ(enemy->Life, 400);
    EXPECT_EQ(enemy->Speed, 200);
    battle.Frame();
    EXPECT_EQ(enemy->State, StateActive);
    EXPECT_EQ(enemy->Life, 700);
    EXPECT_EQ(enemy->Speed, 300);
    EXPECT_EQ(enemy->BulletPower, 400);
    EXPECT_EQ(enemy->BulletSpeed, 500);
    EXPECT_EQ(enemy->BulletSize, 24);
    EXPECT_EQ(enemy->Image, battle.pictures.ImageFind("Tank4Down"));
}

TEST(EnemyTank, AWallSnapsItOntoTheGridOnBothAxes)
{
    for (const auto& [offset, column] : {std::pair{9, 64}, std::pair{10, 96}})
    {
        TestBattle battle;
        battle.PutBrick(2, 2);
        TEnemyTank* enemy = ActiveEnemy(battle, 0, 64 + offset, 100, Heading::Up);
        battle.Frame();
        EXPECT_EQ(enemy->Y, 96) << offset;
        EXPECT_EQ(enemy->X, column) << offset;
    }
}

TEST(EnemyTank, TurnsAfterFiftyStepsAgainstAWallAndFiveAtTheEdge)
{
    TestBattle battle;
    battle.PutBrick(2, 2);
    TEnemyTank* walled = ActiveEnemy(battle, 0, 64, 100, Heading::Up);
    int steps = 0;
    while (walled->Direction == Heading::Up && steps < 200)
    {
        battle.Frame();
        ++steps;
    }
    EXPECT_EQ(steps, 50);

    TestBattle edge;
    TEnemyTank* ghost = ActiveEnemy(edge, 1, 0, 300, Heading::Left);
    ghost->AllPass = 1;
    edge.PutBrick(0, 9);   // touching terrain builds no pressure for a tank that passes it
    steps = 0;
    while (ghost->Direction == Heading::Left && steps < 200)
    {
        edge.Frame();
        ++steps;
    }
    EXPECT_EQ(steps, 5);
}

TEST(EnemyTank, PassableTerrainLeavesThePressureAsItWas)
{
    TestBattle battle;
    battle.PutTerrain(10, 10, TerrTanksPass | TerrBulletsPass);
    TEnemyTank* enemy = ActiveEnemy(battle, 0, 320, 330, Heading::Down);
    enemy->TurnPressure = 7;
    battle.Frame();
    EXPECT_EQ(enemy->TurnPressure, 7);
}

TEST(PlayerTank, SlidesAroundABrickCorner)
{
    // Left edge 6 short of the brick's right end: next column. 6 past its left edge: its column. Right edge
    // 6 into the brick: back to the tank's own column.
    for (const auto& [startX, endX] : {std::pair{186.0, 192.0}, std::pair{166.0, 160.0}, std::pair{134.0, 128.0}})
    {
        TestBattle battle;
        battle.PutBrick(5, 5);
        auto* tank = new TMyTank(&battle.engine);
        for (int i = 0; i < 61; ++i)
            battle.Frame();
        tank->X = startX;
        tank->Y = 200;
        battle.Hold(0);
        battle.Frame();
        battle.Frame();
        EXPECT_EQ(tank->Y, 192) << startX;
        EXPECT_EQ(tank->X, endX) << startX;
    }
}

TEST(EnemyBoss, AimsWithItsOwnAngleArithmetic)
{
    EXPECT_EQ(AimAngle(0, 200), 64);
    EXPECT_EQ(AimAngle(200, 0), 0);
    EXPECT_EQ(AimAngle(-200, 0), 128);
    EXPECT_EQ(AimAngle(0, -200), 192);

    TestBattle battle;
    auto* boss = new TEnemyBoss(&battle.engine);
    boss->X = 500;
    boss->Y = 500;
    for (int i = 0; i < 61; ++i)
        battle.Frame();
    auto* player = new TMyTank(&battle.engine);
    player->X = 500;
    player->Y = 200;
    battle.game.Player1Tank = player;
    battle.Frame();
    ASSERT_EQ(battle.CountOf<TBullet>(), 1);
    for (int i = 0; i < battle.engine.ChildCount(); ++i)
    {
        if (auto* bullet = dynamic_cast<TBullet*>(battle.engine.Child(i)))
        {
            EXPECT_NEAR(bullet->Angle, 64, 0.72) << "aimed at the tank above, within a degree";
        }
    }
    battle.game.Player1Tank = nullptr;
}

TEST(HelpPlane, LeavesPastTheRightEdgeWithItsMissiles)
{
    TestBattle battle;
    auto* plane = new THelpPlane(&battle.engine);
    plane->X = 500;
    plane->LastShot = -100;
    battle.Frame();
    EXPECT_EQ(battle.CountOf<TBullet>(), 5);
    plane->X = battle.DisplayWidth() - 1;
    battle.Frame();
    EXPECT_EQ(battle.CountOf<THelpPlane>(), 0);
    EXPECT_EQ(battle.CountOf<TBullet>(), 0);
    EXPECT_EQ(battle.engine.ChildCount(), 0);
}

}  // namespace
}  // namespace vorlanex::testing
