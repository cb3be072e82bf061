#pragma once
// What a test battle on the map being edited may change of the campaign, kept to be put back.

#include <cstdint>
#include <string>

#include "actors/GameState.h"

namespace vorlanex {

// What a test battle may change of the campaign, put back when it ends.
struct CampaignValues
{
    std::int32_t CurrentLevel, Lives1, Lives2, LifeDebt1, LifeDebt2, PlayerLosses, EnemiesDestroyed, EnemiesSpawned,
        GemsSpawned;
    std::uint8_t LevelCleared, Player1Alive, Player2Alive;
    TCarry Carry1, Carry2;
    std::string MapFileName;
};

}  // namespace vorlanex
