#pragma once
// This machine's side of a shared game: which of its events travel (translated to its seat), which stay here,
// and the digest exchange after the frames.
//
// On either machine the local player uses player 1's keys (arrows or keypad, Space, Enter, P) and pad 1; the
// guest's are sent as player 2's (W Z A S, Shift, Tab, Esc; pad 2). Player 2's own keys are not read on either
// machine, so that nobody drives the partner's tank. Music and sound (F11, F12), Alt+Enter, Alt+F4 and the
// window are this machine's alone; every other key and click acts on the shared game. Losing the focus does not
// pause a shared game: the keys held here are let go and the battle goes on for both.

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>

#include "shell/automation/GameLoop.h"
#include "shell/net/LockstepSession.h"

namespace vorlanex {

// How often the machines compare their state.
constexpr std::uint32_t DigestPeriodFrames = 30;

// The key a local key press becomes in the shared stream of `role`'s seat; 0 when it is not shared.
int SeatKey(NetRole role, int vk);
// What the game itself sees of this machine in a shared game: the mouse pointer and the host's quit, never its
// keyboard or focus (the keys come from the shared stream laid over this).
class LocalPointerEvents final : public Events
{
public:
    explicit LocalPointerEvents(Events& host) : host(host) {}
    bool Poll(InputEvent&) override { return false; }
    void MousePosition(int& x, int& y) override { host.MousePosition(x, y); }
    void ReadKeyboard(std::uint8_t keys[256]) override { std::fill(keys, keys + 256, std::uint8_t(0)); }
    bool HasFocus() override { return true; }
    bool QuitPending() override { return host.QuitPending(); }

private:
    Events& host;
};

class NetworkInput final : public SharedInput
{
public:
    NetworkInput(LockstepSession& session, Events& host) : session(session), host(host) {}

    bool PollLocal(InputEvent& event) override { return host.Poll(event); }
    bool Offer(InputEvent& event) override;
    std::int64_t NextTurn() const override { return session.NextTurn(); }
    std::optional<std::vector<InputEvent>> TakeTurn() override { return session.TakeTurn(); }
    void Wait(std::uint32_t ms) override { session.Service(ms); }
    void FrameDone(TMainForm& form) override;
    bool Ended() const override { return session.State() == SessionState::Ended; }

    // Tests of the digest exchange: this machine's state is disturbed once, after `frame`.
    void DisturbAfterFrame(std::int64_t frame) { disturbAt = frame; }

private:
    bool OfferKey(InputEvent& event);
    void LetGo();

    LockstepSession& session;
    Events& host;
    std::array<bool, 256> held{};   // shared keys this machine holds down, as sent
    bool altHeld = false;
    std::optional<std::int64_t> disturbAt;
};

}  // namespace vorlanex
