// Golden replays: a seed and a two-player script over the shipped maps must reproduce the stored state digest,
// frame for frame. A change to the rules shows up here first. To accept a change on purpose, run the test with
// VORLANEX_UPDATE_GOLDEN=1, which rewrites the .golden files, and say why in the commit.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <cstdlib>
#include <functional>
#include <sstream>
#include <string>

#include <nlohmann/json.hpp>

#include "support/HeadlessRun.h"

namespace {

namespace fs = std::filesystem;
using vorlanex::testing::RunHeadless;

const fs::path GoldenDir = fs::path(VORLANEX_SOURCE_DIR) / "tests" / "golden";

struct Golden
{
    std::uint64_t seed = 0;
    int frames = 0;
    std::string digest;
};

Golden ReadGolden(const fs::path& path)
{
    Golden g;
    std::ifstream in(path);
    for (std::string key; in >> key;)
    {
        if (key == "seed")
            in >> g.seed;
        else if (key == "frames")
            in >> g.frames;
        else if (key == "digest")
            in >> g.digest;
    }
    return g;
}

nlohmann::json Replay(const std::string& name, const Golden& golden)
{
    return RunHeadless("golden-" + name, golden.seed, golden.frames, GoldenDir / (name + ".script"));
}

void CheckGolden(const std::string& name, const std::function<void(const nlohmann::json&)>& outcome)
{
    const fs::path goldenPath = GoldenDir / (name + ".golden");
    Golden golden = ReadGolden(goldenPath);
    ASSERT_GT(golden.frames, 0) << goldenPath << " names no frame count";
    const nlohmann::json dump = Replay(name, golden);
    ASSERT_TRUE(dump.contains("digest"));
    EXPECT_TRUE(dump["errors"].empty()) << dump["errors"].dump();
    outcome(dump);
    const std::string digest = dump["digest"];
    if (std::getenv("VORLANEX_UPDATE_GOLDEN"))
    {
        std::ofstream(goldenPath) << "seed " << golden.seed << "\nframes " << golden.frames << "\ndigest " << digest
                                  << "\n";
        return;
    }
    EXPECT_EQ(digest, golden.digest) << name << " no longer replays to its stored state";
}

}  // namespace

TEST(GoldenReplay, TheCheatClearsTheFirstMap)
{
    CheckGolden("cheat_clears_map001", [](const nlohmann::json& d) {
        EXPECT_EQ(d["Scene"], 3);
        EXPECT_EQ(d["globals"]["LevelCleared"], 1);
        EXPECT_EQ(d["globals"]["BaseEnemyCount"], 100);
        EXPECT_EQ(d["globals"]["SpawnPeriod"], 15);
        EXPECT_GE(d["globals"]["Carry1"]["Score"], 100 * 500);
    });
}

TEST(GoldenReplay, TwoPlayersWhoNeverFireLoseTheGame)
{
    CheckGolden("two_players_lose_everything", [](const nlohmann::json& d) {
        EXPECT_EQ(d["Scene"], 3);
        EXPECT_EQ(d["globals"]["LevelCleared"], 0);
        EXPECT_EQ(d["globals"]["PlayerLosses"], 0);   // reset by the game over
        EXPECT_EQ(d["globals"]["Player1Alive"], 0);
        EXPECT_EQ(d["globals"]["Player2Alive"], 0);
    });
}

TEST(GoldenReplay, CarriedTanksPlayOnTheSecondMap)
{
    CheckGolden("carry_into_map002", [](const nlohmann::json& d) {
        EXPECT_EQ(d["Scene"], 2);
        EXPECT_EQ(d["globals"]["CurrentLevel"], 2);
        const std::string map = d["globals"]["MapFileName"];
        EXPECT_EQ(map.substr(map.size() - 10), "MAP002.map");
        ASSERT_TRUE(d["player1"].is_number());
        // The cheat tank's weapons came along.
        EXPECT_EQ(d["sprites"][int(d["player1"])]["Spread"], 2);
    });
}
