#include "shell/MainForm.h"

#include <chrono>
#include <cstdio>
#include <sstream>
#include <stdexcept>

#include "framework/AssetArchive.h"
#include "framework/AssetNames.h"
#include "framework/AssetTable.h"
#include "framework/BuiltinPictures.h"
#include "framework/BuiltinWaves.h"
#include "framework/DataFile.h"
#include "maps/Layers.h"
#include "maps/MapFile.h"
#include "maps/Tiles.h"
#include "platform/common/Gbk.h"
#include "shell/FormBattleContext.h"
#include "shell/editor/MapEditor.h"
#include "shell/editor/TestPlay.h"
#include "shell/settings/Settings.h"

namespace vorlanex {

namespace {

constexpr const char* kHelpTextName = "操作帮助.TXT";
// Far more than any help anyone reads in a ticker, far less than could strain memory.
constexpr std::uint64_t kMaxHelpTextBytes = 4u << 20;

std::string MapFileNameFor(const std::string& appDir, std::int32_t level)
{
    char number[16];
    std::snprintf(number, sizeof number, "%03d", level);
    return appDir + "MAP" + number + ".map";
}

// The form drives every part of the host: a missing one is a wiring fault, found when the form is made and
// not at the first frame that happens to need it. Only the audio maker may be empty (the game is then silent).
Platform& RequireComplete(Platform& platform)
{
    const char* missing = !platform.video    ? "video"
                          : !platform.events ? "events"
                          : !platform.clock  ? "clock"
                          : !platform.text   ? "text"
                          : !platform.system ? "system"
                                             : nullptr;
    if (missing)
        throw std::invalid_argument(std::string("the form needs a complete platform: its ") + missing +
                                    " is missing");
    return platform;
}

}  // namespace

std::string LevelMapFileName(const std::string& appDir, std::int32_t level) { return MapFileNameFor(appDir, level); }

TMainForm::TMainForm(Platform& platform, GameConfig config)
    : platform(RequireComplete(platform)),
      config(std::move(config)),
      DXTimer(*platform.clock),
      DXDraw(platform.video.get(), platform.text.get()),
      DXInput(platform.events.get()),
      DXSound(platform.makeAudio, platform.clock.get())
{
    // What the form stores: component settings, event wiring and the built-in catalogues.
    DXTimer.SetInterval(33);
    DXTimer.ActiveOnly = true;
    DXTimer.OnTimer = [this](TDXTimer&, std::int32_t lagCount) {
        try
        {
            DXTimerTimer(lagCount);
        }
        catch (const EAbort&)
        {
            // A map load that ended quietly (wrong magic, too short): the rest of this frame is skipped.
        }
        catch (const std::exception& e)
        {
            ReportError(e.what());
        }
    };
    DXTimer.OnActivate = [this](TDXTimer&) { DXTimerActivate(); };
    DXTimer.OnDeactivate = [this](TDXTimer&) { DXTimerDeactivate(); };

    if (this->config.windowed)
        DXDraw.Options &= ~(1u << doFullScreen);
    DXDraw.OnInitializing = [this] { DXDrawInitializing(); };
    DXDraw.OnInitialize = [this] { DXDrawInitialize(); };
    DXDraw.OnFinalize = [this] { DXDrawFinalize(); };

    Context = std::make_unique<FormBattleContext>(*this);
    SpriteEngine.Engine->Owner = Context.get();
    SpriteEngine.SetDXDraw(&DXDraw);
    // The level's background and bottom terrain layer (Z -1 and 0) are kept between frames.
    SpriteEngine.Engine->Ground.GroundZ = 0;
    // So are its two upper terrain layers (Z 3 and 5), drawn over the tanks.
    SpriteEngine.Engine->Cover.LowZ = 3;
    SpriteEngine.Engine->Cover.HighZ = 5;
    ImageList.SetDXDraw(&DXDraw);
    DXImageList.SetDXDraw(&DXDraw);
    DXWaveList.SetDXSound(&DXSound);
    LoadBuiltinCatalogues();

    DXTimer.Loaded(platform.events->HasFocus());
}

TMainForm::~TMainForm()
{
    FormDestroy();
    // Sprites may reach the game state while they are freed, so they go before it does.
    SpriteEngine.Engine->Clear();
    SpriteEngine.Engine->FreeKilled();
}

void TMainForm::LoadBuiltinCatalogues()
{
    if (config.builtinAssets.empty())
        return;
    const std::vector<AssetEntry> archive = ReadAssetArchive(config.builtinAssets);
    LoadBuiltinPictures(ImageList.Items, DXImageList.Items, archive);
    LoadBuiltinWaves(DXWaveList, archive);
}

void TMainForm::FormCreate()
{
    // Every other value starts as the game state declares it.
    Game.AppDir = config.appDir;
    LoadHelpText();
    LoadSettings();

    Game.Rng.Seed(config.seed ? *config.seed
                              : std::uint64_t(std::chrono::steady_clock::now().time_since_epoch().count()));

    FindCampaignMaps();
    Game.MapFileName = LevelMapFile(Game.CurrentLevel);
    Caption = Game.MapFileName;
    platform.video->SetCaption(Caption);

    Game.TileSet = std::make_unique<TTiles>();
    DXDraw.StartDisplay();   // a display that cannot be opened ends start-up here
    for (auto& layer : Game.Layers)
        layer = std::make_unique<TLayer>();
    // A quit asked for during start-up ends it here; the message loop then ends the game without a frame.
    if (QuitArrived())
        return;

    ReplaceStartupPictures();
    ImageList.Items.BuildColorTable();
    DXDraw.ColorTable = ImageList.Items.ColorTable;
    DXDraw.DefColorTable = ImageList.Items.ColorTable;
    DXDraw.ApplyPalette();
    if (QuitArrived())
        return;

    StartSoundAndMusic();
    if (!Game.MusicOn)
        StopMusic();
    Game.TickerX = DXDraw.Width() / 2;
    PrepareText();
    ChangeScene(Scene::Title);
    if (config.startInEditor)
        OpenEditor(config.editFile, config.editFile.empty());
}

void TMainForm::LoadHelpText()
{
    memo.clear();
    const std::string path = Game.AppDir + kHelpTextName;
    if (ClassifyDataFile(path) == DataFileKind::Missing)
        return;   // the help text is optional
    std::string text;
    try
    {
        const std::vector<std::uint8_t> bytes = ReadDataFile(path, kMaxHelpTextBytes, "a help text");
        text = GbkToUtf8(std::string(bytes.begin(), bytes.end()));
    }
    catch (const DataFileError& e)
    {
        ReportError(e.what());
        return;
    }
    catch (const std::exception& e)
    {
        ReportError(path + ": " + e.what());
        return;
    }
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);)
    {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        memo.push_back(line);
    }
}

std::string TMainForm::FindStartupFile(const std::string& name) const
{
    // The current folder first, as the game always did, then the game folder.
    if (ClassifyDataFile(name) != DataFileKind::Missing)
        return name;
    return Game.AppDir + name;
}

void TMainForm::ReplaceStartupPictures()
{
    // The pictures that start-up replaces from files are those the table gives a file name.
    for (const PictureDef& def : kImageListDefs)
    {
        if (!*def.fileName)
            continue;
        TPictureCollectionItem* item = ImageList.Items.ImageFind(def.name);
        if (!item)
            continue;
        try
        {
            item->LoadPictureFromFile(FindStartupFile(def.fileName));
            item->AssignItem(*item);
        }
        catch (const std::exception& e)
        {
            // A missing picture leaves its item empty: it draws nothing and the game still starts.
            ReportError(e.what());
        }
    }
}

void TMainForm::StartSoundAndMusic()
{
    DXSound.StopSound();
    TWaveCollectionItem& music = DXWaveList.Items.Add();
    try
    {
        music.LoadWaveFromFile(Game.AppDir + names::WaveMusic + ".wav");
    }
    catch (const std::exception& e)
    {
        ReportError(e.what());   // the game runs without music
    }
    music.SetName(names::WaveMusic);
    music.SetLooped(true);
    try
    {
        DXSound.StartSound();
    }
    catch (const std::exception& e)
    {
        ReportError(std::string("Sound is off: ") + e.what());
    }
    PlaySound(names::WaveMusic, false);
}

bool TMainForm::QuitArrived()
{
    if (!QuitRequested && platform.events->QuitPending())
        QuitRequested = true;
    return QuitRequested;
}

void TMainForm::FormDestroy() { DXTimer.SetEnabled(false); }

// Border and system cursor follow the video layer's mode (borderless full screen or a framed window);
// the system cursor stays hidden in both because the game draws its own.
void TMainForm::DXDrawInitializing() {}

void TMainForm::DXDrawInitialize() { DXTimer.SetEnabled(true); }

void TMainForm::DXDrawFinalize() { DXTimer.SetEnabled(false); }

void TMainForm::DXTimerActivate()
{
    Caption = Game.MapFileName;
    platform.video->SetCaption(Caption);
}

void TMainForm::DXTimerDeactivate()
{
    Caption = config.applicationTitle + " [Pause]";
    platform.video->SetCaption(Caption);
}

void TMainForm::mnLowClick(int tag)
{
    Game.Difficulty = tag;
    SettingsChanged();
}

void TMainForm::Block(std::uint32_t ms)
{
    if (!config.unpaced)
        platform.clock->SleepMs(ms);
}

void TMainForm::ReportError(const std::string& message)
{
    if (!reportedSet.insert(message).second)
        return;
    reportedErrors.push_back(message);
    platform.system->ReportError(message);
}

void TMainForm::PlaySound(const std::string& Name, bool Wait)
{
    if (Game.SoundOn)
        PlayWave(WaveFind(DXWaveList, Name), Wait);
}

void TMainForm::StopMusic()
{
    if (DXWaveList.Items.IndexOf(names::WaveMusic) >= 0)
        StopWave(WaveFind(DXWaveList, names::WaveMusic));
}

void TMainForm::StartMusic()
{
    if (DXWaveList.Items.IndexOf(names::WaveMusic) >= 0)
        PlayWave(WaveFind(DXWaveList, names::WaveMusic), false);
}

}  // namespace vorlanex
