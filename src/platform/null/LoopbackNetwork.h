#pragma once
// Two networks joined in memory, for tests of two games in one process: what one sends the other receives,
// in order, at its next Poll. A side may also be cut off without a goodbye, like an unplugged cable.

#include <deque>
#include <memory>
#include <utility>

#include "platform/Network.h"

namespace vorlanex {

class LoopbackNetwork;

struct LoopbackPair
{
    std::unique_ptr<LoopbackNetwork> first, second;
};

LoopbackPair MakeLoopbackPair();

class LoopbackNetwork final : public Network
{
public:
    struct Link;
    LoopbackNetwork(std::shared_ptr<Link> link, int side) : link(std::move(link)), side(side) {}
    ~LoopbackNetwork() override;

    void Host(std::uint16_t port) override;
    void Connect(const std::string& host, std::uint16_t port) override;
    void Send(std::span<const std::uint8_t> message) override;
    bool Poll(NetEvent& out, std::uint32_t waitMs) override;
    void Close() override;
    // The partner hears nothing more, not even a goodbye; it only notices the silence.
    void CutOff();
    // What this side sends is held back, as behind a datagram lost on the way, while the connection still
    // answers; Release delivers it all in order.
    void HoldBack() { holding = true; }
    void Release();
    std::uint32_t MsSinceHeard() override;
    // Hands a message to this side as if the partner had sent it (hostile-input tests).
    void Inject(std::vector<std::uint8_t> message);

private:
    std::shared_ptr<Link> link;
    int side;
    bool holding = false;
    std::deque<NetEvent> heldBack;
};

}  // namespace vorlanex
