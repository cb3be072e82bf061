#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "maps/MapText.h"
#include "platform/common/Gbk.h"

using namespace vorlanex;

namespace {

std::string Rows(const std::string& first, int emptyAfter)
{
    std::string text = first + "\n";
    for (int i = 0; i < emptyAfter; ++i)
        text += std::string(32, '.') + "\n";
    return text;
}

const std::string header = "# test\n"
                           "background 地图背景\\沙漠.BMP\n"
                           "enemy 1 0\nenemy 15 0\nenemy 29 0\n"
                           "player 15 22\n"
                           "tile B 砖墙\\红砖\n"
                           "tile T 植被\\树林\n";

std::string ErrorOf(const std::string& text)
{
    try
    {
        ParseMapText(text, "bad.txt");
    }
    catch (const MapTextError& e)
    {
        return e.what();
    }
    return "no error";
}

}  // namespace

TEST(MapText, GridCellsComeRowByRowThenCellLinesInOrder)
{
    const std::string text = header + "layer 2\n" + Rows("B..............................T", 0) +
                             Rows(".B" + std::string(30, '.'), 22) + "cell 2 40 -1 7 8 9 植被\\树林\n" +
                             "cell 2 6 3 0 0 0\n";
    const MapData map = ParseMapText(text, "t.txt");
    EXPECT_EQ(map.BackgroundFileName, Utf8ToGbk("地图背景\\沙漠.BMP"));
    EXPECT_EQ(map.EnemySpawnPoints[1], (TCellPoint{15, 0}));
    EXPECT_EQ(map.PlayerStart, (TCellPoint{15, 22}));
    EXPECT_TRUE(map.Layers[0].empty());
    EXPECT_TRUE(map.Layers[2].empty());
    const auto& cells = map.Layers[1];
    ASSERT_EQ(cells.size(), 5u);
    EXPECT_EQ((TCellPoint{cells[0].Col, cells[0].Row}), (TCellPoint{0, 0}));
    EXPECT_EQ((TCellPoint{cells[1].Col, cells[1].Row}), (TCellPoint{31, 0}));
    EXPECT_EQ(cells[1].TileName, Utf8ToGbk("植被\\树林"));
    EXPECT_EQ((TCellPoint{cells[2].Col, cells[2].Row}), (TCellPoint{1, 1}));
    EXPECT_EQ(cells[3].Col, 40);
    EXPECT_EQ(cells[3].Row, -1);
    EXPECT_EQ(cells[3].Reserved1, 7);
    EXPECT_EQ(cells[3].Reserved3, 9);
    EXPECT_TRUE(cells[4].TileName.empty());
}

TEST(MapText, MistakesAreReportedWithFileAndLine)
{
    const std::string grid = "layer 1\n" + Rows(std::string(32, '.'), 23);
    EXPECT_NE(ErrorOf(header + "layer 1\n" + Rows("Q" + std::string(31, '.'), 23)).find("bad.txt:10: symbol 'Q'"),
              std::string::npos);
    EXPECT_NE(ErrorOf(header + "layer 1\n" + Rows(std::string(32, '.'), 5)).find("ends after 6 of 24"),
              std::string::npos);
    EXPECT_NE(ErrorOf(header + grid + grid).find("second grid"), std::string::npos);
    EXPECT_NE(ErrorOf(header + "layer 4\n").find("does not exist"), std::string::npos);
    EXPECT_NE(ErrorOf(header + "tile B 钢板\\钢墙\n").find("defined twice"), std::string::npos);
    EXPECT_NE(ErrorOf(header + "cell 1 2 x 0 0 0 a\n").find("whole number"), std::string::npos);
    EXPECT_NE(ErrorOf("enemy 1 0\nenemy 2 0\nplayer 1 1\n").find("three 'enemy'"), std::string::npos);
    EXPECT_NE(ErrorOf(header + "tile Z ☃\n").find("GBK"), std::string::npos);
}

TEST(MapText, DumpThenParseGivesTheSameMap)
{
    MapData map;
    map.EnemySpawnPoints = {TCellPoint{-1, 2}, TCellPoint{3, 4}, TCellPoint{5, 6}};
    map.PlayerStart = {7, 8};
    map.BackgroundFileName = Utf8ToGbk("背景.BMP");
    // Layer 1 fits a grid; layer 2 does not (out of order, off the screen, reserved values, an empty name).
    for (int i = 0; i < 100; ++i)
    {
        TCell c;
        c.Col = (i * 7) % 32;
        c.Row = i * 7 / 32;
        c.TileName = Utf8ToGbk(i % 3 ? "地形\\道路\\土路" : "砖墙\\红砖");
        map.Layers[0].push_back(c);
    }
    TCell a, b, c;
    a.Col = 5;
    a.Row = 5;
    a.TileName = Utf8ToGbk("钢板\\钢墙");
    b.Col = 2;
    b.Row = 99;
    b.Reserved1 = 255;
    b.Reserved2 = -3;
    b.TileName = a.TileName;
    map.Layers[1] = {a, b, c, a};

    const std::string text = MapToText(map);
    EXPECT_NE(text.find("layer 1\n"), std::string::npos);
    EXPECT_EQ(text.find("layer 2\n"), std::string::npos);
    EXPECT_EQ(ParseMapText(text, "dump"), map);
}

TEST(MapText, ADumpRefusesNamesItCannotWrite)
{
    MapData map;
    map.BackgroundFileName = "\x81";   // half a GBK character
    EXPECT_THROW(MapToText(map), MapTextError);
    map.BackgroundFileName = "a\nb";
    EXPECT_THROW(MapToText(map), MapTextError);
}

TEST(MapText, EveryShippedMapIsAPlayableBattlefield)
{
    int maps = 0;
    for (const auto& entry : std::filesystem::directory_iterator(std::filesystem::path(VORLANEX_SOURCE_DIR) / "data/maps"))
    {
        std::ifstream in(entry.path(), std::ios::binary);
        const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        const MapData map = ParseMapText(text, entry.path().string());
        ++maps;
        for (const auto& layer : map.Layers)
            EXPECT_FALSE(layer.empty()) << entry.path() << ": every layer is used";
        auto inside = [](const TCellPoint& p) { return p.Column >= 0 && p.Column < 32 && p.Row >= 0 && p.Row < 24; };
        EXPECT_TRUE(inside(map.PlayerStart)) << entry.path();
        for (const TCellPoint& p : map.EnemySpawnPoints)
        {
            EXPECT_TRUE(inside(p)) << entry.path();
            // An enemy enters half a cell right of and below its spawn cell, so four cells must be free.
            for (const TCell& c : map.Layers[1])
                EXPECT_FALSE(c.Col - p.Column >= 0 && c.Col - p.Column <= 1 && c.Row - p.Row >= 0 && c.Row - p.Row <= 1)
                    << entry.path() << ": wall at " << c.Col << "," << c.Row << " on a spawn";
        }
    }
    EXPECT_GE(maps, 12);
}
