#pragma once
// A plane of a squadron crossing the field from left to right, firing fans of missiles ahead of it. It cannot
// be hit and ignores its state: a frozen plane flies and fires on.

#include <cstdint>

#include "actors/Tank.h"

namespace vorlanex {

class THelpPlane : public TTank
{
public:
    explicit THelpPlane(TSprite* parent);
    void Step(std::int32_t MoveCount) override;
    const char* ClassName() const override { return "THelpPlane"; }

private:
    void FireMissiles();
};

}  // namespace vorlanex
