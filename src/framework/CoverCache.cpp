#include "framework/CoverCache.h"

#include <algorithm>
#include <cstring>

#include "framework/PictureCollection.h"
#include "framework/SpriteEngine.h"

namespace vorlanex {

namespace {

constexpr std::uint16_t Black = 0x0000, White = 0xFFFF;

using Lanes = std::uint16_t __attribute__((vector_size(16)));

// Copies the covered pixels of a segment: where the mask keeps the pixel beneath, the destination stays.
// Sixteen pixels at a time are merged through the mask, in one AVX2 register where the processor has it.
__attribute__((target_clones("avx2", "default"))) void MaskedCopy(std::uint16_t* to, const std::uint16_t* from,
                                                                   const std::uint16_t* keep, int count)
{
    using Lanes = std::uint16_t __attribute__((vector_size(32)));
    int i = 0;
    for (; i + 16 <= count; i += 16)
    {
        Lanes over, below, kept;
        std::memcpy(&over, from + i, sizeof over);
        std::memcpy(&below, to + i, sizeof below);
        std::memcpy(&kept, keep + i, sizeof kept);
        below = (below & kept) | (over & ~kept);
        std::memcpy(to + i, &below, sizeof below);
    }
    for (; i < count; ++i)
        to[i] = std::uint16_t((to[i] & keep[i]) | (from[i] & ~keep[i]));
}

}  // namespace

std::size_t CoverCache::FirstCover(const TSpriteEngine& engine, std::size_t from) const
{
    if (!engine.DrawOrder)
        return 0;
    const auto& order = *engine.DrawOrder;
    if (LowZ == INT32_MIN || from >= order.size())
        return order.size();
    const auto found = std::lower_bound(order.begin() + std::ptrdiff_t(from), order.end(), LowZ,
                                        [](const TSprite* s, std::int32_t z) { return s->Z < z; });
    return std::size_t(found - order.begin());
}

std::size_t CoverCache::Refresh(TSpriteEngine& engine, std::size_t first)
{
    if (!engine.DrawOrder || !engine.Surface || LowZ == INT32_MIN)
        return first;
    const auto& order = *engine.DrawOrder;
    std::size_t end = first;
    while (end < order.size() && order[end]->Z <= HighZ && DrawnByLook(*order[end]))
        ++end;
    if (end == first)
        return first;
    // Most frames no sprite of the cover changed.
    if (MatchesTarget(engine) && LooksUnchanged(order, first, end, engine.ViewRect, looks, scratch))
        return end;
    current.clear();
    std::int32_t drawnNow = 0;
    for (std::size_t i = first; i < end; ++i)
    {
        current.push_back(LookOf(*order[i], engine.ViewRect));
        drawnNow += current.back().drawn;
    }
    if (!MatchesTarget(engine))
        Rebuild(engine);
    else if (current != looks && !MarkChanges())
        std::fill(dirty.begin(), dirty.end(), 1);
    looks.swap(current);
    drawn = drawnNow;
    if (std::find(dirty.begin(), dirty.end(), 1) != dirty.end())
        SortLooksByTile();
    for (int row = 0; row < rows; ++row)
        for (int column = 0; column < columns; ++column)
            if (std::uint8_t& mark = dirty[std::size_t(row * columns + column)]; mark)
            {
                RedrawTile(column, row);
                mark = 0;
            }
    for (int y = 0; y < height; ++y)
        if (dirtyRows[std::size_t(y)])
        {
            RebuildSegments(y);
            dirtyRows[std::size_t(y)] = 0;
        }
    return end;
}

bool CoverCache::MatchesTarget(const TSpriteEngine& engine) const
{
    return valid && generation == engine.TreeChanges && target == engine.Surface &&
           width == engine.Surface->Width() && height == engine.Surface->Height() && view == engine.ViewRect;
}

// A new or resized surface, a new level: everything is drawn again.
void CoverCache::Rebuild(const TSpriteEngine& engine)
{
    valid = true;
    generation = engine.TreeChanges;
    target = engine.Surface;
    view = engine.ViewRect;
    width = engine.Surface->Width();
    height = engine.Surface->Height();
    columns = (width + TileSize - 1) >> TileShift;
    rows = (height + TileSize - 1) >> TileShift;
    colour.SetSize(width, height);
    keep.assign(std::size_t(width) * std::size_t(height), White);
    segments.resize(std::size_t(height));   // every row is built again: the rows keep their room
    dirty.assign(std::size_t(columns) * std::size_t(rows), 1);
    dirtyRows.assign(std::size_t(height), 1);
    onBlack.SetSize(TileSize, TileSize);
    onWhite.SetSize(TileSize, TileSize);
    looks.clear();
    overGroundValid = false;
}

// Makes room for a surface of this size now, so that the first frame of a battle does not wait for it.
void CoverCache::Prepare(int surfaceWidth, int surfaceHeight)
{
    if (colour.Width() == surfaceWidth && colour.Height() == surfaceHeight)
        return;   // a display started again (each level does)
    colour.SetSize(surfaceWidth, surfaceHeight);
    overGround.SetSize(surfaceWidth, surfaceHeight);
    keep.assign(std::size_t(colour.Width()) * std::size_t(colour.Height()), White);
    segments.resize(std::size_t(colour.Height()));
}

// Compares the kept looks with this frame's, marking the tiles under whatever changed. Sprites that left the
// run (a brick broken) or changed in place are handled here; a sprite that joined it, or a new order, means a
// whole redraw (false).
bool CoverCache::MarkChanges()
{
    std::size_t j = 0;
    for (const SpriteLook& old : looks)
    {
        if (j < current.size() && current[j].sprite == old.sprite)
        {
            if (!(current[j] == old))
            {
                MarkDirty(old.footprint);
                MarkDirty(current[j].footprint);
            }
            ++j;
        }
        else
            MarkDirty(old.footprint);
    }
    return j == current.size();
}

void CoverCache::MarkDirty(const TRect& r)
{
    const TRect inside = IntersectRect(r, {0, 0, width, height});
    if (inside.IsEmpty())
        return;
    for (int row = inside.Top >> TileShift; row <= (inside.Bottom - 1) >> TileShift; ++row)
        for (int column = inside.Left >> TileShift; column <= (inside.Right - 1) >> TileShift; ++column)
            dirty[std::size_t(row * columns + column)] = 1;
}

// Every tile gets the looks that reach into it, in their order: a new level draws all its tiles again, and a
// tile then looks at its few sprites only, not at every sprite of the cover.
void CoverCache::SortLooksByTile()
{
    byTile.resize(std::size_t(columns) * std::size_t(rows));
    for (std::vector<std::uint32_t>& tile : byTile)
        tile.clear();
    for (std::size_t i = 0; i < looks.size(); ++i)
    {
        const TRect inside = IntersectRect(looks[i].footprint, {0, 0, width, height});
        if (!looks[i].drawn || inside.IsEmpty())
            continue;
        for (int row = inside.Top >> TileShift; row <= (inside.Bottom - 1) >> TileShift; ++row)
            for (int column = inside.Left >> TileShift; column <= (inside.Right - 1) >> TileShift; ++column)
                byTile[std::size_t(row * columns + column)].push_back(std::uint32_t(i));
    }
}

// The tile is drawn twice, over black and over white: a pixel that comes out the same on both is covered.
void CoverCache::RedrawTile(int column, int row)
{
    const TRect tile{column * TileSize, row * TileSize, std::min(width, (column + 1) * TileSize),
                     std::min(height, (row + 1) * TileSize)};
    FillSurface(onBlack, Black);
    FillSurface(onWhite, White);
    for (std::uint32_t i : byTile[std::size_t(row * columns + column)])
    {
        const SpriteLook& look = looks[i];
        const int x = look.footprint.Left - tile.Left, y = look.footprint.Top - tile.Top;
        look.image->DrawPattern(onBlack, x, y, look.pattern);
        look.image->DrawPattern(onWhite, x, y, look.pattern);
    }
    for (int y = 0; y < tile.Height(); ++y)
    {
        const std::uint16_t* black = onBlack.Row(y);
        const std::uint16_t* white = onWhite.Row(y);
        std::uint16_t* to = colour.Row(tile.Top + y) + tile.Left;
        std::uint16_t* mask = keep.data() + std::size_t(tile.Top + y) * std::size_t(width) + std::size_t(tile.Left);
        std::memcpy(to, black, std::size_t(tile.Width()) * sizeof(std::uint16_t));
        int x = 0;
        for (; x + 8 <= tile.Width(); x += 8)
        {
            Lanes overBlack, overWhite;
            std::memcpy(&overBlack, black + x, sizeof overBlack);
            std::memcpy(&overWhite, white + x, sizeof overWhite);
            const Lanes uncovered = ~Lanes(overBlack == overWhite);
            std::memcpy(mask + x, &uncovered, sizeof uncovered);
        }
        for (; x < tile.Width(); ++x)
            mask[x] = black[x] == white[x] ? Black : White;
        dirtyRows[std::size_t(tile.Top + y)] = 1;
    }
    changed.push_back(tile);
}

// Runs of covered pixels, those close together joined into one masked segment.
void CoverCache::RebuildSegments(int row)
{
    std::vector<Segment>& out = segments[std::size_t(row)];
    out.clear();
    const std::uint16_t* mask = keep.data() + std::size_t(row) * std::size_t(width);
    // Four mask pixels are one 64-bit word: runs are crossed a word at a time.
    const auto allAre = [mask](int at, std::uint64_t four) {
        std::uint64_t word;
        std::memcpy(&word, mask + at, sizeof word);
        return word == four;
    };
    int x = 0;
    while (x < width)
    {
        while (x + 4 <= width && allAre(x, ~std::uint64_t(0)))
            x += 4;
        while (x < width && mask[x] == White)
            ++x;
        if (x == width)
            break;
        int runEnd = x;
        while (runEnd + 4 <= width && allAre(runEnd, 0))
            runEnd += 4;
        while (runEnd < width && mask[runEnd] == Black)
            ++runEnd;
        if (!out.empty() && x - (out.back().x + out.back().length) < MergeGap)
        {
            out.back().masked = true;
            out.back().length = runEnd - out.back().x;
        }
        else
            out.push_back({x, runEnd - x, false});
        x = runEnd;
    }
}

void CoverCache::Apply(TDirectDrawSurface& surface)
{
    // The picture with the ground no longer follows the tiles that change from here on.
    overGroundValid = false;
    changed.clear();
    for (int y = 0; y < height; ++y)
    {
        std::uint16_t* to = surface.Row(y);
        const std::uint16_t* from = colour.Row(y);
        const std::uint16_t* mask = keep.data() + std::size_t(y) * std::size_t(width);
        for (const Segment& s : segments[std::size_t(y)])
        {
            if (s.masked)
                MaskedCopy(to + s.x, from + s.x, mask + s.x, s.length);
            else
                std::memcpy(to + s.x, from + s.x, std::size_t(s.length) * sizeof(std::uint16_t));
        }
    }
}

void CoverCache::ApplyWithin(TDirectDrawSurface& surface, const TRect& area) const
{
    const TRect inside = IntersectRect(area, {0, 0, width, height});
    if (inside.IsEmpty())
        return;
    for (int y = inside.Top; y < inside.Bottom; ++y)
        MaskedCopy(surface.Row(y) + inside.Left, colour.Row(y) + inside.Left,
                   keep.data() + std::size_t(y) * std::size_t(width) + std::size_t(inside.Left), inside.Width());
}

void CoverCache::CopyOverGround(TDirectDrawSurface& surface, const TDirectDrawSurface& ground,
                                std::uint64_t groundVersion)
{
    const std::size_t bytes = std::size_t(width) * std::size_t(height) * sizeof(std::uint16_t);
    if (!overGroundValid || groundVersion != overGroundVersion || overGround.Width() != width ||
        overGround.Height() != height)
    {
        overGround.SetSize(width, height);
        std::memcpy(overGround.Bits(), ground.Bits(), bytes);
        Apply(overGround);
        overGroundValid = true;
        overGroundVersion = groundVersion;
    }
    for (const TRect& tile : changed)
    {
        for (int y = tile.Top; y < tile.Bottom; ++y)
            std::memcpy(overGround.Row(y) + tile.Left, ground.Row(y) + tile.Left,
                        std::size_t(tile.Width()) * sizeof(std::uint16_t));
        ApplyWithin(overGround, tile);
    }
    changed.clear();
    std::memcpy(surface.Bits(), overGround.Bits(), bytes);
}

}  // namespace vorlanex
