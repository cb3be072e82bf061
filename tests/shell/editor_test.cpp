#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "GameFixture.h"
#include "maps/MapText.h"
#include "maps/MapWriter.h"
#include "platform/VirtualKeys.h"
#include "platform/common/Gbk.h"
#include "shell/editor/MapEditor.h"

using namespace vorlanex;
namespace fs = std::filesystem;

namespace {

std::vector<std::uint8_t> Bytes(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class Editor : public vorlanex::testing::GameFixture
{
protected:
    void StartWithMaps()
    {
        maps = folder / "maps";
        adjustConfig = [this](GameConfig& c) { c.playerMapsDir = maps.string(); };
        CopyGameData();
        fs::copy(fs::path(VORLANEX_BUILD_DIR) / "地图背景", folder / "地图背景", fs::copy_options::recursive);
        Start();
    }
    MapEditor& Ed() { return *form->Editor; }
    void Key(int vk) { form->FormKeyDown(vk, false); }
    void Control(int vk)
    {
        KeyDown(vk::Control);
        Key(vk);
        KeyUp(vk::Control);
    }
    void Pointer(EventKind kind, int x, int y, MouseButton button = MouseButton::Left, int wheel = 0)
    {
        InputEvent e;
        e.kind = kind;
        e.x = x;
        e.y = y;
        e.button = button;
        e.wheel = wheel;
        form->EditorPointer(e);
    }
    // A click (or the start of a drag) on a cell's middle.
    void Click(int col, int row, MouseButton button = MouseButton::Left)
    {
        Pointer(EventKind::MouseDown, col * 32 + 16, row * 32 + 16, button);
        Pointer(EventKind::MouseUp, col * 32 + 16, row * 32 + 16, button);
    }
    void ChooseTile(const std::string& utf8)
    {
        const int count = 40;
        for (int i = 0; i < count && Ed().Tile() != Utf8ToGbk(utf8); ++i)
            Pointer(EventKind::MouseWheel, 100, 100, MouseButton::Left, -1);
        ASSERT_EQ(GbkToUtf8(Ed().Tile()), utf8);
    }
    fs::path maps;
};

}  // namespace

// Paint, drag, clear, undo, redo, spawn cells, start, background, save: the saved file says exactly that.
TEST_F(Editor, ScriptedEditingSavesTheMapDrawn)
{
    StartWithMaps();
    Key(vk::F2);
    ASSERT_EQ(form->Scene, Scene::Editor);
    ASSERT_FALSE(Ed().ListShown()) << "no player maps yet: straight to a new map";
    Key(vk::Tab);   // the palette away from the right edge of the battlefield

    ChooseTile("砖墙\\红砖");
    Pointer(EventKind::MouseDown, 2 * 32 + 5, 3 * 32 + 5);       // drag along row 3 from column 2 to 5
    Pointer(EventKind::MouseMove, 3 * 32 + 5, 3 * 32 + 5);
    Pointer(EventKind::MouseMove, 5 * 32 + 5, 3 * 32 + 5);
    Pointer(EventKind::MouseUp, 5 * 32 + 5, 3 * 32 + 5);
    Click(3, 3, MouseButton::Right);
    Control('Z');
    Control('Z');
    Control('Y');                                              // the stroke is back, the clear is not
    Click(3, 3, MouseButton::Right);
    Key('3');
    ChooseTile("植被\\树林");
    Click(0, 0);
    Key('E');
    Click(4, 1);
    Click(16, 1);
    Click(27, 1);
    Key('P');
    Click(10, 20);
    Key('G');
    EXPECT_TRUE(Ed().Document().Modified());
    Frames(2);
    Control('S');
    ASSERT_FALSE(Ed().Document().Modified()) << Ed().Message();

    const fs::path saved = maps / "map001.map";
    const MapReadResult read = ReadMapFile(saved.string());
    ASSERT_EQ(read.Status, MapReadStatus::Ok) << read.Message;
    std::string expected = "background " + GbkToUtf8(read.Map.BackgroundFileName) + "\n" +
                           "enemy 4 1\nenemy 16 1\nenemy 27 1\nplayer 10 20\n";
    EXPECT_NE(read.Map.BackgroundFileName, "") << "G picks the first background of the game folder";
    const std::string text = MapToText(read.Map);
    EXPECT_NE(text.find(expected), std::string::npos) << text;
    ASSERT_EQ(read.Map.Layers[0].size(), 3u);
    EXPECT_EQ(read.Map.Layers[0][0].Col, 2);
    EXPECT_EQ(read.Map.Layers[0][1].Col, 4);   // column 3 was cleared; 4 and 5 remain
    EXPECT_EQ(read.Map.Layers[0][2].Col, 5);
    EXPECT_TRUE(read.Map.Layers[1].empty());
    ASSERT_EQ(read.Map.Layers[2].size(), 1u);
    EXPECT_EQ(GbkToUtf8(read.Map.Layers[2][0].TileName), "植被\\树林");
    EXPECT_EQ(ParseMapText(text, "decompiled"), read.Map);
}

TEST_F(Editor, EveryShippedMapOpenedAndSavedUnchangedIsTheSameFile)
{
    StartWithMaps();
    fs::create_directories(maps);
    for (int level = 1; level <= 12; ++level)
    {
        const fs::path shipped = LevelMapFileName(form->Game.AppDir, level);
        const fs::path copy = maps / shipped.filename();
        fs::copy_file(shipped, copy);
        form->OpenEditor(copy.string(), false);
        // A change and its undo leave the map as it was, down to the order of its cells.
        Key('2');
        Click(7, 7);
        Click(7, 8, MouseButton::Right);
        Control('Z');
        Control('Z');
        EXPECT_FALSE(Ed().Document().Modified());
        ASSERT_TRUE(Ed().Save()) << Ed().Message();
        EXPECT_EQ(Bytes(copy), Bytes(shipped)) << shipped;
    }
}

TEST_F(Editor, UndoesAndRedoesMoreThanTwoHundredSteps)
{
    StartWithMaps();
    form->OpenEditor("", false);
    ChooseTile("钢板\\钢墙");
    Key(vk::Tab);
    for (int i = 0; i < 300; ++i)
        Click(i % 32, i / 32);
    EXPECT_EQ(Ed().Document().Map().Layers[0].size(), 300u);
    for (int i = 0; i < 300; ++i)
        Control('Z');
    EXPECT_EQ(Ed().Document().Map(), EditorDocument::NewMap());
    EXPECT_FALSE(Ed().Document().Modified());
    for (int i = 0; i < 300; ++i)
        Control('Y');
    EXPECT_EQ(Ed().Document().Map().Layers[0].size(), 300u);
}

TEST_F(Editor, EscapeAsksBeforeUnsavedChangesAreLost)
{
    StartWithMaps();
    form->OpenEditor("", false);
    Key(vk::Escape);
    Frame();
    EXPECT_EQ(form->Scene, Scene::Title) << "nothing to lose: Esc leaves at once";
    form->OpenEditor("", false);
    Click(1, 1);
    Key(vk::Escape);
    Frame();
    EXPECT_EQ(form->Scene, Scene::Editor);
    EXPECT_NE(Ed().StatusText().find("Esc again"), std::string::npos) << Ed().StatusText();
    Key('1');   // any other key takes the question back
    Key(vk::Escape);
    Frame();
    EXPECT_EQ(form->Scene, Scene::Editor);
    Key(vk::Escape);
    Frame();
    EXPECT_EQ(form->Scene, Scene::Title);
}

TEST_F(Editor, AFailedSaveSaysSoAndKeepsTheChanges)
{
    StartWithMaps();
    std::ofstream(maps) << "a file where the maps folder should be";
    form->OpenEditor("", false);
    Click(1, 1);
    Control('S');
    EXPECT_TRUE(Ed().Document().Modified());
    EXPECT_NE(Ed().StatusText().find("Not saved"), std::string::npos) << Ed().StatusText();
    EXPECT_NE(Ed().StatusText().find(maps.string()), std::string::npos) << Ed().StatusText();
}

TEST_F(Editor, AStartOnATileThatStopsTanksIsWarnedAbout)
{
    StartWithMaps();
    form->OpenEditor("", false);
    ChooseTile("钢板\\钢墙");
    Click(15, 22);
    EXPECT_NE(Ed().StatusText().find("stops tanks"), std::string::npos) << Ed().StatusText();
    ChooseTile("植被\\灌木");
    Click(15, 22);
    EXPECT_EQ(Ed().StatusText().find("stops tanks"), std::string::npos) << Ed().StatusText();
}

// The chosen layer is drawn as the battle draws it; the others are dimmed.
TEST_F(Editor, TheChosenLayerIsBrightAndTheOthersDimmed)
{
    StartWithMaps();
    form->OpenEditor("", false);
    Key(vk::Tab);   // the palette off, so column 30 shows
    ChooseTile("砖墙\\红砖");
    Click(30, 10);
    Frame();
    const std::uint16_t bright = parts.video->FramePixel(30 * 32 + 9, 10 * 32 + 9);
    Key('2');
    Frame();
    const std::uint16_t dimmed = parts.video->FramePixel(30 * 32 + 9, 10 * 32 + 9);
    const auto red = [](std::uint16_t p) { return p >> 11; };
    EXPECT_GT(red(bright), red(dimmed));
    EXPECT_NE(bright, parts.video->FramePixel(29 * 32 + 9, 10 * 32 + 9)) << "the tile is drawn";
}

// T plays the map being edited with both players; the battle's end or Esc comes back to the editor as it was.
TEST_F(Editor, TestPlayReturnsToTheEditorAndLeavesTheCampaignAlone)
{
    StartWithMaps();
    form->OpenEditor("", false);
    ChooseTile("钢板\\钢墙");
    Click(8, 8);
    Key('P');
    Click(20, 12);
    const MapData drawn = Ed().Document().Map();
    Key('T');
    ASSERT_EQ(form->Scene, Scene::Battle);
    ASSERT_TRUE(form->Game.Player1Tank && form->Game.Player2Tank);
    EXPECT_EQ(form->Game.PlayerStart, (TCellPoint{20, 12}));
    Frames(20);
    form->Game.Carry1.Score = 999;
    Key(vk::Escape);
    EXPECT_EQ(form->Scene, Scene::Editor);
    EXPECT_EQ(Ed().Document().Map(), drawn);
    EXPECT_TRUE(Ed().Document().Modified());
    EXPECT_EQ(form->Game.Carry1.Score, 0);
    EXPECT_EQ(form->Game.MapFileName, LevelMapFileName(form->Game.AppDir, 1));

    Key('T');
    ASSERT_EQ(form->Scene, Scene::Battle);
    form->Game.EnemiesDestroyed = form->Game.LevelTotal();
    Frames(3);
    EXPECT_EQ(form->Scene, Scene::Editor) << "a won test battle comes back to the editor";
    EXPECT_EQ(form->Game.CurrentLevel, 1);
}
