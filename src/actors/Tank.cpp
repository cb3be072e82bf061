// The tank base: defaults, the end of the spawn blink, clamping, terrain push-back and firing.

#include "actors/Tank.h"

#include <algorithm>
#include <cmath>

#include "actors/BattleContext.h"
#include "actors/Bullet.h"
#include "framework/AssetNames.h"
#include "framework/PictureCollection.h"

namespace vorlanex {

namespace {

// (Trunc(v) div 32) x 32: the start of the cell holding v, truncating toward zero as the grid always did.
double SnapToCell(double v) { return double(TruncToInt32(v) / CellSize * CellSize); }

}  // namespace

double GridStart(double v) { return std::trunc(v / CellSize) * CellSize; }

std::int32_t VolleyOffset(std::int32_t i)
{
    const std::int32_t step = (i + 1) / 2 * 4;
    return i % 2 == 1 ? step : -step;
}

const char* PlayerTankPicture(Heading direction)
{
    switch (direction)
    {
    case Heading::Left: return names::MyTankLeft;
    case Heading::Right: return names::MyTankRight;
    case Heading::Up: return names::MyTankUp;
    default: return names::MyTankDown;
    }
}

std::int32_t DirectionAngle(Heading direction)
{
    switch (direction)
    {
    case Heading::Left: return 128;
    case Heading::Up: return 64;
    case Heading::Down: return 192;
    default: return 0;
    }
}

TTank::TTank(TSprite* parent) : TImageSprite(parent)
{
    SetPicture(FindPicture(*this, names::Blink));
    PixelExact = false;
    X = 200;
    Y = 240 - Height / 2;
    SetZ(1);
    Collidable = false;
    FrameStart = 0;
    FrameLooped = true;
    FrameSpeed = 0.01;
}

TTank::~TTank()
{
    for (TBullet* bullet : firedBullets)
        bullet->owner = nullptr;
}

// The subclass counts Age after this, so a player tank shows its picture from its 62nd Step.
void TTank::Step(std::int32_t MoveCount)
{
    TImageSprite::Step(MoveCount);
    if (State == StateAppearing && Age > AppearingSteps)
    {
        State = StateActive;
        Image = FindPicture(*this, PlayerTankPicture(Direction));
        FrameStart = 0;
        FrameCount = 2;
        Collidable = true;
    }
}

bool TTank::ClampToDisplay()
{
    const BattleContext& battle = Battle(*this);
    const double right = battle.DisplayWidth() - Width;
    const double bottom = battle.DisplayHeight() - Height;
    const double oldX = X, oldY = Y;
    if (X < 0)
        X = 0;
    if (X > right)
        X = right;
    if (Y < 0)
        Y = 0;
    if (Y > bottom)
        Y = bottom;
    return X != oldX || Y != oldY;
}

bool TTank::EndComputerTimedStates()
{
    if (State == StateFrozen)
    {
        if (Age > FreezeTime)
        {
            FreezeTime = 0;
            State = StateActive;
            Collidable = true;
        }
        return false;
    }
    if (!Visible && Age > HideTime)
    {
        HideTime = 0;
        Visible = true;
        Collidable = true;
    }
    if (State == StateSuper && Age > SuperTime)
    {
        State = StateActive;
        SuperTime = 0;
        Collidable = true;
        FrameStart = Life <= 400 ? 1 : 0;
    }
    return true;
}

void TTank::DriveAhead(double distance)
{
    switch (Direction)
    {
    case Heading::Left: X -= distance; break;
    case Heading::Right: X += distance; break;
    case Heading::Up: Y -= distance; break;
    case Heading::Down: Y += distance; break;
    default: break;
    }
}

const char* TTank::BulletPicture() const
{
    if (BulletSize == 16)
        return names::BulletSize16;
    if (BulletSize == 24)
        return names::BulletSize24;
    return nullptr;
}

TBullet* TTank::LaunchBullet(const char* picture)
{
    auto* bullet = new TBullet(Engine);
    bullet->SetOwner(this);
    bullet->Power = BulletPower;
    bullet->Speed = BulletSpeed;
    if (picture)
        bullet->SetPicture(FindPicture(*this, picture));
    bullet->X = X + Width / 2.0 - bullet->Width / 2.0;
    bullet->Y = Y + Height / 2.0 - bullet->Height / 2.0;
    return bullet;
}

void TTank::FireVolley(const char* picture, const std::function<void(TBullet&, std::int32_t)>& aim)
{
    const std::int32_t n = 2 * Spread + 1;
    LiveBullets += n;
    for (std::int32_t i = 0; i < n; ++i)
        aim(*LaunchBullet(picture), i);
    LastShot = Age;
}

void TTank::AimAlongHeading(TBullet& shot, std::int32_t i) const
{
    if (Spread > 0)
        shot.Angle = VolleyOffset(i);
    shot.Angle += DirectionAngle(Direction);
}

void TTank::FireVolley()
{
    FireVolley(BulletPicture(), [this](TBullet& shot, std::int32_t i) { AimAlongHeading(shot, i); });
}

void TTank::PushBackFrom(const TSprite& terrain)
{
    switch (Direction)
    {
    case Heading::Up: Y = SnapToCell(terrain.Y + terrain.Height); break;
    case Heading::Down: Y = SnapToCell(terrain.Y - 1); break;
    case Heading::Left: X = SnapToCell(terrain.X + terrain.Width); break;
    case Heading::Right: X = SnapToCell(terrain.X - 1); break;
    default: break;
    }
}

void TTank::Fields(FieldSink& out) const
{
    TImageSprite::Fields(out);
    out.Int("State", std::int32_t(State));
    out.Int("Team", Team);
    out.Int("Age", Age);
    out.Int("Score", Score);
    out.Int("Direction", std::uint8_t(Direction));
    out.Real("Speed", Speed);
    out.Int("Life", Life);
    out.Int("AllPass", AllPass);
    out.Int("FreezeTime", FreezeTime);
    out.Int("HideTime", HideTime);
    out.Int("SuperTime", SuperTime);
    out.Int("LiveBullets", LiveBullets);
    out.Int("MaxBullets", MaxBullets);
    out.Real("BulletSpeed", BulletSpeed);
    out.Int("BulletPower", BulletPower);
    out.Int("BulletSize", BulletSize);
    out.Int("Spread", Spread);
    out.Int("ShotDelay", ShotDelay);
    out.Int("LastShot", LastShot);
    out.Int("Clever", Clever);
}

}  // namespace vorlanex
