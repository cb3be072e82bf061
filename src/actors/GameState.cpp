#include "actors/GameState.h"

// The tile set and layers are complete types only where the map code is included.
#include "maps/Layers.h"
#include "maps/Tiles.h"

namespace vorlanex {

GameState::GameState() = default;
GameState::~GameState() = default;

const std::array<const char*, 10> RankTitles = {
    "入伍新兵☆",
    "坦克战士☆★",
    "坦克排长☆★☆",
    "坦克连长☆★☆★",
    "坦克团长☆★☆★☆",
    "坦克师长☆★☆★☆★",
    "坦克司令☆★☆★☆★☆",
    "坦克皇后☆★☆★☆★☆★",
    "坦克皇帝☆★☆★☆★☆★☆",
    "坦克战神☆★☆★☆★☆★☆★☆",
};

}  // namespace vorlanex
