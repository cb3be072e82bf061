// The boss: blink, timed states, the diagonal chase and aimed fire.

#include "actors/EnemyBoss.h"

#include <cmath>

#include "actors/BattleContext.h"
#include "actors/Bullet.h"
#include "actors/GameState.h"
#include "actors/MyTank.h"
#include "framework/AssetNames.h"

namespace vorlanex {

TEnemyBoss::TEnemyBoss(TSprite* parent) : TTank(parent)
{
    State = StateAppearing;
    Team = EnemiesTeam;
    Speed = 300;
    Life = 2000;
    BulletPower = 200;
    BulletSize = 16;
    ShotDelay = 30;
    SuperTime = 0;
    SetZ(9);
    PixelExact = false;
}

// The boss's own blink rule fires one Step before the tank base's would, so it never shows a player's picture.
void TEnemyBoss::Step(std::int32_t MoveCount)
{
    TTank::Step(MoveCount);
    ++Age;
    if (State == StateAppearing && Age > AppearingSteps)
    {
        State = StateActive;
        FrameStart = 0;
        FrameCount = 2;
        Collidable = true;
        Image = FindPicture(*this, names::EnemyBoss);
        return;
    }
    if (!EndComputerTimedStates())
        return;
    if (State != StateActive && State != StateSuper)
        return;
    TTank* target = Target();
    Chase(target);
    ClampToDisplay();
    if (ReadyToFire())
        FireAt(target);
}

TTank* TEnemyBoss::Target() const
{
    const GameState& game = Battle(*this).Game;
    if (game.Player1Tank)
        return game.Player1Tank;
    return game.Player2Tank;
}

// Speed / 1000 pixels a Step on both axes, whatever the move count: a slow diagonal crawl. On the target's
// line it still steps forward, so it jitters around it.
void TEnemyBoss::Chase(const TTank* target)
{
    if (!target)
        return;
    const double step = Speed / 1000;
    X += X > target->X ? -step : step;
    Y += Y > target->Y ? -step : step;
}

void TEnemyBoss::FireAt(const TTank* target)
{
    FireVolley(BulletPicture(), [target](TBullet& bullet, std::int32_t) {
        bullet.Angle = 192;
        if (target)
        {
            const double dx = (target->X + target->Width / 2.0) - (bullet.X + bullet.Width / 2.0);
            const double dy = (bullet.Y + bullet.Height / 2.0) - (target->Y + target->Height / 2.0);
            bullet.Angle = AimAngle(dx, dy);
        }
    });
}

// Whole degrees of a turn taken as 6.283 radians, not 2 pi: the boss has always aimed with that.
double AimAngle(double dx, double dy)
{
    const double degrees = std::atan2(dy, dx) / 6.283 * 360;
    const int whole = (TruncToInt32(degrees) + 360) % 360;
    return whole * 256.0 / 360;
}

}  // namespace vorlanex
