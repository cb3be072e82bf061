// The battle services: what bullets, power-ups and the form's timers do to the whole battlefield at once.

#include "actors/BattleServices.h"

#include "actors/BattleContext.h"
#include "actors/Bullet.h"
#include "actors/HelpPlane.h"
#include "actors/Tank.h"

namespace vorlanex {

// Killing only marks, so the indices stay valid through the loop.
void BattleContext::KillBulletsOf(const TTank& tank)
{
    const int count = Engine.ChildCount();
    for (int i = 0; i < count; ++i)
        if (auto* bullet = dynamic_cast<TBullet*>(Engine.Child(i)); bullet && bullet->Owner() == &tank)
            bullet->Kill();
}

// The 300 Steps are fixed, whatever the timed power-ups last.
void BattleContext::FreezeOtherTeams(std::int32_t team)
{
    const int count = Engine.ChildCount();
    for (int i = 0; i < count; ++i)
    {
        auto* tank = dynamic_cast<TTank*>(Engine.Child(i));
        if (!tank || tank->Team == team)
            continue;
        tank->FreezeTime += 300;
        tank->Age = 0;
        tank->LastShot = 0;
        tank->State = StateFrozen;
    }
}

std::vector<PlanePlace> SquadronPlaces(std::int32_t displayHeight, std::int32_t count)
{
    std::vector<PlanePlace> places;
    if (count <= 0)
        return places;
    const std::int32_t step = displayHeight / (2 * count + 1);
    const std::int32_t half = count / 2;
    for (std::int32_t i = 0; i < count; ++i)
    {
        const std::int32_t k = i <= half ? i : count - 1 - i;
        places.push_back({double((k - half) * 3 * 32), double(step * (2 * i + 1))});
    }
    return places;
}

void BattleContext::CallPlanes(std::int32_t team, std::int32_t count)
{
    for (const PlanePlace& place : SquadronPlaces(DisplayHeight(), count))
    {
        auto* plane = new THelpPlane(&Engine);
        plane->Team = team;
        plane->Y = place.Y;
        plane->X = place.X;
    }
}

}  // namespace vorlanex
