#pragma once
// Power-ups ("gems"): a picture on a random cell that waits a while and changes the first tank driving over
// it. Any tank takes one — player, enemy, boss or plane — and the effect goes to the taker, except that the
// freeze acts on the other side and the plane gem calls a squadron for the taker's side.

#include <cstdint>

#include "framework/SpriteEngine.h"

namespace vorlanex {

class TTank;

// TGemSprite::Kind values, one per effect; every kind is equally likely.
enum GemKind : std::uint8_t
{
    GemSingleShot,
    GemTripleShot,
    GemFiveShot,
    GemFasterBullets,
    GemSlowerBullets,
    GemFasterFire,
    GemStrongerBullets,
    GemMoreBullets,
    GemBulletSize8,
    GemBulletSize16,
    GemBulletSize24,
    GemRepair,
    GemFasterTank,
    GemHide,
    GemSuper,
    GemFreezeOthers,
    GemPassAll,
    GemCallPlanes,
    GemClever,
    GemKindCount,
};

// The picture each kind shows.
const char* GemPicture(std::uint8_t kind);

class TGemSprite : public TImageSprite
{
public:
    // Picks the kind and a random cell centre of the display, and announces itself.
    explicit TGemSprite(TSprite* parent);
    void Step(std::int32_t MoveCount) override;
    void OnHit(TSprite& other, bool& Done) override;
    const char* ClassName() const override { return "TGemSprite"; }
    void Fields(FieldSink& out) const override;

    // Sets the kind and its picture (tests and the constructor).
    void SetKind(std::uint8_t kind);
    // The effect of Kind on a tank, without the points, the sound or removing the gem.
    void ApplyTo(TTank& tank) const;

    std::uint8_t Kind = 0;
    std::int32_t Lifetime = 0;   // Steps left before the gem expires

private:
    void Expire();
};

}  // namespace vorlanex
