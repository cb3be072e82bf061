// Bullet contacts: sides, annihilation, Super targets, damaged look, water and the loss of the last life.

#include <gtest/gtest.h>

#include "actors/Bullet.h"
#include "actors/Explosions.h"
#include "actors/MyTank.h"
#include "support/BattleTesting.h"

namespace vorlanex::testing {
namespace {

TMyTank* ActiveTankOf(TestBattle& battle, std::int32_t team, double x, double y)
{
    auto* tank = new TMyTank(&battle.engine);
    tank->Team = team;
    tank->X = x;
    tank->Y = y;
    tank->Age = 61;
    battle.Frame();
    return tank;
}

TBullet* StillBullet(TestBattle& battle, TTank& owner, double x, double y, std::int32_t power)
{
    auto* bullet = new TBullet(&battle.engine);
    bullet->SetOwner(&owner);
    bullet->Speed = 0;
    bullet->Power = power;
    bullet->X = x;
    bullet->Y = y;
    return bullet;
}

TEST(BulletContact, OwnTeamIsPassedOtherSideAnnihilatesSilentlyOnce)
{
    TestBattle battle;
    TMyTank* player = ActiveTankOf(battle, PlayersTeam, 100, 100);
    TMyTank* mate = ActiveTankOf(battle, PlayersTeam, 300, 100);
    TMyTank* enemy = ActiveTankOf(battle, EnemiesTeam, 600, 600);
    StillBullet(battle, *player, 312, 112, 100);   // on the team mate
    StillBullet(battle, *player, 112, 112, 100);   // on its owner
    battle.Frame();
    EXPECT_EQ(battle.CountOf<TBullet>(), 2);
    EXPECT_EQ(mate->Life, 1500);
    EXPECT_EQ(player->Life, 1500);

    StillBullet(battle, *player, 500, 400, 100);
    StillBullet(battle, *enemy, 502, 402, 100);
    battle.sounds.clear();
    battle.Frame();
    EXPECT_EQ(battle.CountOf<TBullet>(), 2);
    EXPECT_EQ(battle.CountOf<TExplosion>(), 0);
    EXPECT_EQ(battle.SoundCount("kan!!"), 1);
}

TEST(BulletContact, SuperTargetLosesNothingButScoresAndLowLifeLooksDamaged)
{
    TestBattle battle;
    TMyTank* player = ActiveTankOf(battle, PlayersTeam, 100, 100);
    TMyTank* enemy = ActiveTankOf(battle, EnemiesTeam, 600, 600);
    enemy->State = StateSuper;
    enemy->SuperTime = 1000;
    StillBullet(battle, *player, 612, 612, 300);
    battle.Frame();
    EXPECT_EQ(enemy->Life, 1500);
    EXPECT_EQ(player->Score, 300);

    enemy->State = StateActive;
    enemy->Life = 600;
    StillBullet(battle, *player, 612, 612, 200);
    battle.Frame();
    EXPECT_EQ(enemy->Life, 400);
    EXPECT_EQ(enemy->FrameStart, 1);
}

TEST(BulletContact, WaterLetsBulletsThrough)
{
    TestBattle battle;
    TMyTank* player = ActiveTankOf(battle, PlayersTeam, 100, 100);
    TTerrSprite* water = battle.PutTerrain(10, 10, TerrBulletsPass);
    StillBullet(battle, *player, 330, 330, 100);
    battle.Frame();
    EXPECT_EQ(water->Durability, 1000);
    EXPECT_EQ(battle.CountOf<TBullet>(), 1);
}

TEST(BulletContact, SixthLossWithFiveLivesLeavesNoTank)
{
    TestBattle battle;
    battle.game.Lives1 = 5;
    battle.game.Lives2 = 0;
    TMyTank* enemy = ActiveTankOf(battle, EnemiesTeam, 600, 600);
    battle.game.Player1Tank = EnterPlayerTank(battle.engine, 1);
    battle.game.Player1Alive = 1;
    for (int loss = 1; loss <= 6; ++loss)
    {
        TMyTank* tank = battle.game.Player1Tank;
        ASSERT_NE(tank, nullptr) << "loss " << loss;
        tank->Age = 61;
        battle.Frame();
        StillBullet(battle, *enemy, tank->X + 12, tank->Y + 12, 100000);
        battle.Frame();
    }
    EXPECT_EQ(battle.game.PlayerLosses, 6);
    EXPECT_EQ(battle.game.Player1Tank, nullptr);
    EXPECT_EQ(battle.game.Player1Alive, 0);
    EXPECT_EQ(battle.CountOf<TMyTank>(), 1);
}

}  // namespace
}  // namespace vorlanex::testing
