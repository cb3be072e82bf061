#include "framework/Mixer.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace vorlanex {

namespace {

constexpr std::uint64_t kUnit = 1u << 16;

// Hundredths of a decibel of attenuation to a 16.16 gain.
int GainOf(int hundredthsDb) { return int(std::lround(65536.0 * std::pow(10.0, hundredthsDb / 2000.0))); }

std::int16_t Scale(int sample, int gain) { return std::int16_t((std::int64_t(sample) * gain) >> 16); }

}  // namespace

SoundBuffer::SoundBuffer(Mixer& mixer, std::shared_ptr<const ConvertedWave> data) : mixer(mixer), data(std::move(data))
{
    mixer.Register(this);
}

SoundBuffer::~SoundBuffer() { mixer.Unregister(this); }

std::unique_ptr<SoundBuffer> SoundBuffer::Duplicate() const { return std::make_unique<SoundBuffer>(mixer, data); }

void SoundBuffer::ApplySettings(int frequency, int pan, int volume)
{
    frequency = frequency <= 0 ? 0 : std::clamp(frequency, 100, 200000);
    pan = std::clamp(pan, -10000, 10000);
    volume = std::clamp(volume, -10000, 0);
    step = frequency == 0 || data->sourceRate <= 0 ? kUnit
                                                    : std::max<std::uint64_t>(1, std::uint64_t(frequency) * kUnit /
                                                                                     std::uint64_t(data->sourceRate));
    const int gain = GainOf(volume);
    // Panning attenuates the far side only, so a centred sound keeps its full level.
    leftGain = pan > 0 ? int((std::int64_t(gain) * GainOf(-pan)) >> 16) : gain;
    rightGain = pan < 0 ? int((std::int64_t(gain) * GainOf(pan)) >> 16) : gain;
    plain = step == kUnit && leftGain >= 65536 && rightGain >= 65536;
}

void SoundBuffer::Restart(bool loop, int frequency, int pan, int volume)
{
    AudioLock lock(mixer.Device());
    ApplySettings(frequency, pan, volume);
    position = 0;
    looping = loop;
    playing = data->Frames() > 0;
}

void SoundBuffer::Stop()
{
    AudioLock lock(mixer.Device());
    playing = false;
}

bool SoundBuffer::IsPlaying() const
{
    AudioLock lock(mixer.Device());
    return playing;
}

std::size_t SoundBuffer::PositionFrames() const
{
    AudioLock lock(mixer.Device());
    return std::size_t(position >> 16);
}

void SoundBuffer::Render(std::int16_t* out, int frames, AudioDevice& device, std::span<std::int16_t> scratch)
{
    if (!playing)
        return;
    if (!out)
        return Advance(frames);
    if (plain)
        return MixPlain(out, frames, device);
    const int channels = data->channels;
    const int chunk = int(scratch.size()) / channels;
    for (int done = 0; done < frames && playing;)
    {
        const int made = RenderShaped(scratch.data(), std::min(chunk, frames - done));
        device.MixSamples(out + std::size_t(done) * std::size_t(channels), scratch.data(), made * channels, 128);
        done += made;
    }
}

void SoundBuffer::Advance(int frames)
{
    const std::uint64_t end = std::uint64_t(data->Frames()) * kUnit;
    position += std::uint64_t(frames) * step;
    if (position < end)
        return;
    if (looping)
        position %= end;
    else
    {
        position = end;
        playing = false;
    }
}

// Straight from the shared samples, wrapping at the end of a looped sound without a gap.
void SoundBuffer::MixPlain(std::int16_t* out, int frames, AudioDevice& device)
{
    const std::size_t total = data->Frames();
    const std::size_t channels = std::size_t(data->channels);
    for (int done = 0; done < frames;)
    {
        std::size_t index = std::size_t(position >> 16);
        if (index >= total)
        {
            if (!looping)
            {
                playing = false;
                return;
            }
            position = 0;
            index = 0;
        }
        const int count = int(std::min<std::size_t>(total - index, std::size_t(frames - done)));
        device.MixSamples(out + std::size_t(done) * channels, data->samples.data() + index * channels,
                          count * int(channels), 128);
        position += std::uint64_t(count) * kUnit;
        done += count;
    }
    if (!looping && (position >> 16) >= total)
        playing = false;
}

// Resampled and attenuated into dst; returns the frames made (fewer when a one-shot sound ends).
int SoundBuffer::RenderShaped(std::int16_t* dst, int frames)
{
    const std::size_t total = data->Frames();
    const int channels = data->channels;
    const std::int16_t* samples = data->samples.data();
    for (int i = 0; i < frames; ++i)
    {
        std::size_t index = std::size_t(position >> 16);
        if (index >= total)
        {
            if (!looping)
            {
                playing = false;
                std::memset(dst + i * channels, 0, std::size_t(frames - i) * std::size_t(channels) * 2);
                return frames;
            }
            position %= std::uint64_t(total) * kUnit;
            index = std::size_t(position >> 16);
        }
        const std::int16_t* frame = samples + index * std::size_t(channels);
        if (channels == 2)
        {
            dst[2 * i] = Scale(frame[0], leftGain);
            dst[2 * i + 1] = Scale(frame[1], rightGain);
        }
        else
            dst[i] = Scale(frame[0], leftGain);
        position += step;
    }
    if (!looping && (position >> 16) >= total)
        playing = false;
    return frames;
}

Mixer::Mixer(AudioDevice& device)
    : device(device), channels(std::max(1, device.Format().channels)),
      scratch(std::size_t(kScratchFrames) * std::size_t(channels))
{
    buffers.reserve(64);
}

Mixer::~Mixer() = default;

std::shared_ptr<const ConvertedWave> Mixer::Convert(const PcmFormat& format, std::span<const std::uint8_t> data) const
{
    auto wave = std::make_shared<ConvertedWave>();
    wave->samples = device.Convert(format, data);
    wave->channels = channels;
    wave->sourceRate = format.frequency;
    return wave;
}

void Mixer::Mix(std::int16_t* out, int frames)
{
    if (out)
        std::memset(out, 0, std::size_t(frames) * std::size_t(channels) * sizeof(std::int16_t));
    for (SoundBuffer* buffer : buffers)
        buffer->Render(out, frames, device, scratch);
}

int Mixer::BufferCount() const
{
    AudioLock lock(device);
    return int(buffers.size());
}

void Mixer::Register(SoundBuffer* buffer)
{
    AudioLock lock(device);
    buffers.push_back(buffer);
}

void Mixer::Unregister(SoundBuffer* buffer)
{
    AudioLock lock(device);
    buffers.erase(std::remove(buffers.begin(), buffers.end(), buffer), buffers.end());
}

}  // namespace vorlanex
