#pragma once
// Snow flakes: background sprites of one chip that drift with the wind and fall, each replaced at the top of
// the screen when it leaves, so a battle keeps the same number of flakes.

#include <cstdint>

#include "framework/SpriteEngine.h"

namespace vorlanex {

class TScrollBackground2 : public TBackgroundSprite
{
public:
    using TBackgroundSprite::TBackgroundSprite;
    void Step(std::int32_t MoveCount) override;
    const char* ClassName() const override { return "TScrollBackground2"; }
    void Fields(FieldSink& out) const override;

    // 2 to 7: the sideways drift per Step is FlakeSpeed / 3, the fall 8 / FlakeSpeed.
    double FlakeSpeed = 0;
};

// Creates one flake under the engine with a random picture, a random column and speed, at Z 8. The battle's
// start scatters flakes over the whole screen (atTop false: a random row too); a replacement enters at the top.
TScrollBackground2* CreateSnowFlake(TSpriteEngine& engine, bool atTop);

}  // namespace vorlanex
