#include "framework/Wave.h"

#include <cstring>
#include <optional>

#include "framework/DataFile.h"

namespace vorlanex {

namespace {

constexpr std::uint16_t kFormatPcm = 1;
constexpr std::uint16_t kFormatExtensible = 0xFFFE;

std::uint32_t Le32(const std::uint8_t* p)
{
    return std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16) | (std::uint32_t(p[3]) << 24);
}

std::uint16_t Le16(const std::uint8_t* p) { return std::uint16_t(p[0] | (p[1] << 8)); }

void PutLe(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.push_back(std::uint8_t(value >> (8 * i)));
}

struct ChunkPlace
{
    std::size_t offset = 0;
    std::size_t size = 0;
};

// Where the two chunks we need lie; other chunks are skipped.
struct ChunkScan
{
    std::optional<ChunkPlace> fmt;
    std::optional<ChunkPlace> data;
};

[[noreturn]] void Fail(const std::string& source, const std::string& what) { throw WaveError(source + ": " + what); }

ChunkScan ScanChunks(std::span<const std::uint8_t> bytes, const std::string& source)
{
    if (bytes.size() < 12 || std::memcmp(bytes.data(), "RIFF", 4) != 0 || std::memcmp(bytes.data() + 8, "WAVE", 4) != 0)
        Fail(source, "Wave is invalid");
    ChunkScan scan;
    // The RIFF length is not trusted: chunks are read until the bytes run out.
    std::uint64_t pos = 12;
    while (pos + 8 <= bytes.size())
    {
        const std::uint8_t* head = bytes.data() + pos;
        const std::uint64_t size = Le32(head + 4);
        const std::uint64_t body = pos + 8;
        const bool isFmt = std::memcmp(head, "fmt ", 4) == 0;
        const bool isData = std::memcmp(head, "data", 4) == 0;
        if (size > bytes.size() - body)
        {
            if ((isFmt && !scan.fmt) || (isData && !scan.data))
                Fail(source, "the \"" + std::string(isFmt ? "fmt " : "data") + "\" chunk claims " + std::to_string(size) +
                                 " bytes but only " + std::to_string(bytes.size() - body) + " are left in the file");
            break;
        }
        if (isFmt && !scan.fmt)
            scan.fmt = ChunkPlace{std::size_t(body), std::size_t(size)};
        else if (isData && !scan.data)
            scan.data = ChunkPlace{std::size_t(body), std::size_t(size)};
        pos = body + size + (size & 1);   // chunks start on even offsets
    }
    if (!scan.fmt)
        Fail(source, "the wave has no \"fmt \" chunk");
    if (!scan.data)
        Fail(source, "the wave has no \"data\" chunk");
    return scan;
}

WaveFormat ReadFormat(std::span<const std::uint8_t> block, const std::string& source)
{
    if (block.size() < 16)
        Fail(source, "the \"fmt \" chunk is too short (" + std::to_string(block.size()) + " bytes)");
    const std::uint8_t* p = block.data();
    WaveFormat f{Le16(p), Le16(p + 2), Le32(p + 4), Le32(p + 8), Le16(p + 12), Le16(p + 14)};
    if (f.formatTag == kFormatExtensible)
    {
        // An extensible block is PCM when its sub-format GUID starts with the PCM tag.
        if (block.size() < 40 || Le16(p + 24) != kFormatPcm)
            Fail(source, "the wave is not PCM (extensible format with another sub-format)");
        f.formatTag = kFormatPcm;
    }
    if (f.formatTag != kFormatPcm)
        Fail(source, "the wave is not PCM (format tag " + std::to_string(f.formatTag) + ")");
    if (f.channels != 1 && f.channels != 2)
        Fail(source, "unsupported channel count " + std::to_string(f.channels) + " (1 or 2 are played)");
    if (f.bitsPerSample != 8 && f.bitsPerSample != 16)
        Fail(source, "unsupported sample size of " + std::to_string(f.bitsPerSample) + " bits (8 or 16 are played)");
    if (f.samplesPerSec < 1000 || f.samplesPerSec > 384000)
        Fail(source, "unsupported sample rate " + std::to_string(f.samplesPerSec) + " Hz");
    if (f.blockAlign != f.channels * f.bitsPerSample / 8)
        Fail(source, "block size " + std::to_string(f.blockAlign) + " does not match " + std::to_string(f.channels) +
                         " channels of " + std::to_string(f.bitsPerSample) + " bits");
    return f;
}

}  // namespace

void Wave::Clear() { *this = Wave(); }

void Wave::LoadFromBytes(std::vector<std::uint8_t> bytes, const std::string& sourceName)
{
    if (bytes.size() > kMaxFileSize)
        Fail(sourceName, "the wave is too large (" + std::to_string(bytes.size()) + " bytes)");
    const ChunkScan scan = ScanChunks(bytes, sourceName);
    const auto block = std::span<const std::uint8_t>(bytes).subspan(scan.fmt->offset, scan.fmt->size);
    const WaveFormat parsed = ReadFormat(block, sourceName);
    image = std::move(bytes);
    format = parsed;
    formatOffset = scan.fmt->offset;
    formatSize = scan.fmt->size;
    dataOffset = scan.data->offset;
    dataSize = scan.data->size - scan.data->size % parsed.blockAlign;
}

void Wave::LoadFromFile(const std::string& path)
{
    std::vector<std::uint8_t> bytes;
    try
    {
        bytes = ReadDataFile(path, kMaxFileSize, "a wave");
    }
    catch (const DataFileError& e)
    {
        throw WaveError(e.what());
    }
    LoadFromBytes(std::move(bytes), path);
}

std::span<const std::uint8_t> Wave::FormatBlock() const
{
    return std::span<const std::uint8_t>(image).subspan(formatOffset, formatSize);
}

std::span<const std::uint8_t> Wave::Data() const
{
    return std::span<const std::uint8_t>(image).subspan(dataOffset, dataSize);
}

std::vector<std::uint8_t> MakeWaveImage(const PcmFormat& format, std::span<const std::uint8_t> data)
{
    const std::uint32_t blockAlign = std::uint32_t(format.channels * format.bits / 8);
    std::vector<std::uint8_t> out;
    out.reserve(44 + data.size() + 1);
    const std::uint32_t riffSize = std::uint32_t(36 + data.size() + (data.size() & 1));
    out.insert(out.end(), {'R', 'I', 'F', 'F'});
    PutLe(out, riffSize, 4);
    out.insert(out.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    PutLe(out, 16, 4);
    PutLe(out, kFormatPcm, 2);
    PutLe(out, std::uint32_t(format.channels), 2);
    PutLe(out, std::uint32_t(format.frequency), 4);
    PutLe(out, std::uint32_t(format.frequency) * blockAlign, 4);
    PutLe(out, blockAlign, 2);
    PutLe(out, std::uint32_t(format.bits), 2);
    out.insert(out.end(), {'d', 'a', 't', 'a'});
    PutLe(out, std::uint32_t(data.size()), 4);
    out.insert(out.end(), data.begin(), data.end());
    if (data.size() & 1)
        out.push_back(0);
    return out;
}

}  // namespace vorlanex
