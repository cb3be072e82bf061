#include "shell/editor/EditorDocument.h"

namespace vorlanex {

MapData EditorDocument::NewMap()
{
    MapData map;
    map.EnemySpawnPoints = {TCellPoint{1, 0}, TCellPoint{15, 0}, TCellPoint{29, 0}};
    map.PlayerStart = {15, 22};
    return map;
}

EditorDocument::EditorDocument(MapData map, std::string path) : map(std::move(map)), path(std::move(path)) {}

void EditorDocument::BeginStep()
{
    if (openDepth++ == 0)
        open = Step{};
}

void EditorDocument::EndStep()
{
    if (openDepth == 0 || --openDepth > 0)
        return;
    if (open.edits.empty())
        return;
    open.revisionBefore = revision;
    revision = open.revisionAfter = nextRevision++;
    done.push_back(std::move(open));
    open = Step{};
    if (done.size() > MaxUndoSteps)
        done.pop_front();
    undone.clear();
}

void EditorDocument::Record(Edit edit)
{
    BeginStep();
    Apply(edit, true);
    open.edits.push_back(std::move(edit));
    EndStep();
}

TCellPoint& EditorDocument::Point(int point)
{
    return point == StartPoint ? map.PlayerStart : map.EnemySpawnPoints[std::size_t(point)];
}

// Each edit is exactly undone by its reverse, applied in the reverse order of the step.
void EditorDocument::Apply(const Edit& e, bool forward)
{
    auto& cells = map.Layers[std::size_t(e.layer)];
    switch (e.kind)
    {
    case EditKind::ReplaceCell: cells[e.index] = forward ? e.after : e.before; break;
    case EditKind::InsertCell:
    case EditKind::EraseCell:
        if ((e.kind == EditKind::InsertCell) == forward)
            cells.insert(cells.begin() + std::ptrdiff_t(e.index), forward ? e.after : e.before);
        else
            cells.erase(cells.begin() + std::ptrdiff_t(e.index));
        break;
    case EditKind::MovePoint: Point(e.layer) = forward ? e.pointAfter : e.pointBefore; break;
    case EditKind::ChangeBackground: map.BackgroundFileName = forward ? e.textAfter : e.textBefore; break;
    }
}

const TCell* EditorDocument::CellAt(int layer, std::int32_t col, std::int32_t row) const
{
    const auto& cells = map.Layers[std::size_t(layer)];
    for (auto it = cells.rbegin(); it != cells.rend(); ++it)
        if (it->Col == col && it->Row == row)
            return &*it;
    return nullptr;
}

bool EditorDocument::Paint(int layer, std::int32_t col, std::int32_t row, const std::string& tile)
{
    const auto& cells = map.Layers[std::size_t(layer)];
    for (std::size_t i = cells.size(); i-- > 0;)
        if (cells[i].Col == col && cells[i].Row == row)
        {
            if (cells[i].TileName == tile)
                return false;
            Edit e = MakeEdit(EditKind::ReplaceCell, layer, i);
            e.before = e.after = cells[i];
            e.after.TileName = tile;
            Record(std::move(e));
            return true;
        }
    TCell cell;
    cell.Col = col;
    cell.Row = row;
    cell.TileName = tile;
    Edit e = MakeEdit(EditKind::InsertCell, layer, cells.size());
    e.after = cell;
    Record(std::move(e));
    return true;
}

bool EditorDocument::Clear(int layer, std::int32_t col, std::int32_t row)
{
    const auto& cells = map.Layers[std::size_t(layer)];
    bool any = false;
    BeginStep();
    for (std::size_t i = cells.size(); i-- > 0;)
        if (cells[i].Col == col && cells[i].Row == row)
        {
            Edit e = MakeEdit(EditKind::EraseCell, layer, i);
            e.before = cells[i];
            Record(std::move(e));
            any = true;
        }
    EndStep();
    return any;
}

bool EditorDocument::SetPoint(int point, std::int32_t col, std::int32_t row)
{
    const TCellPoint now{col, row};
    if (Point(point) == now)
        return false;
    Edit e = MakeEdit(EditKind::MovePoint, point, 0);
    e.pointBefore = Point(point);
    e.pointAfter = now;
    Record(std::move(e));
    return true;
}

bool EditorDocument::SetBackground(const std::string& gbkName)
{
    if (map.BackgroundFileName == gbkName)
        return false;
    Edit e = MakeEdit(EditKind::ChangeBackground, 0, 0);
    e.textBefore = map.BackgroundFileName;
    e.textAfter = gbkName;
    Record(std::move(e));
    return true;
}

bool EditorDocument::Undo()
{
    if (done.empty())
        return false;
    Step step = std::move(done.back());
    done.pop_back();
    for (auto it = step.edits.rbegin(); it != step.edits.rend(); ++it)
        Apply(*it, false);
    revision = step.revisionBefore;
    undone.push_back(std::move(step));
    return true;
}

bool EditorDocument::Redo()
{
    if (undone.empty())
        return false;
    Step step = std::move(undone.back());
    undone.pop_back();
    for (const Edit& e : step.edits)
        Apply(e, true);
    revision = step.revisionAfter;
    done.push_back(std::move(step));
    return true;
}

}  // namespace vorlanex
