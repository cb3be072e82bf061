// The frame handler and the scene machine.

#include <cmath>
#include <cstdlib>
#include <string>

#include "actors/Snow.h"
#include "actors/MyTank.h"
#include "shell/MainForm.h"

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
    case SceneTitle: TitleFrame(); break;
    case SceneBattle: BattleFrame(); break;
    case SceneResult: ResultFrame(); break;
    case SceneMenu: MenuFrame(); break;
    default: break;
    }
    if (PendingScene != 0)
    {
        ChangeScene(PendingScene);
        PendingScene = 0;
    }
    DrawStatusLine();
    DrawTicker();
    if (Scene == SceneBattle)
        DrawStatusPanel();
    DrawCursor();
    DXDraw.PresentFrame();

    if (Game.EnemiesDestroyed >= Game.LevelTotal())
    {
        Game.EnemiesDestroyed = 0;
        Game.LevelCleared = 1;
        PendingScene = SceneResult;
        PlaySound("SceneMov", false);
        SaveCarriedValues();
        Block(500);
    }
    if (Game.PlayerLosses > Game.Lives1 + Game.Lives2 + 1 && !Game.Player1Alive && !Game.Player2Alive)
    {
        Game.EnemiesDestroyed = 0;
        Game.PlayerLosses = 0;
        Game.LifeDebt1 = Game.LifeDebt2 = 0;
        Game.LevelCleared = 0;
        Game.Lives1 = Game.StartLives;
        Game.Lives2 = Game.StartLives;
        PendingScene = SceneResult;
        PlaySound("SceneMov", false);
    }
}

void TMainForm::ChangeScene(std::uint8_t NewScene)
{
    if (Scene == SceneBattle)
        SpriteEngine.Engine->Clear();
    DXInput.RemoveStates(TDXInputStates::Range(StateButton1, StateButton32));
    Scene = NewScene;
    if (Scene == SceneBattle)
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
    if (TPictureCollectionItem* star = ImageList.Items.ImageFind("Star"))
        star->DrawPattern(back, 0, 0, 0);
    if (TPictureCollectionItem* logo = ImageList.Items.ImageFind("Logo"))
    {
        const int alpha = int(std::trunc(std::fabs(TurnCos(FrameCounter)) * 255));
        logo->DrawPatternRotatedAlpha(back, DXDraw.Width() / 2, DXDraw.Height() / 2, logo->PatternWidth(),
                                      logo->PatternHeight(), 0, 0.5, 0.5, FrameCounter, alpha);
    }
    if (DXInput.State(StateButton1))
    {
        SpriteEngine.Engine->Clear();
        PlaySound("SceneMov", false);
        Block(200);
        ChangeScene(SceneBattle);
        FrameCounter = 0;
    }
}

void TMainForm::MenuFrame()
{
    TDirectDrawSurface& back = DXDraw.BackSurface;
    FillSurface(back, 0);
    if (TPictureCollectionItem* star = ImageList.Items.ImageFind("Star"))
        star->DrawPattern(back, 0, 0, 0);
    if (TPictureCollectionItem* frame = ImageList.Items.ImageFind("边框"))
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
        PendingScene = 0;
    }
}

void TMainForm::SaveCarriedValues()
{
    if (Game.Player1Alive && Game.Player1Tank)
        Game.Carry1.SaveFrom(*Game.Player1Tank);
    if (Game.Player2Alive && Game.Player2Tank)
        Game.Carry2.SaveFrom(*Game.Player2Tank);
}

}  // namespace vorlanex
