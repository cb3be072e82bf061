#pragma once
// Every shell in flight, whoever fired it. The damage, kill and score bookkeeping of a battle lives here:
// destroying an enemy counts it, destroying a player tank uses up a life and, while lives last, brings a fresh
// tank in at the player start.

#include <cstdint>

#include "framework/SpriteEngine.h"

namespace vorlanex {

class TTank;

class TBullet : public TImageSprite
{
public:
    explicit TBullet(TSprite* parent);
    ~TBullet() override;
    void OnHit(TSprite& other, bool& Done) override;
    void Step(std::int32_t MoveCount) override;
    const char* ClassName() const override { return "TBullet"; }
    void Fields(FieldSink& out) const override;

    // The tank or plane that fired it: its team is the bullet's side, and it earns the score. Null once the
    // owner has been freed; a bullet without an owner removes itself at its next contact.
    TTank* Owner() const { return owner; }
    void SetOwner(TTank* tank);

    double Angle = 0;
    double Speed = 500;
    std::int32_t Power = 50;

private:
    friend class TTank;
    bool OwnerGone() const;
    void HitTerrain(TSprite& terrain, bool& Done);
    void HitTank(TTank& tank, bool& Done);
    void HitBullet(TBullet& other, bool& Done);
    void PlayHitSound();
    void DestroyTank(TTank& tank);
    void ReplacePlayerTank(TTank& tank);
    template <class Explosion>
    void Scatter();

    TTank* owner = nullptr;
};

}  // namespace vorlanex
