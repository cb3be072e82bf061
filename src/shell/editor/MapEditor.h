#pragma once
// The map editor scene: the battlefield drawn as the battle draws it, a palette of the tile library's tiles,
// and the player's mouse and keys turned into steps of the map being edited.
//
// Keys: 1 2 3 layer, B brush, E enemy spawn cells, P the players' start, G / Shift+G background, Tab palette,
// Ctrl+Z / Ctrl+Y undo and redo, Ctrl+S save, T test-play, O open another map, Esc leave.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/Platform.h"
#include "shell/editor/EditorDocument.h"
#include "shell/editor/EditorPalette.h"

namespace vorlanex {

class TMainForm;

enum class EditorTool { Brush, Spawn, Start };

class MapEditor
{
public:
    explicit MapEditor(TMainForm& form);

    // Opens `path` (a new map there when the file does not exist yet); a file the map reader refuses is not
    // opened, so a save can never write over it. An empty path opens a new map with no name yet.
    void Open(const std::string& path);
    // The list of the player's maps to choose from (straight to a new map when there are none).
    void ShowMapList();

    void Frame();
    // True when the editor used the key.
    bool KeyDown(int vk);
    void MouseDown(MouseButton button, int x, int y);
    void MouseUp(MouseButton button, int x, int y);
    void MouseMove(int x, int y);
    void MouseWheel(int steps);

    const EditorDocument& Document() const { return *document; }
    int Layer() const { return layer; }
    EditorTool Tool() const { return tool; }
    int NextSpawn() const { return nextSpawn; }
    const std::string& Tile() const;   // GBK; empty when the library gave no tiles
    bool ListShown() const { return listShown; }
    const std::vector<std::string>& MapList() const { return mapList; }
    // The status line as it is drawn.
    std::string StatusText() const;
    const std::string& Message() const { return message; }

    bool Save();

    // Board geometry: cells are 32 pixels, the palette covers the right edge while shown.
    static constexpr int Cell = 32;
    static constexpr int PaletteLeft = 1024 - 232;
    static constexpr int PaletteRowHeight = 36;
    static constexpr int PaletteTop = 8;
    static constexpr int StatusTop = 768 - 22;
    static constexpr int ListTop = 120, ListRowHeight = 28;

private:
    friend class EditorDrawing;

    bool ControlHeld() const;
    bool ShiftHeld() const;
    bool InPalette(int x, int y) const;
    void PickTile(int index);
    void ApplyTool(MouseButton button, int x, int y);
    void ChooseFromList(std::size_t index);
    void NextBackground(int direction);
    void Leave();
    void TestPlay();
    std::string StartWarning() const;
    std::string LocalName(const std::string& gbk) const;

    TMainForm& form;
    EditorPalette palette;
    std::unique_ptr<EditorDocument> document;
    int layer = 0;
    EditorTool tool = EditorTool::Brush;
    int nextSpawn = 0;
    std::size_t tileIndex = 0;
    bool paletteShown = true;
    std::optional<MouseButton> held;   // a stroke of the brush in progress
    int mouseX = -1, mouseY = -1;
    bool askingToLeave = false;
    std::string message;

    bool listShown = false;
    std::vector<std::string> mapList;   // entry 0 is "a new map"
    std::size_t listChoice = 0;
};

}  // namespace vorlanex
