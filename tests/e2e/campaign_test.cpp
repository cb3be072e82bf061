// The course of a whole game: from the title through cleared levels and result screens to the next maps, the
// wrap after the last shipped map, and a lost game that replays its map under the next level number.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "actors/MyTank.h"
#include "actors/TerrSprite.h"
#include "shell/GameFixture.h"
#include "support/HeadlessRun.h"

namespace vorlanex::testing {
namespace {

namespace fs = std::filesystem;

constexpr int ShippedMaps = 12;

// The sanitizer build runs the executable some 25 times slower: there the result screen's own run is left to
// the in-process tests below.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool Sanitized = true;
#else
constexpr bool Sanitized = false;
#endif

bool EndsWith(const std::string& text, const std::string& tail)
{
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

// --- through the executable -------------------------------------------------------------------------------

// The first map cleared with the cheat tank, fire on the result screen at frame 3200, then the second map.
const fs::path CampaignScript = fs::path(VORLANEX_SOURCE_DIR) / "tests" / "golden" / "carry_into_map002.script";

nlohmann::json RunGame(int frames)
{
    return RunHeadless("campaign-" + std::to_string(frames), 1, frames, CampaignScript);
}

const nlohmann::json& Player1(const nlohmann::json& dump) { return dump["sprites"][int(dump["player1"])]; }

TEST(CampaignRun, TitleThenFirstMapClearedThenResultThenSecondMap)
{
    const nlohmann::json battle = RunGame(100);
    ASSERT_TRUE(battle.contains("globals"));
    EXPECT_EQ(battle["Scene"], Scene::Battle);
    EXPECT_TRUE(EndsWith(battle["globals"]["MapFileName"], "MAP001.map"));
    EXPECT_EQ(battle["globals"]["BaseEnemyCount"], 100);   // the cheat was held while the tanks were made
    EXPECT_EQ(battle["globals"]["LevelCleared"], 0);

    nlohmann::json result;
    if (!Sanitized)
    {
        result = RunGame(3150);
        ASSERT_TRUE(result.contains("globals"));
        const nlohmann::json& won = result["globals"];
        EXPECT_EQ(result["Scene"], Scene::Result);
        EXPECT_EQ(won["LevelCleared"], 1);
        EXPECT_EQ(won["CurrentLevel"], 1);   // the level number moves on only when the result screen is left
        EXPECT_TRUE(EndsWith(won["MapFileName"], "MAP001.map"));
        EXPECT_EQ(won["EnemiesDestroyed"], 0);
        EXPECT_GE(won["Carry1"]["Score"], 100 * 500);
        EXPECT_TRUE(result["sprites"].empty());   // the battle's tree went with the battle
    }

    const nlohmann::json next = RunGame(3202);
    ASSERT_TRUE(next.contains("globals"));
    const nlohmann::json& level2 = next["globals"];
    EXPECT_EQ(next["Scene"], Scene::Battle);
    EXPECT_EQ(level2["CurrentLevel"], 2);
    EXPECT_TRUE(EndsWith(level2["MapFileName"], "MAP002.map"));
    EXPECT_EQ(level2["LevelCleared"], 1);
    EXPECT_GE(level2["Carry1"]["Score"], 100 * 500);
    ASSERT_TRUE(next["player1"].is_number());
    // The cheat tank's score and weapons came along.
    EXPECT_EQ(Player1(next)["Score"], level2["Carry1"]["Score"]);
    EXPECT_EQ(Player1(next)["Spread"], 2);
    EXPECT_EQ(Player1(next)["BulletPower"], 500);
    if (!Sanitized)
    {
        EXPECT_EQ(level2["Carry1"], result["globals"]["Carry1"]);
    }
    EXPECT_TRUE(next["errors"].empty()) << next["errors"].dump();
}

// --- in process: every shipped map in turn ----------------------------------------------------------------

// What tells one loaded map from another: where the players and the enemies enter, and the terrain's extent.
struct MapSignature
{
    std::int32_t startColumn = 0, startRow = 0;
    std::vector<std::int32_t> spawnCells;
    int terrain = 0;
    bool operator==(const MapSignature&) const = default;
};

class Campaign : public GameFixture
{
protected:
    void SetUp() override
    {
        GameFixture::SetUp();
        EnterBattle();
    }

    GameState& Game() { return form->Game; }


    MapSignature Signature()
    {
        MapSignature s{Game().PlayerStart.Column, Game().PlayerStart.Row, {}, 0};
        for (const TCellPoint& cell : Game().EnemySpawnPoints)
            s.spawnCells.insert(s.spawnCells.end(), {cell.Column, cell.Row});
        for (int i = 0; i < form->SpriteEngine.Engine->ChildCount(); ++i)
            s.terrain += dynamic_cast<TTerrSprite*>(form->SpriteEngine.Engine->Child(i)) != nullptr;
        return s;
    }

    // A short fight on the current map, the player scoring, then the level total reached.
    void WinLevel(std::int32_t points)
    {
        Frames(20);
        ASSERT_NE(Game().Player1Tank, nullptr);
        Game().Player1Tank->Score += points;
        Game().EnemiesDestroyed = Game().LevelTotal();
        Frames(3);
        ASSERT_EQ(form->Scene, Scene::Result);
        ASSERT_EQ(Game().LevelCleared, 1);
    }

    // Both tanks lost with every life spent.
    void LoseGame()
    {
        Frames(20);
        for (TMyTank* tank : {Game().Player1Tank, Game().Player2Tank})
            if (tank)
                tank->Kill();
        Game().Player1Alive = Game().Player2Alive = 0;
        Game().PlayerLosses = Game().Lives1 + Game().Lives2 + 2;
        Frames(3);
        ASSERT_EQ(form->Scene, Scene::Result);
    }

    void ExpectCleanBattleOn(std::int32_t level, std::int32_t map)
    {
        char tail[16];
        std::snprintf(tail, sizeof tail, "/MAP%03d.map", map);
        EXPECT_EQ(form->Scene, Scene::Battle);
        EXPECT_EQ(Game().CurrentLevel, level);
        EXPECT_TRUE(EndsWith(Game().MapFileName, tail)) << Game().MapFileName;
        EXPECT_NE(Game().Player1Tank, nullptr);
        EXPECT_NE(Game().Player2Tank, nullptr);
        EXPECT_TRUE(form->ReportedErrors().empty()) << form->ReportedErrors().front();
    }
};

TEST_F(Campaign, EveryShippedMapClearedInTurnThenTheFirstAgainWithScoresKept)
{
    std::vector<MapSignature> maps{Signature()};
    for (std::int32_t level = 1; level <= ShippedMaps; ++level)
    {
        SCOPED_TRACE("level " + std::to_string(level));
        WinLevel(1000);
        EXPECT_EQ(Game().Carry1.Score, 1000 * level);
        PressFire();
        const std::int32_t next = level < ShippedMaps ? level + 1 : 1;
        ExpectCleanBattleOn(next, next);
        EXPECT_EQ(Game().Player1Tank->Score, 1000 * level);
        maps.push_back(Signature());
    }
    // The wrap really loaded the first map again; the shipped maps are not all alike.
    EXPECT_EQ(maps.back(), maps.front());
    int distinct = 0;
    for (std::size_t i = 1; i < std::size_t(ShippedMaps); ++i)
        distinct += !(maps[i] == maps[0]);
    EXPECT_GE(distinct, ShippedMaps / 2);
    EXPECT_EQ(Game().Carry1.Score, 1000 * ShippedMaps);
}

TEST_F(Campaign, AGameOverShowsDefeatThenReplaysTheSameMapAsTheNextLevel)
{
    WinLevel(500);
    PressFire();
    WinLevel(500);
    PressFire();
    ExpectCleanBattleOn(3, 3);
    const MapSignature map3 = Signature();
    LoseGame();
    EXPECT_EQ(Game().LevelCleared, 0);
    EXPECT_EQ(Game().Carry1.Score, 1000);   // shown on the result screen before it is wiped
    PressFire();
    ExpectCleanBattleOn(4, 3);
    EXPECT_EQ(Signature(), map3);
    EXPECT_EQ(Game().Carry1.Score, 0);
    EXPECT_EQ(Game().Player1Tank->Score, 0);
    // A win names the next map after the level number, not after the map just played: the fourth is skipped.
    WinLevel(100);
    PressFire();
    ExpectCleanBattleOn(5, 5);
}

}  // namespace
}  // namespace vorlanex::testing
