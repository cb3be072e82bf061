#pragma once
// A game of two machines from start to end: connecting, the waiting screen, the shared game and its ending.

#include <cstdint>
#include <optional>
#include <string>

#include "platform/Network.h"
#include "shell/automation/GameLoop.h"
#include "shell/net/LockstepSession.h"

namespace vorlanex {

class OverlayEvents;
class TMainForm;

constexpr std::uint16_t DefaultNetPort = 29817;
constexpr int DefaultInputDelay = 3;

struct NetworkGameOptions
{
    NetRole role = NetRole::Host;
    std::string host;                       // the guest: the host's name or address
    std::uint16_t port = DefaultNetPort;
    int delay = DefaultInputDelay;          // the host's choice counts for both
    std::string record;                     // --record: the merged input stream
    std::string dumpState;                  // --dump-state
    std::optional<std::int64_t> disturbAfterFrame;   // tests of the digest exchange
};

// Exit codes of a network game besides 0 (played to its end, or the partner left).
constexpr int ExitNetworkFailed = 1;   // no partner reached, refused, a broken partner
constexpr int ExitOutOfStep = 3;

// The game the host chose, on either machine: the seed, the level and the difficulty.
void StartSharedGame(TMainForm& form, const WelcomeMessage& game);

// `local` is the host's own events; the form's events must be `overlay` laid over LocalPointerEvents(local).
// `realClock` measures the partner's silence. Returns the exit code.
int RunNetworkGame(TMainForm& form, Events& local, OverlayEvents& overlay, Network& network, Clock& realClock,
                   RunOptions run, const NetworkGameOptions& options);

}  // namespace vorlanex
