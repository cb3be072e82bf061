#include "shell/GameFixture.h"

using namespace vorlanex;
using vorlanex::testing::GameFixture;

namespace {

constexpr int VK_SPACE = 0x20, VK_UP = 0x26, VK_F1 = 0x70, VK_F3 = 0x72, VK_F8 = 0x77, VK_F9 = 0x78, VK_F10 = 0x79,
              VK_F11 = 0x7A, VK_F12 = 0x7B;

class SceneMachine : public GameFixture
{
protected:
    void SetUp() override
    {
        GameFixture::SetUp();
        CopyGameData();
        Start();
    }
};

}  // namespace

TEST_F(SceneMachine, StartsOnTheTitleWithDefaultsAndTheFirstMap)
{
    EXPECT_EQ(form->Scene, Scene::Title);
    EXPECT_EQ(form->Game.Difficulty, 0);
    EXPECT_EQ(form->Game.LevelTotal(), 20);
    EXPECT_EQ(form->Game.MapFileName, folder.string() + "/MAP001.map");
    EXPECT_EQ(form->Caption, form->Game.MapFileName);
    EXPECT_EQ(parts.video->Caption(), form->Game.MapFileName);
    EXPECT_EQ(form->Game.TickerX, 512);
    EXPECT_TRUE(form->ReportedErrors().empty()) << form->ReportedErrors().front();
}

TEST_F(SceneMachine, SpaceOnTheTitleStartsTheBattleWithoutAShotWhileHeldArrowsKeepWorking)
{
    Frame();
    KeyDown(VK_UP);
    KeyDown(VK_SPACE);
    Frame();
    EXPECT_EQ(form->Scene, Scene::Battle);
    EXPECT_EQ(form->FrameCounter, 0);
    EXPECT_FALSE(form->DXInput.State(StateButton1));
    EXPECT_TRUE(form->DXInput.State(StateUp));
    Frames(3);   // still held: the battle never sees it
    EXPECT_FALSE(form->DXInput.State(StateButton1));
    KeyUp(VK_SPACE);
    Frame();
    KeyDown(VK_SPACE);
    Frame();
    EXPECT_TRUE(form->DXInput.State(StateButton1));
    EXPECT_EQ(form->Scene, Scene::Battle);
}

TEST_F(SceneMachine, RightClickOpensTheMenuAndTheThirdButtonSetsHighDifficulty)
{
    Frame();
    form->DXDrawMouseDown(MouseButton::Right, 10, 10);
    EXPECT_EQ(form->Scene, Scene::Menu);
    EXPECT_EQ(form->SavedScene, Scene::Title);
    const TRect expected[3] = {{448, 344, 576, 376}, {448, 384, 576, 416}, {448, 424, 576, 456}};
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(form->Game.MenuButtons[std::size_t(i)].Rect, expected[i]);
    form->DXDrawMouseDown(MouseButton::Left, 600, 430);   // outside every button: nothing
    EXPECT_EQ(form->Scene, Scene::Menu);
    form->DXDrawMouseDown(MouseButton::Left, 576, 456);   // edges count
    EXPECT_EQ(form->Game.Difficulty, 3);
    EXPECT_EQ(form->Scene, Scene::Title);
    EXPECT_EQ(form->Game.LevelTotal(), 23);
}

TEST_F(SceneMachine, FireClosesTheMenuAndTheBattleGoesOnWithItsSprites)
{
    KeyDown(VK_SPACE);
    Frame();
    KeyUp(VK_SPACE);
    Frame();
    ASSERT_EQ(form->Scene, Scene::Battle);
    const int sprites = form->SpriteEngine.Engine->ChildCount();
    form->DXDrawMouseDown(MouseButton::Right, 100, 100);
    ASSERT_EQ(form->Scene, Scene::Menu);
    Frames(2);
    KeyDown(VK_SPACE);
    Frame();
    EXPECT_EQ(form->Scene, Scene::Battle);
    EXPECT_EQ(form->SpriteEngine.Engine->ChildCount(), sprites);
}

TEST_F(SceneMachine, FunctionKeysSwitchTickerPanelWindSoundAndMusic)
{
    form->FormKeyDown(VK_F1, false);
    EXPECT_EQ(form->Game.TickerOn, 0);
    form->FormKeyDown(VK_F10, false);
    EXPECT_EQ(form->Game.PanelOn, 0);
    form->FormKeyDown(VK_F8, false);
    EXPECT_EQ(form->Game.Wind, 1);
    form->FormKeyDown(VK_F9, false);
    EXPECT_EQ(form->Game.Wind, 0);
    form->FormKeyDown(VK_F12, false);
    EXPECT_EQ(form->Game.SoundOn, 0);
    form->PlaySound("no such sound", false);   // sound off: the name is never looked up
    form->FormKeyDown(VK_F11, false);
    EXPECT_EQ(form->Game.MusicOn, 0);
    form->FormKeyDown(VK_F11, false);
    EXPECT_EQ(form->Game.MusicOn, 1);
    form->FormKeyDown(0x41, false);   // any other key does nothing
    EXPECT_EQ(form->Game.TickerOn, 0);
}

TEST_F(SceneMachine, F3FreezesEverythingUntilPressedAgain)
{
    Frame();
    const auto counter = form->FrameCounter;
    const int presents = parts.video->PresentCount();
    form->FormKeyDown(VK_F3, false);
    parts.clock->now += 100;
    EXPECT_FALSE(form->DXTimer.Idle());
    EXPECT_EQ(form->FrameCounter, counter);
    EXPECT_EQ(parts.video->PresentCount(), presents);
    form->FormKeyDown(VK_F3, false);
    Frame();
    EXPECT_EQ(form->FrameCounter, counter + 1);
}

TEST_F(SceneMachine, AltF4QuitsAndFocusLossPausesWithTheCaption)
{
    form->DXTimer.AppDeactivated();
    EXPECT_EQ(form->Caption, "Vorlanex [Pause]");
    EXPECT_EQ(parts.video->Caption(), "Vorlanex [Pause]");
    parts.clock->now += 500;
    EXPECT_FALSE(form->DXTimer.Idle());
    form->DXTimer.AppActivated();
    EXPECT_EQ(form->Caption, form->Game.MapFileName);
    form->FormKeyDown(0x73, true);
    EXPECT_TRUE(form->QuitRequested);
}

TEST_F(SceneMachine, ClearedLevelRequestsTheResultAndTheNextMap)
{
    KeyDown(VK_SPACE);
    Frame();
    KeyUp(VK_SPACE);
    form->Game.EnemiesDestroyed = 20;
    Frame();
    EXPECT_EQ(form->Game.LevelCleared, 1);
    EXPECT_EQ(form->PendingScene, Scene::Result);
    EXPECT_EQ(form->Game.EnemiesDestroyed, 0);
    Frame();
    EXPECT_EQ(form->Scene, Scene::Result);
    EXPECT_EQ(form->SpriteEngine.Engine->ChildCount(), 0);   // leaving the battle clears the tree
    KeyDown(VK_SPACE);
    Frame();
    EXPECT_EQ(form->Game.CurrentLevel, 2);
    EXPECT_EQ(form->Game.MapFileName, folder.string() + "/MAP002.map");
    EXPECT_EQ(form->Scene, Scene::Battle);
}

TEST_F(SceneMachine, GameOverResetsLivesAndReplaysTheSameMapAsTheNextLevel)
{
    form->Game.PlayerLosses = 12;
    form->Game.LifeDebt1 = 6;
    form->Game.Carry1.Score = 5000;
    Frame();
    EXPECT_EQ(form->PendingScene, Scene::Result);
    EXPECT_EQ(form->Game.PlayerLosses, 0);
    EXPECT_EQ(form->Game.LifeDebt1, 0);
    EXPECT_EQ(form->Game.Lives1, 5);
    EXPECT_EQ(form->Game.LevelCleared, 0);
    Frame();
    ASSERT_EQ(form->Scene, Scene::Result);
    const std::string map = form->Game.MapFileName;
    KeyDown(VK_SPACE);
    Frame();
    EXPECT_EQ(form->Game.CurrentLevel, 2);
    EXPECT_EQ(form->Game.MapFileName, map);
    EXPECT_EQ(form->Game.Carry1.Score, 0);
}

TEST_F(SceneMachine, WinningTheLastLevelGoesBackToLevelOne)
{
    std::filesystem::remove(folder / "MAP002.map");
    form->Game.EnemiesDestroyed = 20;
    Frames(2);
    ASSERT_EQ(form->Scene, Scene::Result);
    KeyDown(VK_SPACE);
    Frame();
    EXPECT_EQ(form->Game.CurrentLevel, 1);
    EXPECT_EQ(form->Game.MapFileName, folder.string() + "/MAP001.map");
}

TEST_F(SceneMachine, AnErrorInAFrameIsReportedOnceAndTheGameGoesOn)
{
    form->DXWaveList.Items.Find("SceneMov").SetName("renamed");
    KeyDown(VK_SPACE);
    Frames(5);   // the title keeps failing to play its sound
    ASSERT_EQ(form->ReportedErrors().size(), 1u);
    EXPECT_EQ(form->ReportedErrors()[0], "Wave 'SceneMov' not found");
    EXPECT_EQ(parts.system->Errors().size(), 1u);
    EXPECT_EQ(form->Scene, Scene::Title);
    EXPECT_EQ(form->FrameCalls, 5);
}
