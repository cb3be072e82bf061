#include "maps/MapFile.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <limits>
#include <system_error>

#include "framework/DataFile.h"
#include "maps/ByteStream.h"
#include "platform/common/Gbk.h"

namespace vorlanex {

namespace {

constexpr std::array<std::uint8_t, MapMagicSize> magicBytes = {
    0x51, 0x75, 0x6f, 0x72, 0x76, 0x61, 0xb5, 0xc4, 0x56, 0x6f, 0x72, 0x6c, 0x61, 0x6e, 0x65, 0x78,
    0xb5, 0xd8, 0xcd, 0xbc, 0x56, 0x45, 0x52, 0x53, 0x49, 0x4f, 0x4e, 0x20, 0x31, 0x2e, 0x30};

MapReadResult Failure(MapReadStatus status, const std::string& sourceName, const std::string& what)
{
    MapReadResult r;
    r.Status = status;
    r.Message = "Map file '" + sourceName + "': " + what;
    return r;
}

// A name length must be 0 or more and fit in what is left; a short name field is not a truncation the game
// can live with, since the name decides the picture.
bool ReadName(ByteStream& in, std::string& name, std::string& error)
{
    std::int32_t n = 0;
    const std::size_t at = in.Position();
    in.ReadInt(n);
    if (n < 0 || std::size_t(n) > in.Remaining())
    {
        error = "name length " + std::to_string(n) + " at offset " + std::to_string(at) + " is " +
                (n < 0 ? "negative" : "larger than the rest of the file (" + std::to_string(in.Remaining()) + " bytes)");
        return false;
    }
    name = in.ReadText(std::size_t(n));
    return true;
}

bool ReadLayer(ByteStream& in, int layer, std::vector<TCell>& cells, std::string& error)
{
    std::int32_t count = 0;
    const std::size_t at = in.Position();
    in.ReadInt(count);
    // Records cut off at the end of the file keep their defaults, but every announced record must at least
    // fit at its smallest, so a hostile count cannot make us allocate what the file could never hold.
    if (count < 0 || std::size_t(count) > in.Remaining() / MapCellFixedSize)
    {
        error = "layer " + std::to_string(layer) + " cell count " + std::to_string(count) + " at offset " +
                std::to_string(at) + " is " +
                (count < 0 ? "negative" : "more than the rest of the file can hold (" +
                                              std::to_string(in.Remaining()) + " bytes)");
        return false;
    }
    cells.assign(std::size_t(count), TCell{});
    for (TCell& cell : cells)
    {
        if (in.Remaining() == 0)
            break;
        in.ReadInt(cell.Col);
        in.ReadInt(cell.Row);
        in.ReadByte(cell.Reserved1);
        in.ReadInt(cell.Reserved2);
        in.ReadInt(cell.Reserved3);
        if (!ReadName(in, cell.TileName, error))
        {
            error = "layer " + std::to_string(layer) + " tile " + error;
            return false;
        }
    }
    return true;
}

void PutInt(std::vector<std::uint8_t>& out, std::int32_t v)
{
    const auto u = std::uint32_t(v);
    for (int i = 0; i < 4; ++i)
        out.push_back(std::uint8_t(u >> (8 * i)));
}

void PutText(std::vector<std::uint8_t>& out, const std::string& s)
{
    if (s.size() > std::size_t(std::numeric_limits<std::int32_t>::max()))
        throw std::length_error("map text too long");
    PutInt(out, std::int32_t(s.size()));
    out.insert(out.end(), s.begin(), s.end());
}

bool SameIgnoringAsciiCase(const std::string& a, const std::string& b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
    {
        auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i]))
            return false;
    }
    return true;
}

// The entry of `folder` named `name`, exactly or else ignoring case; empty when there is none.
std::filesystem::path FindEntry(const std::filesystem::path& folder, const std::string& name)
{
    std::error_code ec;
    std::filesystem::path exact = folder / name;
    if (std::filesystem::exists(exact, ec))
        return exact;
    std::filesystem::directory_iterator it(folder.empty() ? std::filesystem::path(".") : folder, ec);
    for (; !ec && it != std::filesystem::directory_iterator(); it.increment(ec))
        if (SameIgnoringAsciiCase(it->path().filename().string(), name))
            return folder / it->path().filename();
    return {};
}

std::vector<std::string> SplitStoredName(const std::string& name)
{
    std::vector<std::string> parts;
    std::string part;
    for (char c : name + "\\")
    {
        if (c != '\\' && c != '/')
        {
            part += c;
            continue;
        }
        if (!part.empty() && part != ".")
            parts.push_back(part);
        part.clear();
    }
    return parts;
}

}  // namespace

std::string ResolveFileName(const std::string& path)
{
    std::error_code ec;
    if (std::filesystem::exists(path, ec))
        return path;
    const std::filesystem::path p(path);
    const std::filesystem::path found = FindEntry(p.parent_path(), p.filename().string());
    return found.empty() ? path : found.string();
}

std::string GameFolderPath(const std::string& appDir, const std::string& gbkName, std::string* refusal)
{
    const auto refuse = [refusal](const std::string& why) {
        if (refusal)
            *refusal = why;
        return std::string();
    };
    std::string name;
    try
    {
        name = GbkToUtf8(gbkName);
    }
    catch (const TextEncodingError&)
    {
        return refuse("name is not valid GBK text");
    }
    const std::string quoted = "name '" + name + "'";
    const bool absolute = !name.empty() && (name[0] == '\\' || name[0] == '/');
    if (absolute || name.find(':') != std::string::npos)
        return refuse(quoted + " is an absolute path, outside the game folder");
    if (name.find('\0') != std::string::npos)
        return refuse("name holds a zero byte");
    const std::vector<std::string> parts = SplitStoredName(name);
    if (parts.empty())
        return {};
    for (const std::string& part : parts)
        if (part == "..")
            return refuse(quoted + " leaves the game folder ('..')");
    std::filesystem::path result(appDir);
    for (const std::string& part : parts)
    {
        const std::filesystem::path found = FindEntry(result, part);
        result = found.empty() ? result / part : found;
    }
    return result.string();
}

std::span<const std::uint8_t, MapMagicSize> MapMagic() { return magicBytes; }

MapReadResult ReadMapBytes(std::span<const std::uint8_t> bytes, const std::string& sourceName)
{
    if (bytes.size() < MapMagicSize || std::memcmp(bytes.data(), magicBytes.data(), MapMagicSize) != 0)
        return Failure(MapReadStatus::WrongMagic, sourceName, "not a map file (wrong magic)");
    MapReadResult result;
    MapData& map = result.Map;
    ByteStream in(bytes.subspan(MapMagicSize));
    for (TCellPoint& p : map.EnemySpawnPoints)
    {
        in.ReadInt(p.Column);
        in.ReadInt(p.Row);
    }
    in.ReadInt(map.PlayerStart.Column);
    in.ReadInt(map.PlayerStart.Row);
    if (bytes.size() <= MapMinimumSizeExclusive)
    {
        // The spawn and start cells are read before the size is checked, and the game keeps them.
        MapReadResult shortFile = Failure(MapReadStatus::TooShort, sourceName,
                                          "only " + std::to_string(bytes.size()) + " bytes, too short to hold a level");
        shortFile.Map.EnemySpawnPoints = map.EnemySpawnPoints;
        shortFile.Map.PlayerStart = map.PlayerStart;
        return shortFile;
    }
    std::string error;
    if (!ReadName(in, map.BackgroundFileName, error))
        return Failure(MapReadStatus::Invalid, sourceName, "background " + error);
    for (int layer = 0; layer < 3; ++layer)
        if (!ReadLayer(in, layer + 1, map.Layers[std::size_t(layer)], error))
            return Failure(MapReadStatus::Invalid, sourceName, error);
    return result;
}

MapReadResult ReadMapFile(const std::string& path)
{
    const std::string name = ResolveFileName(path);
    if (struct stat st {}; ::stat(name.c_str(), &st) != 0)
        return Failure(MapReadStatus::Missing, path, std::strerror(errno));
    std::vector<std::uint8_t> bytes;
    try
    {
        bytes = ReadDataFile(name, MapMaximumFileSize, "a map file");
    }
    catch (const DataFileError& e)
    {
        return Failure(MapReadStatus::Invalid, path, e.Problem());
    }
    return ReadMapBytes(bytes, path);
}

std::vector<std::uint8_t> WriteMapBytes(const MapData& map)
{
    std::vector<std::uint8_t> out(magicBytes.begin(), magicBytes.end());
    for (const TCellPoint& p : map.EnemySpawnPoints)
    {
        PutInt(out, p.Column);
        PutInt(out, p.Row);
    }
    PutInt(out, map.PlayerStart.Column);
    PutInt(out, map.PlayerStart.Row);
    PutText(out, map.BackgroundFileName);
    for (const auto& layer : map.Layers)
    {
        PutInt(out, std::int32_t(layer.size()));
        for (const TCell& cell : layer)
        {
            PutInt(out, cell.Col);
            PutInt(out, cell.Row);
            out.push_back(cell.Reserved1);
            PutInt(out, cell.Reserved2);
            PutInt(out, cell.Reserved3);
            PutText(out, cell.TileName);
        }
    }
    return out;
}

}  // namespace vorlanex
