#pragma once
// A grid over the engine's direct children that lets a hit test look at the sprites near its source instead of
// all of them, while reporting exactly what the full scan reports, in the same order.
//
// It is valid only inside a move pass of the engine: built at its start from every child's bounds, kept up to
// date after each child's Step (the only place where the game moves sprites: a child that moved is filed again),
// and dropped at its end or when a child leaves the tree. A sprite created during the pass is "loose" and looked
// at by every query; so is one too large for the grid or with children of its own.

#include <cstdint>
#include <vector>

#include "framework/Types.h"

namespace vorlanex {

class TSprite;

class HitIndex
{
public:
    bool Valid() const { return valid; }
    void Build(TSprite& root);
    void Invalidate() { valid = false; }
    // After child `index` of the root stepped: files it again under its new bounds if it moved.
    void Refresh(TSprite& root, int index);
    // A child appended to the root during the pass.
    void Added(int index);
    // A child of the root that gained children: every query must look into it.
    void Nested(TSprite& root, const TSprite& child);
    // Indices of the root's children (below `limit`) that may overlap `rect`, ascending; every other child
    // certainly does not overlap it.
    const std::vector<int>& Candidates(const TRect& rect, int limit);

private:
    static constexpr int CellShift = 6;   // 64-pixel cells
    static constexpr int Columns = 16, Rows = 12;
    static constexpr int MaxCellsPerSprite = 16;

    void File(int index, const TRect& bounds, bool hasChildren);
    void Unfile(int index);
    void MakeLoose(int index);
    void CellRange(const TRect& r, int& c0, int& r0, int& c1, int& r1) const;

    bool valid = false;
    std::vector<std::vector<int>> cells = std::vector<std::vector<int>>(Columns * Rows);
    std::vector<TRect> filed;          // bounds each child was filed under, by child index
    std::vector<std::uint8_t> loose;   // 1: looked at by every query
    std::vector<int> looseList;
    // A query marks its children here, then reads the marks back in index order: no sort, no duplicates.
    std::vector<std::uint64_t> marks;
    std::vector<int> result;
};

}  // namespace vorlanex
