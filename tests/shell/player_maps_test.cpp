#include <gtest/gtest.h>

#include <filesystem>

#include "GameFixture.h"
#include "maps/MapWriter.h"
#include "shell/PlayerMaps.h"

using namespace vorlanex;
namespace fs = std::filesystem;

namespace {

class PlayerCampaign : public vorlanex::testing::GameFixture
{
protected:
    void UseMaps(const fs::path& dir)
    {
        adjustConfig = [dir](GameConfig& c) {
            c.playerMapsDir = dir.string();
            c.mapsCampaign = true;
        };
    }
    void AddMap(const fs::path& dir, const std::string& name)
    {
        fs::create_directories(dir);
        MapData map = ReadMapFile((folder / "MAP001.map").string()).Map;
        SaveMapFile((dir / name).string(), map);
    }
};

}  // namespace

TEST_F(PlayerCampaign, TheFolderIsPlayedInNameOrderAndBeginsAgainAfterTheLast)
{
    CopyGameData();
    const fs::path dir = folder / "mine";
    AddMap(dir, "b-river.map");
    AddMap(dir, "a-hill.MAP");
    AddMap(dir, "b-river.map");   // leaves b-river.map~ beside it, which is no level
    std::ofstream(dir / "notes.txt") << "not a map";
    EXPECT_EQ(ListPlayerMaps(dir.string()), (std::vector<std::string>{(dir / "a-hill.MAP").string(),
                                                                        (dir / "b-river.map").string()}));
    UseMaps(dir);
    Start();
    EXPECT_EQ(form->Game.MapFileName, (dir / "a-hill.MAP").string());
    EXPECT_EQ(form->LevelMapFile(2), (dir / "b-river.map").string());
    PressFire();
    ASSERT_EQ(form->Scene, Scene::Battle);
    EXPECT_EQ(form->Caption, (dir / "a-hill.MAP").string());

    Frames(2);
    form->Game.CurrentLevel = 2;
    form->Game.LevelCleared = 1;
    form->ChangeScene(Scene::Result);
    PressFire();
    EXPECT_EQ(form->Game.CurrentLevel, 1);
    EXPECT_EQ(form->Game.MapFileName, (dir / "a-hill.MAP").string());
}

TEST_F(PlayerCampaign, AFolderWithoutMapsLeavesTheGamesOwnLevels)
{
    CopyGameData();
    fs::create_directories(folder / "empty");
    UseMaps(folder / "empty");
    Start();
    EXPECT_EQ(form->Game.MapFileName, LevelMapFileName(form->Game.AppDir, 1));
    ASSERT_FALSE(form->ReportedErrors().empty());
    EXPECT_NE(form->ReportedErrors().back().find("holds no map files"), std::string::npos);
    EXPECT_EQ(NewPlayerMapName((folder / "empty").string()), (folder / "empty" / "map001.map").string());
}
