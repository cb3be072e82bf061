#pragma once
// The players' keys: the seven actions of each player, the input state each one sets, and the keys bound to
// it (up to three, as the keyboard's assignment table holds).

#include <array>
#include <string>
#include <vector>

#include "framework/DXInput.h"

namespace vorlanex {

struct PlayerAction
{
    const char* name;   // as settings.json spells it
    int state;          // the input state the tank reads
};

inline constexpr std::size_t PlayerActionCount = 7;
// up, down, left, right, fire, offer (a life to the partner), withdraw (the offer).
const std::array<PlayerAction, PlayerActionCount>& PlayerActions(int player);

// Virtual-key codes for each action of each player; 0 stands for no key.
using KeyBindings = std::array<std::array<std::array<int, 3>, PlayerActionCount>, 2>;

KeyBindings DefaultKeyBindings();

// Keys bound to more than one action, each as "Space (player 1 fire, player 2 up)"; empty when none is.
std::vector<std::string> KeysBoundTwice(const KeyBindings& bindings);

// Whether the game keeps the key for itself (the function keys, Alt), so it cannot be bound.
bool KeyKeptByTheGame(int vk);

// Puts the bindings into the keyboard's assignment table; other states keep their keys.
void ApplyKeyBindings(const KeyBindings& bindings, TKeyAssignList& assigns);

}  // namespace vorlanex
