#pragma once
// The readable map format that levels are designed in (UTF-8 text), compiled to the binary map file by the
// build and by vorlanex-mapc, and dumped back from any binary map.
//
//   # a comment
//   background 背景\草地.BMP
//   enemy 1 0            (three lines: the enemy spawn cells, column and row)
//   player 15 22         (the players' start cell)
//   tile B 砖墙\红砖     (a grid symbol and the tile it stands for)
//   layer 1              (then 24 rows of 32 symbols; '.' is an empty cell)
//   cell 2 40 3 0 0 0 砖墙\红砖   (layer, column, row, three reserved values, tile name: any cell at all)
//
// A layer's grid cells come first, row by row, then its cell lines in the order written.

#include <stdexcept>
#include <string>
#include <string_view>

#include "maps/MapFile.h"

namespace vorlanex {

class MapTextError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

inline constexpr int MapGridColumns = 32;
inline constexpr int MapGridRows = 24;

// Throws MapTextError naming the source and the line.
MapData ParseMapText(std::string_view text, const std::string& sourceName);

// Layers that a grid can show exactly are written as grids, the rest as cell lines, so that compiling the
// text gives back the same bytes. Throws MapTextError when a stored name is not valid GBK.
std::string MapToText(const MapData& map);

}  // namespace vorlanex
