// The boss: its blink, the diagonal crawl towards a player, aimed fire, what a freeze during the blink does, and
// its only way to die.

#include <gtest/gtest.h>

#include "actors/Bullet.h"
#include "actors/EnemyBoss.h"
#include "actors/Explosions.h"
#include "actors/MyTank.h"
#include "support/BattleTesting.h"

namespace vorlanex::testing {
namespace {

// A boss past its blink at (x, y).
TEnemyBoss* ActiveBoss(TestBattle& battle, double x, double y)
{
    auto* boss = new TEnemyBoss(&battle.engine);
    for (int i = 0; i < 61; ++i)
        battle.Frame();
    boss->X = x;
    boss->Y = y;
    return boss;
}

// A player tank that stays where it is put and outlasts any shot, held in the game's slot for player 1 or 2.
TMyTank* Player(TestBattle& battle, TMyTank*& slot, double x, double y)
{
    auto* tank = new TMyTank(&battle.engine);
    tank->X = x;
    tank->Y = y;
    tank->Life = 1000000;
    slot = tank;
    return tank;
}

std::vector<TBullet*> Bullets(TestBattle& battle)
{
    std::vector<TBullet*> bullets;
    for (int i = 0; i < battle.engine.ChildCount(); ++i)
        if (auto* bullet = dynamic_cast<TBullet*>(battle.engine.Child(i)); bullet && !bullet->IsDead)
            bullets.push_back(bullet);
    return bullets;
}

// Fires the boss's next shot and answers its heading.
double NextShotAngle(TestBattle& battle, TEnemyBoss& boss)
{
    boss.LastShot = boss.Age - boss.ShotDelay + 1;
    battle.Frame();
    const std::vector<TBullet*> bullets = Bullets(battle);
    EXPECT_EQ(bullets.size(), 1u);
    const double angle = bullets.empty() ? -1 : bullets.back()->Angle;
    for (TBullet* bullet : bullets)
        bullet->Kill();
    battle.engine.FreeKilled();
    return angle;
}

TEST(Boss, BlinksSixtyStepsThenShowsItsOwnPicture)
{
    TestBattle battle;
    auto* boss = new TEnemyBoss(&battle.engine);
    boss->X = 400;
    boss->Y = 300;
    for (int step = 1; step <= 60; ++step)
    {
        battle.Frame();
        ASSERT_EQ(boss->State, StateAppearing) << "step " << step;
        ASSERT_EQ(boss->Image, battle.pictures.ImageFind("Blink")) << "step " << step;
    }
    battle.Frame();
    EXPECT_EQ(boss->State, StateActive);
    EXPECT_TRUE(boss->Collidable);
    EXPECT_EQ(boss->Image, battle.pictures.ImageFind("EnemyBoss"));
    battle.Frame();
    EXPECT_EQ(boss->Image, battle.pictures.ImageFind("EnemyBoss"));
}

TEST(Boss, FirstShotComesAfterTheBlink)
{
    TestBattle battle;
    auto* boss = new TEnemyBoss(&battle.engine);
    boss->X = 400;
    boss->Y = 300;
    Player(battle, battle.game.Player1Tank, 400, 600);
    for (int step = 1; step <= 61; ++step)
    {
        battle.Frame();
        ASSERT_EQ(battle.CountOf<TBullet>(), 0) << "step " << step;
    }
    battle.Frame();
    EXPECT_EQ(battle.CountOf<TBullet>(), 1);
    EXPECT_EQ(boss->LiveBullets, 1);
}

TEST(Boss, CrawlsDiagonallyOntoPlayerOneAndJittersThere)
{
    TestBattle battle;
    TEnemyBoss* boss = ActiveBoss(battle, 400, 300);
    boss->MaxBullets = 0;
    Player(battle, battle.game.Player1Tank, 500, 400);
    int steps = 0;
    while ((boss->X < 500 || boss->Y < 400) && steps < 1000)
    {
        battle.Frame();
        ++steps;
        ASSERT_NEAR(boss->X - boss->Y, 100, 1e-6) << "both axes move in every Step";
    }
    EXPECT_EQ(steps, 334);
    for (int i = 0; i < 20; ++i)
    {
        battle.Frame();
        EXPECT_NEAR(boss->X, 500, 0.31);
        EXPECT_NEAR(boss->Y, 400, 0.31);
    }
}

TEST(Boss, AimsAtTheTargetAboveRightLeftAndBelow)
{
    TestBattle battle;
    TEnemyBoss* boss = ActiveBoss(battle, 500, 400);
    TMyTank* player = Player(battle, battle.game.Player1Tank, 0, 0);
    // The boss crawls one 0.3 step before it fires, so on the shared axis the target sits one step ahead.
    struct Case
    {
        double x, y, angle;
    };
    for (const Case& c : {Case{0.3, -300, 64}, Case{300, 0.3, 0}, Case{-300, 0.3, 128}, Case{0.3, 300, 192}})
    {
        player->X = boss->X + c.x;
        player->Y = boss->Y + c.y;
        EXPECT_EQ(NextShotAngle(battle, *boss), c.angle) << c.x << "," << c.y;
    }
}

TEST(Boss, ChasesPlayerTwoWhenPlayerOneIsGoneAndStandsFiringDownWithNoTarget)
{
    TestBattle battle;
    TEnemyBoss* boss = ActiveBoss(battle, 500, 400);
    Player(battle, battle.game.Player2Tank, 800, 400.3);
    EXPECT_EQ(NextShotAngle(battle, *boss), 0);
    EXPECT_DOUBLE_EQ(boss->X, 500.3);
    EXPECT_DOUBLE_EQ(boss->Y, 400.3);

    battle.game.Player2Tank = nullptr;
    EXPECT_EQ(NextShotAngle(battle, *boss), 192);
    battle.Frame();
    EXPECT_DOUBLE_EQ(boss->X, 500.3);
    EXPECT_DOUBLE_EQ(boss->Y, 400.3);
}

TEST(Boss, FrozenWhileBlinkingWakesActiveButKeepsTheBlinkPicture)
{
    TestBattle battle;
    auto* boss = new TEnemyBoss(&battle.engine);
    boss->X = 400;
    boss->Y = 300;
    Player(battle, battle.game.Player1Tank, 100, 100);
    for (int i = 0; i < 30; ++i)
        battle.Frame();
    battle.FreezeOtherTeams(PlayersTeam);
    for (int i = 0; i < 300; ++i)
        battle.Frame();
    EXPECT_EQ(boss->State, StateFrozen);
    EXPECT_FALSE(boss->Collidable);
    battle.Frame();
    EXPECT_EQ(boss->State, StateActive);
    EXPECT_TRUE(boss->Collidable);
    for (int i = 0; i < 100; ++i)
        battle.Frame();
    EXPECT_EQ(boss->Image, battle.pictures.ImageFind("Blink"));
    EXPECT_LT(boss->X, 400) << "it chases all the same";
}

TEST(Boss, DiesOnlyByABulletAndCountsAsADestroyedEnemy)
{
    TestBattle battle;
    TEnemyBoss* boss = ActiveBoss(battle, 500, 300);
    TMyTank* player = Player(battle, battle.game.Player1Tank, 500, 700);
    battle.Frame();
    ASSERT_EQ(boss->LiveBullets, 1) << "a shot of its own is in flight";
    boss->LastShot = boss->Age + 100;
    boss->Life = 150;
    auto* bullet = new TBullet(&battle.engine);
    bullet->SetOwner(player);
    bullet->Power = 200;
    bullet->Speed = 0;
    bullet->X = boss->X + 10;
    bullet->Y = boss->Y + 1;   // clear of the boss's own shot, which would take it out first
    battle.Frame();
    EXPECT_EQ(battle.CountOf<TEnemyBoss>(), 0);
    EXPECT_EQ(battle.CountOf<TBullet>(), 0) << "its shot went with it";
    EXPECT_EQ(battle.game.EnemiesDestroyed, 1);
    EXPECT_EQ(battle.CountOf<TExplosionRed>(), 5);
    EXPECT_EQ(player->Score, 200);
}

}  // namespace
}  // namespace vorlanex::testing
