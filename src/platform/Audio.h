#pragma once
// Audio output of the platform: one device that pulls mixed samples from a callback.
// The sound catalogue (framework/DXSounds) is the only user.

#include <cstdint>
#include <functional>

namespace vorlanex {

struct AudioFormat
{
    int frequency = 44100;   // frames per second
    int channels = 2;        // interleaved signed 16-bit samples
};

class AudioDevice
{
public:
    // Fills `frames` frames of interleaved signed 16-bit samples; called on the audio thread.
    using MixCallback = std::function<void(std::int16_t* out, int frames)>;

    virtual ~AudioDevice() = default;
    // Opens the device and starts pulling; throws std::runtime_error when no device can be opened.
    virtual void Open(MixCallback callback) = 0;
    virtual void Close() = 0;
    virtual AudioFormat Format() const = 0;
    // Guards state shared with the callback.
    virtual void Lock() = 0;
    virtual void Unlock() = 0;
};

}  // namespace vorlanex
