// Loading a level: the map read, every cell turned into a terrain sprite with its tile read from the library,
// and the loading screen shown, as the battle's entry does it.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <unistd.h>

#include "assets/BuiltinAssets.h"
#include "maps/MapFile.h"
#include "platform/common/Gbk.h"
#include "platform/null/NullPlatform.h"
#include "shell/MainForm.h"

namespace vorlanex {
namespace {

// A game folder with the built data and a map whose three layers fill every cell: 3 x 768 cells.
class LevelGame
{
public:
    LevelGame()
    {
        folder = std::filesystem::temp_directory_path() / ("vorlanex-level-bench-" + std::to_string(::getpid()));
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
        const std::filesystem::path build(VORLANEX_BUILD_DIR);
        for (const auto& entry : std::filesystem::directory_iterator(build))
        {
            const std::string ext = entry.path().extension().string();
            if (ext == ".map" || ext == ".BMP" || ext == ".TIL" || ext == ".wav")
                std::filesystem::copy_file(entry.path(), folder / entry.path().filename());
        }
        std::filesystem::copy(build / "地图背景", folder / "地图背景", std::filesystem::copy_options::recursive);
        WriteFullMap();

        platform = MakeNullPlatform();
        platform.clock = std::make_unique<SteadyClock>();   // the loading screen paces itself by real time
        GameConfig config;
        config.appDir = folder.string() + "/";
        config.seed = 1;
        config.unpaced = true;
        config.builtinAssets = BuiltinAssetArchive();
        form = std::make_unique<TMainForm>(platform, config);
        form->FormCreate();
    }
    ~LevelGame()
    {
        form.reset();
        std::filesystem::remove_all(folder);
    }

    std::string Path(const std::string& name) const { return (folder / name).string(); }

    std::filesystem::path folder;
    Platform platform;
    std::unique_ptr<TMainForm> form;

private:
    void WriteFullMap()
    {
        const char* ground[] = {"地形\\地面\\草地", "地形\\道路\\土路", "地形\\地面\\冰面", "地形\\道路\\石板路"};
        const char* walls[] = {"砖墙\\红砖", "钢板\\钢墙", "水面\\河水", "砖墙\\木箱", "砖墙\\灰砖"};
        const char* cover[] = {"植被\\树林", "植被\\灌木"};
        MapData map;
        map.BackgroundFileName = Utf8ToGbk("地图背景\\草地.BMP");
        for (int row = 0; row < 24; ++row)
            for (int col = 0; col < 32; ++col)
            {
                const int i = row * 32 + col;
                map.Layers[0].push_back({col, row, 0, 0, 0, Utf8ToGbk(ground[i % 4])});
                map.Layers[1].push_back({col, row, 0, 0, 0, Utf8ToGbk(walls[i % 5])});
                map.Layers[2].push_back({col, row, 0, 0, 0, Utf8ToGbk(cover[i % 2])});
            }
        const std::vector<std::uint8_t> bytes = WriteMapBytes(map);
        std::FILE* out = std::fopen((folder / "FULL.map").c_str(), "wb");
        std::fwrite(bytes.data(), 1, bytes.size(), out);
        std::fclose(out);
    }
};

LevelGame& Game()
{
    static LevelGame game;
    return game;
}

void LoadLevel(benchmark::State& state, const std::string& path)
{
    LevelGame& game = Game();
    const std::size_t errors = game.form->ReportedErrors().size();   // start-up's own (no sound device) aside
    for (auto _ : state)
        game.form->LoadMap(path);
    if (game.form->ReportedErrors().size() != errors)
        state.SkipWithError(game.form->ReportedErrors().back().c_str());
    state.counters["cells"] = double(game.form->Game.LoadTotal - 3);
}

void BM_BuildFullLevel(benchmark::State& state) { LoadLevel(state, Game().Path("FULL.map")); }
BENCHMARK(BM_BuildFullLevel)->Unit(benchmark::kMillisecond);

void BM_BuildShippedLevel(benchmark::State& state)
{
    char name[32];
    std::snprintf(name, sizeof name, "MAP%03d.map", int(state.range(0)));
    LoadLevel(state, Game().Path(name));
}
BENCHMARK(BM_BuildShippedLevel)->DenseRange(1, 12)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vorlanex
