// The sound mixer's cost per audio buffer, and the cost of firing an effect that has a free copy.

#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "framework/DXSounds.h"
#include "framework/Mixer.h"
#include "framework/Wave.h"
#include "platform/null/NullAudio.h"
#include "platform/null/NullPlatform.h"
#include "platform/sdl2/SdlAudio.h"

namespace vorlanex {
namespace {

constexpr int kBufferFrames = 1024;
constexpr int kVoices = 32;

// Eight different two-second sounds, four looping voices on each, all playing at once.
void MixVoices(benchmark::State& state, std::unique_ptr<AudioDevice> device)
{
    Mixer mixer(*device);
    std::vector<std::unique_ptr<SoundBuffer>> voices;
    std::uint32_t noise = 1;
    for (int sound = 0; sound < 8; ++sound)
    {
        auto wave = std::make_shared<ConvertedWave>();
        wave->samples.resize(std::size_t(2 * 44100 * 2));
        for (auto& s : wave->samples)
            s = std::int16_t((noise = noise * 1664525u + 1013904223u) >> 20);
        for (int copy = 0; copy < kVoices / 8; ++copy)
        {
            voices.push_back(std::make_unique<SoundBuffer>(mixer, wave));
            voices.back()->Restart(true, 0, 0, 0);
        }
    }
    const double bufferSeconds = double(kBufferFrames) / device->Format().frequency;
    std::vector<std::int16_t> out(std::size_t(kBufferFrames) * 2);
    for (auto _ : state)
    {
        mixer.Mix(out.data(), kBufferFrames);
        benchmark::DoNotOptimize(out.data());
    }
    // Time per buffer in percent of the buffer's playing time.
    state.counters["percent_of_realtime"] = benchmark::Counter(
        bufferSeconds / 100.0, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_Mix32Voices(benchmark::State& state) { MixVoices(state, MakeSdlAudioDevice()); }
BENCHMARK(BM_Mix32Voices);

void BM_Mix32VoicesPortable(benchmark::State& state)
{
    ManualClock clock;
    MixVoices(state, MakeNullAudioDevice(clock));
}
BENCHMARK(BM_Mix32VoicesPortable);

void BM_PlayWaveFreeCopy(benchmark::State& state)
{
    ManualClock clock;
    TDXSound sound([&clock] { return MakeNullAudioDevice(clock); }, &clock);
    TDXWaveList list;
    list.SetDXSound(&sound);
    sound.StartSound();
    TWaveCollectionItem& item = list.Items.Add();
    item.LoadWaveFromBytes(MakeWaveImage({11025, 2, 8}, std::vector<std::uint8_t>(5916, 140)), "kan!!");
    for (int i = 0; i < 5; ++i)
        PlayWave(item, false);
    for (auto _ : state)
    {
        StopWave(item);
        PlayWave(item, false);
    }
}
BENCHMARK(BM_PlayWaveFreeCopy);

}  // namespace
}  // namespace vorlanex
