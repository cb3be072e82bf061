#pragma once
// A grid over the engine's direct children that lets a hit test look at the sprites near its source instead of
// all of them, while reporting exactly what the full scan reports, in the same order.
//
// It is kept from one move pass to the next, since most children (the terrain) never move. At the start of a
// pass it is brought up to date with the children: those that left are dropped, those that joined are filed,
// and every child whose box is not the one it was filed under (moved between passes) is filed again. Within the
// pass it is kept up to date after each child's Step (the only place where the game moves sprites: a child that
// moved is filed again). A sprite created during the pass is "loose" and looked at by every query; so is one too
// large for the grid or with children of its own. When a child leaves during a pass, the grid is not used for the
// rest of it.

#include <cstdint>
#include <vector>

#include "framework/Types.h"

namespace vorlanex {

class TSprite;

class HitIndex
{
public:
    bool Valid() const { return valid; }
    // Brings the grid up to date with the root's children and makes it valid for a move pass.
    void Sync(TSprite& root);
    // The move pass is over: the grid is kept, but not used until the next Sync.
    void EndPass() { valid = false; }
    // A child of the root is leaving: the children's indices shift.
    void Removed();
    // After child `index` of the root stepped: files it again under its new bounds if it moved.
    void Refresh(TSprite& root, int index);
    // A child appended to the root, at `index`.
    void Added(int index, TSprite& child);
    // A child of the root that gained children: every query must look into it.
    void Nested(TSprite& root, const TSprite& child);
    // Indices of the root's children (below `limit`) that may overlap `rect`, ascending; every other child
    // certainly does not overlap it.
    const std::vector<int>& Candidates(const TRect& rect, int limit);

private:
    static constexpr int CellShift = 5;   // 32-pixel cells, the size of a map cell
    static constexpr int Columns = 32, Rows = 24;
    static constexpr int MaxCellsPerSprite = 16;

    void Renumber(const TSprite& root);
    void File(int index, const TRect& bounds, bool hasChildren);
    void Unfile(int index);
    void MakeLoose(int index);
    void CellRange(const TRect& r, int& c0, int& r0, int& c1, int& r1) const;

    bool valid = false;
    bool childrenLeft = false;   // since the last Sync: the indices below are stale
    std::vector<std::vector<int>> cells = std::vector<std::vector<int>>(Columns * Rows);
    // By child index: the child as last seen, the bounds it is filed under in the cells (when inCells is 1),
    // and whether every query looks at it.
    std::vector<const TSprite*> sprites;
    std::vector<TRect> filed;
    std::vector<std::uint8_t> inCells;
    std::vector<std::uint8_t> loose;
    std::vector<int> looseList;
    std::vector<int> renumbered;   // scratch of Renumber: old index -> new index, -1 for a child that left
    // A query marks its children here, then reads the marked words back in order: no duplicates.
    std::vector<std::uint64_t> marks;
    std::vector<int> markedWords;
    std::vector<int> result;
};

}  // namespace vorlanex
