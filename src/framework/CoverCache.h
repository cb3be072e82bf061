#pragma once
// The picture of the cover: a run of the draw order between two Z values (the trees and bushes that hide the
// tanks), kept from one frame to the next as the colours it leaves and the pixels it covers. A frame then
// copies only the covered pixels, in row segments, instead of key-testing some thousand tiles. When some of
// its sprites change (a brick breaks), only the tiles of the screen under them are drawn again.
//
// Drawing the kept picture gives exactly what drawing the run would: every sprite of the run is a plain keyed
// copy of its pattern, and the last one to cover a pixel decides its colour whatever lay beneath.

#include <cstdint>
#include <vector>

#include "framework/SpriteLook.h"
#include "framework/Surface.h"
#include "framework/Types.h"

namespace vorlanex {

class TSpriteEngine;

class CoverCache
{
public:
    // Sprites of the root's draw order with LowZ <= Z <= HighZ (and drawn by their look alone) are cover;
    // none while LowZ is unset.
    std::int32_t LowZ = INT32_MIN, HighZ = INT32_MIN;

    // The index of the first sprite at or after `from` that may be cover; the draw order's size when none is.
    std::size_t FirstCover(const TSpriteEngine& engine, std::size_t from) const;
    // Brings the kept cover starting at `first` up to date; returns the index after its last sprite (`first`
    // when there is none).
    std::size_t Refresh(TSpriteEngine& engine, std::size_t first);
    // How many sprites the cover's drawing renders.
    std::int32_t Drawn() const { return drawn; }
    // Draws the kept cover onto the surface, or onto the part of it inside `area`.
    void Apply(TDirectDrawSurface& surface);
    void ApplyWithin(TDirectDrawSurface& surface, const TRect& area) const;
    // Copies the ground with the cover over it onto the surface, from a picture of both kept up to date with
    // the tiles that changed. Sprites drawn after it that belong beneath the cover need ApplyWithin.
    void CopyOverGround(TDirectDrawSurface& surface, const TDirectDrawSurface& ground, std::uint64_t groundVersion);
    void Forget() { valid = false; }
    // Makes room for the pictures of a surface of this size.
    void Prepare(int surfaceWidth, int surfaceHeight);

private:
    static constexpr int TileShift = 5;   // 32-pixel tiles, the size of a map cell
    static constexpr int TileSize = 1 << TileShift;
    // Covered pixels closer than this are copied as one segment, the gap kept by its mask.
    static constexpr int MergeGap = 8;

    struct Segment
    {
        std::int32_t x = 0, length = 0;
        bool masked = false;   // holds uncovered pixels, blended through the keep mask
    };

    bool MatchesTarget(const TSpriteEngine& engine) const;
    bool MarkChanges();
    void MarkDirty(const TRect& r);
    void Rebuild(const TSpriteEngine& engine);
    void SortLooksByTile();
    void RedrawTile(int column, int row);
    void RebuildSegments(int row);

    bool valid = false;
    std::uint64_t generation = 0;
    const TDirectDrawSurface* target = nullptr;
    TRect view;
    int width = 0, height = 0, columns = 0, rows = 0;
    std::vector<SpriteLook> looks, current;
    SpriteLook scratch;
    std::int32_t drawn = 0;
    std::vector<std::uint8_t> dirty;        // by tile
    std::vector<std::vector<std::uint32_t>> byTile;   // the looks drawn into each tile, as of the last redraw
    std::vector<std::uint8_t> dirtyRows;    // by pixel row: its segments need building again
    TDirectDrawSurface colour;              // what the cover leaves on every pixel it covers
    std::vector<std::uint16_t> keep;        // 0xFFFF where the cover leaves the pixel beneath, 0 where it covers
    std::vector<std::vector<Segment>> segments;   // by pixel row
    TDirectDrawSurface onBlack, onWhite;    // a tile drawn over two grounds: where they agree, it is covered
    std::vector<TRect> changed;             // tiles drawn again since the picture with the ground was made
    TDirectDrawSurface overGround;          // the ground with the cover over it
    bool overGroundValid = false;
    std::uint64_t overGroundVersion = 0;
};

}  // namespace vorlanex
