// Terrain sprites before the level builder fills them in, and the direction helper.

#include <gtest/gtest.h>

#include "actors/Direction.h"
#include "actors/TerrSprite.h"

namespace vorlanex {
namespace {

TEST(TerrSprite, NewTerrainLetsEverythingPassUntilTheBuilderSaysOtherwise)
{
    TSpriteEngine engine;
    auto* terrain = new TTerrSprite(&engine);
    EXPECT_EQ(terrain->X, 100);
    EXPECT_EQ(terrain->Y, 100);
    EXPECT_EQ(terrain->Flags, 3);
    EXPECT_EQ(terrain->Durability, 1000);
    EXPECT_TRUE(terrain->TanksPass());
    EXPECT_TRUE(terrain->BulletsPass());
    EXPECT_TRUE(terrain->Collidable && terrain->Movable && terrain->Visible);
    EXPECT_EQ(terrain->Z, 0);

    terrain->Flags = TerrBulletsPass;   // water: bullets fly over, tanks stop
    EXPECT_FALSE(terrain->TanksPass());
    EXPECT_TRUE(terrain->BulletsPass());
}

TEST(OppositeDirection, SwapsLeftRightAndUpDownAndSendsTheRestLeft)
{
    EXPECT_EQ(OppositeDirection(Heading::Left), Heading::Right);
    EXPECT_EQ(OppositeDirection(Heading::Right), Heading::Left);
    EXPECT_EQ(OppositeDirection(Heading::Up), Heading::Down);
    EXPECT_EQ(OppositeDirection(Heading::Down), Heading::Up);
    EXPECT_EQ(OppositeDirection(Heading(7)), Heading::Left);
    EXPECT_EQ(OppositeDirection(Heading(255)), Heading::Left);
}

}  // namespace
}  // namespace vorlanex
