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

class TWaveCollectionItem
{
public:
    explicit TWaveCollectionItem(TWaveCollection& collection);
    ~TWaveCollectionItem();

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

    void Play(bool wait);   // PlayWave
    void Stop();            // StopWave

    struct Impl;
    std::unique_ptr<Impl> impl;
};

class TWaveCollection
{
public:
    TWaveCollection();
    ~TWaveCollection();
    int Count() const;
    TWaveCollectionItem& Item(int index) const;
    TWaveCollectionItem& Add();
    // Case-insensitive; throws std::runtime_error "Wave '%s' not found".
    TWaveCollectionItem& Find(const std::string& name) const;
    int IndexOf(const std::string& name) const;   // -1 when none

    struct Impl;
    std::unique_ptr<Impl> impl;
};

class TDXWaveList
{
public:
    TDXWaveList();
    ~TDXWaveList();
    void SetDXSound(TDXSound* sound);
    TDXSound* DXSound() const { return sound; }
    TWaveCollection Items;

private:
    TDXSound* sound = nullptr;
};

class TDXSound
{
public:
    // makeDevice may return null or throw: the device then cannot start.
    TDXSound(std::function<std::unique_ptr<AudioDevice>()> makeDevice, Clock* clock);
    ~TDXSound();
    void StartSound();   // throws "%s cannot be made" and device errors; items stay unloaded then
    void StopSound();
    bool Initialized() const;

    struct Impl;
    std::unique_ptr<Impl> impl;
};

inline TWaveCollectionItem& WaveFind(TDXWaveList& list, const std::string& name) { return list.Items.Find(name); }
inline void PlayWave(TWaveCollectionItem& item, bool wait) { item.Play(wait); }
inline void StopWave(TWaveCollectionItem& item) { item.Stop(); }

}  // namespace vorlanex
