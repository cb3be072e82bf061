#include "shell/net/NetworkInput.h"

#include <utility>

#include "shell/MainForm.h"
#include "shell/net/SharedStateDigest.h"

namespace vorlanex {

namespace {

constexpr int kAlt = 0x12, kF11 = 0x7A, kF12 = 0x7B;

// Player 1's keys and what they become on the guest.
constexpr std::pair<int, int> kGuestKeys[] = {
    {0x26, 0x57}, {0x68, 0x57},   // up: Up, keypad 8 -> W
    {0x28, 0x5A}, {0x62, 0x5A},   // down: Down, keypad 2 -> Z
    {0x25, 0x41}, {0x64, 0x41},   // left: Left, keypad 4 -> A
    {0x27, 0x53}, {0x66, 0x53},   // right: Right, keypad 6 -> S
    {0x20, 0x10},                 // fire: Space -> Shift
    {0x0D, 0x09},                 // offer a life: Enter -> Tab
    {0x50, 0x1B},                 // withdraw the offer: P -> Esc
};
constexpr int kPlayer2Keys[] = {0x57, 0x5A, 0x41, 0x53, 0x10, 0x09, 0x1B};

}  // namespace

int SeatKey(NetRole role, int vk)
{
    for (int key : kPlayer2Keys)
        if (vk == key)
            return 0;
    if (vk == kAlt || vk == kF11 || vk == kF12 || vk < 1 || vk > 255)
        return 0;
    if (role == NetRole::Guest)
        for (const auto& [player1, player2] : kGuestKeys)
            if (vk == player1)
                return player2;
    return vk;
}

bool NetworkInput::Offer(InputEvent& event)
{
    switch (event.kind)
    {
    case EventKind::KeyDown:
    case EventKind::KeyUp: return OfferKey(event);
    case EventKind::MouseDown: session.AddLocal(event); return false;
    case EventKind::PadDown:
    case EventKind::PadUp:
    case EventKind::PadAxis:
    case EventKind::PadRemoved:
        // Pad 1 is the local player's; the guest's plays as pad 2.
        if (event.pad == 0)
        {
            InputEvent seat = event;
            seat.pad = session.Role() == NetRole::Guest ? 1 : 0;
            session.AddLocal(seat);
        }
        return false;
    case EventKind::FocusLost: LetGo(); return false;
    case EventKind::Quit: return true;
    default: return false;
    }
}

bool NetworkInput::OfferKey(InputEvent& event)
{
    const bool down = event.kind == EventKind::KeyDown;
    if (event.key == kAlt)
    {
        altHeld = down;
        return false;
    }
    if (down && event.repeat)
        return false;
    // Alt+Enter and Alt+F4 and the music and sound switches are for this machine.
    if (down && (event.alt || altHeld || event.key == kF11 || event.key == kF12))
    {
        event.alt = event.alt || altHeld;
        return true;
    }
    const int key = SeatKey(session.Role(), event.key);
    if (key == 0)
        return false;
    // A key let go that was never pressed here (pressed before the game began) is not news to anybody.
    if (!down && !held[std::size_t(key)])
        return false;
    held[std::size_t(key)] = down;
    InputEvent seat = event;
    seat.key = key;
    seat.alt = false;
    session.AddLocal(seat);
    return false;
}

void NetworkInput::LetGo()
{
    altHeld = false;
    for (std::size_t key = 0; key < held.size(); ++key)
        if (std::exchange(held[key], false))
        {
            InputEvent up;
            up.kind = EventKind::KeyUp;
            up.key = int(key);
            session.AddLocal(up);
        }
}

void NetworkInput::FrameDone(TMainForm& form)
{
    if (disturbAt && form.FrameCalls == *disturbAt)
        form.Game.Rng.Random(2);
    if (form.FrameCalls % DigestPeriodFrames == 0)
        session.FrameDigest(std::uint32_t(form.FrameCalls), SharedStateDigest(form));
}

}  // namespace vorlanex
