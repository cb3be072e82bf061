#pragma once
// The picture of the ground: the fill colour and the lowest sprites of the draw order (the level's background
// and its bottom terrain layer), kept from one frame to the next. They change only when one of them changes or
// leaves the tree (a brick breaks), so most frames copy the kept picture instead of drawing some thousand tiles.
// Whether it may be reused is decided by comparing everything a ground sprite's drawing depends on.

#include <cstdint>
#include <vector>

#include "framework/SpriteLook.h"
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

    // Brings the kept picture up to date, drawing the ground again (on the engine's surface) only when some
    // of it changed; returns how many sprites of the draw order were ground.
    std::size_t Refresh(TSpriteEngine& engine, std::uint32_t fill);
    // The fill and the ground as of the last Refresh, and a number that changes whenever it was drawn again.
    const TDirectDrawSurface& Picture() const { return picture; }
    std::uint64_t Version() const { return version; }
    // How many sprites the ground's drawing rendered.
    std::int32_t Drawn() const { return drawn; }
    void Forget() { valid = false; }
    // Makes room for the picture of a surface of this size.
    void Prepare(int surfaceWidth, int surfaceHeight)
    {
        if (picture.Width() != surfaceWidth || picture.Height() != surfaceHeight)
            picture.SetSize(surfaceWidth, surfaceHeight);
    }

private:
    std::size_t GroundCount(const TSpriteEngine& engine) const;

    bool valid = false;
    std::uint32_t fillColour = 0;
    std::uint64_t generation = 0;
    const TDirectDrawSurface* target = nullptr;
    std::vector<SpriteLook> looks, current;
    SpriteLook scratch;
    std::int32_t drawn = 0;
    std::uint64_t version = 0;
    TDirectDrawSurface picture;
};

}  // namespace vorlanex
