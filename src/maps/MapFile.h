#pragma once
// The binary map file: spawn cells, the player start, the background picture's name and three layers of
// cells. Read whole and validated before anything of the game changes; written by the map tools.

#include <array>
#include <cstdint>
#include <exception>
#include <span>
#include <string>
#include <vector>

#include "maps/Cells.h"

namespace vorlanex {

// Ends a map load quietly (a wrong magic, a file too short): it unwinds to the frame handler, which ignores it.
class EAbort : public std::exception
{
public:
    const char* what() const noexcept override { return "Operation aborted"; }
};

// The magic at the start of every map file: GBK bytes, no terminator.
inline constexpr std::size_t MapMagicSize = 31;
std::span<const std::uint8_t, MapMagicSize> MapMagic();

struct MapData
{
    std::array<TCellPoint, 3> EnemySpawnPoints{};
    TCellPoint PlayerStart;
    std::string BackgroundFileName;   // GBK bytes, "\" separating folders
    std::array<std::vector<TCell>, 3> Layers;

    bool operator==(const MapData&) const = default;
};

// What became of a read. The game treats each outcome differently: a missing file is ignored, a wrong
// magic or a short file ends the load quietly, an invalid file is reported.
enum class MapReadStatus
{
    Ok,
    Missing,
    WrongMagic,
    TooShort,   // 64 bytes or fewer: no room for anything past the start cell
    Invalid,    // a count or a name length that is negative or larger than the rest of the file
};

struct MapReadResult
{
    MapReadStatus Status = MapReadStatus::Ok;
    std::string Message;   // names the file and the fault; empty when Ok
    MapData Map;           // filled when Ok; a TooShort read has its spawn and start cells
};

// Every byte of a record but the name.
inline constexpr std::size_t MapCellFixedSize = 21;
// The 64-byte rule: a file must be longer than this to hold anything beyond the start cell.
inline constexpr std::size_t MapMinimumSizeExclusive = 64;
// Refuse absurd files before reading them whole; a full map is about 100 KB. Every cell becomes a sprite of a
// few hundred bytes, so this still allows half a million cells (a few hundred megabytes), not millions.
inline constexpr std::uintmax_t MapMaximumFileSize = 16u * 1024u * 1024u;

MapReadResult ReadMapBytes(std::span<const std::uint8_t> bytes, const std::string& sourceName);
// Opens read-only. A missing file gives Missing; an unreadable one Invalid.
MapReadResult ReadMapFile(const std::string& path);

std::vector<std::uint8_t> WriteMapBytes(const MapData& map);

// The host file for `path`: the exact name when it exists, else the first entry of its folder whose name
// matches ignoring ASCII letter case (maps copied from other systems end in ".MAP"), else `path` unchanged.
std::string ResolveFileName(const std::string& path);

// The host path of a name stored in a map (GBK, "\" or "/" separating folders) inside the game folder
// `appDir` (trailing separator included), each part matched ignoring letter case when the exact name is
// missing. Empty when the name is empty, is not valid GBK or would leave the game folder (absolute, a drive,
// ".."); then `refusal`, when given, says why in words (left alone for an empty name). Nothing outside the
// game folder is looked at.
std::string GameFolderPath(const std::string& appDir, const std::string& gbkName, std::string* refusal = nullptr);

}  // namespace vorlanex
