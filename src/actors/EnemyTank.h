#pragma once
// The computer's ordinary tank: it runs straight on the 32-pixel grid, turns at random or when it has been
// held back for a while, and fires whenever its gun is ready.

#include <cstdint>

#include "actors/Tank.h"

namespace vorlanex {

class TEnemyTank : public TTank
{
public:
    explicit TEnemyTank(TSprite* parent);
    void OnHit(TSprite& other, bool& Done) override;
    void Step(std::int32_t MoveCount) override;
    const char* ClassName() const override { return "TEnemyTank"; }
    void Fields(FieldSink& out) const override;

    // Kinds 0 to 3: picture set and stats; any other value changes nothing.
    void SetKind(std::int32_t kind);
    // The picture for Kind and Direction, nothing else.
    void UpdatePicture();
    // Any of the three other directions, each as likely.
    void PickNewDirection();

    std::int32_t TurnPressure = 0;
    std::int32_t TurnPatience = 50;
    std::int32_t Kind = 0;

private:
    void BuildTurnPressure(int hits, bool clamped);
    void AlignAcross();
};

}  // namespace vorlanex
