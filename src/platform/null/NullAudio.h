#pragma once
// A silent audio device for tests and headless runs: it is open and "plays", mixing into nothing,
// while play positions advance with the clock, so what is playing when is the same as on a real device.

#include <memory>

#include "platform/Audio.h"
#include "platform/Platform.h"

namespace vorlanex {

class NullAudioDevice final : public AudioDevice
{
public:
    NullAudioDevice(Clock& clock, AudioFormat format);

    void Open(MixCallback callback) override;
    void Close() override;
    AudioFormat Format() const override { return format; }
    // Each lock first runs the callback for the frames that the clock says have been played.
    void Lock() override;
    void Unlock() override {}
    std::vector<std::int16_t> Convert(const PcmFormat& from, std::span<const std::uint8_t> data) override;
    void MixSamples(std::int16_t* dst, const std::int16_t* src, int count, int volume) override;

    bool IsOpen() const { return open; }
    std::uint64_t FramesPlayed() const { return framesDone; }

private:
    void Pump();

    Clock& clock;
    AudioFormat format;
    MixCallback callback;
    bool open = false;
    bool pumping = false;
    std::uint32_t openedAt = 0;
    std::uint64_t framesDone = 0;
};

std::unique_ptr<AudioDevice> MakeNullAudioDevice(Clock& clock, AudioFormat format = {});

}  // namespace vorlanex
