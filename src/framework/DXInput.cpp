#include "framework/DXInput.h"

#include <stdexcept>
#include <utility>

#include "platform/VirtualKeys.h"

namespace vorlanex {

namespace {

// State, then its three keys (virtual-key codes, 0 = none).
constexpr std::int32_t kDefaultAssigns[InputStateCount][3] = {
    {vk::Up, 0, vk::Numpad8},          // StateUp
    {0, vk::Down, vk::Numpad2},        // StateDown
    {0, vk::Left, vk::Numpad4},        // StateLeft
    {0, vk::Right, vk::Numpad6},       // StateRight
    {0, vk::Space, 0},                 // StateButton1
    {vk::Letter('W'), 0, 0},           // StateButton2
    {vk::Letter('Z'), 0, 0},           // StateButton3
    {vk::Letter('A'), 0, 0},           // StateButton4
    {vk::Letter('S'), 0, 0},           // StateButton5
    {vk::Shift, 0, 0},                 // StateButton6
    {vk::Tab, 0, 0},                   // StateButton7
    {vk::Return, 0, 0},                // StateButton8
    {vk::Escape, 0, 0},                // StateButton9
    {vk::Letter('P'), 0, 0},           // StateButton10
};

}  // namespace

std::array<std::uint8_t, 432> DefaultKeyAssignBlock()
{
    std::array<std::uint8_t, 432> block{};
    for (int s = 0; s < InputStateCount; ++s)
        for (int k = 0; k < 3; ++k)
        {
            const std::uint32_t v = std::uint32_t(kDefaultAssigns[s][k]);
            for (int b = 0; b < 4; ++b)
                block[std::size_t((s * 3 + k) * 4 + b)] = std::uint8_t(v >> (8 * b));
        }
    return block;
}

TKeyAssignList KeyAssignsFromBlock(std::span<const std::uint8_t> block)
{
    if (block.size() != 432)
        throw std::invalid_argument("key assignment block must hold 432 bytes");
    TKeyAssignList list{};
    for (int s = 0; s < InputStateCount; ++s)
        for (int k = 0; k < 3; ++k)
        {
            std::uint32_t v = 0;
            for (int b = 0; b < 4; ++b)
                v |= std::uint32_t(block[std::size_t((s * 3 + k) * 4 + b)]) << (8 * b);
            list[std::size_t(s)][std::size_t(k)] = std::int32_t(v);
        }
    return list;
}

TDXInput::TDXInput(Events* events) : events(events)
{
    const auto block = DefaultKeyAssignBlock();
    Keyboard.Assigns = KeyAssignsFromBlock(block);
    KeyboardRestart();
}

void TDXInput::KeyboardRestart()
{
    Keyboard.Opened = events != nullptr;
    UpdateInput();
}

void TDXInput::KeyPressed(int vk)
{
    if (vk >= 1 && vk <= 255)
        Keyboard.Tapped[std::size_t(vk)] = true;
}

void TDXInput::UpdateKeyboard()
{
    Keyboard.Keys.fill(0);
    Keyboard.States.Clear();
    const auto tapped = std::exchange(Keyboard.Tapped, {});
    if (!Keyboard.Enabled || !Keyboard.Opened)
        return;
    if (ActiveOnly && !events->HasFocus())
        return;
    events->ReadKeyboard(Keyboard.Keys.data());
    for (std::size_t vk = 0; vk < tapped.size(); ++vk)
        if (tapped[vk])
            Keyboard.Keys[vk] |= 0x80;
    for (int state = 0; state < InputStateCount; ++state)
        for (std::int32_t key : Keyboard.Assigns[std::size_t(state)])
            if (key >= 1 && key <= 255 && (Keyboard.Keys[std::size_t(key)] & 0x80))
            {
                Keyboard.States.Include(state);
                break;
            }
}

void TDXInput::UpdateInput()
{
    TDXInputStates fresh;
    UpdateKeyboard();
    if (Keyboard.BindInputStates)
        fresh = fresh + Keyboard.States;
    // The joystick and the mouse device contribute nothing here: neither binds its states.
    if (Joystick.BindInputStates)
        fresh = fresh + Joystick.States;
    if (Mouse.BindInputStates)
        fresh = fresh + Mouse.States;
    fresh = fresh + Pads.TakeStates(PadStartFires);
    for (int n = 0; n < InputStateCount; ++n)
    {
        const bool now = fresh.Contains(n), before = LastRawStates.Contains(n);
        if (now && !before)
            InputStates.Include(n);
        else if (!now && before)
            InputStates.Exclude(n);
    }
    LastRawStates = fresh;
}

void TDXInput::RemoveStates(const TDXInputStates& states)
{
    for (int n = 0; n < InputStateCount; ++n)
        if (states.Contains(n))
            InputStates.Exclude(n);
}

}  // namespace vorlanex
