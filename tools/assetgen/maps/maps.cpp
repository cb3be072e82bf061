// The numbered map files of the game folder, compiled from the text maps in data/maps, and the background
// pictures they name.

#include <algorithm>
#include <fstream>
#include <iterator>
#include <set>
#include <stdexcept>
#include <utility>

#include "../Assetgen.h"
#include "Backgrounds.h"
#include "maps/MapFile.h"
#include "maps/MapText.h"
#include "platform/common/Gbk.h"

namespace vorlanex::assetgen {

namespace {

std::string ReadSource(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary | std::ios::in);
    if (!in)
        throw std::runtime_error("cannot read " + path.string());
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// The background's place in the game folder, part by part, from the name the map stores.
std::vector<std::string> BackgroundParts(const std::string& gbkName)
{
    std::vector<std::string> parts;
    std::string part;
    for (char c : GbkToUtf8(gbkName) + "\\")
    {
        if (c != '\\' && c != '/')
            part += c;
        else if (!part.empty())
            parts.push_back(std::exchange(part, {}));
    }
    return parts;
}

void WriteBackground(const Context& ctx, const std::filesystem::path& source, const std::string& gbkName,
                     std::set<std::filesystem::path>& written)
{
    const std::vector<std::string> parts = BackgroundParts(gbkName);
    if (parts.empty())
        return;
    std::filesystem::path target = ctx.outDir;
    for (const std::string& part : parts)
    {
        if (part == "..")
            throw std::runtime_error(source.string() + ": background '" + GbkToUtf8(gbkName) + "' leaves the game folder");
        target /= part;
    }
    if (!written.insert(target).second)
        return;
    const auto bmp = PaintBackground(parts.back());
    if (!bmp)
        throw std::runtime_error(source.string() + ": no background picture is made under the name '" + parts.back() + "'");
    WriteFileIfChanged(target, *bmp);
}

void BuildMaps(const Context& ctx, std::vector<AssetEntry>&)
{
    const std::filesystem::path folder = ctx.dataSource / "maps";
    std::vector<std::filesystem::path> sources;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        if (entry.is_regular_file() && entry.path().extension() == ".txt")
            sources.push_back(entry.path());
    std::sort(sources.begin(), sources.end());
    std::set<std::filesystem::path> written;
    for (const auto& source : sources)
    {
        const MapData map = ParseMapText(ReadSource(source), source.string());
        WriteFileIfChanged(ctx.outDir / (source.stem().string() + ".map"), WriteMapBytes(map));
        WriteBackground(ctx, source, map.BackgroundFileName, written);
    }
}

const RegisterStep step{60, "maps", BuildMaps};

}  // namespace

}  // namespace vorlanex::assetgen
