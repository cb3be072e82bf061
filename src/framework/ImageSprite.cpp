// Image sprites: one pattern of a picture item, animated through its patterns.

#include <cmath>


#include "framework/PictureCollection.h"
#include "framework/SpriteEngine.h"

namespace vorlanex {

namespace {

// Floored modulo: the result has the sign of the divisor.
std::int32_t FloorMod(std::int32_t value, std::int32_t divisor)
{
    const std::int32_t r = value % divisor;
    return r < 0 ? r + divisor : r;
}

// One pattern placed on screen: where it comes from and where its top-left corner lands.
struct PlacedPattern
{
    const TPictureCollectionItem::Pattern* pattern = nullptr;
    std::int32_t left = 0, top = 0;
};

PlacedPattern PlaceCurrentPattern(TImageSprite& sprite)
{
    PlacedPattern placed;
    if (!sprite.Image)
        return placed;
    const auto& patterns = sprite.Image->Patterns();
    const std::int32_t index = sprite.PatternIndex();
    if (index < 0 || std::size_t(index) >= patterns.size() || !patterns[std::size_t(index)].surface)
        return placed;
    placed.pattern = &patterns[std::size_t(index)];
    const TRect at = sprite.DrawRect();
    placed.left = at.Left;
    placed.top = at.Top;
    return placed;
}

// The part of the pattern that really lies on its surface, in screen coordinates.
TRect OnScreen(const PlacedPattern& p)
{
    const TRect& source = p.pattern->rect;
    const TRect inside = IntersectRect(source, p.pattern->surface->ClientRect());
    const std::int32_t dx = p.left - source.Left, dy = p.top - source.Top;
    return {inside.Left + dx, inside.Top + dy, inside.Right + dx, inside.Bottom + dy};
}

bool IsOpaque(const TDirectDrawSurface& surface, std::uint16_t pixel)
{
    return !surface.HasColorKey() || pixel != surface.ColorKey();
}

// Every surface of this game is 16 bits a pixel, so the scan compares 16-bit values; a lost surface cannot be
// read and answers false.
bool PatternsTouch(const PlacedPattern& a, const PlacedPattern& b)
{
    const TRect overlap = IntersectRect(OnScreen(a), OnScreen(b));
    if (overlap.IsEmpty())
        return false;
    const TDirectDrawSurface& surfaceA = *a.pattern->surface;
    const TDirectDrawSurface& surfaceB = *b.pattern->surface;
    if (surfaceA.IsLost() || surfaceB.IsLost())
        return false;
    const int ax = a.pattern->rect.Left - a.left, ay = a.pattern->rect.Top - a.top;
    const int bx = b.pattern->rect.Left - b.left, by = b.pattern->rect.Top - b.top;
    for (int y = overlap.Top; y < overlap.Bottom; ++y)
    {
        const std::uint16_t* rowA = surfaceA.Row(y + ay);
        const std::uint16_t* rowB = surfaceB.Row(y + by);
        for (int x = overlap.Left; x < overlap.Right; ++x)
            if (IsOpaque(surfaceA, rowA[x + ax]) && IsOpaque(surfaceB, rowB[x + bx]))
                return true;
    }
    return false;
}

}  // namespace

TImageSprite::TImageSprite(TSprite* parent) : TSprite(parent)
{
    imageBounds = true;
}

// A non-looped animation stops on its last pattern and stays there.
void TImageSprite::Step(std::int32_t MoveCount)
{
    FrameIndex += FrameSpeed * MoveCount;
    if (FrameLooped)
    {
        if (FrameCount > 0)
        {
            double r = FrameIndex - std::trunc(FrameIndex / FrameCount) * FrameCount;
            if (r < 0)
                r += FrameCount;
            FrameIndex = r;
        }
        else
            FrameIndex = 0;
        return;
    }
    if (FrameIndex >= FrameCount)
    {
        FrameIndex = FrameCount - 1;
        FrameSpeed = 0;
    }
    if (FrameIndex < 0)
    {
        FrameIndex = 0;
        FrameSpeed = 0;
    }
}

TRect TImageSprite::Bounds()
{
    return ImageBounds();
}

// With Wrap, a sprite that leaves one edge of the view comes back at the other; the draw pass and the hit
// tests all start from Bounds, so it is drawn and hit at its wrapped place.
TRect TImageSprite::WrappedBounds()
{
    std::int32_t dx = TruncToInt32(AbsoluteX());
    std::int32_t dy = TruncToInt32(AbsoluteY());
    if (Engine)
    {
        const TRect& view = Engine->ViewRect;
        // A zero span (no view and no size) has nothing to wrap around.
        if (const std::int32_t spanX = view.Right + Width; spanX > 0)
        {
            dx = FloorMod(dx, spanX);
            if (dx > view.Right)
                dx -= spanX;
        }
        if (const std::int32_t spanY = view.Bottom + Height; spanY > 0)
        {
            dy = FloorMod(dy, spanY);
            if (dy > view.Bottom)
                dy -= spanY;
        }
    }
    return vorlanex::Bounds(dx, dy, Width, Height);
}

// The pattern is centred in the sprite's box.
void TImageSprite::Render()
{
    if (!Image || !Engine || !Engine->Surface)
        return;
    const TRect at = DrawRect();
    Image->DrawPattern(*Engine->Surface, at.Left, at.Top, PatternIndex());
}

// Without PixelExact (the game never sets it) the bounding rectangles alone decide.
bool TImageSprite::Touches(TSprite& other)
{
    if (!PixelExact)
        return true;
    auto* otherImage = dynamic_cast<TImageSprite*>(&other);
    if (!otherImage)
        return true;
    const PlacedPattern mine = PlaceCurrentPattern(*this);
    const PlacedPattern theirs = PlaceCurrentPattern(*otherImage);
    if (!mine.pattern || !theirs.pattern)
        return false;
    return PatternsTouch(mine, theirs);
}

void TImageSprite::SetPicture(TPictureCollectionItem* picture)
{
    Image = picture;
    if (!Image)
        return;
    Width = Image->PatternWidth();
    Height = Image->PatternHeight();
}

void TImageSprite::Fields(FieldSink& out) const
{
    out.Int("FrameCount", FrameCount);
    out.Flag("FrameLooped", FrameLooped);
    out.Real("FrameIndex", FrameIndex);
    out.Real("FrameSpeed", FrameSpeed);
    out.Int("FrameStart", FrameStart);
    out.Flag("PixelExact", PixelExact);
    out.Flag("Wrap", Wrap);
}

}  // namespace vorlanex
