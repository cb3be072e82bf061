// The help ticker with a 10 MB line and no line break: a frame must cost about what BM_FrameText's
// screen-wide lines cost (run both in one go: --benchmark_filter='BM_FrameText|BM_TickerLongLine').

#include <benchmark/benchmark.h>

#include <string>

#include "TextGame.h"

using namespace vorlanex;

static void BM_TickerLongLine(benchmark::State& state)
{
    bench::TextGame game;
    TMainForm& form = game.form;
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
