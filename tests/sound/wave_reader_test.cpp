// The RIFF WAVE reader: chunk walking, and hostile files rejected with a clear message.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <unistd.h>

#include "SoundTesting.h"

namespace vorlanex {
namespace {

using namespace testing;

std::vector<std::uint8_t> Samples(std::size_t n)
{
    std::vector<std::uint8_t> data(n);
    for (std::size_t i = 0; i < n; ++i)
        data[i] = std::uint8_t(i * 7 + 3);
    return data;
}

std::string ErrorOf(std::vector<std::uint8_t> bytes)
{
    Wave wave;
    try
    {
        wave.LoadFromBytes(std::move(bytes), "bad.wav");
    }
    catch (const WaveError& e)
    {
        return e.what();
    }
    return "";
}

TEST(WaveReader, FindsDataAfterSkippedChunksOfOddSize)
{
    const auto data = Samples(9);   // odd: the data chunk itself needs a pad byte too
    auto bytes = RiffHeader();
    PutChunk(bytes, "LIST", {1, 2, 3});                        // odd size, one pad byte follows
    PutChunk(bytes, "fmt ", FmtBody(1, 1, 22050, 8, 2));        // longer than 16 bytes: read as long as it says
    PutChunk(bytes, "junk", {9, 9, 9, 9, 9});
    PutChunk(bytes, "data", data);
    Wave wave;
    wave.LoadFromBytes(bytes, "odd.wav");
    EXPECT_EQ(wave.Format().samplesPerSec, 22050u);
    EXPECT_EQ(wave.FormatBlock().size(), 18u);
    EXPECT_EQ(std::vector<std::uint8_t>(wave.Data().begin(), wave.Data().end()), data);
    EXPECT_EQ(wave.Frames(), 9u);
}

TEST(WaveReader, CutsDataToWholeFramesAndIgnoresTheRiffLength)
{
    auto bytes = RiffHeader();   // RIFF length left 0: the chunks are read to the end of the bytes
    PutChunk(bytes, "fmt ", FmtBody(1, 2, 11025, 16));
    PutChunk(bytes, "data", Samples(10));   // two and a half stereo 16-bit frames
    Wave wave;
    wave.LoadFromBytes(bytes, "x.wav");
    EXPECT_EQ(wave.Frames(), 2u);
    EXPECT_EQ(wave.Data().size(), 8u);
}

TEST(WaveReader, AcceptsExtensiblePcmAndRoundTripsItsOwnImages)
{
    auto fmt = FmtBody(0xFFFE, 2, 44100, 16, 24);
    fmt[16] = 22;
    fmt[24] = 1;   // sub-format GUID starting with the PCM tag
    auto bytes = RiffHeader();
    PutChunk(bytes, "fmt ", fmt);
    PutChunk(bytes, "data", Samples(8));
    Wave wave;
    wave.LoadFromBytes(bytes, "ext.wav");
    EXPECT_EQ(wave.Format().formatTag, 1);

    Wave again;
    again.LoadFromBytes(MakeWaveImage({8000, 1, 8}, Samples(5)), "made.wav");
    EXPECT_EQ(again.Frames(), 5u);
    EXPECT_EQ(again.Format().bitsPerSample, 8);
}

TEST(WaveReader, RejectsHostileFilesWithAMessageNamingTheFile)
{
    auto valid = [](auto&& fmt, std::int64_t dataClaim = -1) {
        auto bytes = RiffHeader();
        PutChunk(bytes, "fmt ", fmt);
        PutChunk(bytes, "data", Samples(16), dataClaim);
        return bytes;
    };
    EXPECT_EQ(ErrorOf({'R', 'I', 'F'}), "bad.wav: Wave is invalid");
    EXPECT_EQ(ErrorOf({'R', 'I', 'F', 'X', 0, 0, 0, 0, 'W', 'A', 'V', 'E'}), "bad.wav: Wave is invalid");
    EXPECT_EQ(ErrorOf({'R', 'I', 'F', 'F', 0, 0, 0, 0, 'A', 'V', 'I', ' '}), "bad.wav: Wave is invalid");

    struct Case
    {
        std::vector<std::uint8_t> bytes;
        const char* expected;
    };
    auto noData = RiffHeader();
    PutChunk(noData, "fmt ", FmtBody(1, 1, 11025, 8));
    auto noFmt = RiffHeader();
    PutChunk(noFmt, "data", Samples(4));
    auto hugeFmt = RiffHeader();
    PutChunk(hugeFmt, "fmt ", FmtBody(1, 1, 11025, 8), 0x7FFFFFF0);
    auto truncated = valid(FmtBody(1, 1, 11025, 8));
    truncated.resize(truncated.size() - 5);
    const Case cases[] = {
        {noData, "no \"data\" chunk"},
        {noFmt, "no \"fmt \" chunk"},
        {hugeFmt, "\"fmt \" chunk claims 2147483632 bytes"},
        {valid(FmtBody(1, 1, 11025, 8), 0xFFFFFFFF), "\"data\" chunk claims 4294967295 bytes"},
        {truncated, "\"data\" chunk claims 16 bytes but only 11"},
        {valid(std::vector<std::uint8_t>(10, 0)), "\"fmt \" chunk is too short"},
        {valid(FmtBody(2, 1, 11025, 4)), "not PCM (format tag 2)"},
        {valid(FmtBody(0xFFFE, 1, 11025, 16)), "not PCM"},
        {valid(FmtBody(1, 0, 11025, 8)), "channel count 0"},
        {valid(FmtBody(1, 6, 11025, 16)), "channel count 6"},
        {valid(FmtBody(1, 1, 11025, 24)), "24 bits"},
        {valid(FmtBody(1, 1, 0, 8)), "sample rate 0"},
        {valid(FmtBody(1, 1, 100000000, 8)), "sample rate 100000000"},
    };
    for (const Case& c : cases)
    {
        const std::string error = ErrorOf(c.bytes);
        EXPECT_EQ(error.rfind("bad.wav: ", 0), 0u) << error;
        EXPECT_NE(error.find(c.expected), std::string::npos) << "expected '" << c.expected << "' in: " << error;
    }

    auto badAlign = FmtBody(1, 2, 11025, 16);
    badAlign[12] = 3;
    EXPECT_NE(ErrorOf(valid(badAlign)).find("block size 3"), std::string::npos);
}

TEST(WaveReader, AFailedLoadKeepsThePreviousWave)
{
    Wave wave;
    wave.LoadFromBytes(SimpleWave(50), "good.wav");
    EXPECT_THROW(wave.LoadFromBytes({'R', 'I', 'F', 'F'}, "bad.wav"), WaveError);
    EXPECT_EQ(wave.Frames(), 50u);
}

TEST(WaveReader, ReadsFilesReadOnlyAndNamesMissingOnes)
{
    const auto dir = std::filesystem::temp_directory_path() / ("vorlanex-wave-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const auto path = dir / "locked.wav";
    {
        const auto bytes = SimpleWave(100);
        std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    }
    std::filesystem::permissions(path, std::filesystem::perms::owner_read);
    Wave wave;
    wave.LoadFromFile(path.string());
    EXPECT_EQ(wave.Frames(), 100u);

    try
    {
        wave.LoadFromFile((dir / "missing.wav").string());
        FAIL() << "a missing file loaded";
    }
    catch (const WaveError& e)
    {
        EXPECT_NE(std::string(e.what()).find("missing.wav: No such file or directory"), std::string::npos) << e.what();
    }
    EXPECT_THROW(wave.LoadFromFile(dir.string()), WaveError);
    std::filesystem::permissions(path, std::filesystem::perms::owner_all);
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace vorlanex
