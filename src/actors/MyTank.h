#pragma once
// The tank a player steers. One class serves both players: each tank keeps its own input-state numbers.

#include <cstdint>

#include "actors/Tank.h"
#include "framework/DXInputStates.h"

namespace vorlanex {

class TSpriteEngine;

class TMyTank : public TTank
{
public:
    explicit TMyTank(TSprite* parent);
    ~TMyTank() override;
    void OnHit(TSprite& other, bool& Done) override;
    void Step(std::int32_t MoveCount) override;
    const char* ClassName() const override { return "TMyTank"; }
    void Fields(FieldSink& out) const override;

    // Player 2's input states: W, Z, A, S, Shift, Tab, Esc.
    void UsePlayer2Keys();

    std::uint8_t FireKey = kPlayerInputStates[0].fire;
    std::uint8_t UpKey = kPlayerInputStates[0].up;
    std::uint8_t DownKey = kPlayerInputStates[0].down;
    std::uint8_t LeftKey = kPlayerInputStates[0].left;
    std::uint8_t RightKey = kPlayerInputStates[0].right;
    std::uint8_t KeepKey = kPlayerInputStates[0].keep;
    std::uint8_t GiveKey = kPlayerInputStates[0].give;
    std::uint8_t GiveLife = 0;
    std::int32_t Milestone = 0;

private:
    void ApplyCheatIfHeld();
    bool SteerAndDrive(std::int32_t MoveCount);
    void ReadLifeOffer();
    void SlideAroundCorner(const TSprite& terrain);
};

// Points per life earned by score.
inline constexpr std::int32_t MilestonePoints = 50000;

// A player's tank entering at the map's start cell, blinking in (level start, revival by the partner and
// replacement after a loss): team, place, Z and animation; player 2's tank gets player 2's keys. The caller
// sets the score and the game's references.
TMyTank* EnterPlayerTank(TSpriteEngine& engine, int player);
// A player's tank coming back during the battle (after a loss, or on the partner's offer): it enters as above
// and goes on from the player's carried score.
TMyTank* ReturnPlayerTank(TSpriteEngine& engine, int player, std::int32_t carriedScore);

}  // namespace vorlanex
