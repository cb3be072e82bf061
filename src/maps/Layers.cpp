#include "maps/Layers.h"

namespace vorlanex {

void ReadCellRecord(ByteStream& stream, TCell& cell, const std::string& sourceName)
{
    const std::size_t start = stream.Position();
    stream.ReadInt(cell.Col);
    stream.ReadInt(cell.Row);
    stream.ReadByte(cell.Reserved1);
    stream.ReadInt(cell.Reserved2);
    stream.ReadInt(cell.Reserved3);
    if (stream.Remaining() == 0)
        return;   // the name length itself is missing: the name stays as it was
    // A cut-off length is taken as read, low bytes first, like every other field; it then fails the check
    // below unless it happens to fit.
    std::int32_t nameLength = 0;
    stream.ReadInt(nameLength);
    if (nameLength < 0 || std::size_t(nameLength) > stream.Remaining())
        throw CellRecordError(sourceName + ": the cell record at offset " + std::to_string(start) +
                              " has a tile name length of " + std::to_string(nameLength) + ", but " +
                              std::to_string(stream.Remaining()) + " bytes follow");
    cell.TileName = stream.ReadText(std::size_t(nameLength));
}

TLayer::~TLayer() { Clear(); }

void TLayer::AddCell() { Cells.push_back(std::make_unique<TCell>()); }

void TLayer::Clear() { Cells.clear(); }

TCell* TLayer::CellAt(std::int32_t index) const
{
    if (index < 0 || index >= Count())
        return nullptr;
    return Cells[std::size_t(index)].get();
}

bool TLayer::LoadCells(ByteStream& stream, const std::string& sourceName)
{
    for (auto& cell : Cells)
        ReadCellRecord(stream, *cell, sourceName);
    return true;
}

}  // namespace vorlanex
