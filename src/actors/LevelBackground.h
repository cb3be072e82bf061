#pragma once
// The level's background under everything. The game state points at it, and the pointer goes with it.

#include "framework/SpriteEngine.h"

namespace vorlanex {

// Shown in the state dump as the plain background sprite it is.
class TLevelBackground final : public TBackgroundSprite
{
public:
    using TBackgroundSprite::TBackgroundSprite;
    ~TLevelBackground() override;
};

}  // namespace vorlanex
