#pragma once
// The in-memory form of a map: three layers, each a list of cells naming a tile and the grid place it stands on.

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "maps/ByteStream.h"

namespace vorlanex {

// A cell record that cannot be read sensibly (a name length that is negative or runs past the data).
class CellRecordError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// Every byte of a cell record but the tile name.
inline constexpr std::size_t CellRecordFixedSize = 21;

class TCell
{
public:
    std::int32_t Col = 6;   // the cell's left edge is Col x 32 pixels
    std::int32_t Row = 3;   // the cell's top edge is Row x 32 pixels
    std::uint8_t Reserved1 = 0;
    std::int32_t Reserved2 = 0;
    std::int32_t Reserved3 = 0;
    std::string TileName;   // GBK: the tile's path in the tile library and the name of its picture
};

// Reads one record (column, row, three reserved fields, name length, name) into `cell`. Fields cut off by
// the end of the data keep what they held. Throws CellRecordError, naming `sourceName`, when the name
// length is negative or larger than the rest of the data; nothing of the cell changes past that field then.
void ReadCellRecord(ByteStream& stream, TCell& cell, const std::string& sourceName);

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
    // Reads one record into each existing cell, from index 0 upward; true unless a record is rejected,
    // which throws CellRecordError (the cells before it keep what they read).
    bool LoadCells(ByteStream& stream, const std::string& sourceName);

    std::vector<std::unique_ptr<TCell>> Cells;
};

}  // namespace vorlanex
