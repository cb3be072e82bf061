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
        if (sprite->Z > GroundZ || !DrawnByLook(*sprite))
            break;
        ++n;
    }
    return n;
}

std::size_t GroundCache::Refresh(TSpriteEngine& engine, std::uint32_t fill)
{
    TDirectDrawSurface& surface = *engine.Surface;
    const std::size_t n = GroundCount(engine);
    if (valid && fill == fillColour && generation == engine.TreeChanges && target == &surface &&
        picture.Width() == surface.Width() && picture.Height() == surface.Height() &&
        (n == 0 ? looks.empty() : LooksUnchanged(*engine.DrawOrder, 0, n, engine.ViewRect, looks, scratch)))
        return n;
    current.clear();
    for (std::size_t i = 0; i < n; ++i)
        current.push_back(LookOf(*(*engine.DrawOrder)[i], engine.ViewRect));
    FillSurface(surface, fill);
    const std::int32_t before = engine.DrawnCount;
    for (std::size_t i = 0; i < n; ++i)
        (*engine.DrawOrder)[i]->Draw();
    drawn = engine.DrawnCount - before;
    engine.DrawnCount = before;
    picture.SetSize(surface.Width(), surface.Height());
    std::memcpy(picture.Bits(), surface.Bits(),
                std::size_t(surface.Width()) * std::size_t(surface.Height()) * sizeof(std::uint16_t));
    looks.swap(current);
    fillColour = fill;
    generation = engine.TreeChanges;
    target = &surface;
    valid = true;
    ++version;
    return n;
}

}  // namespace vorlanex
