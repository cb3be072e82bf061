// The frame handler and the scene machine.

#include <cmath>
#include <cstdlib>
#include <string>

#include "actors/MyTank.h"
#include "actors/Snow.h"
#include "framework/AssetNames.h"
#include "shell/MainForm.h"
#include "shell/editor/MapEditor.h"

namespace vorlanex {

void TMainForm::DXTimerTimer(std::int32_t)
{
    ++FrameCalls;
    if (!DXDraw.IsDrawable())
        return;
    ++FrameCounter;
    DXInput.UpdateInput();
    switch (Scene)
    {
    case Scene::Title: TitleFrame(); break;
    case Scene::Battle: BattleFrame(); break;
    case Scene::Result: ResultFrame(); break;
    case Scene::Menu: MenuFrame(); break;
    case Scene::Editor: Editor->Frame(); break;
    default: break;
    }
    if (PendingScene != Scene::None)
    {
        ChangeScene(PendingScene);
        PendingScene = Scene::None;
    }
    // The editor has a status line of its own and keeps the ticker off the map.
    if (Scene != Scene::Editor)
    {
        DrawStatusLine();
        DrawTicker();
    }
    if (Scene == Scene::Battle)
        DrawStatusPanel();
    DrawCursor();
    DXDraw.PresentFrame();

    if (Game.EnemiesDestroyed >= Game.LevelTotal())
    {
        Game.EnemiesDestroyed = 0;
        Game.LevelCleared = 1;
        PendingScene = Scene::Result;
        PlaySound(names::WaveSceneMove, false);
        SaveCarriedValues();
        Block(500);
    }
    if (Game.PairOutOfLives() && Game.NoPlayerAlive())
    {
        Game.EnemiesDestroyed = 0;
        Game.PlayerLosses = 0;
        Game.LevelCleared = 0;
        for (PlayerSeat seat : Seats(Game))
        {
            seat.LifeDebt = 0;
            seat.Lives = Game.StartLives;
        }
        PendingScene = Scene::Result;
        PlaySound(names::WaveSceneMove, false);
    }
}

void TMainForm::ChangeScene(vorlanex::Scene NewScene)
{
    // A test battle that ends (won, lost or abandoned) goes back to the editor, not on with the campaign.
    if (TestPlaying() && NewScene != Scene::Battle)
    {
        EndTestPlay();
        return;
    }
    if (Scene == Scene::Battle)
        SpriteEngine.Engine->Clear();
    DXInput.RemoveStates(TDXInputStates::Range(StateButton1, StateButton32));
    Scene = NewScene;
    if (Scene == Scene::Battle)
        StartBattle();
}

void TMainForm::StartBattle()
{
    Game.EnemiesDestroyed = 0;
    Game.GemsSpawned = 0;
    FrameCounter = 0;
    LoadMap(Game.MapFileName);
    FrameCounter = 0;
    if (Game.SnowOn)
        CreateSnow();
}

void TMainForm::CreateSnow()
{
    for (int i = 0; i < 100; ++i)
        CreateSnowFlake(*SpriteEngine.Engine, false);
}

void TMainForm::TitleFrame()
{
    TDirectDrawSurface& back = DXDraw.BackSurface;
    if (TPictureCollectionItem* star = ImageList.Items.ImageFind(names::Star))
        star->DrawPattern(back, 0, 0, 0);
    if (TPictureCollectionItem* logo = ImageList.Items.ImageFind(names::Logo))
    {
        const int alpha = int(std::trunc(std::fabs(TurnCos(FrameCounter)) * 255));
        logo->DrawPatternRotatedAlpha(back, DXDraw.Width() / 2, DXDraw.Height() / 2, logo->PatternWidth(),
                                      logo->PatternHeight(), 0, 0.5, 0.5, FrameCounter, alpha);
    }
    if (DXInput.State(StateButton1))
    {
        SpriteEngine.Engine->Clear();
        PlaySound(names::WaveSceneMove, false);
        Block(200);
        ChangeScene(Scene::Battle);
        FrameCounter = 0;
    }
}

void TMainForm::MenuFrame()
{
    TDirectDrawSurface& back = DXDraw.BackSurface;
    DrawBackdropOnBlack(back);
    if (TPictureCollectionItem* frame = ImageList.Items.ImageFind(names::Frame))
    {
        const int w = DXDraw.Width(), h = DXDraw.Height();
        const int pw = frame->PatternWidth(), ph = frame->PatternHeight();
        frame->StretchPattern(back, {(w - pw) / 2, (h - ph) / 2, (w + pw) / 2, (h + ph) / 2}, 0);
    }
    for (const TMenuButton& button : Game.MenuButtons)
        if (TPictureCollectionItem* picture = ImageList.Items.ImageFind(button.PictureName))
            picture->DrawPattern(back, button.Rect.Left, button.Rect.Top, 0);
    if (DXInput.State(StateButton1))
    {
        Scene = SavedScene;
        PendingScene = Scene::None;
    }
}

void TMainForm::SaveCarriedValues()
{
    for (PlayerSeat seat : Seats(Game))
        if (seat.Alive && seat.Tank)
            seat.Carry.SaveFrom(*seat.Tank);
}

}  // namespace vorlanex
