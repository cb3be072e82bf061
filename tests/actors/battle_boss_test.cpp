// The boss's blink: a blinking boss on Steps 1 to 60, its own picture from Step 61, never a player's.

#include <gtest/gtest.h>

#include "actors/EnemyBoss.h"
#include "support/BattleTesting.h"

namespace vorlanex::testing {
namespace {

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

}  // namespace
}  // namespace vorlanex::testing
