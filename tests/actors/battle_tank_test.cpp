// Player tanks and bullets as a player meets them, on a bare engine.

#include <gtest/gtest.h>

#include "actors/Bullet.h"
#include "actors/MyTank.h"
#include "support/BattleTesting.h"

namespace vorlanex::testing {
namespace {

TMyTank* ActiveTank(TestBattle& battle, double x, double y)
{
    auto* tank = new TMyTank(&battle.engine);
    tank->X = x;
    tank->Y = y;
    for (int i = 0; i < 61; ++i)
        battle.Frame();
    return tank;
}

TEST(PlayerTank, BlinksSixtyOneStepsWithoutInputThenShowsItsPicture)
{
    TestBattle battle;
    auto* tank = new TMyTank(&battle.engine);
    tank->X = 320;
    tank->Y = 320;
    battle.Hold(0);
    for (int i = 0; i < 61; ++i)
        battle.Frame();
    EXPECT_EQ(tank->State, StateAppearing);
    EXPECT_FALSE(tank->Collidable);
    EXPECT_EQ(tank->Y, 320);
    battle.Frame();
    EXPECT_EQ(tank->State, StateActive);
    EXPECT_TRUE(tank->Collidable);
    EXPECT_EQ(tank->Image, battle.pictures.ImageFind("MyTankUP"));
}

TEST(PlayerTank, UpAndLeftTogetherMoveUpOnlyAndTheEdgeClamps)
{
    TestBattle battle;
    TMyTank* tank = ActiveTank(battle, 320, 320);
    battle.Hold(0);
    battle.Hold(2);
    battle.Frame();
    EXPECT_EQ(tank->X, 320);
    EXPECT_LT(tank->Y, 320);
    for (int i = 0; i < 100; ++i)
        battle.Frame();
    EXPECT_EQ(tank->Y, 0);
    EXPECT_EQ(battle.SoundCount("Hum"), 101);
}

TEST(PlayerTank, WideVolleyTakesLiveBulletsPastTheLimit)
{
    TestBattle battle;
    TMyTank* tank = ActiveTank(battle, 320, 320);
    tank->Spread = 2;
    tank->MaxBullets = 4;
    battle.Hold(4);
    battle.Frame();
    EXPECT_EQ(tank->LiveBullets, 5);
    EXPECT_EQ(battle.CountOf<TBullet>(), 5);
    battle.Frame();
    EXPECT_EQ(battle.CountOf<TBullet>(), 5) << "no volley while past the limit";
}

TEST(PlayerTank, GiveAndKeepHeldTogetherLeaveNoOffer)
{
    TestBattle battle;
    TMyTank* tank = ActiveTank(battle, 320, 320);
    battle.Hold(11);
    battle.Frame();
    EXPECT_EQ(tank->GiveLife, 1);
    battle.Hold(13);
    battle.Frame();
    EXPECT_EQ(tank->GiveLife, 0);
}

TEST(PlayerTank, BrickStopsTheTankOnTheGrid)
{
    TestBattle battle;
    battle.PutBrick(10, 9);
    TMyTank* tank = ActiveTank(battle, 320, 322);
    battle.Hold(0);
    battle.Frame();
    EXPECT_EQ(tank->Y, 320);
    EXPECT_EQ(tank->X, 320);
}

TEST(Bullet, LeavesOnlyBeyondItsWholeSize)
{
    TestBattle battle;
    auto* bullet = new TBullet(&battle.engine);
    bullet->Speed = 0;
    bullet->X = -8;
    bullet->Y = 300;
    battle.Frame();
    EXPECT_EQ(battle.CountOf<TBullet>(), 1);
    bullet->X = -8.5;
    battle.Frame();
    EXPECT_EQ(battle.CountOf<TBullet>(), 0);
}

TEST(Bullet, ThousandBrickFallsAtTheTenthHitOfPowerHundred)
{
    TestBattle battle;
    TTerrSprite* brick = battle.PutBrick(10, 5);
    TMyTank* tank = ActiveTank(battle, 320, 320);
    tank->BulletPower = 100;
    tank->ShotDelay = 0;
    tank->MaxBullets = 1;
    battle.Hold(4);
    int hits = 0;
    for (int frame = 0; frame < 400 && battle.CountOf<TTerrSprite>() == 1; ++frame)
    {
        const int before = brick->Durability;
        battle.Frame();
        if (battle.CountOf<TTerrSprite>() == 0 || brick->Durability != before)
            ++hits;
    }
    EXPECT_EQ(hits, 10);
    EXPECT_EQ(battle.CountOf<TTerrSprite>(), 0);
}

TEST(Bullet, OwnerFreedWhileItsBulletsFlyLeavesThemSafe)
{
    TestBattle battle;
    TMyTank* tank = ActiveTank(battle, 320, 320);
    tank->Spread = 1;
    battle.Hold(4);
    battle.Frame();
    battle.Release(4);
    ASSERT_EQ(battle.CountOf<TBullet>(), 3);
    tank->Kill();
    battle.engine.FreeKilled();   // the owner goes; its bullets stay in the tree
    for (int column = 8; column <= 12; ++column)
        battle.PutBrick(column, 3);
    for (int i = 0; i < 60; ++i)
        battle.Frame();
    EXPECT_EQ(battle.CountOf<TBullet>(), 0);
}

}  // namespace
}  // namespace vorlanex::testing

namespace vorlanex::testing {
namespace {

TEST(PlayerTankKit, CheatKeysHeldAtCreationAndFrozenTankStaysPut)
{
    TestBattle battle;
    battle.keyboard[0x74] = battle.keyboard[0x75] = battle.keyboard[0x76] = 0x80;
    auto* tank = new TMyTank(&battle.engine);
    EXPECT_EQ(tank->Life, 15000);
    EXPECT_EQ(tank->Spread, 2);
    EXPECT_EQ(battle.game.BaseEnemyCount, 100);
    EXPECT_EQ(battle.game.SpawnPeriod, 15);

    tank->X = 320;
    tank->Y = 320;
    tank->Age = 61;
    battle.Frame();
    battle.FreezeOtherTeams(EnemiesTeam);
    battle.Hold(0);
    battle.Hold(4);
    for (int i = 0; i < 100; ++i)
        battle.Frame();
    EXPECT_EQ(tank->State, StateFrozen);
    EXPECT_EQ(tank->Y, 320);
    EXPECT_EQ(tank->LiveBullets, 0);
}

TEST(PlayerTankKit, ShotDelayZeroFiresEveryStepWhileBulletsAllow)
{
    TestBattle battle;
    auto* tank = new TMyTank(&battle.engine);
    tank->X = 320;
    tank->Y = 600;
    tank->Age = 61;
    battle.Frame();
    tank->ShotDelay = 0;
    tank->MaxBullets = 3;
    battle.Hold(4);
    for (int i = 0; i < 3; ++i)
    {
        battle.Frame();
        EXPECT_EQ(tank->LiveBullets, i + 1);
    }
    battle.Frame();
    EXPECT_EQ(tank->LiveBullets, 3);
}

}  // namespace
}  // namespace vorlanex::testing
