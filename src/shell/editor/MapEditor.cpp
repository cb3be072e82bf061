#include "shell/editor/MapEditor.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <utility>

#include "maps/MapWriter.h"
#include "platform/VirtualKeys.h"
#include "platform/common/Gbk.h"
#include "shell/MainForm.h"
#include "shell/PlayerMaps.h"

namespace vorlanex {

namespace {

const std::string kNoTile;

std::string FileNameOf(const std::string& path)
{
    return path.empty() ? "(new map)" : std::filesystem::path(path).filename().string();
}

}  // namespace

MapEditor::MapEditor(TMainForm& form) : form(form), document(std::make_unique<EditorDocument>())
{
    std::string problem;
    palette.Load(form.Game.AppDir, form.DXDraw, problem);
    if (!problem.empty())
        message = "No tiles: " + problem;
}

void MapEditor::Open(const std::string& path)
{
    listShown = false;
    askingToLeave = false;
    held.reset();
    if (path.empty())
    {
        document = std::make_unique<EditorDocument>();
        message = "A new map";
        return;
    }
    const MapReadResult read = ReadMapFile(path);
    if (read.Status == MapReadStatus::Ok)
    {
        document = std::make_unique<EditorDocument>(read.Map, path);
        message = "Opened " + FileNameOf(path);
    }
    else if (read.Status == MapReadStatus::Missing)
    {
        document = std::make_unique<EditorDocument>(EditorDocument::NewMap(), path);
        message = "A new map, to be saved as " + FileNameOf(path);
    }
    else
    {
        document = std::make_unique<EditorDocument>();
        message = read.Message + "; a new map instead";
    }
}

void MapEditor::ShowMapList()
{
    mapList = {""};
    if (!form.config.playerMapsDir.empty())
        for (const std::string& file : ListPlayerMaps(form.config.playerMapsDir))
            mapList.push_back(file);
    if (mapList.size() == 1)
    {
        Open("");
        return;
    }
    listShown = true;
    listChoice = 0;
}

void MapEditor::ChooseFromList(std::size_t index)
{
    if (index < mapList.size())
        Open(mapList[index]);
}

const std::string& MapEditor::Tile() const
{
    return palette.Tiles().empty() ? kNoTile : palette.Tiles()[tileIndex].path;
}

bool MapEditor::ControlHeld() const
{
    std::uint8_t keys[256] = {};
    form.platform.events->ReadKeyboard(keys);
    return (keys[vk::Control] & 0x80) != 0;
}

bool MapEditor::ShiftHeld() const
{
    std::uint8_t keys[256] = {};
    form.platform.events->ReadKeyboard(keys);
    return (keys[vk::Shift] & 0x80) != 0;
}

bool MapEditor::KeyDown(int key)
{
    if (listShown)
    {
        if (key == vk::Up && listChoice > 0)
            --listChoice;
        else if (key == vk::Down && listChoice + 1 < mapList.size())
            ++listChoice;
        else if (key == vk::Return)
            ChooseFromList(listChoice);
        else if (key == vk::Escape)
            form.LeaveEditor();
        return true;
    }
    const bool asked = std::exchange(askingToLeave, false);
    const bool control = ControlHeld();
    if (control && key == 'Z')
        message = document->Undo() ? "Undone" : "Nothing to undo";
    else if (control && key == 'Y')
        message = document->Redo() ? "Redone" : "Nothing to redo";
    else if (control && key == 'S')
        Save();
    else if (key >= '1' && key <= '3')
        layer = key - '1';
    else if (key == 'B')
        tool = EditorTool::Brush;
    else if (key == 'E')
        tool = EditorTool::Spawn;
    else if (key == 'P')
        tool = EditorTool::Start;
    else if (key == 'G')
        NextBackground(ShiftHeld() ? -1 : 1);
    else if (key == vk::Tab)
        paletteShown = !paletteShown;
    else if (key == 'T')
        TestPlay();
    else if (key == 'O')
    {
        if (document->Modified())
            message = "Save first (Ctrl+S) or undo the changes, then open another map";
        else
            ShowMapList();
    }
    else if (key == vk::Escape)
    {
        if (!document->Modified() || asked)
            form.LeaveEditor();
        else
        {
            askingToLeave = true;
            message = "Unsaved changes: Esc again leaves without saving, Ctrl+S saves";
        }
    }
    else
        return false;
    return true;
}

bool MapEditor::InPalette(int x, int y) const
{
    const int rows = int(palette.Tiles().size());
    return paletteShown && x >= PaletteLeft && y >= PaletteTop && y < PaletteTop + rows * PaletteRowHeight;
}

void MapEditor::PickTile(int index)
{
    const int count = int(palette.Tiles().size());
    if (count == 0)
        return;
    tileIndex = std::size_t(((index % count) + count) % count);
    tool = EditorTool::Brush;
}

void MapEditor::MouseDown(MouseButton button, int x, int y)
{
    mouseX = x;
    mouseY = y;
    if (listShown)
    {
        if (button == MouseButton::Left && y >= ListTop)
            ChooseFromList(std::size_t((y - ListTop) / ListRowHeight));
        return;
    }
    if (InPalette(x, y))
    {
        PickTile((y - PaletteTop) / PaletteRowHeight);
        return;
    }
    if (held)
        document->EndStep();
    held = button;
    document->BeginStep();
    ApplyTool(button, x, y);
}

void MapEditor::MouseUp(MouseButton button, int x, int y)
{
    mouseX = x;
    mouseY = y;
    if (held && *held == button)
    {
        held.reset();
        document->EndStep();
    }
}

// A quick drag reports only some of the cells it crosses: the brush covers the cells in between too.
void MapEditor::MouseMove(int x, int y)
{
    const int fromX = mouseX, fromY = mouseY;
    mouseX = x;
    mouseY = y;
    if (!held || *held == MouseButton::Middle || InPalette(x, y) || tool != EditorTool::Brush)
        return;
    const int steps = std::max({std::abs(x / Cell - fromX / Cell), std::abs(y / Cell - fromY / Cell), 1});
    for (int i = 1; i <= steps; ++i)
        ApplyTool(*held, fromX + (x - fromX) * i / steps, fromY + (y - fromY) * i / steps);
}

void MapEditor::MouseWheel(int steps)
{
    if (!listShown && steps != 0)
        PickTile(int(tileIndex) - steps);
}

void MapEditor::ApplyTool(MouseButton button, int x, int y)
{
    const int col = x / Cell, row = y / Cell;
    if (x < 0 || y < 0 || col >= MapColumns || row >= MapRows)
        return;
    askingToLeave = false;
    if (button == MouseButton::Right)
    {
        document->Clear(layer, col, row);
        return;
    }
    if (button != MouseButton::Left)
        return;
    switch (tool)
    {
    case EditorTool::Brush:
        if (!Tile().empty())
            document->Paint(layer, col, row, Tile());
        break;
    case EditorTool::Spawn:
        document->SetPoint(nextSpawn, col, row);
        nextSpawn = (nextSpawn + 1) % 3;
        break;
    case EditorTool::Start: document->SetPoint(StartPoint, col, row); break;
    }
}

void MapEditor::NextBackground(int direction)
{
    const auto& names = palette.Backgrounds();
    const auto at = std::find(names.begin(), names.end(), document->Map().BackgroundFileName);
    const int count = int(names.size());
    const int now = at == names.end() ? 0 : int(at - names.begin());
    document->SetBackground(names[std::size_t(((now + direction) % count + count) % count)]);
    const std::string& name = document->Map().BackgroundFileName;
    message = "Background: " + (name.empty() ? std::string("plain") : LocalName(name));
}

bool MapEditor::Save()
{
    std::string path = document->Path();
    try
    {
        if (path.empty())
        {
            if (form.config.playerMapsDir.empty())
            {
                message = "Not saved: this run has no maps folder (start with --maps DIR or --edit FILE)";
                return false;
            }
            MakeFolders(form.config.playerMapsDir);
            path = NewPlayerMapName(form.config.playerMapsDir);
        }
        SaveMapFile(path, document->Map());
    }
    catch (const std::exception& e)
    {
        message = std::string("Not saved: ") + e.what();
        return false;
    }
    document->SetPath(path);
    document->MarkSaved();
    message = "Saved " + path;
    return true;
}

void MapEditor::TestPlay()
{
    if (const std::string refusal = MapWriteRefusal(document->Map()); !refusal.empty())
    {
        message = "Cannot play: " + refusal;
        return;
    }
    held.reset();
    form.StartTestPlay(document->Map(), FileNameOf(document->Path()));
}

std::string MapEditor::LocalName(const std::string& gbk) const
{
    try
    {
        return GbkToUtf8(gbk);
    }
    catch (const std::exception&)
    {
        return gbk;
    }
}

std::string MapEditor::StartWarning() const
{
    const TCellPoint start = document->Map().PlayerStart;
    for (int l = 0; l < 3; ++l)
        if (const TCell* cell = document->CellAt(l, start.Column, start.Row))
        {
            const PaletteTile* tile = palette.Find(cell->TileName);
            if (tile && !(tile->flags & 1))
                return "warning: the start stands on " + tile->name + ", which stops tanks";
        }
    return {};
}

std::string MapEditor::StatusText() const
{
    if (listShown)
        return "Choose a map: Up/Down and Enter, or click; Esc leaves";
    static constexpr const char* kTools[] = {"brush", "spawn", "start"};
    std::string text = FileNameOf(document->Path()) + (document->Modified() ? " *" : "") + "  layer " +
                       std::to_string(layer + 1) + "  " + kTools[int(tool)];
    if (tool == EditorTool::Spawn)
        text += " " + std::to_string(nextSpawn + 1);
    text += "  tile " + (Tile().empty() ? std::string("-") : LocalName(Tile()));
    if (mouseX >= 0 && mouseY >= 0 && mouseX / Cell < MapColumns && mouseY / Cell < MapRows)
        text += "  cell " + std::to_string(mouseX / Cell) + "," + std::to_string(mouseY / Cell);
    text += document->Modified() ? "  unsaved changes" : "  saved";
    const std::string warning = StartWarning();
    if (!warning.empty())
        text += "  " + warning;
    if (!message.empty())
        text += "  | " + message;
    return text;
}

}  // namespace vorlanex
