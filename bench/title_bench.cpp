// A whole title frame: backdrop, turned translucent logo, status line, ticker and cursor.

#include <benchmark/benchmark.h>

#include "assets/BuiltinAssets.h"
#include "platform/null/NullAudio.h"
#include "platform/null/NullPlatform.h"
#include "platform/sdl2/SdlPlatform.h"
#include "shell/MainForm.h"

using namespace vorlanex;

static void BM_TitleFrame(benchmark::State& state)
{
    NullPlatformParts parts;
    Platform platform = MakeNullPlatform(&parts);
    platform.text = MakeSdlText();   // real glyphs, as the game draws them
    Clock* clock = platform.clock.get();
    platform.makeAudio = [clock] { return MakeNullAudioDevice(*clock); };
    GameConfig config;
    config.appDir = VORLANEX_BUILD_DIR "/";
    config.seed = 1;
    config.unpaced = true;
    config.builtinAssets = BuiltinAssetArchive();
    TMainForm form(platform, config);
    form.FormCreate();
    for (auto _ : state)
    {
        parts.clock->now += 33;
        form.DXTimer.Idle();
    }
    if (form.Scene != 1 || !form.ReportedErrors().empty())
        state.SkipWithError(form.ReportedErrors().empty() ? "the title did not start"
                                                          : form.ReportedErrors().front().c_str());
}
BENCHMARK(BM_TitleFrame)->Unit(benchmark::kMicrosecond);
