#include <stdexcept>

#include "framework/DXSounds.h"
#include "framework/WaveCollectionImpl.h"

namespace vorlanex {

TWaveCollection::TWaveCollection() : impl(std::make_unique<Impl>()) {}

// Items unfile themselves from the index, so they go before it.
TWaveCollection::~TWaveCollection() { impl->items.clear(); }

int TWaveCollection::Count() const { return int(impl->items.size()); }

TWaveCollectionItem& TWaveCollection::Item(int index) const
{
    if (index < 0 || index >= Count())
        throw std::out_of_range("Index of the list exceeds the range. (" + std::to_string(index) + ")");
    return *impl->items[std::size_t(index)];
}

TWaveCollectionItem& TWaveCollection::Add()
{
    impl->items.push_back(std::make_unique<TWaveCollectionItem>(*this));
    TWaveCollectionItem& item = *impl->items.back();
    impl->index.Add(&item, item.Name());
    if (impl->startedOn)
        item.Initialize(*impl->startedOn);
    return item;
}

TWaveCollectionItem& TWaveCollection::Find(const std::string& name) const
{
    if (TWaveCollectionItem* item = impl->index.Find(name))
        return *item;
    throw std::runtime_error("Wave '" + name + "' not found");
}

int TWaveCollection::IndexOf(const std::string& name) const
{
    const TWaveCollectionItem* item = impl->index.Find(name);
    for (std::size_t i = 0; item && i < impl->items.size(); ++i)
        if (impl->items[i].get() == item)
            return int(i);
    return -1;
}

void TWaveCollection::Initialize(TDXSound& sound)
{
    impl->startedOn = &sound;
    for (auto& item : impl->items)
        item->Initialize(sound);
}

// Every item is tried even when one fails to convert; the first failure is passed on afterwards.
void TWaveCollection::Restore()
{
    std::exception_ptr first;
    for (auto& item : impl->items)
    {
        try
        {
            item->Restore();
        }
        catch (...)
        {
            if (!first)
                first = std::current_exception();
        }
    }
    if (first)
        std::rethrow_exception(first);
}

void TWaveCollection::Finalize()
{
    for (auto& item : impl->items)
        item->Finalize();
    impl->startedOn = nullptr;
}

TDXWaveList::TDXWaveList() = default;

TDXWaveList::~TDXWaveList() { SetDXSound(nullptr); }

void TDXWaveList::SetDXSound(TDXSound* newSound)
{
    if (newSound == sound)
        return;
    if (sound)
    {
        sound->UnRegisterNotifyEvent(notifyId);
        Items.Finalize();
    }
    sound = newSound;
    notifyId = -1;
    if (!sound)
        return;
    notifyId = sound->RegisterNotifyEvent([this](TDXSound& device, SoundNotice notice) {
        switch (notice)
        {
        case SoundNotice::Initializing: break;
        case SoundNotice::Initialize: Items.Initialize(device); break;
        case SoundNotice::Restore: Items.Restore(); break;
        case SoundNotice::Finalize: Items.Finalize(); break;
        case SoundNotice::Destroying:
            sound = nullptr;
            notifyId = -1;
            break;
        }
    });
    if (sound->Initialized())
    {
        Items.Initialize(*sound);
        Items.Restore();
    }
}

}  // namespace vorlanex
