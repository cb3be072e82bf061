// Snow flakes: drift, fall, and replacement at the top when a flake leaves the screen.

#include "actors/Snow.h"

#include "actors/BattleContext.h"
#include "actors/GameState.h"
#include "framework/AssetNames.h"

namespace vorlanex {

namespace {

// "Snow0" 30 %, "Snow2" 49 %, "Snow1" 21 %.
const char* PickFlakePicture(const TSprite& sprite)
{
    if (GameRandomNumber(sprite) < 0.3)
        return names::Snow0;
    return GameRandomNumber(sprite) <= 0.7 ? names::Snow2 : names::Snow1;
}

}  // namespace

TScrollBackground2* CreateSnowFlake(TSpriteEngine& engine, bool atTop)
{
    auto* flake = new TScrollBackground2(&engine);
    BattleContext& battle = Battle(*flake);
    flake->Image = FindPicture(*flake, PickFlakePicture(*flake));
    flake->SetGridSize(1, 1);
    flake->X = GameRandom(*flake, battle.DisplayWidth());
    flake->Y = atTop ? 0 : GameRandom(*flake, battle.DisplayHeight());
    flake->SetZ(8);
    flake->FlakeSpeed = GameRandom(*flake, 6) + 2;
    return flake;
}

// MoveCount is not used: a flake moves the same distance every frame. A fast drifter falls slowly.
void TScrollBackground2::Step(std::int32_t MoveCount)
{
    TBackgroundSprite::Step(MoveCount);
    BattleContext& battle = Battle(*this);
    if (battle.Game.Wind != 0)
        X += FlakeSpeed / 3;
    else
        X -= FlakeSpeed / 3;
    Y += 8 / FlakeSpeed;
    if (Y <= battle.DisplayHeight() && X >= 0 && X <= battle.DisplayWidth())
        return;
    // Out on any side: replaced at the top, never wrapped to the other side.
    Kill();
    if (Engine)
        CreateSnowFlake(*Engine, true);
}

void TScrollBackground2::Fields(FieldSink& out) const
{
    TBackgroundSprite::Fields(out);
    out.Real("FlakeSpeed", FlakeSpeed);
}

}  // namespace vorlanex
