#pragma once
// Sound buffers and the mixer that plays them on the audio device.
// A buffer is one play position over converted samples that any number of buffers may share;
// the mixer runs on the audio thread and adds every playing buffer into the device's output.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "platform/Audio.h"

namespace vorlanex {

// A whole sound in the device format, converted once and shared by a master buffer and its copies.
struct ConvertedWave
{
    std::vector<std::int16_t> samples;   // interleaved, device channels
    int channels = 2;
    int sourceRate = 0;                  // the wave's own rate, the base of a buffer's Frequency

    std::size_t Frames() const { return channels > 0 ? samples.size() / std::size_t(channels) : 0; }
};

class Mixer;

class SoundBuffer
{
public:
    SoundBuffer(Mixer& mixer, std::shared_ptr<const ConvertedWave> data);
    ~SoundBuffer();
    SoundBuffer(const SoundBuffer&) = delete;
    SoundBuffer& operator=(const SoundBuffer&) = delete;

    // A new buffer over the same samples, stopped at position 0.
    std::unique_ptr<SoundBuffer> Duplicate() const;

    // Stops, rewinds, takes frequency (Hz, 0 = the wave's own rate), pan and volume (hundredths of a
    // decibel: pan -10000 left .. 10000 right, volume -10000 .. 0 full) and starts, all under one lock.
    void Restart(bool looping, int frequency, int pan, int volume);
    void Stop();
    bool IsPlaying() const;
    std::size_t PositionFrames() const;
    const std::shared_ptr<const ConvertedWave>& Data() const { return data; }

private:
    friend class Mixer;
    void ApplySettings(int frequency, int pan, int volume);
    // Audio thread, device lock held by the caller.
    void Render(std::int16_t* out, int frames, AudioDevice& device, std::span<std::int16_t> scratch);
    void Advance(int frames);
    void MixPlain(std::int16_t* out, int frames, AudioDevice& device);
    int RenderShaped(std::int16_t* dst, int frames);

    Mixer& mixer;
    std::shared_ptr<const ConvertedWave> data;
    std::uint64_t position = 0;   // frames, 16.16 fixed point
    std::uint64_t step = 1u << 16;
    bool playing = false;
    bool looping = false;
    bool plain = true;            // unit rate and full, centred volume: mixed straight from the samples
    int leftGain = 65536, rightGain = 65536;   // 16.16
};

class Mixer
{
public:
    explicit Mixer(AudioDevice& device);
    ~Mixer();
    Mixer(const Mixer&) = delete;
    Mixer& operator=(const Mixer&) = delete;

    AudioDevice& Device() const { return device; }
    // Converts a PCM sound to the device format for buffers to share.
    std::shared_ptr<const ConvertedWave> Convert(const PcmFormat& format, std::span<const std::uint8_t> data) const;

    // The device callback: fills `frames` frames of `out` with every playing buffer; `out` null = advance only.
    void Mix(std::int16_t* out, int frames);
    int BufferCount() const;

private:
    friend class SoundBuffer;
    void Register(SoundBuffer* buffer);
    void Unregister(SoundBuffer* buffer);

    static constexpr int kScratchFrames = 1024;
    AudioDevice& device;
    int channels;
    std::vector<SoundBuffer*> buffers;
    std::vector<std::int16_t> scratch;
};

}  // namespace vorlanex
