#include "framework/BuiltinWaves.h"

#include <stdexcept>
#include <string>

namespace vorlanex {

void LoadBuiltinWaves(TDXWaveList& list, const std::vector<AssetEntry>& archive)
{
    for (const WaveSpec& spec : kBuiltinWaveSpec)
    {
        const AssetEntry* entry = FindAsset(archive, AssetKind::Wave, spec.name);
        if (!entry)
            throw std::runtime_error(std::string("built-in wave '") + spec.name + "' is missing");
        TWaveCollectionItem& item = list.Items.Add();
        item.LoadWaveFromBytes(entry->bytes, std::string("built-in wave '") + spec.name + "'");
        item.SetName(spec.name);
        item.SetLooped(spec.looped);
        item.SetMaxPlayingCount(spec.maxPlayingCount);
    }
}

}  // namespace vorlanex
