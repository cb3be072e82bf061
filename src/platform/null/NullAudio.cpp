#include "platform/null/NullAudio.h"

#include <algorithm>
#include <climits>

#include "platform/common/PcmConvert.h"

namespace vorlanex {

NullAudioDevice::NullAudioDevice(Clock& clock, AudioFormat format) : clock(clock), format(format) {}

void NullAudioDevice::Open(MixCallback mix)
{
    callback = std::move(mix);
    openedAt = clock.NowMs();
    framesDone = 0;
    open = true;
}

void NullAudioDevice::Close()
{
    open = false;
    callback = nullptr;
}

void NullAudioDevice::Lock() { Pump(); }

// Frames are counted from the opening, so rounding never accumulates over many small steps.
void NullAudioDevice::Pump()
{
    if (!open || pumping || !callback)
        return;
    const std::uint64_t elapsedMs = std::uint32_t(clock.NowMs() - openedAt);
    const std::uint64_t due = elapsedMs * std::uint64_t(format.frequency) / 1000;
    pumping = true;
    while (framesDone < due)
    {
        const int frames = int(std::min<std::uint64_t>(due - framesDone, INT_MAX / 2));
        callback(nullptr, frames);
        framesDone += std::uint64_t(frames);
    }
    pumping = false;
}

std::vector<std::int16_t> NullAudioDevice::Convert(const PcmFormat& from, std::span<const std::uint8_t> data)
{
    return ConvertPcm(from, data, format);
}

void NullAudioDevice::MixSamples(std::int16_t* dst, const std::int16_t* src, int count, int volume)
{
    MixSaturating(dst, src, count, volume);
}

std::unique_ptr<AudioDevice> MakeNullAudioDevice(Clock& clock, AudioFormat format)
{
    return std::make_unique<NullAudioDevice>(clock, format);
}

}  // namespace vorlanex
