// The help ticker with a 10 MB line and no line break: a frame must cost about what BM_FrameText's
// screen-wide lines cost (run both in one go: --benchmark_filter='BM_FrameText|BM_TickerLongLine').

#include <benchmark/benchmark.h>

#include <string>

#include "assets/BuiltinAssets.h"
#include "platform/null/NullAudio.h"
#include "platform/null/NullPlatform.h"
#include "platform/sdl2/SdlPlatform.h"
#include "shell/MainForm.h"

using namespace vorlanex;

static void BM_TickerLongLine(benchmark::State& state)
{
    NullPlatformParts parts;
    Platform platform = MakeNullPlatform(&parts);
    platform.text = MakeSdlText();   // real glyphs, as the game draws them
    GameConfig config;
    config.appDir = VORLANEX_BUILD_DIR "/";
    config.seed = 1;
    config.unpaced = true;
    config.builtinAssets = BuiltinAssetArchive();
    TMainForm form(platform, config);
    form.FormCreate();
    std::string line;
    while (line.size() < (10u << 20))
        line += "方向键移动坦克，空格键开火。Space fires, arrows drive. ";
    form.memo = {line};
    form.Game.TickerOn = 1;
    for (auto _ : state)
        form.DrawTicker();
    if (form.Game.TickerLine != 0)
        state.SkipWithError("the ticker left its line");
}
BENCHMARK(BM_TickerLongLine)->Unit(benchmark::kMicrosecond);
