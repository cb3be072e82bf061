// A whole title frame: backdrop, turned translucent logo, status line, ticker and cursor.

#include <benchmark/benchmark.h>

#include "TextGame.h"

using namespace vorlanex;

static void BM_TitleFrame(benchmark::State& state)
{
    bench::TextGame game;
    for (auto _ : state)
        game.Frame();
    if (game.form.Scene != Scene::Title || !game.form.ReportedErrors().empty())
        state.SkipWithError(game.ErrorOr("the title did not start"));
}
BENCHMARK(BM_TitleFrame)->Unit(benchmark::kMicrosecond);
