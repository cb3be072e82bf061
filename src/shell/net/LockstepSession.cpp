#include "shell/net/LockstepSession.h"

#include <algorithm>

namespace vorlanex {

namespace {

// More digests waiting than a partner within the delay window can leave behind.
constexpr std::size_t kMaxWaitingDigests = 16;

}  // namespace

std::string HandshakeMismatch(const NetIdentity& host, const HelloMessage& guest)
{
    if (guest.protocol != NetProtocolVersion)
        return "player 2 speaks network protocol " + std::to_string(guest.protocol) + ", this game " +
               std::to_string(NetProtocolVersion);
    if (guest.gameVersion != host.gameVersion)
        return "player 2 runs version " + guest.gameVersion + ", this game " + host.gameVersion;
    const auto find = [](const std::vector<FileDigest>& files, const std::string& name) {
        return std::find_if(files.begin(), files.end(), [&name](const FileDigest& f) { return f.name == name; });
    };
    for (const FileDigest& ours : host.files)
    {
        const auto theirs = find(guest.files, ours.name);
        if (theirs == guest.files.end())
            return "player 2 has no data file " + ours.name;
        if (theirs->digest != ours.digest)
            return "the data file " + ours.name + " differs between the two machines";
    }
    for (const FileDigest& theirs : guest.files)
        if (find(host.files, theirs.name) == host.files.end())
            return "player 2 has a data file this game does not have: " + theirs.name;
    return {};
}

LockstepSession::LockstepSession(Network& network, Clock& clock, NetRole role, NetIdentity identity)
    : network(network), clock(clock), role(role), identity(std::move(identity)), lastHeard(clock.NowMs())
{
}

std::string LockstepSession::PartnerName() const { return role == NetRole::Host ? "player 2" : "player 1"; }

void LockstepSession::Offer(const WelcomeMessage& offered)
{
    game = offered;
    game.delay = std::uint8_t(std::clamp<int>(game.delay, 1, MaxInputDelay));
}

void LockstepSession::Service(std::uint32_t waitMs)
{
    NetEvent event;
    for (std::uint32_t wait = waitMs; state != SessionState::Ended && network.Poll(event, wait); wait = 0)
        Take(event);
    const bool waitingForHost = role == NetRole::Guest || partnerThere;
    if (state == SessionState::Ended || partnerGone || !waitingForHost)
        return;
    // In play a partner is silent only when the connection itself hears nothing: messages held up behind a
    // datagram the link is still trying to deliver only hold the game up. Before it, a partner must speak.
    std::uint32_t silence = clock.NowMs() - lastHeard;
    if (state == SessionState::Playing)
        silence = std::min(silence, network.MsSinceHeard());
    if (silence > PartnerSilenceMs)
    {
        if (state == SessionState::Playing)
            Finish(SessionEnd::PartnerLeft, PartnerName() + " left (nothing heard for 5 seconds)");
        else if (role == NetRole::Guest)
            Finish(SessionEnd::Unreachable, "no answer from the host");
        else
            Finish(SessionEnd::Broken, "player 2 connected but did not say who it is");
    }
}

void LockstepSession::Take(const NetEvent& event)
{
    switch (event.kind)
    {
    case NetEventKind::Connected:
        partnerThere = true;
        lastHeard = clock.NowMs();
        if (role == NetRole::Guest)
            Send(HelloMessage{NetProtocolVersion, identity.gameVersion, identity.files});
        break;
    case NetEventKind::Message:
        lastHeard = clock.NowMs();
        try
        {
            Receive(DecodeMessage(event.data));
        }
        catch (const NetMessageError& e)
        {
            Finish(SessionEnd::Broken, PartnerName() + " sent a broken message: " + e.what());
        }
        break;
    case NetEventKind::Disconnected:
        if (state == SessionState::Playing)
            partnerGone = true;
        else if (role == NetRole::Guest)
            Finish(SessionEnd::Unreachable, "cannot connect: " + event.text);
        else
            partnerThere = false;   // gone before the handshake: the host waits for another
        break;
    case NetEventKind::Notice: notices.push_back(event.text); break;
    }
}

void LockstepSession::Receive(const NetMessage& message)
{
    const bool playing = state == SessionState::Playing;
    if (const auto* hello = std::get_if<HelloMessage>(&message); hello && role == NetRole::Host && !playing)
        Greet(*hello);
    else if (const auto* welcome = std::get_if<WelcomeMessage>(&message); welcome && role == NetRole::Guest && !playing)
        Welcomed(*welcome);
    else if (const auto* refusal = std::get_if<RefusalMessage>(&message); refusal && role == NetRole::Guest && !playing)
        Finish(SessionEnd::Refused, "the host refused the game: " + refusal->reason);
    else if (const auto* turn = std::get_if<TurnMessage>(&message); turn && playing)
        ReceiveTurn(*turn);
    else if (const auto* digest = std::get_if<DigestMessage>(&message); digest && playing)
        ReceiveDigest(*digest);
    else if (std::holds_alternative<GoodbyeMessage>(message))
        partnerGone = playing;
    else
        Finish(SessionEnd::Broken, PartnerName() + " sent a message out of place");
}

void LockstepSession::Greet(const HelloMessage& hello)
{
    const std::string mismatch = HandshakeMismatch(identity, hello);
    if (!mismatch.empty())
    {
        Send(RefusalMessage{mismatch});
        network.Close();
        Finish(SessionEnd::Refused, "refused player 2: " + mismatch);
        return;
    }
    Send(game);
    Welcomed(game);
}

void LockstepSession::Welcomed(const WelcomeMessage& welcome)
{
    if (welcome.delay < 1 || welcome.delay > MaxInputDelay)
    {
        Finish(SessionEnd::Broken, "the host asked for an input delay of " + std::to_string(welcome.delay));
        return;
    }
    game = welcome;
    state = SessionState::Playing;
    sentThrough = partnerThrough = game.delay;
    ownTurns.assign(game.delay, {});
    partnerTurns.assign(game.delay, {});
}

void LockstepSession::ReceiveTurn(TurnMessage turn)
{
    if (turn.turn != partnerThrough + 1)
        Finish(SessionEnd::Broken, PartnerName() + " sent turn " + std::to_string(turn.turn) + " where turn " +
                                       std::to_string(partnerThrough + 1) + " was due");
    else if (turn.turn > Window())
        Finish(SessionEnd::Broken, PartnerName() + " is further ahead than the input delay allows");
    else
    {
        partnerTurns.push_back(std::move(turn.events));
        ++partnerThrough;
    }
}

void LockstepSession::ReceiveDigest(const DigestMessage& digest)
{
    if (digest.frame <= lastPartnerDigest || digest.frame > Window())
    {
        Finish(SessionEnd::Broken, PartnerName() + " sent the digest of frame " + std::to_string(digest.frame) +
                                       " out of turn");
        return;
    }
    lastPartnerDigest = digest.frame;
    partnerDigests[digest.frame] = digest.digest;
    if (partnerDigests.size() > kMaxWaitingDigests)
        Finish(SessionEnd::Broken, PartnerName() + " sent more digests than it could have");
    CompareDigests();
}

void LockstepSession::AddLocal(const InputEvent& event)
{
    if (!TravelsInTurn(event) || state != SessionState::Playing)
        return;
    // A stick reports far more often than frames come: within a turn only its last position counts.
    if (event.kind == EventKind::PadAxis)
    {
        const auto same = std::find_if(local.begin(), local.end(), [&event](const InputEvent& e) {
            return e.kind == EventKind::PadAxis && e.pad == event.pad && e.axis == event.axis;
        });
        if (same != local.end())
        {
            same->axisValue = event.axisValue;
            return;
        }
    }
    if (local.size() < MaxEventsPerTurn)
        local.push_back(event);
}

std::optional<std::vector<InputEvent>> LockstepSession::TakeTurn()
{
    if (state != SessionState::Playing)
        return std::nullopt;
    if (sentThrough < nextTurn + game.delay)
    {
        Send(TurnMessage{++sentThrough, local});
        ownTurns.push_back(std::exchange(local, {}));
    }
    if (partnerTurns.empty())
    {
        if (partnerGone)
            Finish(SessionEnd::PartnerLeft, PartnerName() + " left");
        return std::nullopt;
    }
    std::vector<InputEvent> merged = std::move(role == NetRole::Host ? ownTurns.front() : partnerTurns.front());
    const std::vector<InputEvent>& second = role == NetRole::Host ? partnerTurns.front() : ownTurns.front();
    merged.insert(merged.end(), second.begin(), second.end());
    ownTurns.pop_front();
    partnerTurns.pop_front();
    ++nextTurn;
    return merged;
}

void LockstepSession::FrameDigest(std::uint32_t frame, std::uint64_t digest)
{
    if (state != SessionState::Playing)
        return;
    ownDigests[frame] = digest;
    // Ours wait only for a partner that lags; one that never answers is caught by its silence.
    while (ownDigests.size() > kMaxWaitingDigests)
        ownDigests.erase(ownDigests.begin());
    Send(DigestMessage{frame, digest});
    CompareDigests();
}

void LockstepSession::CompareDigests()
{
    for (auto ours = ownDigests.begin(); ours != ownDigests.end() && state == SessionState::Playing;)
    {
        const auto theirs = partnerDigests.find(ours->first);
        if (theirs == partnerDigests.end())
        {
            ++ours;
            continue;
        }
        if (theirs->second != ours->second)
        {
            Finish(SessionEnd::OutOfStep, "out of step at frame " + std::to_string(ours->first));
            return;
        }
        partnerDigests.erase(theirs);
        ours = ownDigests.erase(ours);
    }
}

void LockstepSession::Leave()
{
    if (partnerThere && !partnerGone && state != SessionState::Ended)
        Send(GoodbyeMessage{});
    network.Close();
    if (state != SessionState::Ended)
        state = SessionState::Ended;
}

void LockstepSession::Send(const NetMessage& message) { network.Send(EncodeMessage(message)); }

void LockstepSession::Finish(SessionEnd why, std::string message)
{
    if (state == SessionState::Ended)
        return;
    state = SessionState::Ended;
    end = why;
    endMessage = std::move(message);
}

}  // namespace vorlanex
