#include "shell/net/NetworkInput.h"

#include <utility>

#include "platform/VirtualKeys.h"
#include "shell/MainForm.h"
#include "shell/net/SharedStateDigest.h"

namespace vorlanex {

namespace {

// Player 1's keys and what they become on the guest.
constexpr std::pair<int, int> kGuestKeys[] = {
    {vk::Up, vk::Letter('W')},    {vk::Numpad8, vk::Letter('W')},   // up
    {vk::Down, vk::Letter('Z')},  {vk::Numpad2, vk::Letter('Z')},   // down
    {vk::Left, vk::Letter('A')},  {vk::Numpad4, vk::Letter('A')},   // left
    {vk::Right, vk::Letter('S')}, {vk::Numpad6, vk::Letter('S')},   // right
    {vk::Space, vk::Shift},                                         // fire
    {vk::Return, vk::Tab},                                          // offer a life
    {vk::Letter('P'), vk::Escape},                                  // withdraw the offer
};
constexpr int kPlayer2Keys[] = {vk::Letter('W'), vk::Letter('Z'), vk::Letter('A'), vk::Letter('S'),
                                vk::Shift,       vk::Tab,         vk::Escape};

}  // namespace

int SeatKey(NetRole role, int vk)
{
    for (int key : kPlayer2Keys)
        if (vk == key)
            return 0;
    if (vk == vk::Alt || vk == vk::F11 || vk == vk::F12 || vk < 1 || vk > 255)
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
    if (event.key == vk::Alt)
    {
        altHeld = down;
        return false;
    }
    if (down && event.repeat)
        return false;
    // Alt+Enter and Alt+F4 and the music and sound switches are for this machine.
    if (down && (event.alt || altHeld || event.key == vk::F11 || event.key == vk::F12))
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
