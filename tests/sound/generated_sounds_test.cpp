// The sounds made at build time: the built-in catalogue's exact formats and the looping music.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>

#include "SoundTesting.h"
#include "framework/AssetArchive.h"
#include "framework/BuiltinWaves.h"

namespace vorlanex {
namespace {

std::vector<AssetEntry> GeneratedArchive()
{
    std::ifstream in(VORLANEX_BUILD_DIR "/generated/builtin_assets.vxa", std::ios::binary);
    EXPECT_TRUE(in) << "the build did not generate the asset archive";
    const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return ReadAssetArchive(bytes);
}

// Sample i of a wave as -1 .. 1 (channel 0).
double SampleAt(const Wave& wave, std::size_t frame)
{
    const auto data = wave.Data();
    const std::size_t at = frame * wave.Format().blockAlign;
    if (wave.Format().bitsPerSample == 8)
        return (data[at] - 128) / 128.0;
    return std::int16_t(std::uint16_t(data[at] | (data[at + 1] << 8))) / 32768.0;
}

TEST(GeneratedSounds, BuiltinWavesHaveTheCatalogueFormatsAndPlaySettings)
{
    const auto archive = GeneratedArchive();
    TDXWaveList list;
    LoadBuiltinWaves(list, archive);
    ASSERT_EQ(list.Items.Count(), int(kBuiltinWaveDefs.size()));
    for (std::size_t i = 0; i < kBuiltinWaveDefs.size(); ++i)
    {
        const WaveDef& def = kBuiltinWaveDefs[i];
        SCOPED_TRACE(def.name);
        const TWaveCollectionItem& item = list.Items.Item(int(i));
        const Wave& wave = item.WaveData();
        EXPECT_EQ(item.Name(), def.name);
        EXPECT_EQ(item.Looped(), def.looped);
        EXPECT_EQ(item.MaxPlayingCount(), def.maxPlayingCount);
        EXPECT_EQ(wave.Format().formatTag, 1);
        EXPECT_EQ(wave.Format().channels, def.channels);
        EXPECT_EQ(int(wave.Format().samplesPerSec), def.rate);
        EXPECT_EQ(wave.Format().bitsPerSample, def.bits);
        EXPECT_EQ(int(wave.Data().size()), def.dataBytes);

        // Audible, yet starting and ending at rest so that no copy clicks.
        double peak = 0;
        for (std::size_t f = 0; f < wave.Frames(); ++f)
            peak = std::max(peak, std::abs(SampleAt(wave, f)));
        EXPECT_GT(peak, 0.5);
        EXPECT_LT(std::abs(SampleAt(wave, 0)), 0.02);
        EXPECT_LT(std::abs(SampleAt(wave, wave.Frames() - 1)), 0.02);
    }
    EXPECT_EQ(&WaveFind(list, "飞机声"), &list.Items.Item(4));
}

TEST(GeneratedSounds, AMissingBuiltinWaveIsNamed)
{
    TDXWaveList list;
    try
    {
        LoadBuiltinWaves(list, {});
        FAIL() << "loaded from an empty archive";
    }
    catch (const std::runtime_error& e)
    {
        EXPECT_STREQ(e.what(), "built-in wave 'SceneMov' is missing");
    }
}

// A click is a jump that no neighbouring samples predict: compare the seam's second difference with
// the loudest second differences inside the piece.
TEST(GeneratedSounds, MusicIsALongPcmPieceThatLoopsWithoutAClick)
{
    Wave music;
    music.LoadFromFile(VORLANEX_BUILD_DIR "/背景音乐.wav");
    const std::size_t frames = music.Frames();
    ASSERT_GE(double(frames) / music.Format().samplesPerSec, 45.0);
    ASSERT_EQ(music.Format().bitsPerSample, 16);
    for (int channel = 0; channel < music.Format().channels; ++channel)
    {
        std::vector<double> x(frames);
        for (std::size_t f = 0; f < frames; ++f)
        {
            const std::size_t at = f * music.Format().blockAlign + std::size_t(channel) * 2;
            x[f] = std::int16_t(std::uint16_t(music.Data()[at] | (music.Data()[at + 1] << 8))) / 32768.0;
        }
        std::vector<double> bends;
        for (std::size_t f = 1; f + 1 < frames; ++f)
            bends.push_back(std::abs(x[f + 1] - 2 * x[f] + x[f - 1]));
        std::nth_element(bends.begin(), bends.begin() + std::ptrdiff_t(bends.size() * 999 / 1000), bends.end());
        const double usual = bends[bends.size() * 999 / 1000];
        const double seamA = std::abs(x[0] - 2 * x[frames - 1] + x[frames - 2]);
        const double seamB = std::abs(x[1] - 2 * x[0] + x[frames - 1]);
        EXPECT_LE(std::max(seamA, seamB), usual) << "channel " << channel;
    }
}

}  // namespace
}  // namespace vorlanex
