#pragma once
// The main form: owns every component, holds the game state, starts the game and runs its frames.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <vector>

#include "framework/DXInput.h"
#include "framework/DXSounds.h"
#include "framework/DXTimer.h"
#include "framework/Display.h"
#include "framework/PictureCollection.h"
#include "framework/SpriteEngine.h"
#include "platform/Platform.h"
#include "actors/GameState.h"
#include "shell/Scenes.h"
#include "shell/TickerPieces.h"

namespace vorlanex {

class FormBattleContext;
class MapEditor;
class TTank;
struct CampaignValues;
struct MapData;
struct Settings;

// What the program entry decides before the form is created.
struct GameConfig
{
    std::string appDir;                        // game folder, with trailing separator
    bool windowed = false;
    std::optional<std::uint64_t> seed;         // the clock when empty
    bool unpaced = false;                      // no blocking waits
    std::span<const std::uint8_t> builtinAssets;   // the embedded asset archive
    std::string applicationTitle = "Vorlanex";
    // The player's settings file; empty in runs that must not depend on the player's files.
    std::string settingsFile;
    // The player's maps folder ; empty when this run uses none.
    std::string playerMapsDir;
    bool mapsCampaign = false;     // the maps of playerMapsDir, in name order, are the levels
    bool startInEditor = false;    // --edit
    std::string editFile;          // the map --edit opens; empty for the list of the player's maps
};

class TMainForm
{
public:
    TMainForm(Platform& platform, GameConfig config);
    ~TMainForm();
    TMainForm(const TMainForm&) = delete;
    TMainForm& operator=(const TMainForm&) = delete;

    // Start-up and the form's handlers.
    void FormCreate();
    void FormDestroy();
    void DXDrawInitializing();
    void DXDrawInitialize();
    void DXDrawFinalize();
    void DXTimerActivate();
    void DXTimerDeactivate();
    void mnLowClick(int tag);

    // The frame and the scenes.
    void DXTimerTimer(std::int32_t LagCount);
    void ChangeScene(vorlanex::Scene NewScene);
    void PlaySound(const std::string& Name, bool Wait);
    void StartBattle();
    void TitleFrame();
    void MenuFrame();
    void BattleFrame();
    void ResultFrame();
    void FormKeyDown(int Key, bool alt);
    void DXDrawMouseDown(MouseButton Button, int X, int Y);

    // Screens drawn by the frame.
    void DrawStatusLine();
    void DrawTicker();
    void PrepareText();
    void DrawCursor();
    void DrawStatusPanel();
    void DrawLoadingScreen();
    // Shows the backdrop with one line of text while no frame runs (waiting for a partner); changes no state.
    void DrawNotice(const std::string& text);
    void DrawBackdropOnBlack(TDirectDrawSurface& back);

    // The map editor: entered from the title (F2) or at start-up (--edit); test-play is a battle on the map
    // being edited that comes back to the editor.
    void OpenEditor(const std::string& path, bool chooseFromList);
    void LeaveEditor();
    void EditorPointer(const InputEvent& e);
    void StartTestPlay(const MapData& map, const std::string& name);
    void EndTestPlay();
    bool TestPlaying() const;
    std::unique_ptr<MapEditor> Editor;

    // Level loading.
    void LoadMap(const std::string& fileName);
    void LoadMapData(const std::string& caption, const MapData& map);
    void BuildLevel();
    void ResetLevel();
    void ClearLayers();
    void CreatePlayers();

    // Battle services the actors call through their context.
    void KillBulletsOf(const TTank& Tank);
    void FreezeOtherTeams(std::int32_t Team);
    void CallPlanes(std::int32_t Team, std::int32_t Count);

    // The kept settings: read at start-up, written when the player changes one (a switch of window and full
    // screen only counts when screenModeChanged).
    void LoadSettings();
    void SettingsChanged(bool screenModeChanged = false);

    // The map file of a level of the campaign; empty past the last level of a campaign of player maps.
    std::string LevelMapFile(std::int32_t level);

    // Music control shared by F11 and the level loader.
    void StopMusic();
    void StartMusic();

    // The whole program waits (skipped in unpaced runs).
    void Block(std::uint32_t ms);
    // Reports an error once; the same message again is not shown a second time.
    void ReportError(const std::string& message);
    const std::vector<std::string>& ReportedErrors() const { return reportedErrors; }

    // Components, in the form's order.
    Platform& platform;
    GameConfig config;
    TDXTimer DXTimer;
    TDXDraw DXDraw;
    TDXSpriteEngine SpriteEngine;
    TDXInput DXInput;
    TDXImageList ImageList;
    TDXWaveList DXWaveList;
    TDXSound DXSound;
    TDXImageList DXImageList;
    std::vector<std::string> memo;   // ticker lines, UTF-8

    std::string Caption;
    std::uint8_t CursorFrame = 0;
    std::string BackgroundFileName;
    vorlanex::Scene Scene = vorlanex::Scene::None;
    vorlanex::Scene SavedScene = vorlanex::Scene::None;
    vorlanex::Scene PendingScene = vorlanex::Scene::None;
    std::int32_t FrameCounter = 0;

    GameState Game;
    // How the sprites of SpriteEngine reach this game.
    std::unique_ptr<FormBattleContext> Context;

    // Calls of the frame handler so far (automation).
    std::int64_t FrameCalls = 0;
    // Set when the player asked to quit (Alt+F4 or the window's close).
    bool QuitRequested = false;
    // QuitRequested, also set when such a request waits unread among the host's events: start-up and
    // level loading ask this between their steps, since no frame polls the events meanwhile.
    bool QuitArrived();

private:
    void CreateSnow();
    void BeginLevelLoad(const std::string& caption);
    void BuildMap(const MapData& map);
    void SpawnEnemies();
    void SpawnGem();
    void CallTimedPlanes();
    void ReviveByPartner();
    void PlaceEnemy(TTank& tank, bool atRandomPoint);
    void ApplyScoreMilestones();
    void SaveCarriedValues();
    void ReplaceStartupPictures();
    void StartSoundAndMusic();
    void LoadHelpText();
    void LoadBuiltinCatalogues();
    std::string FindStartupFile(const std::string& name) const;

    void FindCampaignMaps();

    std::vector<std::string> campaignMaps;    // --maps: the levels, in order; empty for the game's own
    std::unique_ptr<Settings> keptSettings;
    std::unique_ptr<CampaignValues> testPlayReturn;   // set while a test battle runs   // as last read or written; null without a settings file
    std::vector<std::string> reportedErrors;
    std::set<std::string> reportedSet;
    TickerPieces tickerPieces;   // the ticker line's measured pieces, kept from frame to frame
};

// The status line's text: enemies left in the level and the level number.
std::string StatusLineText(const GameState& game);
// One line of the result screen: the player's score and rank title.
std::string ResultLine(int player, std::int32_t score);
// AppDir + "MAP" + the level with at least three digits + ".map".
std::string LevelMapFileName(const std::string& appDir, std::int32_t level);

}  // namespace vorlanex
