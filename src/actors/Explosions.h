#pragma once
// Explosions: short looped animations that remove themselves after a fixed number of Steps. Their creator
// places them and sets their Z.

#include <cstdint>

#include "framework/SpriteEngine.h"

namespace vorlanex {

// Left at a bullet's point of impact and by an expiring power-up: killed in its 16th Step.
class TExplosion : public TImageSprite
{
public:
    explicit TExplosion(TSprite* parent);
    void Step(std::int32_t MoveCount) override;
    const char* ClassName() const override { return "TExplosion"; }
    void Fields(FieldSink& out) const override;

    std::int32_t TimeLeft = 0;   // Steps until the explosion removes itself
};

// Scattered over a destroyed enemy: killed in its 46th Step.
class TExplosionRed : public TImageSprite
{
public:
    explicit TExplosionRed(TSprite* parent);
    void Step(std::int32_t MoveCount) override;
    const char* ClassName() const override { return "TExplosionRed"; }
    void Fields(FieldSink& out) const override;

    std::int32_t TimeLeft = 0;
};

// Scattered over a destroyed player tank: killed in its 61st Step.
class TExplosionBig : public TImageSprite
{
public:
    explicit TExplosionBig(TSprite* parent);
    void Step(std::int32_t MoveCount) override;
    const char* ClassName() const override { return "TExplosionBig"; }
    void Fields(FieldSink& out) const override;

    std::int32_t TimeLeft = 0;
};

}  // namespace vorlanex
