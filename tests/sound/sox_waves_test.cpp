// Waves written by an independent tool (sox) load, and both converters agree with sox's own conversion.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>

#include <unistd.h>

#include "SoundTesting.h"
#include "platform/common/PcmConvert.h"
#include "platform/sdl2/SdlAudio.h"

namespace vorlanex {
namespace {

class SoxWaves : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (std::system("sox --version > /dev/null 2>&1") != 0)
            GTEST_SKIP() << "sox is not installed";
        dir = std::filesystem::temp_directory_path() / ("vorlanex-sox-" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir);
    }
    void TearDown() override
    {
        if (!dir.empty())
            std::filesystem::remove_all(dir);
    }
    std::string Sox(const std::string& arguments, const std::string& file)
    {
        const std::string path = (dir / file).string();
        const std::string command = "sox " + arguments + " '" + path + "' > /dev/null 2>&1";
        EXPECT_EQ(std::system(command.c_str()), 0) << command;
        return path;
    }
    std::filesystem::path dir;
};

// Root-mean-square difference of two 16-bit streams over their common length, in full-scale units.
double RmsDifference(const std::vector<std::int16_t>& a, const std::vector<std::int16_t>& b)
{
    const std::size_t n = std::min(a.size(), b.size());
    double sum = 0;
    for (std::size_t i = 0; i < n; ++i)
        sum += std::pow((a[i] - b[i]) / 32768.0, 2);
    return std::sqrt(sum / double(n));
}

std::vector<std::int16_t> SamplesOf(const Wave& wave)
{
    std::vector<std::int16_t> out(wave.Data().size() / 2);
    for (std::size_t i = 0; i < out.size(); ++i)
        out[i] = std::int16_t(std::uint16_t(wave.Data()[2 * i] | (wave.Data()[2 * i + 1] << 8)));
    return out;
}

TEST_F(SoxWaves, LoadAndConvertLikeSoxDoes)
{
    struct Source
    {
        const char* format;
        int rate, channels, bits;
    };
    const Source sources[] = {{"-r 11025 -c 1 -b 8", 11025, 1, 8},
                              {"-r 22050 -c 2 -b 16", 22050, 2, 16},
                              {"-r 44100 -c 1 -b 16", 44100, 1, 16}};
    auto sdl = MakeSdlAudioDevice();
    const AudioFormat device = sdl->Format();
    for (const Source& s : sources)
    {
        SCOPED_TRACE(s.format);
        const std::string source = (dir / "source.wav").string();
        const std::string make = "sox -n " + std::string(s.format) + " --comment vorlanex '" + source +
                                 "' synth 0.5 sine 300 vol 0.5 > /dev/null 2>&1";
        ASSERT_EQ(std::system(make.c_str()), 0) << make;
        const std::string reference = Sox("'" + source + "' -r " + std::to_string(device.frequency) + " -c " +
                                              std::to_string(device.channels) + " -b 16",
                                          "reference.wav");
        Wave wave, expected;
        wave.LoadFromFile(source);
        expected.LoadFromFile(reference);
        ASSERT_EQ(wave.Format().Pcm().frequency, s.rate);
        ASSERT_EQ(wave.Format().channels, s.channels);
        ASSERT_EQ(wave.Format().bitsPerSample, s.bits);

        const auto want = SamplesOf(expected);
        const auto portable = ConvertPcm(wave.Format().Pcm(), wave.Data(), device);
        const auto exact = sdl->Convert(wave.Format().Pcm(), wave.Data());
        EXPECT_NEAR(double(portable.size()), double(want.size()), 2.0 * device.channels);
        EXPECT_NEAR(double(exact.size()), double(want.size()), 2.0 * device.channels);
        const double tolerance = s.bits == 8 ? 0.02 : 0.01;
        EXPECT_LT(RmsDifference(portable, want), tolerance);
        EXPECT_LT(RmsDifference(exact, want), tolerance);
    }
}

}  // namespace
}  // namespace vorlanex
