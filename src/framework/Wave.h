#pragma once
// Wave data: a complete RIFF WAVE file image with its PCM format block and the place of its samples.

#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/Audio.h"

namespace vorlanex {

// A wave that cannot be read; the message names the file: "<file>: <what is wrong>".
class WaveError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// The "fmt " chunk's fixed part.
struct WaveFormat
{
    std::uint16_t formatTag = 0;        // 1 = PCM
    std::uint16_t channels = 0;
    std::uint32_t samplesPerSec = 0;
    std::uint32_t avgBytesPerSec = 0;
    std::uint16_t blockAlign = 0;
    std::uint16_t bitsPerSample = 0;

    PcmFormat Pcm() const { return {int(samplesPerSec), int(channels), int(bitsPerSample)}; }
};

class Wave
{
public:
    // The largest wave file we agree to read: six minutes of CD-quality sound. The longest sound of the game,
    // the music, is a few megabytes, and a wave is held twice once converted for the device.
    static constexpr std::size_t kMaxFileSize = 64u << 20;

    bool Empty() const { return dataSize == 0; }
    void Clear();

    // Parses a RIFF WAVE image (validated completely before anything is kept); throws WaveError
    // "<sourceName>: ..." and leaves the wave unchanged on failure.
    void LoadFromBytes(std::vector<std::uint8_t> bytes, const std::string& sourceName);
    // Reads a file opened read-only; throws WaveError naming the file.
    void LoadFromFile(const std::string& path);

    const WaveFormat& Format() const { return format; }
    // The whole "fmt " chunk as stored (it may be longer than WaveFormat).
    std::span<const std::uint8_t> FormatBlock() const;
    // The sample bytes, cut to whole frames.
    std::span<const std::uint8_t> Data() const;
    std::size_t Frames() const { return format.blockAlign ? dataSize / format.blockAlign : 0; }
    const std::vector<std::uint8_t>& Image() const { return image; }

private:
    std::vector<std::uint8_t> image;
    WaveFormat format;
    std::size_t formatOffset = 0, formatSize = 0;
    std::size_t dataOffset = 0, dataSize = 0;
};

// Builds a canonical RIFF WAVE image (PCM "fmt " then "data") from sample bytes.
std::vector<std::uint8_t> MakeWaveImage(const PcmFormat& format, std::span<const std::uint8_t> data);

}  // namespace vorlanex
