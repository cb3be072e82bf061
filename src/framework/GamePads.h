#pragma once
// Two game pads feeding the same input states as the players' keys: pad 1 player 1's, pad 2 player 2's.
// Their buttons and sticks are kept from the host's pad events, so a replayed game sees exactly what was played.

#include <array>

#include "framework/DXInputStates.h"
#include "platform/Platform.h"

namespace vorlanex {

class TGamePads
{
public:
    // Stick travel inside this many units of the centre (of 32767) counts as no direction.
    static constexpr int DeadZone = 8000;

    void Apply(const InputEvent& event);
    // The states held now, or tapped since the last call; `startFires` makes Start act as player 1's fire.
    TDXInputStates TakeStates(bool startFires);

private:
    struct Pad
    {
        std::array<bool, PadButtonCount> held{}, tapped{};
        int leftX = 0, leftY = 0;
    };
    std::array<Pad, PadCount> pads{};
};

}  // namespace vorlanex
