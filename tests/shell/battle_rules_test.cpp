// The battle's rule book through a whole game: who enters when, revival by the partner and score milestones.

#include "GameFixture.h"
#include "actors/EnemyBoss.h"
#include "actors/EnemyTank.h"
#include "actors/MyTank.h"

namespace vorlanex::testing {
namespace {

constexpr int VK_TAB = 0x09;

class BattleRules : public GameFixture
{
protected:
    template <class T>
    int Count()
    {
        int n = 0;
        for (int i = 0; i < form->SpriteEngine.Engine->ChildCount(); ++i)
            n += dynamic_cast<T*>(form->SpriteEngine.Engine->Child(i)) != nullptr;
        return n;
    }
    TSprite* Last() { return form->SpriteEngine.Engine->Child(form->SpriteEngine.Engine->ChildCount() - 1); }
};

TEST_F(BattleRules, EnemiesEnterEveryNinetyFramesAndTheBossWithTheLastOne)
{
    EnterBattle();
    GameState& game = form->Game;
    EXPECT_EQ(game.EnemiesSpawned, 3);
    Frames(88);
    EXPECT_EQ(game.EnemiesSpawned, 3);
    Frame();   // battle frame 89
    EXPECT_EQ(game.EnemiesSpawned, 4);
    auto* newcomer = dynamic_cast<TEnemyTank*>(Last());
    ASSERT_NE(newcomer, nullptr);
    EXPECT_EQ(int(newcomer->X) % 32, 16);
    EXPECT_EQ(int(newcomer->Y) % 32, 16);
    Frames(1438 - 89);
    EXPECT_EQ(game.EnemiesSpawned, 18);
    EXPECT_EQ(Count<TEnemyBoss>(), 0);
    Frame();   // battle frame 1439: the 16th ordinary enemy and the boss
    EXPECT_EQ(game.EnemiesSpawned, 20);
    EXPECT_EQ(Count<TEnemyBoss>(), 1);
    Frames(90);
    EXPECT_EQ(game.EnemiesSpawned, 20);
}

TEST_F(BattleRules, ALevelTotalBelowTheSpawnedCountStopsEveryEntry)
{
    EnterBattle();
    Frames(89);
    ASSERT_EQ(form->Game.EnemiesSpawned, 4);
    form->Game.BaseEnemyCount = 4;   // total 4: neither an ordinary enemy nor the boss may come
    Frames(300);
    EXPECT_EQ(form->Game.EnemiesSpawned, 4);
    EXPECT_EQ(Count<TEnemyBoss>(), 0);
}

TEST_F(BattleRules, APlayerOutOfLivesComesBackOnThePartnersOffer)
{
    EnterBattle();
    Frames(62);
    GameState& game = form->Game;
    // Player 1's last tank is gone, as a bullet leaves it.
    game.Carry1.Score = 1234;
    game.Player1Tank->Kill();
    game.Player1Tank = nullptr;
    game.Player1Alive = 0;
    game.LifeDebt1 = game.Lives1 + 1;
    game.PlayerLosses = 6;
    Frame();
    EXPECT_EQ(game.Player1Tank, nullptr);
    KeyDown(VK_TAB);
    Frame();
    ASSERT_NE(game.Player1Tank, nullptr);
    EXPECT_EQ(game.Player1Tank->Score, 1234);
    EXPECT_EQ(game.Player1Alive, 1);
    EXPECT_EQ(game.LifeDebt2, 1);
    EXPECT_EQ(game.Player2Tank->GiveLife, 0);
    EXPECT_EQ(game.Player1Tank->X, game.PlayerStart.Column * 32);
}

TEST_F(BattleRules, ScoreMilestonesGiveOneLifeAFrameAndNeverPassTen)
{
    EnterBattle();
    GameState& game = form->Game;
    game.Player1Tank->Score = 2 * 50000 + 10;   // two multiples passed at once
    Frame();
    EXPECT_EQ(game.Lives1, 6);
    EXPECT_EQ(game.Player1Tank->Milestone, 2);
    game.LifeDebt2 = 1;
    game.Player2Tank->Score = 50000;
    game.Lives1 = 10;
    game.Player1Tank->Score = 3 * 50000;
    Frame();
    EXPECT_EQ(game.Lives1, 10);
    EXPECT_EQ(game.LifeDebt2, 0);   // a debt is forgiven before a life is added
    EXPECT_EQ(game.Lives2, 5);
}

}  // namespace
}  // namespace vorlanex::testing
