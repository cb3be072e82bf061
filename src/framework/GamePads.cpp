#include "framework/GamePads.h"

namespace vorlanex {

static_assert(std::size_t(PadCount) == std::size(kPlayerInputStates), "one pad for each player's input states");

void TGamePads::Apply(const InputEvent& e)
{
    if (e.pad < 0 || e.pad >= PadCount)
        return;
    Pad& pad = pads[std::size_t(e.pad)];
    const std::size_t button = std::size_t(e.padButton);
    switch (e.kind)
    {
    case EventKind::PadDown:
        if (button < pad.held.size())
            pad.held[button] = pad.tapped[button] = true;
        break;
    case EventKind::PadUp:
        if (button < pad.held.size())
            pad.held[button] = false;
        break;
    case EventKind::PadAxis: (e.axis == PadAxis::LeftX ? pad.leftX : pad.leftY) = e.axisValue; break;
    // An unplugged pad lets go of everything at once, taps included: no tank drives on by itself.
    case EventKind::PadRemoved: pad = Pad{}; break;
    default: break;
    }
}

TDXInputStates TGamePads::TakeStates(bool startFires)
{
    TDXInputStates states;
    for (int p = 0; p < PadCount; ++p)
    {
        Pad& pad = pads[std::size_t(p)];
        auto on = [&pad](PadButton b) { return pad.held[std::size_t(b)] || pad.tapped[std::size_t(b)]; };
        const PlayerInputStates& to = kPlayerInputStates[p];
        auto set = [&states](bool active, int state) {
            if (active)
                states.Include(state);
        };
        set(on(PadButton::DpadUp) || pad.leftY < -DeadZone, to.up);
        set(on(PadButton::DpadDown) || pad.leftY > DeadZone, to.down);
        set(on(PadButton::DpadLeft) || pad.leftX < -DeadZone, to.left);
        set(on(PadButton::DpadRight) || pad.leftX > DeadZone, to.right);
        set(on(PadButton::A), to.fire);
        set(on(PadButton::B), to.give);
        set(on(PadButton::X), to.keep);
        set(startFires && on(PadButton::Start), StateButton1);
        pad.tapped.fill(false);
    }
    return states;
}

}  // namespace vorlanex
