#pragma once
// The picture of the ground: the fill colour and the lowest sprites of the draw order (the level's background
// and its bottom terrain layer), kept from one frame to the next. They change only when one of them changes or
// leaves the tree (a brick breaks), so most frames copy the kept picture instead of drawing some thousand tiles.
// Whether it may be reused is decided by comparing everything a ground sprite's drawing depends on.

#include <cstdint>
#include <vector>

#include "framework/Surface.h"
#include "framework/Types.h"

namespace vorlanex {

class TSprite;
class TSpriteEngine;

class GroundCache
{
public:
    // Sprites of the root's draw order up to this Z (and without children) count as ground; none when unset.
    std::int32_t GroundZ = INT32_MIN;

    // Fills the surface and draws the ground, from the kept picture when nothing changed; returns how many
    // sprites of the draw order were ground.
    std::size_t DrawGround(TSpriteEngine& engine, std::uint32_t fill);
    void Forget() { valid = false; }

private:
    struct Look
    {
        const TSprite* sprite = nullptr;
        const void* image = nullptr;
        bool visible = false;
        bool drawn = false;
        double x = 0, y = 0;
        TRect bounds;
        std::int32_t pattern = 0;
        std::vector<std::int32_t> chips;   // a background's chip map
        bool operator==(const Look&) const = default;
    };

    std::size_t GroundCount(const TSpriteEngine& engine) const;
    static Look LookOf(TSprite& sprite, const TRect& view);

    bool valid = false;
    std::uint32_t fillColour = 0;
    std::uint64_t generation = 0;
    const TDirectDrawSurface* target = nullptr;
    std::vector<Look> looks, current;
    std::int32_t drawn = 0;
    TDirectDrawSurface picture;
};

}  // namespace vorlanex
