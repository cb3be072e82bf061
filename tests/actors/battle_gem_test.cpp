// Power-ups as a player meets them: born on a cell centre, gone after 900 Steps, taken by whatever tank covers
// the point in the gem's own hit test, and the nineteen effects with their limits. Every take goes through the
// engine's move pass, so the hit search finds the point-sized gem the way a battle frame does.

#include <functional>
#include <set>

#include <gtest/gtest.h>

#include "actors/Bullet.h"
#include "actors/EnemyBoss.h"
#include "actors/EnemyTank.h"
#include "actors/Explosions.h"
#include "actors/HelpPlane.h"
#include "actors/MyTank.h"
#include "support/BattleTesting.h"

namespace vorlanex::testing {
namespace {

TMyTank* ActivePlayer(TestBattle& battle, double x, double y)
{
    auto* tank = new TMyTank(&battle.engine);
    for (int i = 0; i < 62; ++i)
        battle.Frame();
    tank->X = x;
    tank->Y = y;
    return tank;
}

// An enemy past its blink that stands still and holds its fire.
TEnemyTank* StillEnemy(TestBattle& battle, double x, double y)
{
    battle.game.EnemyTurnChance = 0;
    auto* enemy = new TEnemyTank(&battle.engine);
    enemy->Team = EnemiesTeam;
    for (int i = 0; i < 61; ++i)
        battle.Frame();
    enemy->X = x;
    enemy->Y = y;
    enemy->Speed = 0;
    enemy->MaxBullets = 0;
    return enemy;
}

TGemSprite* GemAt(TestBattle& battle, std::uint8_t kind, double x, double y)
{
    auto* gem = new TGemSprite(&battle.engine);
    gem->SetKind(kind);
    gem->X = x;
    gem->Y = y;
    return gem;
}

// A gem of `kind` under the tank's centre, taken in one battle frame.
void Take(TestBattle& battle, TTank& tank, std::uint8_t kind)
{
    GemAt(battle, kind, tank.X + 16, tank.Y + 16);
    battle.Frame();
    ASSERT_EQ(battle.CountOf<TGemSprite>(), 0) << "kind " << int(kind) << " was not taken";
}

TEST(Gem, IsBornOnARandomCellCentreWithAChime)
{
    std::set<int> kinds;
    for (std::uint64_t seed = 1; seed <= 200; ++seed)
    {
        TestBattle battle;
        battle.game.Rng.Seed(seed);
        RandomGenerator expected = battle.game.Rng;
        auto* gem = new TGemSprite(&battle.engine);
        const int kind = expected.Random(GemKindCount);
        ASSERT_EQ(gem->Kind, kind);
        ASSERT_EQ(gem->Image, battle.pictures.ImageFind(GemPicture(gem->Kind)));
        ASSERT_EQ(gem->X, expected.Random(1024) / 32 * 32 + 16);
        ASSERT_EQ(gem->Y, expected.Random(768) / 32 * 32 + 16);
        ASSERT_EQ(gem->Z, 9);
        ASSERT_EQ(gem->Width, 0);
        ASSERT_EQ(gem->Height, 0);
        ASSERT_EQ(gem->Lifetime, 900);
        ASSERT_EQ(battle.sounds, std::vector<std::string>{"GemBorn"});
        kinds.insert(kind);
    }
    EXPECT_EQ(kinds.size(), std::size_t(GemKindCount)) << "every kind can come up";
}

TEST(Gem, NobodyTakesItAndItBlinksOutInItsNineHundredthStep)
{
    TestBattle battle;
    TGemSprite* gem = GemAt(battle, GemFasterTank, 336, 240);
    // A bullet resting on it and terrain under it do not take it.
    auto* shooter = new TMyTank(&battle.engine);
    shooter->X = 800;
    auto* bullet = new TBullet(&battle.engine);
    bullet->SetOwner(shooter);
    bullet->Speed = 0;
    bullet->X = 332;
    bullet->Y = 236;
    battle.PutTerrain(10, 7, TerrBulletsPass);
    for (int step = 1; step < 900; ++step)
        battle.Frame();
    ASSERT_EQ(battle.CountOf<TGemSprite>(), 1);
    EXPECT_TRUE(gem->Collidable);
    EXPECT_EQ(battle.SoundCount("吃宝"), 0);
    EXPECT_EQ(battle.SoundCount("短爆炸声0"), 0);
    EXPECT_EQ(battle.CountOf<TExplosion>(), 0);

    // In its last Step the gem runs no hit test: a tank arriving then is too late.
    shooter->X = 320;
    shooter->Y = 224;
    battle.Frame();
    EXPECT_EQ(battle.CountOf<TGemSprite>(), 0);
    EXPECT_EQ(battle.SoundCount("吃宝"), 0);
    EXPECT_EQ(shooter->Score, 0);
    EXPECT_EQ(battle.SoundCount("短爆炸声0"), 1);
    ASSERT_EQ(battle.CountOf<TExplosion>(), 1);
    for (int i = 0; i < battle.engine.ChildCount(); ++i)
    {
        if (auto* explosion = dynamic_cast<TExplosion*>(battle.engine.Child(i)))
        {
            EXPECT_EQ(explosion->Z, 10);
            EXPECT_EQ(explosion->X + explosion->Width / 2.0, 336);
            EXPECT_EQ(explosion->Y + explosion->Height / 2.0, 240);
        }
    }
}

TEST(Gem, IsTakenOnlyOnceTheTankCoversItsPoint)
{
    TestBattle battle;
    TMyTank* tank = ActivePlayer(battle, 304, 400);   // right edge exactly on the gem's point
    const std::int32_t score = tank->Score;
    TGemSprite* gem = GemAt(battle, GemMoreBullets, 336, 416);
    battle.Frame();
    ASSERT_EQ(battle.CountOf<TGemSprite>(), 1);
    tank->X = 336;   // left edge on it
    battle.Frame();
    ASSERT_EQ(battle.CountOf<TGemSprite>(), 1);
    tank->Y = 416;   // top edge on it, left edge just past it
    tank->X = 335;
    battle.Frame();
    ASSERT_EQ(battle.CountOf<TGemSprite>(), 1);
    EXPECT_EQ(tank->MaxBullets, 4);

    tank->Y = 415;
    battle.engine.Move(16);
    EXPECT_FALSE(gem->Collidable);
    EXPECT_TRUE(gem->IsDead);
    EXPECT_EQ(tank->MaxBullets, 5);
    EXPECT_EQ(tank->Score, score + 1000);
    EXPECT_EQ(battle.SoundCount("吃宝"), 1);
    battle.engine.FreeKilled();
    EXPECT_EQ(battle.CountOf<TGemSprite>(), 0);
}

TEST(Gem, FiringKitEffectsStopAtTheirLimits)
{
    TestBattle battle;
    TMyTank* tank = ActivePlayer(battle, 320, 320);
    tank->Spread = 2;
    Take(battle, *tank, GemSingleShot);
    EXPECT_EQ(tank->Spread, 0);
    Take(battle, *tank, GemTripleShot);
    EXPECT_EQ(tank->Spread, 1);
    Take(battle, *tank, GemFiveShot);
    EXPECT_EQ(tank->Spread, 2);

    tank->BulletSpeed = 3980;
    Take(battle, *tank, GemFasterBullets);
    EXPECT_EQ(tank->BulletSpeed, 4000);
    Take(battle, *tank, GemFasterBullets);
    EXPECT_EQ(tank->BulletSpeed, 4000);
    tank->BulletSpeed = 560;
    Take(battle, *tank, GemSlowerBullets);
    EXPECT_EQ(tank->BulletSpeed, 510);
    Take(battle, *tank, GemSlowerBullets);
    EXPECT_EQ(tank->BulletSpeed, 500);

    tank->ShotDelay = 1;
    Take(battle, *tank, GemFasterFire);
    EXPECT_EQ(tank->ShotDelay, 0);
    Take(battle, *tank, GemFasterFire);
    EXPECT_EQ(tank->ShotDelay, 0);

    tank->BulletPower = 980;
    Take(battle, *tank, GemStrongerBullets);
    EXPECT_EQ(tank->BulletPower, 1000);
    tank->MaxBullets = 59;
    Take(battle, *tank, GemMoreBullets);
    Take(battle, *tank, GemMoreBullets);
    EXPECT_EQ(tank->MaxBullets, 60);

    for (const auto& [kind, size] : {std::pair{GemBulletSize24, 24}, std::pair{GemBulletSize16, 16},
                                     std::pair{GemBulletSize8, 8}})
    {
        Take(battle, *tank, kind);
        EXPECT_EQ(tank->BulletSize, size);
    }
    EXPECT_EQ(tank->Score, 15 * 1000);
    EXPECT_EQ(battle.SoundCount("吃宝"), 15);
}

TEST(Gem, TankEffectsStopAtTheirLimitsAndRepairShowsTheIntactLookFrom400)
{
    TestBattle battle;
    TMyTank* tank = ActivePlayer(battle, 320, 320);
    tank->Speed = 950;
    Take(battle, *tank, GemFasterTank);
    EXPECT_EQ(tank->Speed, 1000);

    tank->Life = 250;
    tank->FrameStart = 1;
    Take(battle, *tank, GemRepair);
    EXPECT_EQ(tank->Life, 350);
    EXPECT_EQ(tank->FrameStart, 1) << "still damaged";

    Take(battle, *tank, GemSuper);
    EXPECT_EQ(tank->State, StateSuper);
    EXPECT_EQ(tank->SuperTime, 300);
    EXPECT_EQ(tank->FrameStart, 3);
    EXPECT_EQ(tank->FrameCount, 2);
    Take(battle, *tank, GemRepair);
    EXPECT_EQ(tank->Life, 450);
    EXPECT_EQ(tank->FrameStart, 0) << "intact even while Super";
    EXPECT_EQ(tank->FrameCount, 2);
    EXPECT_EQ(tank->State, StateSuper);

    tank->Life = 1950;
    Take(battle, *tank, GemRepair);
    EXPECT_EQ(tank->Life, 2000);

    Take(battle, *tank, GemPassAll);
    EXPECT_EQ(tank->AllPass, 1);
    EXPECT_EQ(tank->Z, 9);

    tank->LastShot = 40;
    Take(battle, *tank, GemClever);
    EXPECT_EQ(tank->Clever, 1);
    EXPECT_EQ(tank->LastShot, 0);
}

TEST(Gem, HidingWhileSuperLengthensSuperByTheAgeItHad)
{
    TestBattle battle;
    TMyTank* tank = ActivePlayer(battle, 320, 320);
    Take(battle, *tank, GemSuper);
    for (int i = 0; i < 100; ++i)
        battle.Frame();
    tank->LastShot = 90;
    Take(battle, *tank, GemHide);
    EXPECT_FALSE(tank->Visible);
    EXPECT_EQ(tank->HideTime, 300);
    EXPECT_EQ(tank->Age, 0);
    EXPECT_EQ(tank->LastShot, 0);
    // 200 Steps of Super were left; the restarted Age makes it 300 more.
    for (int i = 0; i < 300; ++i)
        battle.Frame();
    EXPECT_EQ(tank->State, StateSuper);
    EXPECT_FALSE(tank->Visible);
    battle.Frame();
    EXPECT_EQ(tank->State, StateActive);
    EXPECT_TRUE(tank->Visible);
}

struct Field
{
    TestBattle battle;
    TMyTank* player1 = nullptr;
    TMyTank* player2 = nullptr;
    TEnemyTank* enemy = nullptr;
    TEnemyBoss* boss = nullptr;
    THelpPlane* enemyPlane = nullptr;
    THelpPlane* playerPlane = nullptr;

    // Player 1, an enemy and the boss past their blinks, player 2 still blinking in, and a plane of each side
    // low on the field.
    Field()
    {
        player1 = ActivePlayer(battle, 320, 320);
        player2 = new TMyTank(&battle.engine);
        player2->UsePlayer2Keys();
        player2->X = 600;
        player2->Y = 320;
        boss = new TEnemyBoss(&battle.engine);
        boss->MaxBullets = 0;
        boss->X = 800;
        boss->Y = 100;
        enemy = StillEnemy(battle, 100, 100);
        battle.game.Player1Tank = player1;
        battle.game.Player2Tank = player2;
        enemyPlane = Plane(EnemiesTeam, 650);
        playerPlane = Plane(PlayersTeam, 700);
    }

    THelpPlane* Plane(std::int32_t team, double y)
    {
        auto* plane = new THelpPlane(&battle.engine);
        plane->Team = team;
        plane->Y = y;
        plane->MaxBullets = 0;
        return plane;
    }

    static bool Frozen(const TTank& tank) { return tank.State == StateFrozen && tank.FreezeTime == 300 && tank.Age == 0; }
};

TEST(Gem, StopTankFreezesTheOtherSideOnly)
{
    {
        Field field;
        Take(field.battle, *field.player1, GemFreezeOthers);
        EXPECT_TRUE(Field::Frozen(*field.enemy));
        EXPECT_TRUE(Field::Frozen(*field.boss));
        EXPECT_TRUE(Field::Frozen(*field.enemyPlane));
        EXPECT_FALSE(Field::Frozen(*field.player1));
        EXPECT_FALSE(Field::Frozen(*field.player2));
        EXPECT_FALSE(Field::Frozen(*field.playerPlane));
    }
    {
        Field field;
        Take(field.battle, *field.enemy, GemFreezeOthers);
        EXPECT_TRUE(Field::Frozen(*field.player1));
        EXPECT_TRUE(Field::Frozen(*field.player2));
        EXPECT_TRUE(Field::Frozen(*field.playerPlane));
        EXPECT_FALSE(Field::Frozen(*field.enemy));
        EXPECT_FALSE(Field::Frozen(*field.boss));
        EXPECT_FALSE(Field::Frozen(*field.enemyPlane));
    }
}

TEST(Gem, EachFurtherFreezeAddsThreeHundredAndRestartsTheCount)
{
    TestBattle battle;
    TMyTank* player = ActivePlayer(battle, 320, 320);
    TEnemyTank* enemy = StillEnemy(battle, 100, 100);
    Take(battle, *player, GemFreezeOthers);
    for (int i = 0; i < 50; ++i)
        battle.Frame();
    enemy->Speed = 400;
    Take(battle, *player, GemFreezeOthers);
    EXPECT_EQ(enemy->FreezeTime, 600);
    EXPECT_EQ(enemy->Age, 0);
    for (int i = 0; i < 600; ++i)
        battle.Frame();
    EXPECT_EQ(enemy->State, StateFrozen);
    EXPECT_EQ(enemy->Y, 100) << "a frozen tank does not drive";
    battle.Frame();
    EXPECT_EQ(enemy->State, StateActive);
    EXPECT_EQ(enemy->FreezeTime, 0);
}

TEST(Gem, PlaneGemCallsSevenToTenPlanesOfTheTakersSide)
{
    std::set<int> squadronSizes;
    for (std::uint64_t seed = 1; seed <= 40; ++seed)
    {
        TestBattle battle;
        battle.game.Rng.Seed(seed);
        TMyTank* player = ActivePlayer(battle, 320, 320);
        Take(battle, *player, GemCallPlanes);
        const int planes = battle.CountOf<THelpPlane>();
        ASSERT_GE(planes, 7);
        ASSERT_LE(planes, 10);
        ASSERT_EQ(battle.SoundCount("飞机声"), 1);
        for (int i = 0; i < battle.engine.ChildCount(); ++i)
        {
            if (auto* plane = dynamic_cast<THelpPlane*>(battle.engine.Child(i)))
            {
                ASSERT_EQ(plane->Team, PlayersTeam);
            }
        }
        squadronSizes.insert(planes);
    }
    EXPECT_EQ(squadronSizes, (std::set<int>{7, 8, 9, 10}));

    TestBattle battle;
    TEnemyTank* enemy = StillEnemy(battle, 100, 100);
    Take(battle, *enemy, GemCallPlanes);
    for (int i = 0; i < battle.engine.ChildCount(); ++i)
    {
        if (auto* plane = dynamic_cast<THelpPlane*>(battle.engine.Child(i)))
        {
            EXPECT_EQ(plane->Team, EnemiesTeam);
        }
    }
}

TEST(Gem, ACleverEnemyTurnsToFaceThePlayerWhoHitsIt)
{
    TestBattle battle;
    TMyTank* player = ActivePlayer(battle, 320, 500);   // facing up
    TEnemyTank* clever = StillEnemy(battle, 320, 200);
    TEnemyTank* plain = StillEnemy(battle, 600, 200);
    player->ShotDelay = 0;
    for (TEnemyTank* enemy : {clever, plain})
    {
        enemy->Direction = Heading::Left;
        enemy->UpdatePicture();
        enemy->Life = 5000;
    }
    Take(battle, *clever, GemClever);
    EXPECT_EQ(clever->Clever, 1);
    for (TEnemyTank* enemy : {clever, plain})
    {
        player->X = enemy->X;
        battle.Hold(4);
        battle.Frame();
        battle.Release(4);
        for (int i = 0; i < 60 && battle.CountOf<TBullet>() > 0; ++i)
            battle.Frame();
        ASSERT_LT(enemy->Life, 5000) << "the shot hit";
    }
    EXPECT_EQ(clever->Direction, Heading::Down);
    EXPECT_EQ(clever->Image, battle.pictures.ImageFind("Tank1Down"));
    EXPECT_EQ(plain->Direction, Heading::Left);
}

TEST(Gem, AKindOutsideTheTableShowsNothingAndChangesNothingButTheScore)
{
    TestBattle battle;
    TMyTank* tank = ActivePlayer(battle, 320, 320);
    auto* gem = new TGemSprite(&battle.engine);
    ASSERT_NO_THROW(gem->SetKind(GemKindCount));
    EXPECT_EQ(gem->Image, nullptr);
    gem->X = 336;
    gem->Y = 336;
    battle.Frame();
    EXPECT_EQ(battle.CountOf<TGemSprite>(), 0);
    EXPECT_EQ(tank->Score, 1000);
    EXPECT_EQ(tank->MaxBullets, 4);
    EXPECT_EQ(tank->Life, 1500);
    EXPECT_EQ(tank->State, StateActive);
    EXPECT_TRUE(tank->Visible);
}

TEST(Gem, TwoTanksOnOneGemBothTakeIt)
{
    TestBattle battle;
    TMyTank* first = ActivePlayer(battle, 320, 320);
    auto* second = new TMyTank(&battle.engine);
    for (int i = 0; i < 62; ++i)
        battle.Frame();
    second->X = 330;
    second->Y = 330;
    GemAt(battle, GemMoreBullets, 340, 340);
    battle.Frame();
    EXPECT_EQ(first->MaxBullets, 5);
    EXPECT_EQ(second->MaxBullets, 5);
    EXPECT_EQ(first->Score, 1000);
    EXPECT_EQ(second->Score, 1000);
    EXPECT_EQ(battle.SoundCount("吃宝"), 2);
}

}  // namespace
}  // namespace vorlanex::testing
