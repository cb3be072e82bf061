#include "framework/HitIndex.h"

#include <algorithm>

#include "framework/SpriteEngine.h"

namespace vorlanex {

// A sprite off the screen lands in the border cells: clamping keeps every overlap visible to the grid.
bool HitIndex::CellRange(const TRect& r, int& c0, int& r0, int& c1, int& r1) const
{
    if (r.IsEmpty())
        return false;
    auto clampTo = [](std::int32_t v, int last) { return std::clamp(v >> CellShift, 0, last); };
    c0 = clampTo(r.Left, Columns - 1);
    c1 = clampTo(r.Right - 1, Columns - 1);
    r0 = clampTo(r.Top, Rows - 1);
    r1 = clampTo(r.Bottom - 1, Rows - 1);
    return true;
}

void HitIndex::MakeLoose(int index)
{
    if (loose[std::size_t(index)])
        return;
    loose[std::size_t(index)] = 1;
    looseList.push_back(index);
}

void HitIndex::File(int index, const TRect& bounds, bool hasChildren)
{
    filed[std::size_t(index)] = bounds;
    int c0, r0, c1, r1;
    if (!CellRange(bounds, c0, r0, c1, r1))
        return;   // an empty box overlaps nothing while it stays empty
    if (hasChildren || (c1 - c0 + 1) * (r1 - r0 + 1) > MaxCellsPerSprite)
    {
        MakeLoose(index);
        return;
    }
    for (int row = r0; row <= r1; ++row)
        for (int col = c0; col <= c1; ++col)
            cells[std::size_t(row * Columns + col)].push_back(index);
}

void HitIndex::Build(TSprite& root)
{
    for (auto& cell : cells)
        cell.clear();
    looseList.clear();
    const std::size_t count = std::size_t(root.ChildCount());
    filed.assign(count, TRect{});
    loose.assign(count, 0);
    seen.assign(count, 0);
    for (std::size_t i = 0; i < count; ++i)
    {
        TSprite& child = *(*root.Children)[i];
        File(int(i), child.CurrentBounds(), child.Children != nullptr);
    }
    valid = true;
}

void HitIndex::Refresh(TSprite& root, int index)
{
    if (!valid || index >= root.ChildCount() || loose[std::size_t(index)])
        return;
    if ((*root.Children)[std::size_t(index)]->CurrentBounds() != filed[std::size_t(index)])
        MakeLoose(index);
}

void HitIndex::Added(int index)
{
    if (!valid)
        return;
    const std::size_t size = std::size_t(index) + 1;
    if (filed.size() < size)
    {
        filed.resize(size);
        loose.resize(size, 0);
        seen.resize(size, 0);
    }
    MakeLoose(index);
}

void HitIndex::Nested(TSprite& root, const TSprite& child)
{
    if (!valid)
        return;
    const auto& children = *root.Children;
    const auto found = std::find(children.begin(), children.end(), &child);
    if (found != children.end())
        MakeLoose(int(found - children.begin()));
}

const std::vector<int>& HitIndex::Candidates(const TRect& rect, int limit)
{
    result.clear();
    if (++stamp == 0)
    {
        std::fill(seen.begin(), seen.end(), 0);
        stamp = 1;
    }
    auto take = [this, limit](int index) {
        if (index < limit && seen[std::size_t(index)] != stamp)
        {
            seen[std::size_t(index)] = stamp;
            result.push_back(index);
        }
    };
    for (int index : looseList)
        take(index);
    int c0, r0, c1, r1;
    if (CellRange(rect, c0, r0, c1, r1))
        for (int row = r0; row <= r1; ++row)
            for (int col = c0; col <= c1; ++col)
                for (int index : cells[std::size_t(row * Columns + col)])
                    take(index);
    std::sort(result.begin(), result.end());
    return result;
}

}  // namespace vorlanex
