#include <SDL.h>

#include <climits>
#include <cstring>
#include <stdexcept>
#include <string>

#include "platform/sdl2/SdlAudio.h"

namespace vorlanex {

namespace {

constexpr int kRequestedRate = 44100;
constexpr int kBufferFrames = 1024;

class SdlAudioDevice final : public AudioDevice
{
public:
    ~SdlAudioDevice() override { Close(); }

    void Open(MixCallback mix) override;
    void Close() override;
    AudioFormat Format() const override { return format; }
    void Lock() override
    {
        if (device)
            SDL_LockAudioDevice(device);
    }
    void Unlock() override
    {
        if (device)
            SDL_UnlockAudioDevice(device);
    }
    std::vector<std::int16_t> Convert(const PcmFormat& from, std::span<const std::uint8_t> data) override;
    void MixSamples(std::int16_t* dst, const std::int16_t* src, int count, int volume) override
    {
        SDL_MixAudioFormat(reinterpret_cast<Uint8*>(dst), reinterpret_cast<const Uint8*>(src), AUDIO_S16SYS,
                           Uint32(count) * 2, volume);
    }

private:
    static void SDLCALL Pull(void* self, Uint8* stream, int length);

    AudioFormat format{kRequestedRate, 2};
    MixCallback callback;
    SDL_AudioDeviceID device = 0;
    bool subsystem = false;
};

void SDLCALL SdlAudioDevice::Pull(void* self, Uint8* stream, int length)
{
    auto& me = *static_cast<SdlAudioDevice*>(self);
    const int frames = length / int(sizeof(std::int16_t)) / me.format.channels;
    if (me.callback)
        me.callback(reinterpret_cast<std::int16_t*>(stream), frames);
    else
        std::memset(stream, 0, std::size_t(length));
}

void SdlAudioDevice::Open(MixCallback mix)
{
    Close();
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
        throw std::runtime_error(std::string("the audio system cannot start: ") + SDL_GetError());
    subsystem = true;
    callback = std::move(mix);
    SDL_AudioSpec want{};
    want.freq = kRequestedRate;
    want.format = AUDIO_S16SYS;
    want.channels = 2;
    want.samples = kBufferFrames;
    want.callback = &SdlAudioDevice::Pull;
    want.userdata = this;
    SDL_AudioSpec have{};
    // The device's own rate is taken as it is, so SDL does not resample behind our back.
    device = SDL_OpenAudioDevice(nullptr, 0, &want, &have, SDL_AUDIO_ALLOW_FREQUENCY_CHANGE);
    if (device == 0)
    {
        const std::string why = SDL_GetError();
        Close();
        throw std::runtime_error("no audio device can be opened: " + why);
    }
    format = {have.freq, have.channels};
    SDL_PauseAudioDevice(device, 0);
}

void SdlAudioDevice::Close()
{
    if (device)
        SDL_CloseAudioDevice(device);   // returns after the last callback has finished
    device = 0;
    callback = nullptr;
    if (subsystem)
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    subsystem = false;
}

// One SDL_AudioCVT pass over the whole sound: exact, and nothing of the tail is lost.
std::vector<std::int16_t> SdlAudioDevice::Convert(const PcmFormat& from, std::span<const std::uint8_t> data)
{
    if ((from.bits != 8 && from.bits != 16) || from.channels < 1 || from.channels > 2 || from.frequency <= 0)
        throw std::runtime_error("cannot convert " + std::to_string(from.bits) + "-bit PCM of " +
                                 std::to_string(from.channels) + " channels");
    const std::size_t frameBytes = std::size_t(from.channels * from.bits / 8);
    const std::size_t length = data.size() - data.size() % frameBytes;
    if (length == 0)
        return {};
    SDL_AudioCVT cvt;
    const SDL_AudioFormat source = from.bits == 8 ? AUDIO_U8 : AUDIO_S16LSB;
    if (SDL_BuildAudioCVT(&cvt, source, Uint8(from.channels), from.frequency, AUDIO_S16SYS, Uint8(format.channels),
                          format.frequency) < 0)
        throw std::runtime_error(std::string("cannot convert the sound: ") + SDL_GetError());
    const std::size_t multiple = std::size_t(cvt.len_mult > 0 ? cvt.len_mult : 1);
    if (length > std::size_t(INT_MAX) / multiple)
        throw std::runtime_error("the sound is too long to convert");
    std::vector<std::uint8_t> buffer(length * multiple);
    std::memcpy(buffer.data(), data.data(), length);
    cvt.buf = buffer.data();
    cvt.len = int(length);
    cvt.len_cvt = int(length);
    if (cvt.needed && SDL_ConvertAudio(&cvt) < 0)
        throw std::runtime_error(std::string("cannot convert the sound: ") + SDL_GetError());
    const std::size_t samples = std::size_t(cvt.len_cvt) / 2;
    std::vector<std::int16_t> out(samples - samples % std::size_t(format.channels));
    std::memcpy(out.data(), buffer.data(), out.size() * 2);
    return out;
}

}  // namespace

std::unique_ptr<AudioDevice> MakeSdlAudioDevice() { return std::make_unique<SdlAudioDevice>(); }

}  // namespace vorlanex
