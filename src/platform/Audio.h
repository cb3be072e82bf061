#pragma once
// Audio output of the platform: one device that pulls mixed samples from a callback.
// The sound catalogue (framework/DXSounds) is the only user.

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <vector>

namespace vorlanex {

class Clock;

struct AudioFormat
{
    int frequency = 44100;   // frames per second
    int channels = 2;        // interleaved signed 16-bit samples
};

// Uncompressed PCM as stored in a wave: 8-bit samples are unsigned, 16-bit ones signed little-endian.
struct PcmFormat
{
    int frequency = 0;
    int channels = 0;
    int bits = 0;
};

class AudioDevice
{
public:
    // Fills `frames` frames of interleaved signed 16-bit samples; called on the audio thread.
    // `out` may be null: the callee then only advances its play positions by `frames`.
    using MixCallback = std::function<void(std::int16_t* out, int frames)>;

    virtual ~AudioDevice() = default;
    // Opens the device and starts pulling; throws std::runtime_error when no device can be opened.
    virtual void Open(MixCallback callback) = 0;
    virtual void Close() = 0;
    virtual AudioFormat Format() const = 0;
    // Guards state shared with the callback.
    virtual void Lock() = 0;
    virtual void Unlock() = 0;
    // Converts a whole PCM sound to the device format in one go (exact: no tail is dropped).
    // Throws std::runtime_error for a format the converter cannot handle.
    virtual std::vector<std::int16_t> Convert(const PcmFormat& from, std::span<const std::uint8_t> data) = 0;
    // Adds `count` samples of src into dst, saturating; volume 0..128 (128 = unchanged).
    virtual void MixSamples(std::int16_t* dst, const std::int16_t* src, int count, int volume) = 0;
};

// Holds the device lock for a scope.
class AudioLock
{
public:
    explicit AudioLock(AudioDevice& device) : device(device) { device.Lock(); }
    ~AudioLock() { device.Unlock(); }
    AudioLock(const AudioLock&) = delete;
    AudioLock& operator=(const AudioLock&) = delete;

private:
    AudioDevice& device;
};

}  // namespace vorlanex
