#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "maps/MapFile.h"
#include "platform/common/Gbk.h"
#include "support/CompoundFileTesting.h"

using namespace vorlanex;
using vorlanex::testing::ScratchFolder;
using vorlanex::testing::WriteBytes;

namespace {

TCell Cell(std::int32_t col, std::int32_t row, const std::string& utf8Name)
{
    TCell c;
    c.Col = col;
    c.Row = row;
    c.TileName = Utf8ToGbk(utf8Name);
    return c;
}

MapData SampleMap()
{
    MapData map;
    map.EnemySpawnPoints = {TCellPoint{1, 0}, TCellPoint{15, 0}, TCellPoint{29, 0}};
    map.PlayerStart = {15, 22};
    map.BackgroundFileName = Utf8ToGbk("地图背景\\草地.BMP");
    map.Layers[0] = {Cell(0, 0, "地形\\道路\\土路"), Cell(31, 23, "地形\\道路\\土路")};
    TCell odd = Cell(-4, 900, "砖墙\\红砖");
    odd.Reserved1 = 200;
    odd.Reserved2 = -7;
    odd.Reserved3 = 123456;
    map.Layers[1] = {odd, Cell(3, 3, "")};
    map.Layers[2] = {Cell(5, 5, "植被\\树林")};
    return map;
}

void PutInt(std::vector<std::uint8_t>& bytes, std::size_t at, std::int32_t v)
{
    vorlanex::testing::PutLe32(bytes, at, std::uint32_t(v));
}

// The offset of layer 1's count in a file written for `map`.
std::size_t Layer1CountOffset(const MapData& map) { return 67 + map.BackgroundFileName.size(); }

}  // namespace

TEST(MapFile, WritesAndReadsBackEveryField)
{
    const MapData map = SampleMap();
    const std::vector<std::uint8_t> bytes = WriteMapBytes(map);
    ASSERT_TRUE(std::equal(MapMagic().begin(), MapMagic().end(), bytes.begin()));
    EXPECT_EQ(bytes[31], 1);   // first spawn column, little-endian
    const MapReadResult read = ReadMapBytes(bytes, "t.map");
    ASSERT_EQ(read.Status, MapReadStatus::Ok) << read.Message;
    EXPECT_EQ(read.Map, map);
}

TEST(MapFile, SixtyFourBytesAreTooShortAndSixtyFiveAreEnough)
{
    std::vector<std::uint8_t> bytes = WriteMapBytes(MapData{});
    bytes.resize(64);
    MapReadResult read = ReadMapBytes(bytes, "short.map");
    EXPECT_EQ(read.Status, MapReadStatus::TooShort);
    EXPECT_NE(read.Message.find("short.map"), std::string::npos);

    bytes.resize(65, 0);
    read = ReadMapBytes(bytes, "just.map");
    ASSERT_EQ(read.Status, MapReadStatus::Ok) << read.Message;
    EXPECT_TRUE(read.Map.BackgroundFileName.empty());
    for (const auto& layer : read.Map.Layers)
        EXPECT_TRUE(layer.empty());
}

TEST(MapFile, RefusesAWrongOrCutMagic)
{
    std::vector<std::uint8_t> bytes = WriteMapBytes(SampleMap());
    bytes[7] ^= 1;   // inside the GBK of "的"
    EXPECT_EQ(ReadMapBytes(bytes, "m").Status, MapReadStatus::WrongMagic);
    const std::vector<std::uint8_t> cut(MapMagic().begin(), MapMagic().begin() + 30);
    EXPECT_EQ(ReadMapBytes(cut, "m").Status, MapReadStatus::WrongMagic);
    EXPECT_EQ(ReadMapBytes({}, "m").Status, MapReadStatus::WrongMagic);
}

TEST(MapFile, CellsPastTheEndOfTheFileKeepTheirDefaults)
{
    MapData map = SampleMap();
    map.Layers = {};
    map.Layers[0] = {Cell(2, 9, "植被\\树林树林树林树林树林树林树林树林树林树林")};   // a long name: room for the count of three
    std::vector<std::uint8_t> bytes = WriteMapBytes(map);
    const std::size_t count = Layer1CountOffset(map);
    PutInt(bytes, count, 3);
    bytes.resize(bytes.size() - 8);   // drop the counts of layers 2 and 3
    ASSERT_GE(bytes.size() - count - 4, 3 * MapCellFixedSize);

    const MapReadResult read = ReadMapBytes(bytes, "cut.map");
    ASSERT_EQ(read.Status, MapReadStatus::Ok) << read.Message;
    const auto& cells = read.Map.Layers[0];
    ASSERT_EQ(cells.size(), 3u);
    EXPECT_EQ(cells[0], map.Layers[0][0]);
    for (int i : {1, 2})
    {
        EXPECT_EQ(cells[std::size_t(i)].Col, 6);
        EXPECT_EQ(cells[std::size_t(i)].Row, 3);
        EXPECT_TRUE(cells[std::size_t(i)].TileName.empty());
    }
    EXPECT_TRUE(read.Map.Layers[1].empty());
    EXPECT_TRUE(read.Map.Layers[2].empty());
}

TEST(MapFile, HostileCountsAndLengthsAreRefusedNamingTheFile)
{
    const MapData map = SampleMap();
    const std::vector<std::uint8_t> good = WriteMapBytes(map);
    const std::size_t background = 63, layer1 = Layer1CountOffset(map);
    const std::size_t firstName = layer1 + 4 + 17;
    const struct
    {
        std::size_t at;
        std::int32_t value;
        const char* what;
    } cases[] = {
        {background, -1, "negative"},
        {background, 0x7FFFFFFF, "larger than the rest"},
        {layer1, -5, "negative"},
        {layer1, 0x10000000, "more than the rest"},
        {layer1, 1000, "more than the rest"},
        {firstName, -2, "negative"},
        {firstName, 1 << 20, "larger than the rest"},
    };
    for (const auto& c : cases)
    {
        std::vector<std::uint8_t> bytes = good;
        PutInt(bytes, c.at, c.value);
        const MapReadResult read = ReadMapBytes(bytes, "evil.map");
        EXPECT_EQ(read.Status, MapReadStatus::Invalid) << c.at << " " << c.value;
        EXPECT_NE(read.Message.find("evil.map"), std::string::npos) << read.Message;
        EXPECT_NE(read.Message.find(c.what), std::string::npos) << read.Message;
        for (const auto& layer : read.Map.Layers)
            EXPECT_TRUE(layer.empty());
    }
}

// A file that stops inside a cell record: what was read of it stays, low bytes first, the rest keeps its
// default; bytes after the last announced record are not read.
TEST(MapFile, ARecordCutOffByTheEndKeepsWhatItRead)
{
    MapData map = SampleMap();
    map.Layers = {};
    map.Layers[0] = {Cell(4, 5, "植被\\树林树林树林树林树林树林树林树林"), Cell(2, 2, "")};
    std::vector<std::uint8_t> bytes = WriteMapBytes(map);
    const std::size_t second = bytes.size() - 8 - MapCellFixedSize;   // layers 2 and 3 are empty: two counts
    bytes.resize(second + 1);   // one byte of the second cell's column

    const MapReadResult read = ReadMapBytes(bytes, "cut.map");
    ASSERT_EQ(read.Status, MapReadStatus::Ok) << read.Message;
    ASSERT_EQ(read.Map.Layers[0].size(), 2u);
    EXPECT_EQ(read.Map.Layers[0][0], map.Layers[0][0]);
    EXPECT_EQ(read.Map.Layers[0][1].Col, 2);   // the low byte 02 replaced the default 06
    EXPECT_EQ(read.Map.Layers[0][1].Row, 3);
    EXPECT_TRUE(read.Map.Layers[0][1].TileName.empty());

    std::vector<std::uint8_t> longer = WriteMapBytes(map);
    longer.push_back(0xEE);
    EXPECT_EQ(ReadMapBytes(longer, "long.map").Map, map);
}

TEST(MapFile, ATileNameLengthThatCannotBeTrueIsRefusedWithIt)
{
    MapData map = SampleMap();
    map.Layers = {};
    map.Layers[2] = {Cell(0, 0, "ab")};
    const std::vector<std::uint8_t> good = WriteMapBytes(map);
    const std::size_t length = good.size() - 2 - 4;
    for (const std::int32_t value : {-1, -2147483647 - 1, 3, 1000000})
    {
        std::vector<std::uint8_t> bytes = good;
        PutInt(bytes, length, value);
        const MapReadResult read = ReadMapBytes(bytes, "MAP009.map");
        EXPECT_EQ(read.Status, MapReadStatus::Invalid) << value;
        EXPECT_NE(read.Message.find("MAP009.map"), std::string::npos) << read.Message;
        EXPECT_NE(read.Message.find("layer 3 tile name length " + std::to_string(value)), std::string::npos)
            << read.Message;
    }
}

TEST(MapFile, FilesAreFoundIgnoringLetterCaseAndMissingOnesSaySo)
{
    ScratchFolder folder;
    WriteBytes(folder / "MAP007.MAP", WriteMapBytes(SampleMap()));
    const MapReadResult read = ReadMapFile((folder / "MAP007.map").string());
    ASSERT_EQ(read.Status, MapReadStatus::Ok) << read.Message;
    EXPECT_EQ(read.Map, SampleMap());

    EXPECT_EQ(ReadMapFile((folder / "MAP008.map").string()).Status, MapReadStatus::Missing);
    // Something that is there but is no file is a fault the player hears of, not a missing level.
    std::filesystem::create_directories(folder / "MAP009.map");
    const MapReadResult folderRead = ReadMapFile((folder / "MAP009.map").string());
    EXPECT_EQ(folderRead.Status, MapReadStatus::Invalid);
    EXPECT_NE(folderRead.Message.find("MAP009.map': is a folder, not a regular file"), std::string::npos)
        << folderRead.Message;
}

TEST(MapFile, StoredNamesMapIntoTheGameFolderOnly)
{
    ScratchFolder folder;
    const std::string app = folder.Path().string() + "/";
    WriteBytes(folder / "Pictures/Grass.bmp", {1});

    EXPECT_EQ(GameFolderPath(app, Utf8ToGbk("地图背景\\草地.BMP")), app + "地图背景/草地.BMP");
    EXPECT_EQ(GameFolderPath(app, "PICTURES\\grass.BMP"), app + "Pictures/Grass.bmp");
    EXPECT_EQ(GameFolderPath(app, ".\\Pictures/Grass.bmp"), app + "Pictures/Grass.bmp");
    // 乗 is 81 5C in GBK: its second byte is not a separator.
    EXPECT_EQ(GameFolderPath(app, Utf8ToGbk("乗.BMP")), app + "乗.BMP");

    for (const char* hostile : {"..\\secret.bmp", "a\\..\\..\\b.bmp", "\\etc\\passwd", "/etc/passwd", "C:\\x.bmp", "",
                                "\\", "a/../b.bmp"})
        EXPECT_EQ(GameFolderPath(app, hostile), "") << hostile;
    EXPECT_EQ(GameFolderPath(app, "\x81"), "");   // not GBK
}
