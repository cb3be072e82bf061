// The form's side of the editor: entering and leaving it, the pointer events it needs beyond a click, and
// test-play, a battle on the map being edited that leaves the campaign exactly as it was.

#include "shell/MainForm.h"
#include "shell/editor/MapEditor.h"
#include "shell/editor/TestPlay.h"

namespace vorlanex {

void TMainForm::OpenEditor(const std::string& path, bool chooseFromList)
{
    if (!Editor)
        Editor = std::make_unique<MapEditor>(*this);
    ChangeScene(Scene::Editor);
    if (chooseFromList)
        Editor->ShowMapList();
    else
        Editor->Open(path);
}

void TMainForm::LeaveEditor() { PendingScene = Scene::Title; }

void TMainForm::EditorPointer(const InputEvent& e)
{
    if (Scene != Scene::Editor || !Editor)
        return;
    switch (e.kind)
    {
    case EventKind::MouseDown: Editor->MouseDown(e.button, e.x, e.y); break;
    case EventKind::MouseUp: Editor->MouseUp(e.button, e.x, e.y); break;
    case EventKind::MouseMove: Editor->MouseMove(e.x, e.y); break;
    case EventKind::MouseWheel: Editor->MouseWheel(e.wheel); break;
    default: break;
    }
}

void TMainForm::StartTestPlay(const MapData& map, const std::string& name)
{
    const GameState& g = Game;
    testPlayReturn = std::make_unique<CampaignValues>(CampaignValues{
        g.CurrentLevel, g.Lives1, g.Lives2, g.LifeDebt1, g.LifeDebt2, g.PlayerLosses, g.EnemiesDestroyed,
        g.EnemiesSpawned, g.GemsSpawned, g.LevelCleared, g.Player1Alive, g.Player2Alive, g.Carry1, g.Carry2,
        g.MapFileName});
    // Both players enter fresh, as at the start of a campaign.
    Game.Lives1 = Game.Lives2 = Game.StartLives;
    Game.LifeDebt1 = Game.LifeDebt2 = Game.PlayerLosses = 0;
    Game.LevelCleared = 0;
    Game.Player1Alive = Game.Player2Alive = 0;
    Game.EnemiesDestroyed = 0;
    Game.GemsSpawned = 0;
    DXInput.RemoveStates(TDXInputStates::Range(StateButton1, StateButton32));
    FrameCounter = 0;
    LoadMapData("Test: " + name, map);
    FrameCounter = 0;
    if (Game.SnowOn)
        CreateSnow();
}

bool TMainForm::TestPlaying() const { return testPlayReturn != nullptr; }

void TMainForm::EndTestPlay()
{
    if (!testPlayReturn)
        return;
    SpriteEngine.Engine->Clear();
    Game.Player1Tank = nullptr;
    Game.Player2Tank = nullptr;
    Game.BackgroundSprite = nullptr;
    const CampaignValues v = *testPlayReturn;
    testPlayReturn.reset();
    Game.CurrentLevel = v.CurrentLevel;
    Game.Lives1 = v.Lives1;
    Game.Lives2 = v.Lives2;
    Game.LifeDebt1 = v.LifeDebt1;
    Game.LifeDebt2 = v.LifeDebt2;
    Game.PlayerLosses = v.PlayerLosses;
    Game.EnemiesDestroyed = v.EnemiesDestroyed;
    Game.EnemiesSpawned = v.EnemiesSpawned;
    Game.GemsSpawned = v.GemsSpawned;
    Game.LevelCleared = v.LevelCleared;
    Game.Player1Alive = v.Player1Alive;
    Game.Player2Alive = v.Player2Alive;
    Game.Carry1 = v.Carry1;
    Game.Carry2 = v.Carry2;
    Game.MapFileName = v.MapFileName;
    Caption = Game.MapFileName;
    platform.video->SetCaption(Caption);
    DXInput.RemoveStates(TDXInputStates::Range(StateButton1, StateButton32));
    PendingScene = Scene::None;
    Scene = Scene::Editor;
    DXTimer.SetEnabled(true);
}

}  // namespace vorlanex
