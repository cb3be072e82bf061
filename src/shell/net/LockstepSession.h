#pragma once
// Deterministic lockstep between two machines: the handshake, the turns of input and the digests.
//
// Both machines run the same game from the same seed and apply the same events before every frame. A turn is
// one pass of the frame loop: its events are applied, then the frame runs if the timer runs. Each side sends
// its events for turn t + D (D: the input delay) when it is about to run turn t, and runs turn t only once the
// partner's events for it are known, so both apply the host's events of a turn first, then the guest's. Turns
// 1..D carry no events on either side. Every queue is bounded by the delay: a partner further ahead than it
// could be, or out of sequence, is broken and the session ends.

#include <cstdint>
#include <deque>
#include <map>
#include <optional>
#include <utility>
#include <string>
#include <vector>

#include "platform/Network.h"
#include "platform/Platform.h"
#include "shell/net/NetMessages.h"

namespace vorlanex {

enum class NetRole { Host, Guest };

enum class SessionState { Waiting, Playing, Ended };

enum class SessionEnd
{
    None,
    PartnerLeft,   // quit, crashed, unplugged or silent too long
    OutOfStep,     // the digests of a frame differ
    Refused,       // the handshake failed: another version or other game data
    Broken,        // the partner sent what no game of ours sends
    Unreachable    // the host could not be reached
};

// What the handshake compares.
struct NetIdentity
{
    std::string gameVersion;
    std::vector<FileDigest> files;
};

constexpr int MaxInputDelay = 30;
constexpr std::uint32_t PartnerSilenceMs = 5000;

class LockstepSession
{
public:
    // clock measures the partner's silence (a real clock even in unpaced runs).
    LockstepSession(Network& network, Clock& clock, NetRole role, NetIdentity identity);

    // The host's game, sent to the guest with the welcome; its delay counts for both.
    void Offer(const WelcomeMessage& game);
    // Reads what the network has, waiting up to waitMs for the first event; ends the session on silence.
    void Service(std::uint32_t waitMs);

    SessionState State() const { return state; }
    SessionEnd End() const { return end; }
    // Why the session ended, for the player ("player 2 left", "out of step at frame 300", ...).
    const std::string& EndMessage() const { return endMessage; }
    // Things worth telling that did not end the session (a third machine turned away).
    std::vector<std::string> TakeNotices() { return std::exchange(notices, {}); }
    // The game both play; valid once playing.
    const WelcomeMessage& Game() const { return game; }
    NetRole Role() const { return role; }
    // "player 2" for the host, "player 1" for the guest.
    std::string PartnerName() const;

    // One of this machine's shared events, for the turn this machine closes next.
    void AddLocal(const InputEvent& event);
    // The turn TakeTurn gives next, counted from 1.
    std::uint32_t NextTurn() const { return nextTurn; }
    // Sends this machine's events of turn NextTurn() + D if not yet sent; then, when the partner's events of
    // NextTurn() are known, the merged events of that turn (host's first). Nothing while they are missing.
    std::optional<std::vector<InputEvent>> TakeTurn();
    // This machine's state digest after `frame`; compared with the partner's for the same frame.
    void FrameDigest(std::uint32_t frame, std::uint64_t digest);
    // Leaving on purpose: the partner is told, then the connection closes.
    void Leave();

private:
    void Take(const NetEvent& event);
    void Receive(const NetMessage& message);
    void Greet(const HelloMessage& hello);
    void Welcomed(const WelcomeMessage& welcome);
    void ReceiveTurn(TurnMessage turn);
    void ReceiveDigest(const DigestMessage& digest);
    void CompareDigests();
    void Send(const NetMessage& message);
    void Finish(SessionEnd why, std::string message);
    std::uint32_t Window() const { return nextTurn + 2u * game.delay + 1u; }

    Network& network;
    Clock& clock;
    NetRole role;
    NetIdentity identity;
    WelcomeMessage game;
    SessionState state = SessionState::Waiting;
    SessionEnd end = SessionEnd::None;
    std::string endMessage;
    std::vector<std::string> notices;
    bool partnerThere = false;   // connected (and, for the host, not yet gone)
    bool partnerGone = false;    // disconnected or said goodbye: what it sent is still played
    std::uint32_t lastHeard = 0;

    std::uint32_t nextTurn = 1;
    std::uint32_t sentThrough = 0;      // our turns sent (1..D count as sent, empty)
    std::uint32_t partnerThrough = 0;   // the partner's turns received
    std::vector<InputEvent> local;      // this machine's events for turn sentThrough + 1
    std::deque<std::vector<InputEvent>> ownTurns, partnerTurns;   // from nextTurn on
    std::map<std::uint32_t, std::uint64_t> ownDigests, partnerDigests;
    std::uint32_t lastPartnerDigest = 0;
};

// The host's reason to refuse a guest, or empty when the two can play together.
std::string HandshakeMismatch(const NetIdentity& host, const HelloMessage& guest);

}  // namespace vorlanex
