#include "platform/common/PcmConvert.h"

#include <algorithm>
#include <stdexcept>
#include <string>

namespace vorlanex {

namespace {

// Decodes one sample as signed 16 bits: 8-bit samples are centred on 128.
std::int16_t SampleAt(std::span<const std::uint8_t> data, int bits, std::size_t index)
{
    if (bits == 8)
        return std::int16_t((int(data[index]) - 128) * 256);
    return std::int16_t(std::uint16_t(data[2 * index] | (data[2 * index + 1] << 8)));
}

// One output frame's channel `ch` taken from an input frame, mapping mono <-> stereo.
int ChannelOf(std::span<const std::uint8_t> data, const PcmFormat& from, std::size_t frame, int ch, int outChannels)
{
    const std::size_t base = frame * std::size_t(from.channels);
    if (from.channels == outChannels)
        return SampleAt(data, from.bits, base + std::size_t(ch));
    if (from.channels == 1)
        return SampleAt(data, from.bits, base);
    return (SampleAt(data, from.bits, base) + SampleAt(data, from.bits, base + 1)) / 2;
}

}  // namespace

std::vector<std::int16_t> ConvertPcm(const PcmFormat& from, std::span<const std::uint8_t> data, const AudioFormat& to)
{
    if ((from.bits != 8 && from.bits != 16) || from.channels < 1 || from.channels > 2 || from.frequency <= 0 ||
        to.channels < 1 || to.channels > 2 || to.frequency <= 0)
        throw std::runtime_error("cannot convert " + std::to_string(from.bits) + "-bit PCM of " +
                                 std::to_string(from.channels) + " channels at " + std::to_string(from.frequency) +
                                 " Hz");
    const std::size_t inFrames = data.size() / std::size_t(from.channels * from.bits / 8);
    if (inFrames == 0)
        return {};
    const std::uint64_t srcRate = std::uint64_t(from.frequency), dstRate = std::uint64_t(to.frequency);
    const std::size_t outFrames = std::max<std::size_t>(1, std::size_t(inFrames * dstRate / srcRate));
    std::vector<std::int16_t> out(outFrames * std::size_t(to.channels));
    for (std::size_t i = 0; i < outFrames; ++i)
    {
        // Exact rational position: whole input frame plus a remainder over dstRate.
        const std::uint64_t scaled = i * srcRate;
        const std::size_t frame = std::size_t(scaled / dstRate);
        const std::uint64_t frac = scaled % dstRate;
        const std::size_t next = std::min(frame + 1, inFrames - 1);
        for (int ch = 0; ch < to.channels; ++ch)
        {
            const std::int64_t a = ChannelOf(data, from, frame, ch, to.channels);
            const std::int64_t b = ChannelOf(data, from, next, ch, to.channels);
            out[i * std::size_t(to.channels) + std::size_t(ch)] =
                std::int16_t(a + (b - a) * std::int64_t(frac) / std::int64_t(dstRate));
        }
    }
    return out;
}

void MixSaturating(std::int16_t* dst, const std::int16_t* src, int count, int volume)
{
    if (volume >= 128)
    {
        for (int i = 0; i < count; ++i)
            dst[i] = std::int16_t(std::clamp(dst[i] + src[i], -32768, 32767));
        return;
    }
    for (int i = 0; i < count; ++i)
    {
        const int sum = dst[i] + src[i] * volume / 128;
        dst[i] = std::int16_t(std::clamp(sum, -32768, 32767));
    }
}

}  // namespace vorlanex
