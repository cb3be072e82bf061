// The tile library "图库.TIL": every tile of data/tiles/tiles.txt drawn and stored as a bitmap followed by
// its flags and durability, in the storages its path names.

#include <fstream>
#include <set>
#include <sstream>
#include <stdexcept>

#include "../Assetgen.h"
#include "TilePainters.h"
#include "framework/Bitmap.h"
#include "framework/CompoundFileNames.h"
#include "framework/CompoundFileWriter.h"
#include "platform/common/Gbk.h"

namespace vorlanex::assetgen {

namespace {

struct TileDefinition
{
    std::vector<std::u16string> path;
    std::uint8_t flags = 0;
    std::int32_t durability = 0;
    TilePainter painter = nullptr;
    Rgb colour;
};

[[noreturn]] void Fail(const std::string& source, int line, const std::string& what)
{
    throw std::runtime_error(source + ":" + std::to_string(line) + ": " + what);
}

std::vector<std::u16string> ParsePath(const std::string& text, const std::string& source, int line)
{
    Utf8ToGbk(text);   // maps store tile names in GBK: a name must have a GBK form
    std::vector<std::u16string> parts;
    std::stringstream in(text);
    for (std::string part; std::getline(in, part, '\\');)
    {
        parts.push_back(CompoundNameFromUtf8(part));
        if (!IsValidCompoundName(parts.back()))
            Fail(source, line, "'" + part + "' cannot be a storage or stream name");
    }
    if (parts.size() != 2 && parts.size() != 3)
        Fail(source, line, "a tile path has two or three parts separated by '\\'");
    return parts;
}

TileDefinition ParseLine(const std::string& text, const std::string& source, int line)
{
    std::istringstream in(text);
    std::string path, look, colour;
    int flags = -1;
    long long durability = 0;
    if (!(in >> path >> flags >> durability >> look >> colour))
        Fail(source, line, "expected: path flags durability look #RRGGBB");
    TileDefinition d;
    d.path = ParsePath(path, source, line);
    if (flags < 0 || flags > 3)
        Fail(source, line, "flags are 0 to 3");
    if (durability < 1 || durability > 0x7FFFFFFF)
        Fail(source, line, "durability is 1 to 2147483647");
    d.flags = std::uint8_t(flags);
    d.durability = std::int32_t(durability);
    d.painter = FindTilePainter(look);
    if (!d.painter)
        Fail(source, line, "unknown look '" + look + "'");
    if (colour.size() != 7 || colour[0] != '#' || colour.find_first_not_of("0123456789abcdefABCDEF", 1) != std::string::npos)
        Fail(source, line, "colour is written #RRGGBB");
    d.colour = FromHex(std::uint32_t(std::stoul(colour.substr(1), nullptr, 16)));
    return d;
}

std::vector<TileDefinition> ReadDefinitions(const std::filesystem::path& file)
{
    std::ifstream in(file);
    if (!in)
        throw std::runtime_error("cannot read " + file.string());
    std::vector<TileDefinition> tiles;
    std::set<std::vector<std::u16string>> seen;
    int line = 0;
    for (std::string text; std::getline(in, text);)
    {
        ++line;
        const auto first = text.find_first_not_of(" \t\r");
        if (first == std::string::npos || text[first] == '#')
            continue;
        tiles.push_back(ParseLine(text, file.string(), line));
        // The library finds names regardless of letter case, so two tiles may not differ only by it.
        std::vector<std::u16string> key = tiles.back().path;
        for (auto& part : key)
            for (auto& unit : part)
                unit = UpperCaseNameUnit(unit);
        if (!seen.insert(key).second)
            Fail(file.string(), line, "tile defined twice");
    }
    return tiles;
}

std::vector<std::uint8_t> TileStream(const TileDefinition& tile)
{
    TileCanvas canvas;
    tile.painter(canvas, tile.colour);
    std::vector<std::uint8_t> bytes = TBitmap::TrueColor(TileSize, TileSize, canvas.ToColors()).ToBmp();
    bytes.push_back(tile.flags);
    for (int i = 0; i < 4; ++i)
        bytes.push_back(std::uint8_t(std::uint32_t(tile.durability) >> (8 * i)));
    return bytes;
}

void BuildTileLibrary(const Context& ctx, std::vector<AssetEntry>&)
{
    CompoundFileWriter library;
    for (const TileDefinition& tile : ReadDefinitions(ctx.dataSource / "tiles" / "tiles.txt"))
        library.AddStream(tile.path, TileStream(tile));
    WriteFileIfChanged(ctx.outDir / std::filesystem::path(u8"图库.TIL"), library.Build());
}

const RegisterStep step{50, "tiles", BuildTileLibrary};

}  // namespace

}  // namespace vorlanex::assetgen
