#pragma once
// The game state shared by the shell, the map loader and the actors: one value per name, owned by the form.

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "framework/Types.h"
#include "actors/RandomGenerator.h"

namespace vorlanex {

class TMyTank;
class TBackgroundSprite;
class TTiles;
class TLayer;

// A player tank's values kept from one level to the next.
struct TCarry
{
    std::int32_t Score = 0;
    double Speed = 0;
    std::int32_t Life = 0;
    std::uint8_t AllPass = 0;
    std::int32_t MaxBullets = 0;
    double BulletSpeed = 0;
    std::int32_t BulletPower = 0;
    std::int32_t BulletSize = 0;
    std::int32_t Spread = 0;
    std::int32_t ShotDelay = 0;
};

struct TCellPoint
{
    std::int32_t Column = 0;
    std::int32_t Row = 0;
};

struct TMenuButton
{
    TRect Rect;
    std::string PictureName;
};

struct GameState
{
    GameState();
    ~GameState();
    GameState(const GameState&) = delete;
    GameState& operator=(const GameState&) = delete;

    std::string AppDir;
    std::string MapFileName;
    std::int32_t CurrentLevel = 1;
    std::int32_t Difficulty = 0;
    std::int32_t BaseEnemyCount = 20;
    std::int32_t SpawnPeriod = 90;
    double GemChance = 0.005;
    double EnemyTurnChance = 0.06;
    std::int32_t MaxLife = 2000;
    std::int32_t EffectDuration = 300;
    std::int32_t GemLifetime = 900;
    std::uint8_t CornerTolerance = 10;
    std::int32_t StartLives = 5;
    std::int32_t Lives1 = 5, Lives2 = 5;
    std::int32_t LifeDebt1 = 0, LifeDebt2 = 0;
    std::int32_t PlayerLosses = 0;
    std::uint8_t Player1Alive = 0, Player2Alive = 0;
    TMyTank* Player1Tank = nullptr;
    TMyTank* Player2Tank = nullptr;
    TCarry Carry1, Carry2;
    std::uint8_t LevelCleared = 0;
    std::int32_t EnemiesDestroyed = 0;
    std::int32_t EnemiesSpawned = 0;
    std::int32_t GemsSpawned = 0;
    std::array<TCellPoint, 3> EnemySpawnPoints{};
    TCellPoint PlayerStart;
    std::uint8_t Wind = 0;
    std::uint8_t SnowOn = 1;
    std::uint8_t SoundOn = 1;
    std::uint8_t MusicOn = 1;
    std::uint8_t PanelOn = 1;
    std::uint8_t TickerOn = 1;
    std::int32_t TickerLine = 0;
    std::int32_t TickerX = 512;
    std::int32_t LoadProgress = 0, LoadTotal = 0;
    std::array<TMenuButton, 3> MenuButtons{};

    std::unique_ptr<TTiles> TileSet;
    std::array<std::unique_ptr<TLayer>, 3> Layers;
    // The level's background, laid under everything by the map loader; owned by the sprite engine.
    TBackgroundSprite* BackgroundSprite = nullptr;

    // The one gameplay random generator: Random(n) and the random number both come from it.
    RandomGenerator Rng;
    std::int32_t Random(std::int32_t n) { return Rng.Random(n); }
    double RandomNumber() { return Rng.RandomNumber(); }

    // The level total of enemies: CurrentLevel x Difficulty + BaseEnemyCount.
    std::int32_t LevelTotal() const { return CurrentLevel * Difficulty + BaseEnemyCount; }
};

// Rank titles, one per 50000 points.
extern const std::array<const char*, 10> RankTitles;

}  // namespace vorlanex
