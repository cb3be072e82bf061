#include <utility>

#include "framework/DXSounds.h"
#include "framework/Mixer.h"

namespace vorlanex {

struct TDXSound::Impl
{
    std::function<std::unique_ptr<AudioDevice>()> makeDevice;
    Clock* clock = nullptr;
    std::unique_ptr<AudioDevice> device;
    std::unique_ptr<Mixer> mixer;
    bool started = false;
    std::vector<std::pair<int, NotifyEvent>> listeners;
    int nextId = 1;
};

namespace {

// Makes and opens the platform device; any failure says why in plain words.
void OpenDevice(TDXSound::Impl& d)
{
    if (!d.makeDevice)
        throw std::runtime_error("no audio output is available");
    d.device = d.makeDevice();
    if (!d.device)
        throw std::runtime_error("no audio output is available");
    d.mixer = std::make_unique<Mixer>(*d.device);
    Mixer* mixer = d.mixer.get();
    d.device->Open([mixer](std::int16_t* out, int frames) { mixer->Mix(out, frames); });
}

}  // namespace

TDXSound::TDXSound(std::function<std::unique_ptr<AudioDevice>()> makeDevice, Clock* clock)
    : impl(std::make_unique<Impl>())
{
    impl->makeDevice = std::move(makeDevice);
    impl->clock = clock;
}

TDXSound::~TDXSound()
{
    StopSound();
    const auto listeners = impl->listeners;
    for (const auto& [id, event] : listeners)
        event(*this, SoundNotice::Destroying);
}

void TDXSound::StartSound()
{
    StopSound();
    const auto notify = [this](SoundNotice notice) {
        const auto listeners = impl->listeners;   // a listener may unregister while being told
        for (const auto& [id, event] : listeners)
            event(*this, notice);
    };
    notify(SoundNotice::Initializing);
    try
    {
        OpenDevice(*impl);
    }
    catch (const std::exception& e)
    {
        StopSound();
        throw SoundDeviceError(std::string("Primary Buffer cannot be made (") + e.what() + ")");
    }
    impl->started = true;
    notify(SoundNotice::Initialize);
    notify(SoundNotice::Restore);
}

void TDXSound::StopSound()
{
    if (impl->started)
    {
        const auto listeners = impl->listeners;
        for (const auto& [id, event] : listeners)
            event(*this, SoundNotice::Finalize);
    }
    if (impl->device)
        impl->device->Close();
    impl->mixer.reset();
    impl->device.reset();
    impl->started = false;
}

bool TDXSound::Initialized() const { return impl->started; }

int TDXSound::RegisterNotifyEvent(NotifyEvent event)
{
    const int id = impl->nextId++;
    impl->listeners.emplace_back(id, std::move(event));
    return id;
}

void TDXSound::UnRegisterNotifyEvent(int id)
{
    std::erase_if(impl->listeners, [id](const auto& entry) { return entry.first == id; });
}

Mixer* TDXSound::ActiveMixer() const { return impl->mixer.get(); }

Clock* TDXSound::SoundClock() const { return impl->clock; }

}  // namespace vorlanex
