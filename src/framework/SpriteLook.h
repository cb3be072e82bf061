#pragma once
// Everything the drawing of an image or background sprite depends on, so that a kept picture of such sprites
// can be checked against the tree frame by frame.

#include <cstdint>
#include <vector>

#include "framework/Types.h"

namespace vorlanex {

class TPictureCollectionItem;
class TSprite;

struct SpriteLook
{
    const TSprite* sprite = nullptr;
    const TPictureCollectionItem* image = nullptr;
    bool visible = false;
    bool drawn = false;   // visible and inside the view: the draw pass renders it
    double x = 0, y = 0;   // where the pattern's top-left lands
    TRect bounds;
    TRect footprint;   // the pixels an image sprite's pattern can cover; empty when it draws nothing
    std::int32_t pattern = 0;
    std::vector<std::int32_t> chips;   // a background's chip map and grid size
    bool operator==(const SpriteLook&) const = default;
};

// Image sprites and background sprites without children: what they draw follows from their look alone.
bool DrawnByLook(const TSprite& sprite);
SpriteLook LookOf(TSprite& sprite, const TRect& view);
// The same into `look`, every field of it written.
void LookOf(TSprite& sprite, const TRect& view, SpriteLook& look);
// Whether the sprites order[first, end) look as `kept` says, one by one; `scratch` holds each look as it is made,
// so that the usual frame, where nothing changed, keeps nothing.
bool LooksUnchanged(const std::vector<TSprite*>& order, std::size_t first, std::size_t end, const TRect& view,
                    const std::vector<SpriteLook>& kept, SpriteLook& scratch);

}  // namespace vorlanex
