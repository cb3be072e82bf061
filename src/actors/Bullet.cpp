// Bullets: flight, contacts in their fixed order, and what destroying a tank sets off.

#include "actors/Bullet.h"

#include <algorithm>
#include <cmath>

#include "actors/BattleContext.h"
#include "actors/Direction.h"
#include "actors/EnemyBoss.h"
#include "actors/EnemyTank.h"
#include "actors/Explosions.h"
#include "actors/GameState.h"
#include "actors/HelpPlane.h"
#include "actors/MyTank.h"
#include "actors/Tank.h"
#include "actors/TerrSprite.h"
#include "framework/AssetNames.h"
#include "framework/PictureCollection.h"

namespace vorlanex {

TBullet::TBullet(TSprite* parent) : TImageSprite(parent)
{
    Angle = 0;
    Speed = 500;
    Power = 50;
    PixelExact = false;
    SetZ(7);
    SetPicture(FindPicture(*this, names::BulletSize8));
    if (Image)
        FrameCount = Image->PatternCount();
    FrameLooped = true;
    FrameSpeed = 0.015;
}

// A bullet freed after its owner (both in one pass, or the whole tree cleared) has nothing to give back.
TBullet::~TBullet()
{
    if (!owner)
        return;
    --owner->LiveBullets;
    auto& list = owner->firedBullets;
    list.erase(std::find(list.begin(), list.end(), this));
}

void TBullet::SetOwner(TTank* tank)
{
    if (owner)
    {
        auto& list = owner->firedBullets;
        list.erase(std::find(list.begin(), list.end(), this));
    }
    owner = tank;
    if (owner)
        owner->firedBullets.push_back(this);
}

bool TBullet::OwnerGone() const { return !owner || owner->IsDead; }

// It leaves only once it is off the display by its whole size.
void TBullet::Step(std::int32_t MoveCount)
{
    TImageSprite::Step(MoveCount);
    const double d = Speed / 1000 * MoveCount;
    const int heading = TruncToInt32(Angle);
    X += TurnCos(heading) * d;
    Y -= TurnSin(heading) * d;
    const BattleContext& battle = Battle(*this);
    if (X >= battle.DisplayWidth() + Width || X < -Width || Y >= battle.DisplayHeight() + Height || Y < -Height)
        Kill();
    CheckHits();   // finds nothing once the bullet is dead
}

void TBullet::OnHit(TSprite& other, bool& Done)
{
    if (other.IsDead)
        return;
    if (OwnerGone())
    {
        Kill();
        return;
    }
    if (auto* terrain = dynamic_cast<TTerrSprite*>(&other))
        HitTerrain(*terrain, Done);
    else if (auto* tank = dynamic_cast<TTank*>(&other))
        HitTank(*tank, Done);
    else if (auto* bullet = dynamic_cast<TBullet*>(&other))
        HitBullet(*bullet, Done);
}

// Planes fire in silence.
void TBullet::PlayHitSound()
{
    if (!dynamic_cast<THelpPlane*>(owner))
        Battle(*this).PlaySound(names::WaveHit, false);
}

void TBullet::HitTerrain(TSprite& other, bool& Done)
{
    auto& terrain = static_cast<TTerrSprite&>(other);
    if (terrain.BulletsPass())
        return;
    terrain.Durability -= Power;
    if (terrain.Durability <= 0)
        terrain.Kill();
    PlayHitSound();
    Kill();
    Done = true;
    auto* explosion = new TExplosion(Engine);
    explosion->SetZ(9);
    explosion->X = X + Width / 2.0 - explosion->Width / 2.0;
    explosion->Y = Y + Height / 2.0 - explosion->Height / 2.0;
}

void TBullet::HitTank(TTank& tank, bool& Done)
{
    if (!tank.Visible || &tank == owner || tank.Team == owner->Team)
        return;
    if (tank.State != StateSuper)
        tank.Life -= Power;
    // A Super target costs nothing but still scores.
    owner->Score += Power;
    GameState& game = Battle(*this).Game;
    if (owner == game.Player1Tank)
        game.Carry1.Score = owner->Score;
    if (owner == game.Player2Tank)
        game.Carry2.Score = owner->Score;
    if (auto* enemy = dynamic_cast<TEnemyTank*>(&tank); enemy && owner->Team == PlayersTeam && enemy->Clever)
    {
        enemy->Direction = OppositeDirection(owner->Direction);
        enemy->UpdatePicture();
    }
    if (tank.Life <= 0)
        DestroyTank(tank);
    PlayHitSound();
    if (tank.Life <= 400)
        tank.FrameStart = 1;
    auto* explosion = new TExplosion(Engine);
    explosion->SetZ(9);
    explosion->X = X - explosion->Width / 2.0;
    explosion->Y = Y - explosion->Height / 2.0;
    Kill();
    Done = true;
}

// Bullets of opposite sides annihilate each other, with no explosion. A bullet whose owner is gone has no side
// any more and is passed; it removes itself at its own next contact.
void TBullet::HitBullet(TBullet& other, bool& Done)
{
    if (!other.owner)
        return;
    if (other.owner->Team == owner->Team)
        return;
    other.Kill();
    PlayHitSound();
    Kill();
    Done = true;
}

template <class Explosion>
void TBullet::Scatter()
{
    for (int i = 0; i < 5; ++i)
    {
        auto* explosion = new Explosion(Engine);
        explosion->SetZ(10);
        explosion->X = GameRandom(*this, 2 * Width) + X - 16;
        explosion->Y = GameRandom(*this, 2 * Height) + Y - 16;
    }
}

void TBullet::DestroyTank(TTank& tank)
{
    BattleContext& battle = Battle(*this);
    GameState& game = battle.Game;
    if (dynamic_cast<TEnemyTank*>(&tank) || dynamic_cast<TEnemyBoss*>(&tank))
    {
        ++game.EnemiesDestroyed;
        Scatter<TExplosionRed>();
    }
    else if (dynamic_cast<TMyTank*>(&tank))
    {
        ++game.PlayerLosses;
        Scatter<TExplosionBig>();
        ReplacePlayerTank(tank);
    }
    battle.KillBulletsOf(tank);
    tank.Kill();
    if (!game.Player1Alive)
        game.Player1Tank = nullptr;
    if (!game.Player2Alive)
        game.Player2Tank = nullptr;
}

// A lost player tank comes back at once at the start cell while the player and the pair still have lives.
void TBullet::ReplacePlayerTank(TTank& tank)
{
    GameState& game = Battle(*this).Game;
    const bool player1 = &tank == game.Player1Tank;
    const bool player2 = &tank == game.Player2Tank;
    if (player1)
    {
        game.Player1Alive = 0;
        ++game.LifeDebt1;
    }
    if (player2)
    {
        game.Player2Alive = 0;
        ++game.LifeDebt2;
    }
    if (game.Lives1 + game.Lives2 + 1 < game.PlayerLosses)
        return;
    if (player1 && game.Lives1 >= game.LifeDebt1)
    {
        game.Player1Tank = ReturnPlayerTank(*Engine, 1, game.Carry1.Score);
        game.Player1Alive = 1;
    }
    if (player2 && game.Lives2 >= game.LifeDebt2)
    {
        game.Player2Tank = ReturnPlayerTank(*Engine, 2, game.Carry2.Score);
        game.Player2Alive = 1;
    }
}

void TBullet::Fields(FieldSink& out) const
{
    TImageSprite::Fields(out);
    out.Ref("Owner", owner);
    out.Real("Angle", Angle);
    out.Real("Speed", Speed);
    out.Int("Power", Power);
}

}  // namespace vorlanex
