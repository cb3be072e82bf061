// Background sprites: a grid of chips (patterns of one picture), optionally repeated over the whole view.

#include <algorithm>
#include <cmath>
#include <cstdio>


#include "framework/PictureCollection.h"
#include "framework/SpriteEngine.h"

namespace vorlanex {

namespace {

// A grid beyond this many cells is a mistake, not a level: refuse it rather than allocate gigabytes.
constexpr std::int64_t MaxGridCells = std::int64_t(1) << 24;

std::int32_t FloorMod(std::int32_t value, std::int32_t divisor)
{
    const std::int32_t r = value % divisor;
    return r < 0 ? r + divisor : r;
}

// The chip size is that of pattern 0 as cut; an unloaded picture has none.
bool ChipSize(const TPictureCollectionItem& image, std::int32_t& cw, std::int32_t& ch)
{
    const auto& patterns = image.Patterns();
    if (patterns.empty())
        return false;
    cw = patterns[0].rect.Width();
    ch = patterns[0].rect.Height();
    return cw > 0 && ch > 0;
}

}  // namespace

TBackgroundSprite::TBackgroundSprite(TSprite* parent) : TSprite(parent)
{
    Collidable = false;
}

TBackgroundSprite::~TBackgroundSprite()
{
    SetGridSize(0, 0);
}

// A new grid shows pattern 0 everywhere and is solid everywhere.
void TBackgroundSprite::SetGridSize(std::int32_t cols, std::int32_t rows)
{
    if (cols == GridCols && rows == GridRows)
        return;
    if (cols <= 0 || rows <= 0)
    {
        GridCols = GridRows = 0;
        ChipMap = {};
        SolidMap = {};
        return;
    }
    const std::int64_t cells = std::int64_t(cols) * rows;
    if (cells > MaxGridCells)
    {
        char message[80];
        std::snprintf(message, sizeof message, "Background grid too large (%dx%d)", cols, rows);
        throw ESpriteError(message);
    }
    GridCols = cols;
    GridRows = rows;
    ChipMap.assign(std::size_t(cells), 0);
    SolidMap.assign(std::size_t(cells), 1);
}

std::int32_t TBackgroundSprite::ChipAt(std::int32_t col, std::int32_t row) const
{
    if (col < 0 || row < 0 || col >= GridCols || row >= GridRows)
        return -1;
    return ChipMap[std::size_t(col) + std::size_t(row) * std::size_t(GridCols)];
}

bool TBackgroundSprite::SolidAt(std::int32_t col, std::int32_t row) const
{
    if (col < 0 || row < 0 || col >= GridCols || row >= GridRows)
        return false;
    return SolidMap[std::size_t(col) + std::size_t(row) * std::size_t(GridCols)] != 0;
}

void TBackgroundSprite::SetChip(std::int32_t col, std::int32_t row, std::int32_t pattern)
{
    if (col >= 0 && row >= 0 && col < GridCols && row < GridRows)
        ChipMap[std::size_t(col) + std::size_t(row) * std::size_t(GridCols)] = pattern;
}

void TBackgroundSprite::SetSolid(std::int32_t col, std::int32_t row, bool solid)
{
    if (col >= 0 && row >= 0 && col < GridCols && row < GridRows)
        SolidMap[std::size_t(col) + std::size_t(row) * std::size_t(GridCols)] = solid ? 1 : 0;
}

// A tiled background covers the whole view, so it is always drawn.
TRect TBackgroundSprite::Bounds()
{
    if (Tiled)
        return Engine ? Engine->ViewRect : TRect{};
    if (!Image)
        return {};
    return vorlanex::Bounds(TruncToInt32(AbsoluteX()), TruncToInt32(AbsoluteY()),
                            Image->PatternWidth() * GridCols, Image->PatternHeight() * GridRows);
}

// Draws the chips that can reach the view, one cell of margin on each side when tiled; the pattern draw clips
// whatever falls outside the surface.
void TBackgroundSprite::Render()
{
    std::int32_t cw = 0, ch = 0;
    if (!Image || GridCols <= 0 || GridRows <= 0 || !Engine || !Engine->Surface || !ChipSize(*Image, cw, ch))
        return;
    TDirectDrawSurface& surface = *Engine->Surface;
    const TRect& view = Engine->ViewRect;
    const std::int32_t a = (view.Right + cw) / cw;
    const std::int32_t b = (view.Bottom + ch) / ch;
    const std::int32_t px = TruncToInt32(AbsoluteX());
    const std::int32_t py = TruncToInt32(AbsoluteY());
    std::int32_t sx = px / cw, sy = py / ch;
    std::int32_t ox = 0, oy = 0;
    if (sx < 0)
    {
        ox = -sx;
        sx = 0;
    }
    if (sy < 0)
    {
        oy = -sy;
        sy = 0;
    }
    const std::int32_t rx = px % cw, ry = py % ch;
    if (Tiled)
    {
        for (std::int32_t cy = -1; cy <= b + 1; ++cy)
            for (std::int32_t cx = -1; cx <= a + 1; ++cx)
            {
                const std::int32_t chip = ChipAt(FloorMod(cx + ox - sx, GridCols), FloorMod(cy + oy - sy, GridRows));
                if (chip >= 0)
                    Image->DrawPattern(surface, rx + cw * cx, ry + ch * cy, chip);
            }
        return;
    }
    const std::int32_t ex = std::min(sx + GridCols - ox, a + 1);
    const std::int32_t ey = std::min(sy + GridRows - oy, b + 1);
    for (std::int32_t cy = sy; cy < ey; ++cy)
        for (std::int32_t cx = sx; cx < ex; ++cx)
        {
            const std::int32_t chip = ChipAt(cx + ox - sx, cy + oy - sy);
            if (chip >= 0)
                Image->DrawPattern(surface, rx + cw * cx, ry + ch * cy, chip);
        }
}

// Touches only where a solid chip overlaps the other sprite. The game keeps backgrounds non-collidable, so this
// matters only for sprites that opt in.
bool TBackgroundSprite::Touches(TSprite& other)
{
    if (!Image || GridCols <= 0 || GridRows <= 0)
        return true;
    std::int32_t cw = 0, ch = 0;
    if (!ChipSize(*Image, cw, ch))
        return false;
    const std::int32_t bx = TruncToInt32(AbsoluteX());
    const std::int32_t by = TruncToInt32(AbsoluteY());
    const TRect otherBounds = other.Bounds();
    const TRect mine = Bounds();
    const TRect shared = IntersectRect(otherBounds, mine);
    const TRect overlap{shared.Left - bx, shared.Top - by, shared.Right - bx, shared.Bottom - by};
    const TRect target{otherBounds.Left - bx, otherBounds.Top - by, otherBounds.Right - bx, otherBounds.Bottom - by};
    for (std::int32_t row = (overlap.Top - ch + 1) / ch; row <= overlap.Bottom / ch; ++row)
        for (std::int32_t col = (overlap.Left - cw + 1) / cw; col <= overlap.Right / cw; ++col)
            if (SolidAt(FloorMod(col, GridCols), FloorMod(row, GridRows)) &&
                OverlapRect(vorlanex::Bounds(col * cw, row * ch, cw, ch), target))
                return true;
    return false;
}

void TBackgroundSprite::Fields(FieldSink& out) const
{
    out.Int("GridCols", GridCols);
    out.Int("GridRows", GridRows);
    out.Flag("Tiled", Tiled);
}

}  // namespace vorlanex
