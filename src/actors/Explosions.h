#pragma once
// Explosions: short looped animations that remove themselves after a fixed number of Steps. Their creator
// places them and sets their Z.

#include <cstdint>

#include "framework/SpriteEngine.h"

namespace vorlanex {

// What tells one explosion from another: its picture and how long it lasts.
struct ExplosionKind
{
    const char* picture;
    std::int32_t patternSize;    // the built-in picture's pattern size, used when the picture is missing
    std::int32_t patternCount;
    std::int32_t timeLeft;
};

// The start and the Step all explosions share.
class ExplosionEffect : public TImageSprite
{
public:
    ExplosionEffect(TSprite* parent, const ExplosionKind& kind);
    void Step(std::int32_t MoveCount) override;
    void Fields(FieldSink& out) const override;

    std::int32_t TimeLeft = 0;   // Steps until the explosion removes itself
};

// Left at a bullet's point of impact and by an expiring power-up: killed in its 16th Step.
class TExplosion final : public ExplosionEffect
{
public:
    explicit TExplosion(TSprite* parent);
    const char* ClassName() const override { return "TExplosion"; }
};

// Scattered over a destroyed enemy: killed in its 46th Step.
class TExplosionRed final : public ExplosionEffect
{
public:
    explicit TExplosionRed(TSprite* parent);
    const char* ClassName() const override { return "TExplosionRed"; }
};

// Scattered over a destroyed player tank: killed in its 61st Step.
class TExplosionBig final : public ExplosionEffect
{
public:
    explicit TExplosionBig(TSprite* parent);
    const char* ClassName() const override { return "TExplosionBig"; }
};

}  // namespace vorlanex
