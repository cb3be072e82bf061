#include <algorithm>
#include <stdexcept>

#include "framework/DXSounds.h"
#include "framework/Mixer.h"
#include "framework/Wave.h"
#include "framework/WaveCollectionImpl.h"

namespace vorlanex {

namespace {

// How long a waiting PlayWave tolerates a position that does not move (a stalled device) before giving up.
constexpr std::uint32_t kStallLimitMs = 1000;
constexpr std::uint32_t kWaitStepMs = 10;

}  // namespace

TWaveCollectionItem::TWaveCollectionItem(TWaveCollection& collection) : impl(std::make_unique<Impl>(collection)) {}

TWaveCollectionItem::~TWaveCollectionItem()
{
    FreeBuffers();
    impl->collection.impl->index.Remove(this, impl->name);
}

const std::string& TWaveCollectionItem::Name() const { return impl->name; }

void TWaveCollectionItem::SetName(const std::string& name)
{
    impl->collection.impl->index.Rename(this, impl->name, name);
    impl->name = name;
}

bool TWaveCollectionItem::Looped() const { return impl->looped; }

void TWaveCollectionItem::SetLooped(bool looped)
{
    Stop();
    impl->looped = looped;
}

int TWaveCollectionItem::MaxPlayingCount() const { return impl->maxPlayingCount; }

void TWaveCollectionItem::SetMaxPlayingCount(int count)
{
    count = std::max(count, 0);
    if (count == impl->maxPlayingCount)
        return;
    impl->maxPlayingCount = count;
    if (impl->loaded)
        impl->copies.clear();
}

bool TWaveCollectionItem::IsLoaded() const { return impl->loaded; }

void TWaveCollectionItem::LoadWaveFromFile(const std::string& path)
{
    Wave wave;
    wave.LoadFromFile(path);
    ReplaceWave(std::move(wave));
}

void TWaveCollectionItem::LoadWaveFromBytes(std::vector<std::uint8_t> bytes, const std::string& sourceName)
{
    Wave wave;
    wave.LoadFromBytes(std::move(bytes), sourceName);
    ReplaceWave(std::move(wave));
}

// Buffers made from the old sound would go on playing it, so a loaded item rebuilds them at once.
void TWaveCollectionItem::ReplaceWave(Wave&& wave)
{
    FreeBuffers();
    *impl->wave = std::move(wave);
    if (impl->loaded)
        Restore();
}

const Wave& TWaveCollectionItem::WaveData() const { return *impl->wave; }

int TWaveCollectionItem::Frequency() const { return impl->frequency; }
void TWaveCollectionItem::SetFrequency(int hz) { impl->frequency = hz; }
int TWaveCollectionItem::Pan() const { return impl->pan; }
void TWaveCollectionItem::SetPan(int pan) { impl->pan = pan; }
int TWaveCollectionItem::Volume() const { return impl->volume; }
void TWaveCollectionItem::SetVolume(int volume) { impl->volume = volume; }

void TWaveCollectionItem::Play(bool wait)
{
    if (!impl->loaded || !impl->master)
        return;
    if (impl->looped)
    {
        impl->master->Restart(true, impl->frequency, impl->pan, impl->volume);
        return;
    }
    SoundBuffer& copy = ChooseCopy();
    copy.Restart(false, impl->frequency, impl->pan, impl->volume);
    if (wait)
        WaitFor(copy);
}

// The first free copy; at the limit the longest-unchosen copy is cut off; else a new copy.
SoundBuffer& TWaveCollectionItem::ChooseCopy()
{
    auto& copies = impl->copies;
    for (auto& copy : copies)
        if (!copy->IsPlaying())
            return *copy;
    if (impl->maxPlayingCount > 0 && int(copies.size()) >= impl->maxPlayingCount)
    {
        std::rotate(copies.begin(), copies.begin() + 1, copies.end());
        return *copies.back();
    }
    copies.push_back(impl->master->Duplicate());
    return *copies.back();
}

void TWaveCollectionItem::WaitFor(const SoundBuffer& copy)
{
    Clock* clock = impl->clock;
    if (!clock)
        return;
    std::size_t lastPosition = copy.PositionFrames();
    std::uint32_t stalledMs = 0;
    while (copy.IsPlaying() && stalledMs < kStallLimitMs)
    {
        clock->SleepMs(kWaitStepMs);
        const std::size_t position = copy.PositionFrames();
        stalledMs = position == lastPosition ? stalledMs + kWaitStepMs : 0;
        lastPosition = position;
    }
}

void TWaveCollectionItem::Stop()
{
    if (!impl->loaded)
        return;
    if (impl->master)
        impl->master->Stop();
    for (auto& copy : impl->copies)
        copy->Stop();
}

bool TWaveCollectionItem::IsPlaying() const
{
    if (impl->master && impl->master->IsPlaying())
        return true;
    return std::any_of(impl->copies.begin(), impl->copies.end(), [](const auto& c) { return c->IsPlaying(); });
}

const SoundBuffer* TWaveCollectionItem::MasterBuffer() const { return impl->master.get(); }

int TWaveCollectionItem::CopyCount() const { return int(impl->copies.size()); }

const SoundBuffer& TWaveCollectionItem::Copy(int index) const
{
    if (index < 0 || index >= CopyCount())
        throw std::out_of_range("Index of the list exceeds the range. (" + std::to_string(index) + ")");
    return *impl->copies[std::size_t(index)];
}

void TWaveCollectionItem::Initialize(TDXSound& sound)
{
    impl->loaded = true;
    impl->mixer = sound.ActiveMixer();
    impl->clock = sound.SoundClock();
}

void TWaveCollectionItem::Restore()
{
    if (!impl->loaded || !impl->mixer || impl->wave->Empty() || impl->master)
        return;
    const Wave& wave = *impl->wave;
    auto data = impl->mixer->Convert(wave.Format().Pcm(), wave.Data());
    impl->master = std::make_unique<SoundBuffer>(*impl->mixer, std::move(data));
}

void TWaveCollectionItem::Finalize()
{
    FreeBuffers();
    impl->loaded = false;
    impl->mixer = nullptr;
}

void TWaveCollectionItem::FreeBuffers()
{
    impl->copies.clear();
    impl->master.reset();
}

}  // namespace vorlanex
