#pragma once
// The records a map is made of: a grid place, and a cell naming the tile that stands on one.

#include <cstdint>
#include <string>

namespace vorlanex {

struct TCellPoint
{
    std::int32_t Column = 0;
    std::int32_t Row = 0;

    bool operator==(const TCellPoint&) const = default;
};

// One cell record of a map file. The defaults are what a cell keeps when the file ends before its record.
class TCell
{
public:
    std::int32_t Col = 6;   // the cell's left edge is Col x 32 pixels
    std::int32_t Row = 3;   // the cell's top edge is Row x 32 pixels
    std::uint8_t Reserved1 = 0;
    std::int32_t Reserved2 = 0;
    std::int32_t Reserved3 = 0;
    std::string TileName;   // GBK: the tile's path in the tile library and the name of its picture

    bool operator==(const TCell&) const = default;
};

}  // namespace vorlanex
