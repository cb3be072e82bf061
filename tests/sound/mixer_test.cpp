// Mixing buffers into the device output, the two converters, and the SDL device's opening rules.

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <thread>

#include "SoundTesting.h"
#include "framework/Mixer.h"
#include "platform/common/PcmConvert.h"
#include "platform/sdl2/SdlAudio.h"

namespace vorlanex {
namespace {

using namespace testing;

std::shared_ptr<const ConvertedWave> Samples(std::vector<std::int16_t> stereo, int sourceRate = 44100)
{
    auto wave = std::make_shared<ConvertedWave>();
    wave->samples = std::move(stereo);
    wave->channels = 2;
    wave->sourceRate = sourceRate;
    return wave;
}

// A mixer on both kinds of device: the null one mixes portably, the SDL one with SDL (unopened is enough).
class MixerTest : public ::testing::TestWithParam<bool>
{
protected:
    MixerTest() : device(GetParam() ? MakeSdlAudioDevice() : MakeNullAudioDevice(clock)), mixer(*device) {}
    std::vector<std::int16_t> Run(int frames)
    {
        std::vector<std::int16_t> out(std::size_t(frames) * 2, 12345);
        mixer.Mix(out.data(), frames);
        return out;
    }

    ManualClock clock;
    std::unique_ptr<AudioDevice> device;
    Mixer mixer;
};

TEST_P(MixerTest, VoicesAddUpAndClipInsteadOfWrapping)
{
    SoundBuffer a(mixer, Samples({1000, -1000, 30000, -30000, 5, 6}));
    SoundBuffer b(mixer, Samples({2000, -2000, 30000, -30000, 7, 8}));
    a.Restart(false, 0, 0, 0);
    b.Restart(false, 0, 0, 0);
    EXPECT_EQ(Run(4), (std::vector<std::int16_t>{3000, -3000, 32767, -32768, 12, 14, 0, 0}));
    EXPECT_FALSE(a.IsPlaying());
    EXPECT_EQ(Run(2), (std::vector<std::int16_t>{0, 0, 0, 0})) << "finished voices add nothing";
}

TEST_P(MixerTest, ALoopWrapsWithoutAGap)
{
    SoundBuffer loop(mixer, Samples({1, -1, 2, -2, 3, -3}));
    loop.Restart(true, 0, 0, 0);
    EXPECT_EQ(Run(7), (std::vector<std::int16_t>{1, -1, 2, -2, 3, -3, 1, -1, 2, -2, 3, -3, 1, -1}));
    EXPECT_TRUE(loop.IsPlaying());
    EXPECT_EQ(loop.PositionFrames(), 1u);
}

TEST_P(MixerTest, FrequencyPanAndVolumeShapeTheVoice)
{
    std::vector<std::int16_t> ramp;
    for (int i = 0; i < 8; ++i)
        ramp.insert(ramp.end(), {std::int16_t(1000 * i), std::int16_t(1000 * i)});
    SoundBuffer voice(mixer, Samples(ramp, 11025));

    voice.Restart(false, 22050, 0, 0);   // twice its own rate: every other frame, done in half the time
    const auto fast = Run(5);
    EXPECT_EQ(fast[2], 2000);
    EXPECT_EQ(fast[6], 6000);
    EXPECT_EQ(fast[8], 0);
    EXPECT_FALSE(voice.IsPlaying());

    voice.Restart(false, 0, 0, -602);   // -6.02 dB: half the amplitude
    EXPECT_NEAR(Run(8)[14], 3500, 5);

    voice.Restart(false, 0, 10000, 0);   // hard right: the left side falls silent
    const auto right = Run(8);
    EXPECT_EQ(right[14], 0);
    EXPECT_EQ(right[15], 7000);
}

TEST_P(MixerTest, AdvancingWithoutOutputMovesLikeMixing)
{
    SoundBuffer once(mixer, Samples(std::vector<std::int16_t>(200, 1)));
    SoundBuffer loop(mixer, Samples(std::vector<std::int16_t>(200, 1)));
    once.Restart(false, 0, 0, 0);
    loop.Restart(true, 0, 0, 0);
    mixer.Mix(nullptr, 60);
    EXPECT_EQ(once.PositionFrames(), 60u);
    mixer.Mix(nullptr, 250);
    EXPECT_FALSE(once.IsPlaying());
    EXPECT_EQ(loop.PositionFrames(), 10u);
}

INSTANTIATE_TEST_SUITE_P(Devices, MixerTest, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Sdl" : "Portable"; });

TEST(PcmConvert, MapsSampleSizesAndChannelsExactly)
{
    const std::vector<std::uint8_t> bytes8 = {0, 128, 255};
    EXPECT_EQ(ConvertPcm({11025, 1, 8}, bytes8, {11025, 2}),
              (std::vector<std::int16_t>{-32768, -32768, 0, 0, 32512, 32512}));
    const std::vector<std::uint8_t> stereo16 = {0x10, 0x00, 0x30, 0x00, 0x00, 0x80, 0xFF, 0x7F};
    EXPECT_EQ(ConvertPcm({8000, 2, 16}, stereo16, {8000, 1}), (std::vector<std::int16_t>{32, 0}));
    EXPECT_THROW(ConvertPcm({8000, 3, 16}, stereo16, {8000, 2}), std::runtime_error);
}

TEST(PcmConvert, RaisingTheRateKeepsEveryOriginalSample)
{
    std::vector<std::uint8_t> bytes;
    for (int i = 0; i < 100; ++i)
        bytes.push_back(std::uint8_t(128 + 100 * std::sin(i * 0.3)));
    const auto out = ConvertPcm({11025, 1, 8}, bytes, {44100, 1});
    ASSERT_EQ(out.size(), 400u);
    for (std::size_t i = 0; i < 100; ++i)
        EXPECT_EQ(out[4 * i], (int(bytes[i]) - 128) * 256) << i;
    EXPECT_EQ(ConvertPcm({22050, 1, 8}, bytes, {44100, 2}).size(), 400u);
    EXPECT_EQ(ConvertPcm({48000, 1, 8}, bytes, {44100, 2}).size(), 2u * (100 * 44100 / 48000));
}

// The environment is set for one test and put back afterwards.
class ScopedDriver
{
public:
    explicit ScopedDriver(const char* driver)
    {
        if (const char* old = std::getenv("SDL_AUDIODRIVER"))
            saved = old;
        setenv("SDL_AUDIODRIVER", driver, 1);
    }
    ~ScopedDriver()
    {
        if (saved.empty())
            unsetenv("SDL_AUDIODRIVER");
        else
            setenv("SDL_AUDIODRIVER", saved.c_str(), 1);
    }

private:
    std::string saved;
};

TEST(SdlAudio, ADeviceThatCannotOpenRaisesFromStartSound)
{
    ScopedDriver driver("nowhere");
    ManualClock clock;
    TDXSound sound(MakeSdlAudioDevice, &clock);
    try
    {
        sound.StartSound();
        FAIL() << "a device opened on a driver that does not exist";
    }
    catch (const SoundDeviceError& e)
    {
        EXPECT_EQ(std::string(e.what()).rfind("Primary Buffer cannot be made (", 0), 0u) << e.what();
    }
    EXPECT_FALSE(sound.Initialized());
}

TEST(SdlAudio, TheDummyDriverPlaysCopiesToTheirEnd)
{
    ScopedDriver driver("dummy");
    ManualClock clock;
    TDXSound sound(MakeSdlAudioDevice, &clock);
    TDXWaveList list;
    list.SetDXSound(&sound);
    sound.StartSound();
    TWaveCollectionItem& item = list.Items.Add();
    item.LoadWaveFromBytes(SimpleWave(1102), "tenth.wav");   // a tenth of a second
    PlayWave(item, false);
    EXPECT_TRUE(item.IsPlaying());
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(3);
    while (item.IsPlaying() && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_FALSE(item.IsPlaying()) << "the device's callback never played the copy out";
}

}  // namespace
}  // namespace vorlanex
