#pragma once
// What two machines must share before they can play together: the digests of the game's data.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "shell/net/NetMessages.h"

namespace vorlanex {

// Every file of the game folder that takes part in play (maps, the tile library, pictures, sounds), by its
// name in the folder, sorted; a screen picture the current folder holds counts instead of the game folder's,
// as start-up uses it; the maps of a player's folder played as the levels (`campaignDir`, when not empty), as
// "maps/NAME"; and the built-in pictures and sounds. Throws std::runtime_error naming a file that cannot be read.
std::vector<FileDigest> GameDataDigests(const std::string& appDir, const std::string& campaignDir,
                                        std::span<const std::uint8_t> builtinAssets);

std::uint64_t BytesDigest(std::span<const std::uint8_t> bytes);

}  // namespace vorlanex
