// Reading tiles from the tile library: the level builder loads one for every cell of a map, opening the
// library each time.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>

#include "framework/CompoundFile.h"
#include "framework/CompoundFileWriter.h"
#include "maps/Tiles.h"
#include "platform/common/Gbk.h"

namespace vorlanex {
namespace {

// A library shaped like the shipped one: thirteen 32 x 32 tiles in two- and three-part paths.
class BenchLibrary
{
public:
    BenchLibrary()
    {
        CompoundFileWriter writer;
        for (int i = 0; i < 13; ++i)
        {
            auto bytes = TBitmap::TrueColor(32, 32, std::vector<TColor>(1024, RGBColor(std::uint8_t(10 * i), 90, 40))).ToBmp();
            bytes.insert(bytes.end(), {3, 0xE8, 0x03, 0, 0});
            const std::u16string name = u"tile" + std::u16string(1, char16_t(u'A' + i));
            if (i % 2)
                writer.AddStream({u"地形", u"地面", name}, bytes);
            else
                writer.AddStream({u"砖墙", name}, bytes);
            paths.push_back(Utf8ToGbk(i % 2 ? "地形\\地面\\tile" : "砖墙\\tile") + char('A' + i));
        }
        file = std::filesystem::temp_directory_path() / "vorlanex-bench-tiles.til";
        const auto image = writer.Build();
        std::ofstream(file, std::ios::binary).write(reinterpret_cast<const char*>(image.data()), std::streamsize(image.size()));
    }
    ~BenchLibrary() { std::filesystem::remove(file); }

    std::filesystem::path file;
    std::vector<std::string> paths;
};

void BM_TileLoad(benchmark::State& state)
{
    const BenchLibrary library;
    TTile tile(library.file.string());
    std::size_t i = 0;
    for (auto _ : state)
    {
        tile.Path = library.paths[i++ % library.paths.size()];
        benchmark::DoNotOptimize(tile.Load());
    }
}
BENCHMARK(BM_TileLoad);

void BM_CompoundFileOpen(benchmark::State& state)
{
    const BenchLibrary library;
    for (auto _ : state)
        benchmark::DoNotOptimize(CompoundFile::Open(library.file.string()).MajorVersion());
}
BENCHMARK(BM_CompoundFileOpen);

}  // namespace
}  // namespace vorlanex
