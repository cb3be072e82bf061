#pragma once
// The sound catalogue: named waves played through the sound device, with overlapping copies.
// (Interface used by the shell; the implementation lives beside it.)

#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/Audio.h"
#include "platform/Platform.h"

namespace vorlanex {

class TDXSound;
class TWaveCollection;
class Wave;   // RIFF WAVE image, framework/Wave.h
class Mixer;
class SoundBuffer;

// The sound device could not start: "Primary Buffer cannot be made (<why>)".
class SoundDeviceError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

class TWaveCollectionItem
{
public:
    explicit TWaveCollectionItem(TWaveCollection& collection);
    ~TWaveCollectionItem();
    TWaveCollectionItem(const TWaveCollectionItem&) = delete;
    TWaveCollectionItem& operator=(const TWaveCollectionItem&) = delete;

    const std::string& Name() const;
    void SetName(const std::string& name);
    bool Looped() const;
    void SetLooped(bool looped);   // stops the item first
    int MaxPlayingCount() const;
    void SetMaxPlayingCount(int count);   // negative becomes 0; a change on a loaded item frees the copies
    bool IsLoaded() const;
    // Reads a RIFF WAVE file (read-only); throws WaveError naming the file.
    void LoadWaveFromFile(const std::string& path);
    void LoadWaveFromBytes(std::vector<std::uint8_t> bytes, const std::string& sourceName);
    const Wave& WaveData() const;

    // Playback rate in Hz (0 = the wave's own), pan and volume in hundredths of a decibel (0 = centre,
    // full). Applied to the master buffer when it is built and to a copy each time it starts.
    int Frequency() const;
    void SetFrequency(int hz);
    int Pan() const;
    void SetPan(int pan);
    int Volume() const;
    void SetVolume(int volume);

    void Play(bool wait);   // PlayWave
    void Stop();            // StopWave
    // The master buffer or any copy is playing.
    bool IsPlaying() const;

    // The buffers, for those who need to look (null / empty while unloaded).
    const SoundBuffer* MasterBuffer() const;
    int CopyCount() const;
    const SoundBuffer& Copy(int index) const;

    // Device notices, passed on by the collection.
    void Initialize(TDXSound& sound);   // loaded, no buffers yet
    void Restore();                     // builds the master buffer when missing
    void Finalize();                    // stops, frees every buffer, unloaded

    struct Impl;
    std::unique_ptr<Impl> impl;

private:
    void ReplaceWave(Wave&& wave);
    SoundBuffer& ChooseCopy();
    void WaitFor(const SoundBuffer& copy);
    void FreeBuffers();
};

class TWaveCollection
{
public:
    TWaveCollection();
    ~TWaveCollection();
    TWaveCollection(const TWaveCollection&) = delete;
    TWaveCollection& operator=(const TWaveCollection&) = delete;

    int Count() const;
    TWaveCollectionItem& Item(int index) const;   // throws std::out_of_range outside 0..Count-1
    TWaveCollectionItem& Add();
    // Case-insensitive; throws std::runtime_error "Wave '%s' not found".
    TWaveCollectionItem& Find(const std::string& name) const;
    int IndexOf(const std::string& name) const;   // -1 when none

    void Initialize(TDXSound& sound);
    void Restore();
    void Finalize();

    struct Impl;
    std::unique_ptr<Impl> impl;
};

class TDXWaveList
{
public:
    TDXWaveList();
    ~TDXWaveList();
    TDXWaveList(const TDXWaveList&) = delete;
    TDXWaveList& operator=(const TDXWaveList&) = delete;

    // Attaches the catalogue to a device: its items load when the device starts and unload when it stops.
    void SetDXSound(TDXSound* sound);
    TDXSound* DXSound() const { return sound; }
    TWaveCollection Items;

private:
    TDXSound* sound = nullptr;
    int notifyId = -1;
};

enum class SoundNotice { Initializing, Initialize, Restore, Finalize, Destroying };

class TDXSound
{
public:
    using NotifyEvent = std::function<void(TDXSound& sound, SoundNotice notice)>;

    // makeDevice may be empty, return null or throw: the device then cannot start.
    TDXSound(std::function<std::unique_ptr<AudioDevice>()> makeDevice, Clock* clock);
    ~TDXSound();
    TDXSound(const TDXSound&) = delete;
    TDXSound& operator=(const TDXSound&) = delete;

    void StartSound();   // throws SoundDeviceError "Primary Buffer cannot be made (...)"; items stay unloaded then
    void StopSound();
    bool Initialized() const;

    int RegisterNotifyEvent(NotifyEvent event);
    void UnRegisterNotifyEvent(int id);
    // The mixer of the started device (null while stopped) and the clock that Wait sleeps on.
    Mixer* ActiveMixer() const;
    Clock* SoundClock() const;

    struct Impl;
    std::unique_ptr<Impl> impl;
};

inline TWaveCollectionItem& WaveFind(TDXWaveList& list, const std::string& name) { return list.Items.Find(name); }
inline void PlayWave(TWaveCollectionItem& item, bool wait) { item.Play(wait); }
inline void StopWave(TWaveCollectionItem& item) { item.Stop(); }

}  // namespace vorlanex
