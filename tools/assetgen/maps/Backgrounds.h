#pragma once
// The level background pictures: seamless patterns that the game tiles over the screen.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vorlanex::assetgen {

// The BMP file of the background stored under `fileName` (UTF-8, the last part of the name a map gives),
// or nothing when no such background is made here.
std::optional<std::vector<std::uint8_t>> PaintBackground(const std::string& fileName);

// Every background file name that PaintBackground knows.
std::vector<std::string> BackgroundNames();

}  // namespace vorlanex::assetgen
