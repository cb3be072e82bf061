#pragma once
// The map writer the editor saves through: it refuses any map the map reader would refuse or the game could
// not place (a count or a name too long, a cell, spawn cell or start outside the 32 x 24 battlefield), and
// writes what it accepts without ever leaving a half-written file.

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "framework/AtomicFile.h"
#include "maps/MapFile.h"

namespace vorlanex {

class MapWriteError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

inline constexpr std::int32_t MapColumns = 32;
inline constexpr std::int32_t MapRows = 24;

// Why `map` cannot be written, in words; empty when it can.
std::string MapWriteRefusal(const MapData& map);

// The map file's bytes, checked by reading them back. Throws MapWriteError with the refusal.
std::vector<std::uint8_t> EncodeCheckedMap(const MapData& map);

// Writes `map` to `path` atomically, keeping the file it replaces as "<path>~". Throws MapWriteError for a
// refused map and FileSaveError for a failed save; in both cases the file on disk is untouched.
void SaveMapFile(const std::string& path, const MapData& map, const AtomicWriteOptions& options = {});

}  // namespace vorlanex
