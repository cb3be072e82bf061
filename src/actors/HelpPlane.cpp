// Help planes: straight flight to the right, removal past the edge with their missiles, fans of missiles.

#include "actors/HelpPlane.h"

#include "actors/BattleContext.h"
#include "actors/Bullet.h"
#include "framework/AssetNames.h"
#include "framework/PictureCollection.h"

namespace vorlanex {

THelpPlane::THelpPlane(TSprite* parent) : TTank(parent)
{
    State = StateActive;
    Team = PlayersTeam;
    Direction = Heading::Right;
    Speed = 500;
    MaxBullets = 10;
    BulletSpeed = 800;
    BulletPower = 800;
    BulletSize = 8;
    Spread = 2;
    ShotDelay = 10;
    SuperTime = 0;
    SetPicture(FindPicture(*this, names::HelpPlane));
    X = 0;
    Y = 100;
    SetZ(19);
    FrameCount = 4;
    PixelExact = false;
    Collidable = false;
}

void THelpPlane::Step(std::int32_t MoveCount)
{
    TTank::Step(MoveCount);
    ++Age;
    X += StepDistance(MoveCount);
    BattleContext& battle = Battle(*this);
    if (X > battle.DisplayWidth())
    {
        battle.KillBulletsOf(*this);
        Kill();
        return;
    }
    if (ReadyToFire())
        FireMissiles();
}

// The tank's fan, with missiles for bullets, flying just above the tanks.
void THelpPlane::FireMissiles()
{
    FireVolley(names::Mission, [this](TBullet& missile, std::int32_t i) {
        AimAlongHeading(missile, i);
        missile.SetZ(1);
    });
}

}  // namespace vorlanex
