#include "framework/HitIndex.h"

#include <algorithm>
#include <bit>

#include "framework/SpriteEngine.h"

namespace vorlanex {

// A sprite off the screen lands in the border cells: clamping keeps every overlap visible to the grid.
void HitIndex::CellRange(const TRect& r, int& c0, int& r0, int& c1, int& r1) const
{
    // A box of no width or height is a point or a line: it still overlaps every box that strictly contains it.
    // An inverted box overlaps what spans it, so it covers the cells between its two edges.
    auto span = [](std::int32_t a, std::int32_t b, int last, int& first, int& final) {
        const std::int32_t lo = std::min(a, b), hi = std::max(a, b);
        first = std::clamp(lo >> CellShift, 0, last);
        final = std::clamp((hi > lo ? hi - 1 : hi) >> CellShift, 0, last);
    };
    span(r.Left, r.Right, Columns - 1, c0, c1);
    span(r.Top, r.Bottom, Rows - 1, r0, r1);
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
    CellRange(bounds, c0, r0, c1, r1);
    if (hasChildren || (c1 - c0 + 1) * (r1 - r0 + 1) > MaxCellsPerSprite)
    {
        MakeLoose(index);
        return;
    }
    for (int row = r0; row <= r1; ++row)
        for (int col = c0; col <= c1; ++col)
            cells[std::size_t(row * Columns + col)].push_back(index);
    inCells[std::size_t(index)] = 1;
}

void HitIndex::Unfile(int index)
{
    int c0, r0, c1, r1;
    CellRange(filed[std::size_t(index)], c0, r0, c1, r1);
    for (int row = r0; row <= r1; ++row)
        for (int col = c0; col <= c1; ++col)
        {
            std::vector<int>& cell = cells[std::size_t(row * Columns + col)];
            cell.erase(std::remove(cell.begin(), cell.end(), index), cell.end());
        }
    inCells[std::size_t(index)] = 0;
}

void HitIndex::Removed()
{
    valid = false;
    childrenLeft = true;
}

// Children only ever join at the end of the list and leave from anywhere in it, so the children that stayed are
// found in order by walking both lists once; only their addresses are compared, as the others are freed. A new
// child at the address of one that left may be taken for it: Sync then checks its box like any other's.
void HitIndex::Renumber(const TSprite& root)
{
    const std::size_t count = std::size_t(root.ChildCount());
    renumbered.assign(sprites.size(), -1);
    std::size_t kept = 0;
    for (std::size_t i = 0; i < sprites.size(); ++i)
        if (kept < count && sprites[i] == (*root.Children)[kept])
            renumbered[i] = int(kept++);
    for (std::vector<int>& cell : cells)
    {
        std::size_t out = 0;
        for (int index : cell)
            if (const int now = renumbered[std::size_t(index)]; now >= 0)
                cell[out++] = now;
        cell.resize(out);
    }
    for (std::size_t i = 0; i < sprites.size(); ++i)
        if (const int now = renumbered[i]; now >= 0)   // never above i: a forward compaction
        {
            sprites[std::size_t(now)] = sprites[i];
            filed[std::size_t(now)] = filed[i];
            inCells[std::size_t(now)] = inCells[i];
        }
    sprites.resize(kept);
    filed.resize(kept);
    inCells.resize(kept);
}

void HitIndex::Sync(TSprite& root)
{
    if (childrenLeft)
        Renumber(root);
    childrenLeft = false;
    const std::size_t count = std::size_t(root.ChildCount());
    if (sprites.size() > count)   // cannot happen without Removed; kept safe all the same
    {
        for (auto& cell : cells)
            cell.clear();
        sprites.clear();
        filed.clear();
        inCells.clear();
    }
    sprites.resize(count, nullptr);
    filed.resize(count);
    inCells.resize(count, 0);
    loose.assign(count, 0);
    looseList.clear();
    marks.assign((count + 63) / 64, 0);
    for (std::size_t i = 0; i < count; ++i)
    {
        TSprite& child = *(*root.Children)[i];
        sprites[i] = &child;
        const TRect bounds = child.CurrentBounds();
        const bool hasChildren = child.Children != nullptr;
        if (inCells[i])
        {
            if (!hasChildren && bounds == filed[i])
                continue;
            Unfile(int(i));
        }
        File(int(i), bounds, hasChildren);
    }
    valid = true;
}

void HitIndex::Refresh(TSprite& root, int index)
{
    if (!valid || index >= root.ChildCount() || loose[std::size_t(index)])
        return;
    TSprite& child = *(*root.Children)[std::size_t(index)];
    const TRect bounds = child.CurrentBounds();
    if (bounds == filed[std::size_t(index)])
        return;
    // Moving sprites are many in a busy battle: filing them again keeps every query local.
    Unfile(index);
    File(index, bounds, child.Children != nullptr);
}

void HitIndex::Added(int index, TSprite& child)
{
    if (!valid)
        return;   // filed by the next Sync
    const std::size_t size = std::size_t(index) + 1;
    if (sprites.size() < size)
    {
        sprites.resize(size, nullptr);
        filed.resize(size);
        inCells.resize(size, 0);
        loose.resize(size, 0);
        marks.resize((size + 63) / 64, 0);
    }
    sprites[std::size_t(index)] = &child;
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
    // Only the few words that received a mark are read back, in order: a query's candidates are mostly some
    // terrain low in the list and some movers near its end, with thousands of children between them.
    auto mark = [&](int index) {
        if (index >= limit)
            return;
        std::uint64_t& word = marks[std::size_t(index) >> 6];
        if (word == 0)
            markedWords.push_back(int(std::size_t(index) >> 6));
        word |= std::uint64_t(1) << (index & 63);
    };
    for (int index : looseList)
        mark(index);
    int c0, r0, c1, r1;
    CellRange(rect, c0, r0, c1, r1);
    for (int row = r0; row <= r1; ++row)
        for (int col = c0; col <= c1; ++col)
            for (int index : cells[std::size_t(row * Columns + col)])
                mark(index);
    std::sort(markedWords.begin(), markedWords.end());
    for (int w : markedWords)
    {
        std::uint64_t& word = marks[std::size_t(w)];
        for (std::uint64_t bits = word; bits != 0; bits &= bits - 1)
            result.push_back(w * 64 + std::countr_zero(bits));
        word = 0;
    }
    markedWords.clear();
    return result;
}

}  // namespace vorlanex
