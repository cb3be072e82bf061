#pragma once
// What an actor may reach of the game it plays in: the game state with its random generator, the picture
// catalogue, the input states, the sound call and the battle services acting on its engine. The form provides
// it and makes it its sprite engine's owner; a test builds one over a bare engine. An actor never sees more
// than this.

#include <cstdint>
#include <string>

#include "framework/SpriteEngine.h"

namespace vorlanex {

struct GameState;
class TDXInput;
class TPictureCollection;
class TPictureCollectionItem;
class TTank;

class BattleContext
{
public:
    // The engine is only referred to here; its owner sets Engine.Owner once both exist.
    BattleContext(GameState& game, TPictureCollection& pictures, TDXInput& input, TSpriteEngine& engine)
        : Game(game), Pictures(pictures), Input(input), Engine(engine)
    {
    }
    virtual ~BattleContext() = default;

    GameState& Game;
    TPictureCollection& Pictures;
    TDXInput& Input;
    TSpriteEngine& Engine;

    virtual void PlaySound(const std::string& name, bool wait) = 0;
    // The whole keyboard at this moment: 256 bytes by virtual-key code, bit 7 set = held.
    virtual void ReadKeyboard(std::uint8_t keys[256]) = 0;
    // The display's size, which is the battlefield's.
    virtual std::int32_t DisplayWidth() const = 0;
    virtual std::int32_t DisplayHeight() const = 0;

    // Marks for freeing every bullet directly under the engine whose owner is tank.
    void KillBulletsOf(const TTank& tank);
    // Freezes every tank directly under the engine (planes included) that is not of team, for 300 more Steps.
    void FreezeOtherTeams(std::int32_t team);
    // Launches a squadron of count help planes for team from the left of the battlefield.
    void CallPlanes(std::int32_t team, std::int32_t count);
};

class EBattleWiring : public std::logic_error
{
public:
    using std::logic_error::logic_error;
};

// The context of the engine the sprite lives in. A sprite outside an engine, or an engine nobody wired to a
// game, is a programming fault: it throws EBattleWiring instead of playing on with made-up answers.
BattleContext& Battle(const TSprite& sprite);
// The same without throwing, for destructors: null when there is no game.
BattleContext* FindBattle(const TSprite& sprite);

// Shorthands every actor uses.
std::int32_t GameRandom(const TSprite& sprite, std::int32_t n);   // 0 .. n-1
double GameRandomNumber(const TSprite& sprite);                   // [0, 1)
// A picture of the built-in catalogue by name, regardless of case; null when the catalogue lacks it.
TPictureCollectionItem* FindPicture(const TSprite& sprite, const char* name);

}  // namespace vorlanex
