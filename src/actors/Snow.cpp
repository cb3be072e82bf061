// Snow flakes: drift, fall, and replacement at the top when a flake leaves the screen.

#include "actors/Snow.h"

#include <nlohmann/json.hpp>

#include "actors/ActorServices.h"

namespace vorlanex {

namespace {

// "Snow0" 30 %, "Snow2" 49 %, "Snow1" 21 %.
const char* PickFlakePicture(const TSprite& sprite)
{
    if (GameRandomNumber(sprite) < 0.3)
        return "Snow0";
    return GameRandomNumber(sprite) <= 0.7 ? "Snow2" : "Snow1";
}

}  // namespace

TScrollBackground2* CreateSnowFlake(TSpriteEngine& engine, bool atTop)
{
    auto* flake = new TScrollBackground2(&engine);
    flake->Image = FindBuiltinPicture(*flake, PickFlakePicture(*flake));
    flake->SetGridSize(1, 1);
    flake->X = GameRandom(*flake, ScreenWidth(*flake));
    flake->Y = atTop ? 0 : GameRandom(*flake, ScreenHeight(*flake));
    flake->SetZ(8);
    flake->FlakeSpeed = GameRandom(*flake, 6) + 2;
    return flake;
}

// MoveCount is not used: a flake moves the same distance every frame. A fast drifter falls slowly.
void TScrollBackground2::Step(std::int32_t MoveCount)
{
    TBackgroundSprite::Step(MoveCount);
    if (GameWind(*this) != 0)
        X += FlakeSpeed / 3;
    else
        X -= FlakeSpeed / 3;
    Y += 8 / FlakeSpeed;
    if (Y <= ScreenHeight(*this) && X >= 0 && X <= ScreenWidth(*this))
        return;
    // Out on any side: replaced at the top, never wrapped to the other side.
    Kill();
    if (Engine)
        CreateSnowFlake(*Engine, true);
}

void TScrollBackground2::DumpFields(nlohmann::json& out) const
{
    TBackgroundSprite::DumpFields(out);
    out["FlakeSpeed"] = FlakeSpeed;
}

}  // namespace vorlanex
