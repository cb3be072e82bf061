#pragma once
// Tank values shared by every tank-like actor, and the player tank's own values.
// The shell reads and carries them between levels; driving and firing come with the tank actors.

#include <cstdint>

#include "framework/SpriteEngine.h"

namespace vorlanex {

class TTank : public TImageSprite
{
public:
    explicit TTank(TSprite* parent);
    const char* ClassName() const override { return "TTank"; }
    void DumpFields(nlohmann::json& out) const override;

    std::int32_t State = 0;
    std::int32_t Team = 0;
    std::int32_t Age = 0;
    std::int32_t Score = 0;
    std::uint8_t Direction = 3;
    double Speed = 200;
    std::int32_t Life = 400;
    std::uint8_t AllPass = 0;
    std::int32_t FreezeTime = 0;
    std::int32_t HideTime = 0;
    std::int32_t SuperTime = 0;
    std::int32_t LiveBullets = 0;
    std::int32_t MaxBullets = 2;
    double BulletSpeed = 500;
    std::int32_t BulletPower = 100;
    std::int32_t BulletSize = 8;
    std::int32_t Spread = 0;
    std::int32_t ShotDelay = 30;
    std::int32_t LastShot = 0;
    std::uint8_t Clever = 0;
};

class TMyTank : public TTank
{
public:
    explicit TMyTank(TSprite* parent);
    const char* ClassName() const override { return "TMyTank"; }
    void DumpFields(nlohmann::json& out) const override;

    std::uint8_t FireKey = 4;
    std::uint8_t UpKey = 0;
    std::uint8_t DownKey = 1;
    std::uint8_t LeftKey = 2;
    std::uint8_t RightKey = 3;
    std::uint8_t KeepKey = 13;
    std::uint8_t GiveKey = 11;
    std::uint8_t GiveLife = 0;
    std::int32_t Milestone = 0;
};

}  // namespace vorlanex
