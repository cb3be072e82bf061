#pragma once
// The looks a terrain tile can be drawn with, by name. Each painter fills a 32 x 32 canvas from one base
// colour; the tile definitions in data/tiles choose a look and a colour for every tile.

#include <string>
#include <string_view>
#include <vector>

#include "TileRaster.h"

namespace vorlanex::assetgen {

using TilePainter = void (*)(TileCanvas& canvas, Rgb base);

// Null when there is no look of that name.
TilePainter FindTilePainter(std::string_view look);
std::vector<std::string> TileLookNames();

}  // namespace vorlanex::assetgen
