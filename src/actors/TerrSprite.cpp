// Terrain sprites: defaults until the level builder copies the tile's attributes in.

#include "actors/TerrSprite.h"

#include <nlohmann/json.hpp>

namespace vorlanex {

// Until the level builder places it, a terrain sprite stands at (100, 100) and lets everything pass.
TTerrSprite::TTerrSprite(TSprite* parent) : TImageSprite(parent)
{
    X = 100;
    Y = 100;
}

void TTerrSprite::DumpFields(nlohmann::json& out) const
{
    TImageSprite::DumpFields(out);
    out["Flags"] = Flags;
    out["Durability"] = Durability;
}

}  // namespace vorlanex
