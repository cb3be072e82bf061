#pragma once
// The player's own maps: a folder of map files, played in name order as the campaign and opened by the editor.

#include <string>
#include <vector>

namespace vorlanex {

// The map files of `folder` (regular files ending in ".map", any letter case), sorted by name; the kept
// previous versions ("NAME.map~") and a save's temporary files are not maps. Empty when the folder is missing.
std::vector<std::string> ListPlayerMaps(const std::string& folder);

// The first free "mapNNN.map" in `folder`.
std::string NewPlayerMapName(const std::string& folder);

}  // namespace vorlanex
