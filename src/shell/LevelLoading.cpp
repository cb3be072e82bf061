// Level loading: a map file read into the three layers, then every cell turned into a terrain sprite over the
// level's background, with the loading screen showing the progress.

#include <cstdint>
#include <string>
#include <unordered_map>

#include "actors/Tank.h"
#include "actors/TerrSprite.h"
#include "framework/AssetNames.h"
#include "framework/DataFile.h"
#include "maps/Layers.h"
#include "maps/MapFile.h"
#include "maps/Tiles.h"
#include "platform/common/Gbk.h"
#include "shell/MainForm.h"

namespace vorlanex {

namespace {

// The form's own pictures at the head of DXImageList ("EnemyPos", "PlayerPos", names::PlainBackground); the rest is the level's.
constexpr int FixedPictureCount = 3;
constexpr std::int32_t LayerZ[3] = {0, 3, 5};
// One loading screen per display refresh is all anyone can see; drawing more only slows the build.
constexpr std::uint32_t LoadingScreenIntervalMs = 16;
constexpr std::int32_t QuitCheckSteps = 512;

void DeleteLevelPictures(TPictureCollection& pictures)
{
    for (int i = pictures.Count() - 1; i >= FixedPictureCount; --i)
        pictures.Delete(i);
}

TBackgroundSprite* NewBackground(TSpriteEngine& engine, TPictureCollectionItem* image)
{
    auto* background = new TBackgroundSprite(&engine);
    background->Image = image;
    background->SetGridSize(1, 1);
    background->X = 0;
    background->Y = 0;
    background->SetZ(-1);
    background->Tiled = true;
    background->Visible = true;
    return background;
}

// A picture's name is the tile's name as the player reads it; a name that is not valid GBK keeps its bytes.
// Converted once per distinct name: a full map names a dozen tiles in thousands of cells.
class PictureNames
{
public:
    const std::string& For(const std::string& gbk)
    {
        auto [it, added] = names.try_emplace(gbk);
        if (added)
        {
            try
            {
                it->second = GbkToUtf8(gbk);
            }
            catch (const TextEncodingError&)
            {
                it->second = gbk;
            }
        }
        return it->second;
    }

private:
    std::unordered_map<std::string, std::string> names;
};

// Counts the build's steps and shows the loading screen for the first and the last step and, in between, at
// most once per display refresh.
class LoadingSteps
{
public:
    explicit LoadingSteps(TMainForm& form) : form(form) {}

    void Advance()
    {
        GameState& game = form.Game;
        ++game.LoadProgress;
        const std::uint32_t now = form.platform.clock->NowMs();
        // No frame polls the events during a build: a quit asked for meanwhile ends the build here, and the
        // message loop then ends the game. Looked for by steps too, as a clock that stands still (an
        // unpaced run) shows no screen between the first step and the last.
        if (game.LoadProgress % QuitCheckSteps == 0 && form.QuitArrived())
            throw EAbort();
        const bool edge = game.LoadProgress == 1 || game.LoadProgress >= game.LoadTotal;
        if (!edge && now - shownAt < LoadingScreenIntervalMs)
            return;
        if (form.QuitArrived())
            throw EAbort();
        form.DrawLoadingScreen();
        shownAt = now;
    }

private:
    TMainForm& form;
    std::uint32_t shownAt = 0;
};

void StopPlaneSound(TMainForm& form)
{
    if (form.DXWaveList.Items.IndexOf(names::WavePlanes) >= 0)
        StopWave(WaveFind(form.DXWaveList, names::WavePlanes));
}

// A name that leaves the game folder, and a picture that is there but cannot be read, are told to the player;
// either way the level goes on over the plain background. A missing picture is simply not there.
TPictureCollectionItem* LoadBackgroundPicture(TMainForm& form)
{
    TPictureCollection& pictures = form.DXImageList.Items;
    TPictureCollectionItem& item = pictures.Add();
    std::string refusal;
    const std::string path = GameFolderPath(form.Game.AppDir, form.BackgroundFileName, &refusal);
    if (path.empty())
    {
        if (!refusal.empty())
            form.ReportError("Map file '" + form.Caption + "': background picture " + refusal +
                             "; the plain background is used");
        return pictures.ImageFind(names::PlainBackground);
    }
    if (ClassifyDataFile(path) == DataFileKind::Missing)
        return pictures.ImageFind(names::PlainBackground);
    try
    {
        item.LoadPictureFromFile(path);
    }
    catch (const std::exception& e)
    {
        // A broken picture is no reason to lose the level: say so and lay the plain background.
        form.ReportError(e.what());
        return pictures.ImageFind(names::PlainBackground);
    }
    item.SetName(names::LevelBackground);
    return &item;
}

void BuildLayerSprites(TMainForm& form, TLayer& layer, std::int32_t z, TTile& tile, LoadingSteps& steps,
                       PictureNames& names)
{
    TPictureCollection& pictures = form.DXImageList.Items;
    for (const auto& cell : layer.Cells)
    {
        const std::string& name = names.For(cell->TileName);
        TPictureCollectionItem* item = pictures.ImageFind(name);
        tile.Path = cell->TileName;
        tile.Load();   // for the flags and durability, even when the picture is there already
        if (!item)
        {
            item = &pictures.Add();
            item->Picture = tile.Bitmap;
            item->SetName(name);
            item->SetPatternWidth(tile.Bitmap.Width());
            item->SetPatternHeight(tile.Bitmap.Height());
        }
        item->Transparent = true;
        steps.Advance();

        auto* sprite = new TTerrSprite(form.SpriteEngine.Engine);
        sprite->SetPicture(item);
        item->SetPatternWidth(sprite->Width);
        item->SetPatternHeight(sprite->Height);
        sprite->X = double(cell->Col) * CellSize;
        sprite->Y = double(cell->Row) * CellSize;
        sprite->SetZ(z);
        sprite->Flags = tile.Flags;
        sprite->Durability = tile.Durability;
        sprite->Wrap = false;
    }
}

void ClearHalfBuiltLevel(TMainForm& form)
{
    form.SpriteEngine.Engine->Clear();
    form.Game.Player1Tank = nullptr;
    form.Game.Player2Tank = nullptr;
    form.Game.BackgroundSprite = nullptr;
    DeleteLevelPictures(form.DXImageList.Items);
}

// A tile whose picture cannot be read leaves no level to play: report it, free what was built, and go back to
// the title with the timer running rather than freeze on the loading screen.
void AbandonLevel(TMainForm& form, const std::string& why)
{
    form.ReportError("Map file '" + form.Caption + "': " + why);
    ClearHalfBuiltLevel(form);
    StopPlaneSound(form);
    form.PendingScene = Scene::Title;
    form.DXTimer.SetEnabled(true);
}

void ApplyCells(GameState& game, const MapData& map)
{
    game.EnemySpawnPoints = map.EnemySpawnPoints;
    game.PlayerStart = map.PlayerStart;
}

// Whether the load goes on with what was read. A wrong magic or a short file ends it quietly, unwinding to the
// frame handler; a missing file is simply nothing to build.
bool AcceptMapRead(TMainForm& form, const MapReadResult& read)
{
    switch (read.Status)
    {
    case MapReadStatus::Ok:
        return true;
    case MapReadStatus::Missing:
        return false;
    case MapReadStatus::WrongMagic:
        throw EAbort();
    case MapReadStatus::TooShort:
        ApplyCells(form.Game, read.Map);
        form.platform.system->Beep();
        form.DXTimer.SetEnabled(true);
        throw EAbort();
    case MapReadStatus::Invalid:
        break;
    }
    // A damaged or hostile file: say so and go back to the title, with its music, instead of an empty battlefield.
    form.ReportError(read.Message);
    form.PendingScene = Scene::Title;
    if (form.Game.MusicOn)
        form.StartMusic();
    return false;
}

}  // namespace

void TMainForm::ClearLayers()
{
    for (auto& layer : Game.Layers)
        if (layer)
            layer->Clear();
}

void TMainForm::ResetLevel()
{
    SpriteEngine.Engine->Clear();
    ClearLayers();
    Game.Player1Tank = nullptr;
    Game.Player2Tank = nullptr;
    Game.BackgroundSprite = nullptr;
    DeleteLevelPictures(DXImageList.Items);
    // The level's names::LevelBackground went with the level pictures: this background shows nothing until the next build.
    Game.BackgroundSprite = NewBackground(*SpriteEngine.Engine, DXImageList.Items.ImageFind(names::LevelBackground));
}

void TMainForm::LoadMap(const std::string& fileName)
{
    BeginLevelLoad(fileName);
    const MapReadResult read = ReadMapFile(fileName);
    if (!AcceptMapRead(*this, read))
        return;
    BuildMap(read.Map);
}

// The editor's test battle: a map that is not in a file (or not saved yet).
void TMainForm::LoadMapData(const std::string& caption, const MapData& map)
{
    BeginLevelLoad(caption);
    BuildMap(map);
}

void TMainForm::BeginLevelLoad(const std::string& caption)
{
    ResetLevel();
    Caption = caption;
    platform.video->SetCaption(Caption);
    StopMusic();
    PlaySound(names::WavePlanes, false);
}

void TMainForm::BuildMap(const MapData& map)
{
    ApplyCells(Game, map);
    BackgroundFileName = map.BackgroundFileName;
    for (std::size_t i = 0; i < 3; ++i)
        Game.Layers[i]->Assign(map.Layers[i]);

    Game.EnemiesSpawned = 0;
    BuildLevel();
    if (Game.MusicOn)
        StartMusic();
}

void TMainForm::BuildLevel()
{
    SpriteEngine.Engine->Clear();
    DXTimer.SetEnabled(false);
    DeleteLevelPictures(DXImageList.Items);
    std::int64_t total = 3;
    for (const auto& layer : Game.Layers)
        total += layer->Count();
    Game.LoadTotal = std::int32_t(total);
    Game.LoadProgress = 0;
    LoadingSteps steps(*this);

    TTile tile(
        FindTileLibrary(Game.AppDir),
        [this] { platform.system->Beep(); },
        [this](const std::string& fault) {
            ReportError(fault + "; the level is built without the tiles it cannot give");
        });
    Game.BackgroundSprite = NewBackground(*SpriteEngine.Engine, LoadBackgroundPicture(*this));
    steps.Advance();
    CreatePlayers();
    steps.Advance();
    steps.Advance();

    try
    {
        PictureNames names;
        for (std::size_t i = 0; i < 3; ++i)
            BuildLayerSprites(*this, *Game.Layers[i], LayerZ[i], tile, steps, names);
    }
    catch (const EAbort&)
    {
        // The player quits: half a level is no state to end with, nor one worth writing out sprite by sprite.
        ClearHalfBuiltLevel(*this);
        throw;
    }
    catch (const std::exception& e)
    {
        AbandonLevel(*this, e.what());
        return;
    }

    StopPlaneSound(*this);
    DXImageList.Items.BuildColorTable();
    DXDraw.ColorTable = DXImageList.Items.ColorTable;
    DXDraw.DefColorTable = DXImageList.Items.ColorTable;
    DXDraw.ApplyPalette();
    DXDraw.StartDisplay();
    DXInput.KeyboardRestart();
    Scene = Scene::Battle;
    DXTimer.SetEnabled(true);
}

}  // namespace vorlanex
