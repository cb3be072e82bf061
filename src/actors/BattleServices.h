#pragma once
// What the shell's battle services do to the sprite tree. The form offers them to the actors through the battle
// context; a test context over a bare engine uses the same.

#include <cstdint>
#include <vector>

namespace vorlanex {

class TSpriteEngine;
class TTank;

// Marks for freeing every bullet directly under the root whose owner is tank.
void KillBulletsOfTank(TSpriteEngine& engine, const TTank& tank);

// Freezes every tank directly under the root (planes included) that is not of team, for 300 more Steps.
void FreezeTanksNotOf(TSpriteEngine& engine, std::int32_t team);

struct PlanePlace
{
    double X = 0, Y = 0;
};

// An arrowhead entering from the left: count planes spread down a display of the given height, the middle one
// at X 0 and its neighbours 96 pixels further back each.
std::vector<PlanePlace> SquadronPlaces(std::int32_t displayHeight, std::int32_t count);

// Launches the squadron for team.
void LaunchSquadron(TSpriteEngine& engine, std::int32_t team, std::int32_t count, std::int32_t displayHeight);

}  // namespace vorlanex
