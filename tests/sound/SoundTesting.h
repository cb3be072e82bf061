#pragma once
// Helpers for the sound tests: hand-made RIFF images, and a catalogue on a null device with a manual clock.

#include <cstdint>
#include <string>
#include <vector>

#include "framework/DXSounds.h"
#include "framework/Mixer.h"
#include "framework/Wave.h"
#include "platform/null/NullAudio.h"
#include "platform/null/NullPlatform.h"

namespace vorlanex::testing {

inline void PutLe(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.push_back(std::uint8_t(value >> (8 * i)));
}

// A chunk with its true size, or a claimed size that lies.
inline void PutChunk(std::vector<std::uint8_t>& out, const char* id, const std::vector<std::uint8_t>& body,
                     std::int64_t claimedSize = -1)
{
    out.insert(out.end(), id, id + 4);
    PutLe(out, std::uint32_t(claimedSize >= 0 ? claimedSize : std::int64_t(body.size())), 4);
    out.insert(out.end(), body.begin(), body.end());
    if (body.size() & 1)
        out.push_back(0);
}

inline std::vector<std::uint8_t> FmtBody(int tag, int channels, int rate, int bits, int extra = 0)
{
    std::vector<std::uint8_t> f;
    PutLe(f, std::uint32_t(tag), 2);
    PutLe(f, std::uint32_t(channels), 2);
    PutLe(f, std::uint32_t(rate), 4);
    PutLe(f, std::uint32_t(rate * channels * bits / 8), 4);
    PutLe(f, std::uint32_t(channels * bits / 8), 2);
    PutLe(f, std::uint32_t(bits), 2);
    f.resize(f.size() + std::size_t(extra), 0);
    return f;
}

inline std::vector<std::uint8_t> RiffHeader()
{
    std::vector<std::uint8_t> out = {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E'};
    return out;
}

// A mono 8-bit wave of `frames` frames at `rate`, every sample `value`.
inline std::vector<std::uint8_t> SimpleWave(std::size_t frames, int rate = 11025, std::uint8_t value = 200)
{
    const std::vector<std::uint8_t> data(frames, value);
    return MakeWaveImage({rate, 1, 8}, data);
}

// A started sound device on a null audio device whose time is the test's manual clock.
struct SoundRig
{
    explicit SoundRig(AudioFormat format = {44100, 2})
        : sound([this, format] { return MakeNullAudioDevice(clock, format); }, &clock)
    {
        list.SetDXSound(&sound);
        sound.StartSound();
    }

    // Adds an item named `name` holding a mono 8-bit wave of `ms` milliseconds at 11025 Hz.
    TWaveCollectionItem& AddWave(const std::string& name, int ms, int maxPlaying = 0, bool looped = false)
    {
        TWaveCollectionItem& item = list.Items.Add();
        item.LoadWaveFromBytes(SimpleWave(std::size_t(ms) * 11025 / 1000), name);
        item.SetName(name);
        item.SetLooped(looped);
        item.SetMaxPlayingCount(maxPlaying);
        return item;
    }

    int PlayingCopies(const TWaveCollectionItem& item) const
    {
        int playing = 0;
        for (int i = 0; i < item.CopyCount(); ++i)
            playing += item.Copy(i).IsPlaying() ? 1 : 0;
        return playing;
    }

    ManualClock clock;
    TDXSound sound;
    TDXWaveList list;
};

}  // namespace vorlanex::testing
