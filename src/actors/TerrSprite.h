#pragma once
// A terrain sprite: the tile standing on one filled map cell. It never reacts itself; tanks and bullets read
// its flags and durability in their own hit handlers.

#include <cstdint>

#include "framework/SpriteEngine.h"

namespace vorlanex {

// Bits of TTerrSprite::Flags.
constexpr std::uint8_t TerrTanksPass = 1;     // tanks drive through
constexpr std::uint8_t TerrBulletsPass = 2;   // bullets fly through

class TTerrSprite : public TImageSprite
{
public:
    explicit TTerrSprite(TSprite* parent);
    const char* ClassName() const override { return "TTerrSprite"; }
    void Fields(FieldSink& out) const override;

    bool TanksPass() const { return (Flags & TerrTanksPass) != 0; }
    bool BulletsPass() const { return (Flags & TerrBulletsPass) != 0; }

    std::uint8_t Flags = TerrTanksPass | TerrBulletsPass;
    // Hit points: each bullet takes its power off; the terrain is killed at 0 or below.
    std::int32_t Durability = 1000;
};

}  // namespace vorlanex
