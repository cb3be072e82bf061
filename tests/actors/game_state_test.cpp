// The game state's players reached by number, the carry between a tank and the next level, and the pointers
// the game state keeps into the sprite tree.

#include <gtest/gtest.h>

#include <stdexcept>

#include "actors/LevelBackground.h"
#include "actors/MyTank.h"
#include "support/BattleTesting.h"

namespace vorlanex::testing {
namespace {

TEST(PlayerSeat, EachSeatReachesOnlyItsOwnPlayersValues)
{
    TestBattle battle;
    GameState& game = battle.game;
    TMyTank* tanks[2] = {EnterPlayerTank(battle.engine, 1), EnterPlayerTank(battle.engine, 2)};
    for (PlayerSeat seat : Seats(game))
    {
        seat.Lives = 10 * seat.Player;
        seat.LifeDebt = 20 * seat.Player;
        seat.Alive = std::uint8_t(seat.Player);
        seat.Tank = tanks[seat.Player - 1];
        seat.Carry.Score = 30 * seat.Player;
    }
    EXPECT_EQ((std::array{game.Lives1, game.Lives2}), (std::array{10, 20}));
    EXPECT_EQ((std::array{game.LifeDebt1, game.LifeDebt2}), (std::array{20, 40}));
    EXPECT_EQ((std::array{game.Player1Alive, game.Player2Alive}), (std::array<std::uint8_t, 2>{1, 2}));
    EXPECT_EQ(game.Player1Tank, tanks[0]);
    EXPECT_EQ(game.Player2Tank, tanks[1]);
    EXPECT_EQ((std::array{game.Carry1.Score, game.Carry2.Score}), (std::array{30, 60}));

    EXPECT_EQ(Partner(game, 1).Player, 2);
    EXPECT_EQ(&Partner(game, 2).Lives, &game.Lives1);
    EXPECT_THROW(Seat(game, 0), std::out_of_range);
    EXPECT_THROW(Seat(game, 3), std::out_of_range);
}

TEST(PlayerSeat, AFreedPlayerTankLeavesItsSeatEmpty)
{
    TestBattle battle;
    battle.game.Player1Tank = EnterPlayerTank(battle.engine, 1);
    battle.game.Player2Tank = EnterPlayerTank(battle.engine, 2);
    delete battle.game.Player2Tank;
    EXPECT_EQ(battle.game.Player2Tank, nullptr);
    EXPECT_NE(battle.game.Player1Tank, nullptr);
}

TEST(Carry, EveryCarriedValueGoesFromTheTankIntoTheCarryAndBack)
{
    TestBattle battle;
    TMyTank* played = EnterPlayerTank(battle.engine, 1);
    played->Score = 123456;
    played->Speed = 425.5;
    played->Life = 777;
    played->AllPass = 1;
    played->MaxBullets = 9;
    played->BulletSpeed = 1250.25;
    played->BulletPower = 350;
    played->BulletSize = 16;
    played->Spread = 2;
    played->ShotDelay = 5;
    TCarry carry;
    carry.SaveFrom(*played);

    TMyTank* next = EnterPlayerTank(battle.engine, 1);
    carry.ApplyTo(*next);
    EXPECT_EQ(next->Score, 123456);
    EXPECT_EQ(next->Speed, 425.5);
    EXPECT_EQ(next->Life, 777);
    EXPECT_EQ(next->AllPass, 1);
    EXPECT_EQ(next->MaxBullets, 9);
    EXPECT_EQ(next->BulletSpeed, 1250.25);
    EXPECT_EQ(next->BulletPower, 350);
    EXPECT_EQ(next->BulletSize, 16);
    EXPECT_EQ(next->Spread, 2);
    EXPECT_EQ(next->ShotDelay, 5);
}

// Leaving a battle clears the engine; the game state must not keep pointing at what went with it.
TEST(SpritePointers, TheLevelBackgroundAndTheLastHitSourceAreForgottenWhenFreed)
{
    TestBattle battle;
    battle.game.BackgroundSprite = new TLevelBackground(&battle.engine);
    EXPECT_STREQ(battle.game.BackgroundSprite->ClassName(), "TBackgroundSprite");
    TMyTank* tank = EnterPlayerTank(battle.engine, 1);
    tank->Collidable = true;   // a tank still appearing makes no hit test
    tank->CheckHits();
    ASSERT_EQ(battle.engine.HitSource, tank);
    battle.engine.Clear();
    EXPECT_EQ(battle.game.BackgroundSprite, nullptr);
    EXPECT_EQ(battle.engine.HitSource, nullptr);
}

}  // namespace
}  // namespace vorlanex::testing
