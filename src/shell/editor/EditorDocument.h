#pragma once
// The map being edited: the map file's own records, changed in place, so a map opened and saved unchanged is
// the same file byte for byte; every change is a step that can be undone and redone.

#include <array>
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "maps/MapFile.h"

namespace vorlanex {

// The spawn cells are points 0 to 2; the players' start is point 3.
inline constexpr int StartPoint = 3;

class EditorDocument
{
public:
    // A map with nothing drawn: three spawn cells along the top, the start at the bottom, the plain background.
    static MapData NewMap();

    explicit EditorDocument(MapData map = NewMap(), std::string path = {});

    const MapData& Map() const { return map; }
    const std::string& Path() const { return path; }
    void SetPath(std::string newPath) { path = std::move(newPath); }

    // Changes made between BeginStep and EndStep undo as one (a stroke of the brush); a change made outside
    // a step is a step of its own.
    void BeginStep();
    void EndStep();

    // The cell of `layer` (0 to 2) at (col, row) shows `tile` (GBK); false when it already did.
    bool Paint(int layer, std::int32_t col, std::int32_t row, const std::string& tile);
    // Removes every cell of `layer` at (col, row); false when there was none.
    bool Clear(int layer, std::int32_t col, std::int32_t row);
    bool SetPoint(int point, std::int32_t col, std::int32_t row);
    bool SetBackground(const std::string& gbkName);

    // The tile a layer shows at (col, row) (its last cell there), or nullptr.
    const TCell* CellAt(int layer, std::int32_t col, std::int32_t row) const;

    bool CanUndo() const { return !done.empty(); }
    bool CanRedo() const { return !undone.empty(); }
    bool Undo();
    bool Redo();
    std::size_t UndoDepth() const { return done.size(); }
    // Steps kept for undo; older ones are forgotten.
    static constexpr std::size_t MaxUndoSteps = 1000;

    // Whether the map differs from the file as last opened or saved.
    bool Modified() const { return revision != savedRevision; }
    void MarkSaved() { savedRevision = revision; }

private:
    enum class EditKind { ReplaceCell, InsertCell, EraseCell, MovePoint, ChangeBackground };
    struct Edit
    {
        EditKind kind = EditKind::ReplaceCell;
        int layer = 0;          // cells; the point for MovePoint
        std::size_t index = 0;  // cells
        TCell before, after;  // cells
        TCellPoint pointBefore, pointAfter;
        std::string textBefore, textAfter;
    };
    struct Step
    {
        std::vector<Edit> edits;
        std::uint64_t revisionBefore = 0, revisionAfter = 0;
    };

    static Edit MakeEdit(EditKind kind, int layer, std::size_t index)
    {
        Edit e;
        e.kind = kind;
        e.layer = layer;
        e.index = index;
        return e;
    }
    void Record(Edit edit);
    void Apply(const Edit& edit, bool forward);
    TCellPoint& Point(int point);

    MapData map;
    std::string path;
    std::deque<Step> done;
    std::vector<Step> undone;
    Step open;
    int openDepth = 0;
    std::uint64_t revision = 0, savedRevision = 0, nextRevision = 1;
};

}  // namespace vorlanex
