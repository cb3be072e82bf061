// Power-ups: creation on a random cell, expiry with a small explosion, and the nineteen effects.

#include "actors/GemSprite.h"

#include <algorithm>
#include <array>

#include "actors/BattleContext.h"
#include "actors/Explosions.h"
#include "actors/GameState.h"
#include "actors/Tank.h"
#include "framework/AssetNames.h"
#include "framework/FieldSink.h"

namespace vorlanex {

namespace {

constexpr std::array<const char*, GemKindCount> GemPictures = {
    "ScanBullet1",    "ScanBullet3",    "ScanBullet5",     "AddBulletSpeed", "SubBulletSpeed",
    "AddShotSpeed",   "AddBulletPower", "AddBullets",      "GemBulletSize8", "GemBulletSize16",
    "GemBulletSize24", "AddTankLife",   "AddTankSpeed",    "HideTank",       "SuperTank",
    "StopTank",       "AllPass",        "Plane",           "GemClever",
};

constexpr double MaxBulletSpeed = 4000, MinBulletSpeed = 500;
constexpr std::int32_t MaxBulletPower = 1000, MaxBulletCount = 60;
constexpr double MaxTankSpeed = 1000;
// From this life on a tank looks intact again.
constexpr std::int32_t IntactLife = 400;
constexpr std::int32_t PointsPerGem = 1000;

}  // namespace

const char* GemPicture(std::uint8_t kind)
{
    return kind < GemKindCount ? GemPictures[kind] : nullptr;
}

TGemSprite::TGemSprite(TSprite* parent) : TImageSprite(parent)
{
    BattleContext& battle = Battle(*this);
    Lifetime = battle.Game.GemLifetime;
    SetKind(std::uint8_t(GameRandom(*this, GemKindCount)));
    // Width and Height stay 0: the gem is a point, drawn centred on its cell.
    X = (GameRandom(*this, battle.DisplayWidth()) / CellSize) * CellSize + CellSize / 2;
    Y = (GameRandom(*this, battle.DisplayHeight()) / CellSize) * CellSize + CellSize / 2;
    SetZ(9);
    battle.PlaySound(names::WaveGemBorn, false);
}

void TGemSprite::SetKind(std::uint8_t kind)
{
    Kind = kind;
    // A kind outside the table has no picture; looking up a null name would throw.
    const char* picture = GemPicture(kind);
    Image = picture ? FindPicture(*this, picture) : nullptr;
}

void TGemSprite::Step(std::int32_t MoveCount)
{
    TImageSprite::Step(MoveCount);
    if (--Lifetime > 0)
        CheckHits();
    else
        Expire();
}

void TGemSprite::Expire()
{
    Battle(*this).PlaySound(names::WaveShortBlast, false);
    Kill();
    auto* explosion = new TExplosion(Engine);
    explosion->SetZ(10);
    explosion->X = X + Width / 2.0 - explosion->Width / 2.0;
    explosion->Y = Y + Height / 2.0 - explosion->Height / 2.0;
}

// The hit search goes on after Done, so every tank covering the point in this Step takes the gem.
void TGemSprite::OnHit(TSprite& other, bool& Done)
{
    auto* tank = dynamic_cast<TTank*>(&other);
    if (!tank)
        return;
    Done = true;
    Collidable = false;
    ApplyTo(*tank);
    tank->Score += PointsPerGem;
    Kill();
    Battle(*this).PlaySound(names::WaveGemTaken, false);
}

void TGemSprite::ApplyTo(TTank& tank) const
{
    BattleContext& battle = Battle(*this);
    const GameState& game = battle.Game;
    switch (Kind)
    {
    case GemSingleShot: tank.Spread = 0; break;
    case GemTripleShot: tank.Spread = 1; break;
    case GemFiveShot: tank.Spread = 2; break;
    case GemFasterBullets: tank.BulletSpeed = std::min(tank.BulletSpeed + 50, MaxBulletSpeed); break;
    case GemSlowerBullets: tank.BulletSpeed = std::max(tank.BulletSpeed - 50, MinBulletSpeed); break;
    case GemFasterFire: tank.ShotDelay = std::max(tank.ShotDelay - 1, 0); break;
    case GemStrongerBullets: tank.BulletPower = std::min(tank.BulletPower + 50, MaxBulletPower); break;
    case GemMoreBullets: tank.MaxBullets = std::min(tank.MaxBullets + 1, MaxBulletCount); break;
    case GemBulletSize8: tank.BulletSize = 8; break;
    case GemBulletSize16: tank.BulletSize = 16; break;
    case GemBulletSize24: tank.BulletSize = 24; break;
    case GemRepair:
        tank.Life = std::min(tank.Life + 100, game.MaxLife);
        if (tank.Life >= IntactLife)
        {
            tank.FrameStart = 0;
            tank.FrameCount = 2;
        }
        break;
    case GemFasterTank: tank.Speed = std::min(tank.Speed + 100, MaxTankSpeed); break;
    case GemHide:
        tank.HideTime = game.EffectDuration;
        tank.Age = 0;
        tank.LastShot = 0;
        tank.Visible = false;
        break;
    case GemSuper:
        tank.SuperTime = game.EffectDuration;
        tank.Age = 0;
        tank.LastShot = 0;
        tank.State = StateSuper;
        tank.FrameStart = 3;
        tank.FrameCount = 2;
        break;
    case GemFreezeOthers: battle.FreezeOtherTeams(tank.Team); break;
    case GemPassAll:
        tank.AllPass = 1;
        tank.SetZ(9);
        break;
    case GemCallPlanes:
        battle.CallPlanes(tank.Team, GameRandom(*this, 4) + 7);
        battle.PlaySound(names::WavePlanes, false);
        break;
    case GemClever:
        tank.Clever = 1;
        tank.LastShot = 0;
        break;
    default: break;   // a kind set from outside the table changes nothing
    }
}

void TGemSprite::Fields(FieldSink& out) const
{
    TImageSprite::Fields(out);
    out.Int("Kind", Kind);
    out.Int("Lifetime", Lifetime);
}

}  // namespace vorlanex
