#include "maps/Layers.h"

namespace vorlanex {

TLayer::~TLayer() { Clear(); }

void TLayer::AddCell() { Cells.push_back(std::make_unique<TCell>()); }

void TLayer::Clear() { Cells.clear(); }

TCell* TLayer::CellAt(std::int32_t index) const
{
    if (index < 0 || index >= Count())
        return nullptr;
    return Cells[std::size_t(index)].get();
}

void TLayer::Assign(const std::vector<TCell>& cells)
{
    Cells.clear();
    Cells.reserve(cells.size());
    for (const TCell& cell : cells)
        Cells.push_back(std::make_unique<TCell>(cell));
}

}  // namespace vorlanex
