// Terrain sprites: defaults until the level builder copies the tile's attributes in.

#include "actors/TerrSprite.h"

namespace vorlanex {

// Until the level builder places it, a terrain sprite stands at (100, 100) and lets everything pass.
TTerrSprite::TTerrSprite(TSprite* parent) : TImageSprite(parent)
{
    X = 100;
    Y = 100;
}

void TTerrSprite::Fields(FieldSink& out) const
{
    TImageSprite::Fields(out);
    out.Int("Flags", Flags);
    out.Int("Durability", Durability);
}

}  // namespace vorlanex
