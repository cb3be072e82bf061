// The sprite engine's share of a battle frame, and one bullet's collision test, over a full map.

#include <benchmark/benchmark.h>

#include "FullMap.h"

namespace vorlanex {
namespace {

using bench::FullMap;

void BM_EngineFrameFullMap(benchmark::State& state)
{
    FullMap map;
    for (auto _ : state)
    {
        map.engine.Move(16);
        map.engine.FreeKilled();
        map.engine.Draw();
        benchmark::DoNotOptimize(map.form->DXDraw.BackSurface.Bits());
    }
    state.counters["sprites"] = map.engine.SpriteCount;
    state.counters["drawn"] = map.engine.DrawnCount;
}
BENCHMARK(BM_EngineFrameFullMap)->Unit(benchmark::kMicrosecond);

void BM_CheckHitsFullMap(benchmark::State& state)
{
    FullMap map;
    auto* bullet = new TImageSprite(&map.engine);
    bullet->X = 500;
    bullet->Y = 300;
    bullet->Width = bullet->Height = 8;
    bullet->SetZ(7);
    int hits = 0;
    for (auto _ : state)
    {
        hits = bullet->CheckHits();
        benchmark::DoNotOptimize(hits);
    }
    state.counters["hits"] = hits;
}
BENCHMARK(BM_CheckHitsFullMap)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace vorlanex
