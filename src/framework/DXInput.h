#pragma once
// Input states: the keyboard turned into 36 numbered states through a key assignment table.

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "framework/DXInputStates.h"
#include "framework/GamePads.h"
#include "platform/Platform.h"

namespace vorlanex {

// For each state three virtual-key codes, 0 meaning none.
using TKeyAssignList = std::array<std::array<std::int32_t, 3>, InputStateCount>;

// The game's assignment table, as its 432-byte little-endian block.
std::array<std::uint8_t, 432> DefaultKeyAssignBlock();
// Reads a 432-byte assignment block; throws std::invalid_argument for another size.
TKeyAssignList KeyAssignsFromBlock(std::span<const std::uint8_t> block);

class TKeyboard
{
public:
    bool Enabled = true;
    bool BindInputStates = true;
    bool ForceFeedback = false;
    TKeyAssignList Assigns{};
    std::array<std::uint8_t, 256> Keys{};   // by virtual-key code, bit 7 = down
    TDXInputStates States;
    bool Opened = false;
    // Keys that went down since the last update, by virtual-key code.
    std::array<bool, 256> Tapped{};
};

// Stored joystick settings; the device is read but no game state depends on it.
class TJoystick
{
public:
    bool Enabled = true, BindInputStates = false, ForceFeedback = true, AutoCenter = true;
    int ID = 0;
    int DeadZoneX = 50, DeadZoneY = 50, DeadZoneZ = 50;
    int RangeX = 1000, RangeY = 1000, RangeZ = 1000;
    TDXInputStates States;
};

class TMouseDevice
{
public:
    bool Enabled = false, BindInputStates = false, ForceFeedback = false;
    TDXInputStates States;
};

class TDXInput
{
public:
    // events may be null: the keyboard then contributes no states.
    explicit TDXInput(Events* events);

    bool ActiveOnly = true;
    bool UseDirectInput = true;
    TKeyboard Keyboard;
    TJoystick Joystick;
    TMouseDevice Mouse;
    // The first two game pads; they bind their states (the joystick device above stays unbound).
    TGamePads Pads;
    // Start on a pad acts as player 1's fire (the shell's title and result screens).
    bool PadStartFires = false;

    TDXInputStates LastRawStates;
    TDXInputStates InputStates;

    // Reads every enabled device and recomputes InputStates.
    void UpdateInput();
    bool State(int state) const { return InputStates.Contains(state); }
    void RemoveStates(const TDXInputStates& states);
    // A key went down (told by the message loop). It counts as held at the next update even when it is up
    // again by then, so a tap shorter than a frame still reaches the game once.
    void KeyPressed(int vk);
    // Closes and reopens the keyboard (ends with one UpdateInput).
    void KeyboardRestart();

private:
    void UpdateKeyboard();
    Events* events;
};

}  // namespace vorlanex
