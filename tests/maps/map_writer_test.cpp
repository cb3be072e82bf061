#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "maps/MapWriter.h"
#include "platform/common/Gbk.h"
#include "support/CompoundFileTesting.h"

using namespace vorlanex;
using vorlanex::testing::ScratchFolder;
using vorlanex::testing::WriteBytes;
namespace fs = std::filesystem;

namespace {

std::vector<std::uint8_t> Bytes(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

MapData SmallMap(const std::string& tile = "砖墙\\红砖")
{
    MapData map;
    map.EnemySpawnPoints = {TCellPoint{1, 0}, TCellPoint{15, 0}, TCellPoint{29, 0}};
    map.PlayerStart = {15, 22};
    map.BackgroundFileName = Utf8ToGbk("地图背景\\草地.BMP");
    TCell cell;
    cell.Col = 4;
    cell.Row = 5;
    cell.TileName = Utf8ToGbk(tile);
    map.Layers[1].push_back(cell);
    return map;
}

std::vector<fs::path> ShippedMaps()
{
    std::vector<fs::path> maps;
    for (const auto& entry : fs::directory_iterator(VORLANEX_BUILD_DIR))
        if (entry.path().extension() == ".map")
            maps.push_back(entry.path());
    std::sort(maps.begin(), maps.end());
    return maps;
}

std::size_t FilesIn(const fs::path& folder)
{
    return std::size_t(std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

}  // namespace

TEST(MapWriter, EveryShippedMapSavesBackByteForByte)
{
    const std::vector<fs::path> maps = ShippedMaps();
    ASSERT_GE(maps.size(), 12u) << "the build writes the shipped maps beside the program";
    ScratchFolder folder;
    for (const fs::path& shipped : maps)
    {
        const MapReadResult read = ReadMapFile(shipped.string());
        ASSERT_EQ(read.Status, MapReadStatus::Ok) << read.Message;
        const fs::path copy = folder / shipped.filename().string();
        SaveMapFile(copy.string(), read.Map);
        EXPECT_EQ(Bytes(copy), Bytes(shipped)) << shipped;
    }
}

TEST(MapWriter, RefusesWhatTheGameCouldNotPlaceAndWritesNothing)
{
    ScratchFolder folder;
    const fs::path file = folder / "refused.map";
    MapData outsideSpawn = SmallMap();
    outsideSpawn.EnemySpawnPoints[2] = {32, 0};
    MapData outsideStart = SmallMap();
    outsideStart.PlayerStart = {0, -1};
    MapData outsideCell = SmallMap();
    outsideCell.Layers[1][0].Row = 24;
    for (const MapData* map : {&outsideSpawn, &outsideStart, &outsideCell})
    {
        EXPECT_FALSE(MapWriteRefusal(*map).empty());
        EXPECT_THROW(SaveMapFile(file.string(), *map), MapWriteError);
        EXPECT_FALSE(fs::exists(file));
    }
    EXPECT_NE(MapWriteRefusal(outsideCell).find("(4, 24)"), std::string::npos) << MapWriteRefusal(outsideCell);
    EXPECT_EQ(MapWriteRefusal(SmallMap()), "");
}

TEST(MapWriter, KeepsThePreviousVersionBesideTheNewOne)
{
    ScratchFolder folder;
    const fs::path file = folder / "mine.map";
    SaveMapFile(file.string(), SmallMap("砖墙\\红砖"));
    const auto first = Bytes(file);
    EXPECT_FALSE(fs::exists(folder / "mine.map~"));
    SaveMapFile(file.string(), SmallMap("钢板\\钢墙"));
    EXPECT_EQ(Bytes(folder / "mine.map~"), first);
    EXPECT_EQ(ReadMapFile(file.string()).Map, SmallMap("钢板\\钢墙"));
    EXPECT_EQ(FilesIn(folder.Path()), 2u) << "no temporary file stays behind";
}

// A read-only folder, a full disk, a failing flush or rename: whichever step fails, the old file is untouched.
TEST(MapWriter, AFailedSaveLeavesTheOldFileExactlyAsItWas)
{
    const std::pair<SaveStep, int> faults[] = {{SaveStep::CreateTemporary, EROFS}, {SaveStep::CreateTemporary, EACCES},
                                               {SaveStep::Write, ENOSPC},         {SaveStep::Flush, EIO},
                                               {SaveStep::KeepPrevious, EACCES},  {SaveStep::Replace, EACCES}};
    for (const auto& [step, error] : faults)
    {
        ScratchFolder folder;
        const fs::path file = folder / "mine.map";
        SaveMapFile(file.string(), SmallMap());
        SaveMapFile(file.string(), SmallMap());
        const auto before = Bytes(file);
        AtomicWriteOptions options;
        options.fault = [step = step, error = error](SaveStep now) { return now == step ? error : 0; };
        try
        {
            SaveMapFile(file.string(), SmallMap("钢板\\钢墙"), options);
            ADD_FAILURE() << "the save should fail at step " << int(step);
        }
        catch (const FileSaveError& e)
        {
            EXPECT_NE(std::string(e.what()).find(file.string()), std::string::npos) << e.what();
            EXPECT_NE(std::string(e.what()).find(std::strerror(error)), std::string::npos) << e.what();
        }
        EXPECT_EQ(Bytes(file), before);
        EXPECT_EQ(FilesIn(folder.Path()), 2u) << "step " << int(step);
    }
}

TEST(MapWriter, AFolderThatIsNotThereFailsWithItsName)
{
    ScratchFolder folder;
    WriteBytes(folder / "plain", {1, 2, 3});
    const fs::path file = folder / "plain" / "mine.map";
    EXPECT_THROW(SaveMapFile(file.string(), SmallMap()), FileSaveError);
    EXPECT_THROW(MakeFolders((folder / "plain" / "maps").string()), FileSaveError);
    MakeFolders((folder / "a" / "b").string());
    EXPECT_TRUE(fs::is_directory(folder / "a" / "b"));
}

// The process dies between writing the new file and renaming it: the old map is still there and loads.
TEST(MapWriter, ASaveKilledBeforeTheRenameLeavesALoadableMap)
{
    ScratchFolder folder;
    const fs::path file = folder / "mine.map";
    SaveMapFile(file.string(), SmallMap());
    const auto before = Bytes(file);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0)
    {
        AtomicWriteOptions options;
        options.fault = [](SaveStep step) {
            if (step == SaveStep::Replace)
                ::raise(SIGKILL);
            return 0;
        };
        SaveMapFile(file.string(), SmallMap("钢板\\钢墙"), options);
        ::_exit(0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
    EXPECT_EQ(Bytes(file), before);
    const MapReadResult read = ReadMapFile(file.string());
    EXPECT_EQ(read.Status, MapReadStatus::Ok) << read.Message;
    EXPECT_EQ(read.Map, SmallMap());
}
