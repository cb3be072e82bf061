#include <filesystem>
#include <vector>

#include "actors/TerrSprite.h"
#include "framework/CompoundFileWriter.h"
#include "maps/Layers.h"
#include "maps/MapFile.h"
#include "platform/common/Gbk.h"
#include "shell/GameFixture.h"
#include "support/CompoundFileTesting.h"

using namespace vorlanex;
using vorlanex::testing::GameFixture;

namespace {

std::vector<std::uint8_t> TileStream(TColor colour, std::uint8_t flags, std::int32_t durability)
{
    std::vector<std::uint8_t> bytes = TBitmap::TrueColor(32, 32, std::vector<TColor>(32 * 32, colour)).ToBmp();
    bytes.push_back(flags);
    for (int i = 0; i < 4; ++i)
        bytes.push_back(std::uint8_t(std::uint32_t(durability) >> (8 * i)));
    return bytes;
}

TCell Cell(std::int32_t col, std::int32_t row, const std::string& utf8Name)
{
    TCell c;
    c.Col = col;
    c.Row = row;
    c.TileName = Utf8ToGbk(utf8Name);
    return c;
}

class LevelBuild : public GameFixture
{
protected:
    void SetUp() override
    {
        GameFixture::SetUp();
        CopyGameData();   // the screen pictures and the music; the tile library is replaced below
        CompoundFileWriter library;
        library.AddStream({u"砖墙", u"红砖"}, TileStream(RGBColor(170, 70, 44), 0, 600));
        library.AddStream({u"植被", u"树林"}, TileStream(RGBColor(60, 138, 52), 3, 1000));
        library.AddStream({u"地形", u"道路", u"土路"}, TileStream(RGBColor(140, 106, 70), 3, 1000));
        library.AddStream({u"坏", u"图"}, {'X', 'Y', 'Z', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
        const std::vector<std::uint8_t> bytes = library.Build();
        WriteFile("图库.TIL", std::string(bytes.begin(), bytes.end()));
        std::filesystem::create_directories(folder / "地图背景");
        const std::vector<std::uint8_t> grass =
            TBitmap::TrueColor(64, 64, std::vector<TColor>(64 * 64, RGBColor(40, 120, 40))).ToBmp();
        WriteFile("地图背景/草地.BMP", std::string(grass.begin(), grass.end()));
        Start();
        map.EnemySpawnPoints = {TCellPoint{1, 0}, TCellPoint{15, 0}, TCellPoint{29, 0}};
        map.PlayerStart = {15, 22};
        map.BackgroundFileName = Utf8ToGbk("地图背景\\草地.BMP");
    }

    std::string MapPath() const { return (folder / "MAP001.map").string(); }

    void Load(const std::vector<std::uint8_t>& bytes)
    {
        WriteFile("MAP001.map", std::string(bytes.begin(), bytes.end()));
        form->LoadMap(MapPath());
    }
    void Load() { Load(WriteMapBytes(map)); }

    std::vector<TTerrSprite*> Terrain() const
    {
        std::vector<TTerrSprite*> found;
        TSpriteEngine& engine = *form->SpriteEngine.Engine;
        for (int i = 0; i < engine.ChildCount(); ++i)
            if (auto* t = dynamic_cast<TTerrSprite*>(engine.Child(i)))
                found.push_back(t);
        return found;
    }

    std::size_t LayerCells() const
    {
        std::size_t n = 0;
        for (const auto& layer : form->Game.Layers)
            n += std::size_t(layer->Count());
        return n;
    }

    MapData map;
};

}  // namespace

TEST_F(LevelBuild, EveryCellBecomesATerrainSpriteAtItsLayersDepthWithTheTilesAttributes)
{
    map.Layers[0] = {Cell(0, 0, "地形\\道路\\土路"), Cell(31, 23, "地形\\道路\\土路")};
    map.Layers[1] = {Cell(4, 5, "砖墙\\红砖")};
    map.Layers[2] = {Cell(4, 6, "植被\\树林")};
    Load();

    ASSERT_TRUE(form->ReportedErrors().empty()) << form->ReportedErrors().front();
    const auto terrain = Terrain();
    ASSERT_EQ(terrain.size(), 4u);
    EXPECT_EQ(terrain[1]->X, 992);
    EXPECT_EQ(terrain[1]->Y, 736);
    EXPECT_EQ(terrain[0]->Image, terrain[1]->Image) << "one picture per tile name";
    EXPECT_EQ(terrain[0]->Image->Name(), "地形\\道路\\土路");
    EXPECT_EQ(terrain[2]->Z, 3);
    EXPECT_EQ(terrain[2]->Flags, 0);
    EXPECT_EQ(terrain[2]->Durability, 600);
    EXPECT_EQ(terrain[3]->Z, 5);
    EXPECT_EQ(terrain[3]->Flags, 3);
    EXPECT_EQ(terrain[3]->Width, 32);
    EXPECT_FALSE(terrain[3]->Wrap);
    EXPECT_EQ(terrain[0]->Z, 0);

    // The form's three pictures, the background and one picture per distinct tile.
    EXPECT_EQ(form->DXImageList.Items.Count(), 3 + 1 + 3);
    auto* background = dynamic_cast<TBackgroundSprite*>(form->SpriteEngine.Engine->Child(0));
    ASSERT_NE(background, nullptr);
    EXPECT_EQ(background, form->Game.BackgroundSprite);
    ASSERT_NE(background->Image, nullptr);
    EXPECT_EQ(background->Image->Name(), "Lowerest");
    EXPECT_EQ(background->Z, -1);
    EXPECT_TRUE(background->Tiled);

    EXPECT_EQ(form->Game.LoadTotal, 7);
    EXPECT_EQ(form->Game.LoadProgress, 7);
    EXPECT_EQ(form->Scene, Scene::Battle);
    EXPECT_TRUE(form->DXTimer.Enabled());
    EXPECT_EQ(form->Caption, MapPath());
    EXPECT_EQ(parts.system->BeepCount(), 0);
}

TEST_F(LevelBuild, AnEmptyMapGivesTheBackgroundAloneAndThreeLoadingSteps)
{
    form->Game.EnemiesSpawned = 9;
    Load();
    EXPECT_TRUE(Terrain().empty());
    EXPECT_EQ(form->Game.LoadTotal, 3);
    EXPECT_EQ(form->Game.LoadProgress, 3);
    EXPECT_EQ(form->Game.EnemiesSpawned, 3);   // reset, then the first three enemies entered
    EXPECT_EQ(form->Game.PlayerStart.Column, 15);
    EXPECT_EQ(form->Game.EnemySpawnPoints[2].Column, 29);
}

TEST_F(LevelBuild, AMissingOrEscapingBackgroundIsReplacedByTheTiledBack0)
{
    for (const char* name : {"地图背景\\没有.BMP", "..\\..\\草地.BMP"})
    {
        map.BackgroundFileName = Utf8ToGbk(name);
        Load();
        ASSERT_NE(form->Game.BackgroundSprite, nullptr);
        ASSERT_NE(form->Game.BackgroundSprite->Image, nullptr);
        EXPECT_EQ(form->Game.BackgroundSprite->Image->Name(), "Back0") << name;
        EXPECT_TRUE(form->Game.BackgroundSprite->Tiled);
        // The unnamed, empty item stays in the list all the same.
        EXPECT_EQ(form->DXImageList.Items.Count(), 4);
    }
}

TEST_F(LevelBuild, TheSixtyFourByteRuleBeepsAndAbortsWhileSixtyFiveBytesBuild)
{
    map.BackgroundFileName.clear();   // byte 64 is then the last of a name length of 0
    std::vector<std::uint8_t> bytes = WriteMapBytes(map);
    bytes.resize(64);
    form->DXTimer.SetEnabled(false);
    EXPECT_THROW(Load(bytes), EAbort);
    EXPECT_EQ(parts.system->BeepCount(), 1);
    EXPECT_TRUE(form->DXTimer.Enabled());
    EXPECT_EQ(LayerCells(), 0u);
    EXPECT_EQ(form->SpriteEngine.Engine->ChildCount(), 1) << "only the empty background of the reset";
    EXPECT_EQ(form->Game.BackgroundSprite->Image, nullptr);

    bytes.resize(65, 0);
    Load(bytes);
    EXPECT_EQ(form->Scene, Scene::Battle);
    EXPECT_EQ(form->Game.LoadProgress, 3);
    EXPECT_EQ(form->Game.BackgroundSprite->Image->Name(), "Back0");
}

TEST_F(LevelBuild, AWrongMagicAbortsSilentlyAndAMissingFileIsIgnored)
{
    map.Layers[1] = {Cell(1, 1, "砖墙\\红砖")};
    Load();
    ASSERT_EQ(Terrain().size(), 1u);

    std::vector<std::uint8_t> bytes = WriteMapBytes(map);
    bytes[0] = 'q';
    form->Game.EnemiesSpawned = 5;
    EXPECT_THROW(Load(bytes), EAbort);
    EXPECT_TRUE(Terrain().empty());
    EXPECT_EQ(LayerCells(), 0u);
    EXPECT_EQ(form->Game.EnemiesSpawned, 5);

    std::filesystem::remove(folder / "MAP001.map");
    form->LoadMap(MapPath());
    EXPECT_EQ(form->SpriteEngine.Engine->ChildCount(), 1);
    EXPECT_EQ(form->Game.EnemiesSpawned, 5);
    EXPECT_EQ(parts.system->BeepCount(), 0);
    EXPECT_TRUE(form->ReportedErrors().empty());
}

TEST_F(LevelBuild, TruncatedCellsAndUnreadableTilesTakeWhatTheWorkingTileHeld)
{
    // The cell cut off by the end of the file is built at (6, 3) from the blank tile; the missing tile beeps and
    // takes the brick read before it.
    map.Layers[0] = {Cell(0, 0, "砖墙\\没有这块砖没有这块砖没有这块砖没有这块砖没有这块砖"), Cell(2, 2, "砖墙\\红砖"),
                     Cell(3, 3, "砖墙\\没有")};
    std::vector<std::uint8_t> bytes = WriteMapBytes(map);
    const std::size_t layer1 = 67 + map.BackgroundFileName.size();
    vorlanex::testing::PutLe32(bytes, layer1, 4);
    bytes.resize(bytes.size() - 8);
    Load(bytes);

    ASSERT_TRUE(form->ReportedErrors().empty()) << form->ReportedErrors().front();
    const auto terrain = Terrain();
    ASSERT_EQ(terrain.size(), 4u);
    EXPECT_EQ(terrain[0]->Flags, 0);
    EXPECT_EQ(terrain[0]->Durability, 2000) << "nothing read yet: the working tile's defaults";
    EXPECT_EQ(terrain[0]->Width, 32);
    EXPECT_EQ(terrain[1]->Durability, 600);
    EXPECT_EQ(terrain[2]->Durability, 600) << "a missing tile keeps the previous attributes";
    EXPECT_EQ(terrain[2]->Image->Picture.PixelAt(0, 0), terrain[1]->Image->Picture.PixelAt(0, 0));
    EXPECT_EQ(terrain[3]->X, 6 * 32);
    EXPECT_EQ(terrain[3]->Y, 3 * 32);
    EXPECT_EQ(parts.system->BeepCount(), 2);
}

TEST_F(LevelBuild, AHostileFileIsReportedAndSendsTheGameBackToTheTitle)
{
    std::vector<std::uint8_t> bytes = WriteMapBytes(map);
    const std::size_t layer1 = 67 + map.BackgroundFileName.size();
    vorlanex::testing::PutLe32(bytes, layer1, 0x40000000);
    Load(bytes);
    ASSERT_EQ(form->ReportedErrors().size(), 1u);
    EXPECT_NE(form->ReportedErrors()[0].find(MapPath()), std::string::npos);
    EXPECT_EQ(LayerCells(), 0u);
    EXPECT_EQ(form->PendingScene, Scene::Title);
}

TEST_F(LevelBuild, ATileWithABrokenBitmapIsReportedAndTheGameReturnsToTheTitle)
{
    map.Layers[1] = {Cell(1, 1, "砖墙\\红砖"), Cell(2, 1, "坏\\图")};
    form->ChangeScene(Scene::Battle);   // a battle entered from the title
    ASSERT_EQ(form->Scene, Scene::Battle);
    Load();
    ASSERT_EQ(form->ReportedErrors().size(), 1u);
    EXPECT_NE(form->ReportedErrors()[0].find(MapPath()), std::string::npos);
    EXPECT_TRUE(form->DXTimer.Enabled());
    EXPECT_EQ(form->PendingScene, Scene::Title);
    EXPECT_TRUE(Terrain().empty());
    EXPECT_EQ(form->DXImageList.Items.Count(), 3);
    Frame();
    EXPECT_EQ(form->Scene, Scene::Title);
}
