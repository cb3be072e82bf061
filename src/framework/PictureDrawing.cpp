// Unscaled and stretched pattern copies, clipped to the destination and honouring the colour key.

#include <algorithm>
#include <cstring>

#include "framework/PictureCollection.h"

namespace vorlanex {

namespace {

// The part of a w x h block placed at (x, y) that lies on a destination of dw x dh, as offsets into the
// block (sx, sy) and the visible size. Wide arithmetic keeps far-away positions from overflowing.
struct Clip
{
    std::int64_t sx = 0, sy = 0;   // a stretched rectangle may start far off the surface
    int dx = 0, dy = 0, w = 0, h = 0;
};

bool ClipBlock(std::int64_t x, std::int64_t y, std::int64_t w, std::int64_t h, int dw, int dh, Clip& c)
{
    const std::int64_t left = std::max<std::int64_t>(x, 0), top = std::max<std::int64_t>(y, 0);
    const std::int64_t right = std::min<std::int64_t>(x + w, dw), bottom = std::min<std::int64_t>(y + h, dh);
    if (right <= left || bottom <= top)
        return false;
    c = {left - x, top - y, int(left), int(top), int(right - left), int(bottom - top)};
    return true;
}

// Copies the pixels of a block that are not the key, row by row. Sixteen pixels at a time are merged with a
// compare mask (GCC and Clang vector types), so opaque and keyed pixels cost the same; where the processor has
// AVX2 the same code runs in one 32-byte register instead of two 16-byte ones. The whole block is one call, so
// the processor check is made once per picture, not once per row.
__attribute__((target_clones("avx2", "default"))) void KeyedBlock(std::uint16_t* to, std::size_t toPitch,
                                                                   const std::uint16_t* from,
                                                                   std::size_t fromPitch, int count, int rows,
                                                                   std::uint16_t key)
{
    using Lanes = std::uint16_t __attribute__((vector_size(32)));
    const Lanes keys = Lanes{} + key;
    for (int row = 0; row < rows; ++row)
    {
        // Indexed rather than stepped, so no pointer is ever formed past the last row.
        std::uint16_t* const out = to + std::size_t(row) * toPitch;
        const std::uint16_t* const in = from + std::size_t(row) * fromPitch;
        int i = 0;
        for (; i + 16 <= count; i += 16) {
            Lanes over, below;
            std::memcpy(&over, in + i, sizeof over);
            std::memcpy(&below, out + i, sizeof below);
            const Lanes keep = Lanes(over == keys);
            below = (below & keep) | (over & ~keep);
            std::memcpy(out + i, &below, sizeof below);
        }
        for (; i < count; ++i)
            if (in[i] != key)
                out[i] = in[i];
    }
}

}  // namespace

void TPictureCollectionItem::DrawPattern(TDirectDrawSurface& dest, int x, int y, int index) const
{
    const Pattern* p = DrawablePattern(index);
    if (!p || x > dest.Width() || y > dest.Height())
        return;
    // Clip the pattern to its own surface first (a pattern never leaves it, but the copy must not trust that).
    const TRect src = IntersectRect(p->rect, p->surface->ClientRect());
    if (src.IsEmpty())
        return;
    const int offsetX = src.Left - p->rect.Left, offsetY = src.Top - p->rect.Top;
    Clip c;
    if (!ClipBlock(std::int64_t(x) + offsetX, std::int64_t(y) + offsetY, src.Width(), src.Height(), dest.Width(),
                   dest.Height(), c))
        return;
    const TDirectDrawSurface& surface = *p->surface;
    if (!Transparent) {
        for (int row = 0; row < c.h; ++row)
            std::memcpy(dest.Row(c.dy + row) + c.dx, surface.Row(src.Top + int(c.sy) + row) + src.Left + int(c.sx),
                        std::size_t(c.w) * sizeof(std::uint16_t));
        return;
    }
    const std::uint16_t key = Rgb565(transparentColor);
    KeyedBlock(dest.Row(c.dy) + c.dx, std::size_t(dest.Pitch()), surface.Row(src.Top + int(c.sy)) + src.Left + int(c.sx),
               std::size_t(surface.Pitch()), c.w, c.h, key);
}

bool TPictureCollectionItem::CoversWhole(const TDirectDrawSurface& dest, int x, int y, int index) const
{
    const Pattern* p = DrawablePattern(index);
    if (!p || Transparent)
        return false;
    const TRect src = IntersectRect(p->rect, p->surface->ClientRect());
    const std::int64_t left = std::int64_t(x) + (src.Left - p->rect.Left);
    const std::int64_t top = std::int64_t(y) + (src.Top - p->rect.Top);
    return !src.IsEmpty() && left <= 0 && top <= 0 && left + src.Width() >= dest.Width() &&
           top + src.Height() >= dest.Height();
}

void TPictureCollectionItem::StretchPattern(TDirectDrawSurface& dest, const TRect& destRect, int index) const
{
    const Pattern* p = DrawablePattern(index);
    if (!p)
        return;
    const TRect src = IntersectRect(p->rect, p->surface->ClientRect());
    const std::int64_t rw = std::int64_t(destRect.Right) - destRect.Left;
    const std::int64_t rh = std::int64_t(destRect.Bottom) - destRect.Top;
    if (rw <= 0 || rh <= 0 || src.IsEmpty())
        return;
    Clip c;
    if (!ClipBlock(destRect.Left, destRect.Top, rw, rh, dest.Width(), dest.Height(), c))
        return;
    // Nearest neighbour: destination pixel i of the rectangle takes source pixel i * size / extent.
    std::vector<int> columns(std::size_t(c.w));
    for (int i = 0; i < c.w; ++i)
        columns[std::size_t(i)] = src.Left + int(((c.sx + i) * src.Width()) / rw);
    const std::uint16_t key = Rgb565(transparentColor);
    for (int row = 0; row < c.h; ++row) {
        const int sy = src.Top + int(((c.sy + row) * src.Height()) / rh);
        const std::uint16_t* from = p->surface->Row(sy);
        std::uint16_t* to = dest.Row(c.dy + row) + c.dx;
        for (int i = 0; i < c.w; ++i) {
            const std::uint16_t pixel = from[columns[std::size_t(i)]];
            if (!Transparent || pixel != key)
                to[i] = pixel;
        }
    }
}

}  // namespace vorlanex
