#include "framework/BuiltinWaves.h"

#include <stdexcept>
#include <string>

namespace vorlanex {

void LoadBuiltinWaves(TDXWaveList& list, const std::vector<AssetEntry>& archive)
{
    for (const WaveDef& def : kBuiltinWaveDefs)
    {
        const AssetEntry* entry = FindAsset(archive, AssetKind::Wave, def.name);
        if (!entry)
            throw std::runtime_error(std::string("built-in wave '") + def.name + "' is missing");
        TWaveCollectionItem& item = list.Items.Add();
        item.LoadWaveFromBytes(entry->bytes, std::string("built-in wave '") + def.name + "'");
        item.SetName(def.name);
        item.SetLooped(def.looped);
        item.SetMaxPlayingCount(def.maxPlayingCount);
    }
}

}  // namespace vorlanex
