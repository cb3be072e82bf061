#pragma once
// The geometry of a called squadron; the battle services themselves are members of BattleContext.

#include <cstdint>
#include <vector>

namespace vorlanex {

struct PlanePlace
{
    double X = 0, Y = 0;
};

// An arrowhead entering from the left: count planes spread down a display of the given height, the middle one
// at X 0 and its neighbours 96 pixels further back each.
std::vector<PlanePlace> SquadronPlaces(std::int32_t displayHeight, std::int32_t count);

}  // namespace vorlanex
