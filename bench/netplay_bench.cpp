// What network play adds to a frame: the lockstep turn (collecting, sending and merging the events) and the
// state digest every 30 frames, next to the frames of a whole game run alone.

#include <benchmark/benchmark.h>

#include "platform/null/LoopbackNetwork.h"
#include "shell/net/SharedStateDigest.h"
#include "support/LockstepMachine.h"

namespace vorlanex {
namespace {

constexpr int kFramesPerIteration = 30;
constexpr int kIterations = 100;

struct SoloGame
{
    SoloGame()
    {
        platform = MakeNullPlatform(&parts);
        auto overlaid = std::make_unique<OverlayEvents>(std::move(platform.events));
        OverlayEvents* overlay = overlaid.get();
        platform.events = std::move(overlaid);
        GameConfig config;
        config.appDir = std::string(VORLANEX_BUILD_DIR) + "/";
        config.seed = 4;
        config.unpaced = true;
        config.builtinAssets = BuiltinAssetArchive();
        form = std::make_unique<TMainForm>(platform, config);
        form->FormCreate();
        form->Game.Difficulty = 2;   // as the host offers it below
        run.unpaced = true;
        run.script = ParseInputScript("6 press Space\n", "solo").events;
        run.afterUnpacedFrame = [this] { parts.clock->now += 33; };
        loop = std::make_unique<GameLoop>(*form, overlay, run);
    }
    NullPlatformParts parts;
    Platform platform;
    std::unique_ptr<TMainForm> form;
    RunOptions run;
    std::unique_ptr<GameLoop> loop;
};

void BM_GameFramesAlone(benchmark::State& state)
{
    SoloGame game;
    for (auto _ : state)
        for (int i = 0; i < kFramesPerIteration; ++i)
            game.loop->Pass();
    state.SetItemsProcessed(std::int64_t(state.iterations()) * kFramesPerIteration);
    state.counters["frame"] = double(game.form->FrameCalls);
}
BENCHMARK(BM_GameFramesAlone)->Unit(benchmark::kMillisecond)->Iterations(kIterations);

// The state digest of a battle under way, which each machine takes every 30 frames.
void BM_SharedStateDigest(benchmark::State& state)
{
    SoloGame game;
    for (int i = 0; i < 600; ++i)
        game.loop->Pass();
    for (auto _ : state)
        benchmark::DoNotOptimize(SharedStateDigest(*game.form));
    state.counters["sprites"] = double(game.form->SpriteEngine.Engine->ChildCount());
}
BENCHMARK(BM_SharedStateDigest)->Unit(benchmark::kMicrosecond);

// One turn of both machines, with a key and a pad stick on each side: collecting, encoding, sending, receiving,
// decoding and merging. Per machine it is half of this.
void BM_LockstepTurn(benchmark::State& state)
{
    LoopbackPair net = MakeLoopbackPair();
    ManualClock clock;
    LockstepSession host(*net.first, clock, NetRole::Host, testing::Identity());
    LockstepSession guest(*net.second, clock, NetRole::Guest, testing::Identity());
    host.Offer({1, 1, 1, 3});
    net.first->Host(1);
    net.second->Connect("host", 1);
    for (int i = 0; i < 4; ++i)
    {
        guest.Service(0);
        host.Service(0);
    }
    InputEvent key;
    key.kind = EventKind::KeyDown;
    key.key = 0x26;
    InputEvent stick;
    stick.kind = EventKind::PadAxis;
    std::size_t merged = 0;
    for (auto _ : state)
    {
        for (LockstepSession* side : {&host, &guest})
        {
            side->AddLocal(key);
            stick.axisValue = int(merged & 0x7FFF);
            side->AddLocal(stick);
            side->Service(0);
            if (auto turn = side->TakeTurn())
                merged += turn->size();
        }
    }
    if (host.State() != SessionState::Playing || guest.State() != SessionState::Playing)
        state.SkipWithError("the session ended");
    state.counters["events"] = benchmark::Counter(double(merged), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_LockstepTurn);

}  // namespace
}  // namespace vorlanex
