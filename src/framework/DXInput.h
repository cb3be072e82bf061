#pragma once
// Input states: the keyboard turned into 36 numbered states through a key assignment table.

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "platform/Platform.h"

namespace vorlanex {

enum TDXInputState : int
{
    StateUp = 0, StateDown = 1, StateLeft = 2, StateRight = 3,
    StateButton1 = 4, StateButton2, StateButton3, StateButton4, StateButton5, StateButton6, StateButton7,
    StateButton8, StateButton9, StateButton10, StateButton11, StateButton12, StateButton13, StateButton14,
    StateButton15, StateButton16, StateButton17, StateButton18, StateButton19, StateButton20, StateButton21,
    StateButton22, StateButton23, StateButton24, StateButton25, StateButton26, StateButton27, StateButton28,
    StateButton29, StateButton30, StateButton31, StateButton32 = 35
};

constexpr int InputStateCount = 36;

// A set of states: 5 bytes, bit n of byte n div 8 is state n; bits 36 to 39 always clear.
class TDXInputStates
{
public:
    bool Contains(int state) const { return state >= 0 && state < 40 && (bytes[state / 8] >> (state % 8)) & 1; }
    void Include(int state)
    {
        if (state >= 0 && state < InputStateCount)
            bytes[state / 8] |= std::uint8_t(1u << (state % 8));
    }
    void Exclude(int state)
    {
        if (state >= 0 && state < 40)
            bytes[state / 8] &= std::uint8_t(~(1u << (state % 8)));
    }
    void Clear() { bytes = {}; }
    bool Empty() const { return bytes == std::array<std::uint8_t, 5>{}; }
    TDXInputStates operator+(const TDXInputStates& o) const
    {
        TDXInputStates r;
        for (int i = 0; i < 5; ++i)
            r.bytes[i] = bytes[i] | o.bytes[i];
        return r;
    }
    static TDXInputStates Range(int first, int last)
    {
        TDXInputStates r;
        for (int s = first; s <= last; ++s)
            r.Include(s);
        return r;
    }
    bool operator==(const TDXInputStates&) const = default;
    std::array<std::uint8_t, 5> bytes{};
};

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
