#include "framework/SpriteLook.h"

#include "framework/PictureCollection.h"
#include "framework/SpriteEngine.h"

namespace vorlanex {

namespace {

// The pattern's rectangle placed at its top-left: a draw never leaves it.
TRect FootprintOf(const TImageSprite& sprite, std::int32_t left, std::int32_t top, std::int32_t pattern, bool drawn)
{
    if (!drawn || !sprite.Image || pattern < 0)
        return {};
    const auto& patterns = sprite.Image->Patterns();
    if (std::size_t(pattern) >= patterns.size())
        return {};
    const TRect& source = patterns[std::size_t(pattern)].rect;
    return {left, top, left + source.Width(), top + source.Height()};
}

}  // namespace

bool DrawnByLook(const TSprite& sprite)
{
    return !sprite.Children && (sprite.IsImageSprite() || dynamic_cast<const TBackgroundSprite*>(&sprite));
}

// Writes every field, so that one look can be filled again and again without being made anew.
void LookOf(TSprite& sprite, const TRect& view, SpriteLook& look)
{
    look.sprite = &sprite;
    look.visible = sprite.Visible;
    look.bounds = sprite.CurrentBounds();
    look.drawn = sprite.Visible && OverlapRect(look.bounds, view);
    look.chips.clear();
    if (sprite.IsImageSprite())
    {
        auto* image = static_cast<TImageSprite*>(&sprite);
        look.image = image->Image;
        look.pattern = image->PatternIndex();
        const TRect at = image->DrawRect();
        look.x = at.Left;
        look.y = at.Top;
        look.footprint = FootprintOf(*image, at.Left, at.Top, look.pattern, look.drawn);
    }
    else if (auto* background = dynamic_cast<TBackgroundSprite*>(&sprite))
    {
        look.image = background->Image;
        look.x = background->AbsoluteX();
        look.y = background->AbsoluteY();
        look.pattern = background->Tiled ? 1 : 0;
        look.footprint = {};
        look.chips = background->ChipMap;
        look.chips.push_back(background->GridCols);
        look.chips.push_back(background->GridRows);
    }
    else
    {
        look.image = nullptr;
        look.x = look.y = 0;
        look.pattern = 0;
        look.footprint = {};
    }
}

SpriteLook LookOf(TSprite& sprite, const TRect& view)
{
    SpriteLook look;
    LookOf(sprite, view, look);
    return look;
}

bool LooksUnchanged(const std::vector<TSprite*>& order, std::size_t first, std::size_t end, const TRect& view,
                    const std::vector<SpriteLook>& kept, SpriteLook& scratch)
{
    if (kept.size() != end - first)
        return false;
    for (std::size_t i = first; i < end; ++i)
    {
        LookOf(*order[i], view, scratch);
        if (!(scratch == kept[i - first]))
            return false;
    }
    return true;
}

}  // namespace vorlanex
