#include "platform/null/LoopbackNetwork.h"

namespace vorlanex {

struct LoopbackNetwork::Link
{
    std::deque<NetEvent> inbox[2];
    bool hosting[2] = {false, false};
    bool connected = false;
    bool open[2] = {true, true};
    bool silent[2] = {false, false};   // cut off: sends nothing, not even a goodbye
};

LoopbackPair MakeLoopbackPair()
{
    auto link = std::make_shared<LoopbackNetwork::Link>();
    return {std::make_unique<LoopbackNetwork>(link, 0), std::make_unique<LoopbackNetwork>(link, 1)};
}

LoopbackNetwork::~LoopbackNetwork() { Close(); }

void LoopbackNetwork::Host(std::uint16_t) { link->hosting[side] = true; }

void LoopbackNetwork::Connect(const std::string& host, std::uint16_t)
{
    const int other = 1 - side;
    if (!link->hosting[other] || !link->open[other] || link->connected)
    {
        link->inbox[side].push_back({NetEventKind::Disconnected, {}, "no answer from " + host});
        return;
    }
    link->connected = true;
    link->inbox[side].push_back({NetEventKind::Connected, {}, {}});
    link->inbox[other].push_back({NetEventKind::Connected, {}, {}});
}

void LoopbackNetwork::Send(std::span<const std::uint8_t> message)
{
    if (!link->connected || !link->open[side] || link->silent[side] || message.size() > MaxNetMessageBytes)
        return;
    NetEvent event{NetEventKind::Message, {message.begin(), message.end()}, {}};
    (holding ? heldBack : link->inbox[1 - side]).push_back(std::move(event));
}

void LoopbackNetwork::Release()
{
    holding = false;
    for (NetEvent& event : heldBack)
        link->inbox[1 - side].push_back(std::move(event));
    heldBack.clear();
}

// In memory a partner that is there is heard at once; a cut-off one is not heard at all.
std::uint32_t LoopbackNetwork::MsSinceHeard()
{
    const int other = 1 - side;
    return link->connected && link->open[other] && !link->silent[other] ? 0 : NeverHeard;
}

bool LoopbackNetwork::Poll(NetEvent& out, std::uint32_t)
{
    auto& inbox = link->inbox[side];
    if (inbox.empty())
        return false;
    out = std::move(inbox.front());
    inbox.pop_front();
    return true;
}

void LoopbackNetwork::Close()
{
    if (!link->open[side])
        return;
    link->open[side] = false;
    if (link->connected && !link->silent[side])
        link->inbox[1 - side].push_back({NetEventKind::Disconnected, {}, "the partner closed the connection"});
    link->connected = false;
}

void LoopbackNetwork::CutOff() { link->silent[side] = true; }

void LoopbackNetwork::Inject(std::vector<std::uint8_t> message)
{
    link->inbox[side].push_back({NetEventKind::Message, std::move(message), {}});
}

}  // namespace vorlanex
