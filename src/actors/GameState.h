#pragma once
// The game state shared by the shell, the map loader and the actors: one value per name, owned by the form.

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "framework/Types.h"
#include "maps/Cells.h"
#include "actors/RandomGenerator.h"

namespace vorlanex {

class FieldSink;
class TMyTank;
class TBackgroundSprite;
class TTiles;
class TLayer;

// The lists below declare each value once, as VALUE(type, name, value at start): the member, its default and
// its place in the state dump and the digest all come from that one line.
#define VORLANEX_DECLARE_VALUE(type, name, initial) type name = initial;

// A player tank's values kept from one level to the next. Each has the same name in TMyTank, so the copies
// between tank and carry come from this list too.
#define VORLANEX_CARRIED_VALUES(VALUE)   \
    VALUE(std::int32_t, Score, 0)        \
    VALUE(double, Speed, 0)              \
    VALUE(std::int32_t, Life, 0)         \
    VALUE(std::uint8_t, AllPass, 0)      \
    VALUE(std::int32_t, MaxBullets, 0)   \
    VALUE(double, BulletSpeed, 0)        \
    VALUE(std::int32_t, BulletPower, 0)  \
    VALUE(std::int32_t, BulletSize, 0)   \
    VALUE(std::int32_t, Spread, 0)       \
    VALUE(std::int32_t, ShotDelay, 0)

struct TCarry
{
    VORLANEX_CARRIED_VALUES(VORLANEX_DECLARE_VALUE)

    void Fields(FieldSink& out) const;
    // Every carried value taken from the tank, or given to it.
    void SaveFrom(const TMyTank& tank);
    void ApplyTo(TMyTank& tank) const;
};

struct TMenuButton
{
    TRect Rect;
    std::string PictureName;
};

using SpawnPointList = std::array<TCellPoint, 3>;
using MenuButtonList = std::array<TMenuButton, 3>;

// Every value of the game state that the dump shows, with its value when a game starts.
#define VORLANEX_GAME_VALUES(VALUE)               \
    VALUE(std::string, AppDir, {})                \
    VALUE(std::string, MapFileName, {})           \
    VALUE(std::int32_t, CurrentLevel, 1)          \
    VALUE(std::int32_t, Difficulty, 0)            \
    VALUE(std::int32_t, BaseEnemyCount, 20)       \
    VALUE(std::int32_t, SpawnPeriod, 90)          \
    VALUE(double, GemChance, 0.005)               \
    VALUE(double, EnemyTurnChance, 0.06)          \
    VALUE(std::int32_t, MaxLife, 2000)            \
    VALUE(std::int32_t, EffectDuration, 300)      \
    VALUE(std::int32_t, GemLifetime, 900)         \
    VALUE(std::uint8_t, CornerTolerance, 10)      \
    VALUE(std::int32_t, StartLives, 5)            \
    VALUE(std::int32_t, Lives1, 5)                \
    VALUE(std::int32_t, Lives2, 5)                \
    VALUE(std::int32_t, LifeDebt1, 0)             \
    VALUE(std::int32_t, LifeDebt2, 0)             \
    VALUE(std::int32_t, PlayerLosses, 0)          \
    VALUE(std::uint8_t, Player1Alive, 0)          \
    VALUE(std::uint8_t, Player2Alive, 0)          \
    VALUE(TMyTank*, Player1Tank, nullptr)         \
    VALUE(TMyTank*, Player2Tank, nullptr)         \
    VALUE(TCarry, Carry1, {})                     \
    VALUE(TCarry, Carry2, {})                     \
    VALUE(std::uint8_t, LevelCleared, 0)          \
    VALUE(std::int32_t, EnemiesDestroyed, 0)      \
    VALUE(std::int32_t, EnemiesSpawned, 0)        \
    VALUE(std::int32_t, GemsSpawned, 0)           \
    VALUE(SpawnPointList, EnemySpawnPoints, {})   \
    VALUE(TCellPoint, PlayerStart, {})            \
    VALUE(std::uint8_t, Wind, 0)                  \
    VALUE(std::uint8_t, SnowOn, 1)                \
    VALUE(std::uint8_t, SoundOn, 1)               \
    VALUE(std::uint8_t, MusicOn, 1)               \
    VALUE(std::uint8_t, PanelOn, 1)               \
    VALUE(std::uint8_t, TickerOn, 1)              \
    VALUE(std::int32_t, TickerLine, 0)            \
    VALUE(std::int32_t, TickerX, 512)             \
    VALUE(std::int32_t, LoadProgress, 0)          \
    VALUE(std::int32_t, LoadTotal, 0)             \
    VALUE(MenuButtonList, MenuButtons, {})

struct GameState
{
    GameState();
    ~GameState();
    GameState(const GameState&) = delete;
    GameState& operator=(const GameState&) = delete;

    VORLANEX_GAME_VALUES(VORLANEX_DECLARE_VALUE)

    // The values above, under their own names.
    void Fields(FieldSink& out) const;

    // What the dump does not show: the level's tiles and layers, whose cells become the terrain sprites.
    std::unique_ptr<TTiles> TileSet;
    std::array<std::unique_ptr<TLayer>, 3> Layers;
    // The level's background, laid under everything by the map loader; owned by the sprite engine.
    TBackgroundSprite* BackgroundSprite = nullptr;

    // The one gameplay random generator: Random(n) and the random number both come from it. The dump carries
    // its state on its own.
    RandomGenerator Rng;
    std::int32_t Random(std::int32_t n) { return Rng.Random(n); }
    double RandomNumber() { return Rng.RandomNumber(); }

    // The level total of enemies: CurrentLevel x Difficulty + BaseEnemyCount.
    std::int32_t LevelTotal() const { return CurrentLevel * Difficulty + BaseEnemyCount; }
};

// Rank titles, one per 50000 points.
extern const std::array<const char*, 10> RankTitles;

}  // namespace vorlanex
