#include "maps/MapWriter.h"

#include <limits>

namespace vorlanex {

namespace {

bool OnBattlefield(std::int32_t col, std::int32_t row)
{
    return col >= 0 && col < MapColumns && row >= 0 && row < MapRows;
}

std::string Place(std::int32_t col, std::int32_t row)
{
    return "(" + std::to_string(col) + ", " + std::to_string(row) + ")";
}

}  // namespace

std::string MapWriteRefusal(const MapData& map)
{
    for (std::size_t i = 0; i < map.EnemySpawnPoints.size(); ++i)
    {
        const TCellPoint& p = map.EnemySpawnPoints[i];
        if (!OnBattlefield(p.Column, p.Row))
            return "enemy spawn cell " + std::to_string(i + 1) + " " + Place(p.Column, p.Row) +
                   " is outside the battlefield";
    }
    if (!OnBattlefield(map.PlayerStart.Column, map.PlayerStart.Row))
        return "the players' start " + Place(map.PlayerStart.Column, map.PlayerStart.Row) +
               " is outside the battlefield";
    std::uint64_t size = MapMagicSize + 8 * 4 + 4 + map.BackgroundFileName.size();
    for (std::size_t layer = 0; layer < map.Layers.size(); ++layer)
    {
        const auto& cells = map.Layers[layer];
        if (cells.size() > std::size_t(std::numeric_limits<std::int32_t>::max()))
            return "layer " + std::to_string(layer + 1) + " holds too many cells";
        size += 4;
        for (const TCell& cell : cells)
        {
            if (!OnBattlefield(cell.Col, cell.Row))
                return "a cell of layer " + std::to_string(layer + 1) + " at " + Place(cell.Col, cell.Row) +
                       " is outside the battlefield";
            size += MapCellFixedSize + 4 + cell.TileName.size();
        }
    }
    if (size > MapMaximumFileSize)
        return "the map would take " + std::to_string(size) + " bytes, more than the game reads";
    return {};
}

std::vector<std::uint8_t> EncodeCheckedMap(const MapData& map)
{
    if (const std::string refusal = MapWriteRefusal(map); !refusal.empty())
        throw MapWriteError("The map cannot be saved: " + refusal);
    std::vector<std::uint8_t> bytes = WriteMapBytes(map);
    // The reader has the last word: what it would not give back exactly is never put on disk.
    const MapReadResult back = ReadMapBytes(bytes, "the map being saved");
    if (back.Status != MapReadStatus::Ok || back.Map != map)
        throw MapWriteError("The map cannot be saved: it would not read back as it is" +
                            (back.Message.empty() ? std::string() : " (" + back.Message + ")"));
    return bytes;
}

void SaveMapFile(const std::string& path, const MapData& map, const AtomicWriteOptions& options)
{
    const std::vector<std::uint8_t> bytes = EncodeCheckedMap(map);
    AtomicWriteOptions keeping = options;
    keeping.keepPrevious = true;
    AtomicWriteFile(path, bytes, keeping);
}

}  // namespace vorlanex
