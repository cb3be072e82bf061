#pragma once
// The last enemy of every level: a heavily armoured tank that crawls straight at a player and fires aimed shots.

#include <cstdint>

#include "actors/Tank.h"

namespace vorlanex {

class TEnemyBoss : public TTank
{
public:
    explicit TEnemyBoss(TSprite* parent);
    void Step(std::int32_t MoveCount) override;
    const char* ClassName() const override { return "TEnemyBoss"; }

private:
    TTank* Target() const;
    void Chase(const TTank* target);
    void FireAt(const TTank* target);
};

// The heading from a bullet's centre to a target's centre, in 256ths of a turn (0 right, 64 up).
double AimAngle(double dx, double dy);

}  // namespace vorlanex
