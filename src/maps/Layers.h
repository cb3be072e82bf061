#pragma once
// The in-memory form of a map: three layers, each a list of cells naming a tile and the grid place it stands on.

#include <cstdint>
#include <memory>
#include <vector>

#include "maps/Cells.h"

namespace vorlanex {

class TLayer
{
public:
    TLayer() = default;
    TLayer(const TLayer&) = delete;
    TLayer& operator=(const TLayer&) = delete;
    ~TLayer();

    // Grows Cells by one default cell.
    void AddCell();
    void Clear();
    // The cell at `index`, or nullptr when the index is out of range.
    TCell* CellAt(std::int32_t index) const;
    std::int32_t Count() const { return std::int32_t(Cells.size()); }
    // Replaces the cells with copies of `cells`, in order.
    void Assign(const std::vector<TCell>& cells);

    std::vector<std::unique_ptr<TCell>> Cells;
};

}  // namespace vorlanex
