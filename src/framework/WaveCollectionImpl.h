#pragma once
// The private state of the sound catalogue's items and collection, shared by their source files.

#include <memory>
#include <string>
#include <vector>

#include "framework/DXSounds.h"
#include "framework/Mixer.h"
#include "framework/NameIndex.h"
#include "framework/Wave.h"

namespace vorlanex {

struct TWaveCollectionItem::Impl
{
    explicit Impl(TWaveCollection& collection) : collection(collection) {}

    TWaveCollection& collection;
    std::string name;
    std::unique_ptr<Wave> wave = std::make_unique<Wave>();
    std::unique_ptr<SoundBuffer> master;
    std::vector<std::unique_ptr<SoundBuffer>> copies;   // oldest choice first
    int frequency = 0;
    bool loaded = false;
    bool looped = false;
    int maxPlayingCount = 0;
    int pan = 0;
    int volume = 0;
    Mixer* mixer = nullptr;   // of the started device while loaded
    Clock* clock = nullptr;
};

struct TWaveCollection::Impl
{
    std::vector<std::unique_ptr<TWaveCollectionItem>> items;
    NameIndex<TWaveCollectionItem> index;
    TDXSound* startedOn = nullptr;   // the device that loaded the items, while it runs
};

}  // namespace vorlanex
