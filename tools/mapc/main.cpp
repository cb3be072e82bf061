// vorlanex-mapc: turns a text map into a binary map file and back.
//   vorlanex-mapc compile in.txt out.map
//   vorlanex-mapc dump in.map [out.txt]

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>
#include <vector>

#include "maps/MapFile.h"
#include "maps/MapText.h"

namespace {

using namespace vorlanex;

// A text map is a few kilobytes; anything beyond this is not one.
constexpr std::uintmax_t maxTextSize = 16u * 1024u * 1024u;

int Usage()
{
    std::fprintf(stderr,
                 "usage: vorlanex-mapc compile IN.txt OUT.map\n"
                 "       vorlanex-mapc dump IN.map [OUT.txt]\n");
    return 2;
}

std::string ReadText(const std::string& path)
{
    std::error_code ec;
    const std::uintmax_t size = std::filesystem::file_size(path, ec);
    if (ec)
        throw std::runtime_error(path + ": cannot open (" + ec.message() + ")");
    if (size > maxTextSize)
        throw std::runtime_error(path + ": too large for a text map");
    std::ifstream in(path, std::ios::binary | std::ios::in);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (!in.good() && !in.eof())
        throw std::runtime_error(path + ": cannot read");
    return text;
}

void WriteBytes(const std::string& path, const void* data, std::size_t size)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(static_cast<const char*>(data), std::streamsize(size));
    if (!out)
        throw std::runtime_error(path + ": cannot write");
}

int Compile(const std::string& in, const std::string& out)
{
    const std::vector<std::uint8_t> bytes = WriteMapBytes(ParseMapText(ReadText(in), in));
    WriteBytes(out, bytes.data(), bytes.size());
    return 0;
}

int Dump(const std::string& in, const std::string* out)
{
    const MapReadResult read = ReadMapFile(in);
    if (read.Status != MapReadStatus::Ok)
        throw std::runtime_error(read.Message);
    const std::string text = MapToText(read.Map);
    if (out)
        WriteBytes(*out, text.data(), text.size());
    else
        std::fwrite(text.data(), 1, text.size(), stdout);
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    const std::vector<std::string> args(argv + 1, argv + argc);
    try
    {
        if (args.size() == 3 && args[0] == "compile")
            return Compile(args[1], args[2]);
        if ((args.size() == 2 || args.size() == 3) && args[0] == "dump")
            return Dump(args[1], args.size() == 3 ? &args[2] : nullptr);
    }
    catch (const std::exception& e)
    {
        std::fprintf(stderr, "vorlanex-mapc: %s\n", e.what());
        return 1;
    }
    return Usage();
}
