#include "framework/GroundCache.h"

#include <cstring>

#include "framework/SpriteEngine.h"

namespace vorlanex {

// Only image and background sprites qualify: what they draw follows from their look alone.
std::size_t GroundCache::GroundCount(const TSpriteEngine& engine) const
{
    if (!engine.DrawOrder)
        return 0;
    std::size_t n = 0;
    for (TSprite* sprite : *engine.DrawOrder)
    {
        if (sprite->Z > GroundZ || sprite->Children ||
            (!sprite->IsImageSprite() && !dynamic_cast<TBackgroundSprite*>(sprite)))
            break;
        ++n;
    }
    return n;
}

GroundCache::Look GroundCache::LookOf(TSprite& sprite, const TRect& view)
{
    Look look;
    look.sprite = &sprite;
    look.visible = sprite.Visible;
    look.bounds = sprite.CurrentBounds();
    look.drawn = sprite.Visible && OverlapRect(look.bounds, view);
    if (sprite.IsImageSprite())
    {
        auto* image = static_cast<TImageSprite*>(&sprite);
        look.image = image->Image;
        look.pattern = image->PatternIndex();
        const TRect at = image->DrawRect();
        look.x = at.Left;
        look.y = at.Top;
    }
    else if (auto* background = dynamic_cast<TBackgroundSprite*>(&sprite))
    {
        look.image = background->Image;
        look.x = background->AbsoluteX();
        look.y = background->AbsoluteY();
        look.pattern = background->Tiled ? 1 : 0;
        look.chips = background->ChipMap;
        look.chips.push_back(background->GridCols);
        look.chips.push_back(background->GridRows);
    }
    return look;
}

std::size_t GroundCache::DrawGround(TSpriteEngine& engine, std::uint32_t fill)
{
    TDirectDrawSurface& surface = *engine.Surface;
    const std::size_t n = GroundCount(engine);
    current.clear();
    for (std::size_t i = 0; i < n; ++i)
        current.push_back(LookOf(*(*engine.DrawOrder)[i], engine.ViewRect));
    const std::size_t bytes = std::size_t(surface.Width()) * std::size_t(surface.Height()) * sizeof(std::uint16_t);
    if (valid && fill == fillColour && generation == engine.TreeChanges && target == &surface &&
        picture.Width() == surface.Width() && picture.Height() == surface.Height() && current == looks)
    {
        std::memcpy(surface.Bits(), picture.Bits(), bytes);
        engine.DrawnCount += drawn;
        return n;
    }
    FillSurface(surface, fill);
    const std::int32_t before = engine.DrawnCount;
    for (std::size_t i = 0; i < n; ++i)
        (*engine.DrawOrder)[i]->Draw();
    drawn = engine.DrawnCount - before;
    picture.SetSize(surface.Width(), surface.Height());
    std::memcpy(picture.Bits(), surface.Bits(), bytes);
    looks.swap(current);
    fillColour = fill;
    generation = engine.TreeChanges;
    target = &surface;
    valid = true;
    return n;
}

}  // namespace vorlanex
