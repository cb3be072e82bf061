#include "platform/enet/EnetNetwork.h"

#include <enet/enet.h>

#include <deque>
#include <mutex>
#include <stdexcept>

namespace vorlanex {

namespace {

// A connection attempt unanswered this long has failed.
constexpr enet_uint32 kConnectTimeoutMinimumMs = 2000;
constexpr enet_uint32 kConnectTimeoutMaximumMs = 4000;
// Once connected, a message unacknowledged after many tries for this long, or after any number for the maximum,
// means the link is gone. Generous: a lossy link where one datagram needs several tries only holds the game up,
// and a partner that is really gone falls silent long before (see the heartbeat).
constexpr enet_uint32 kTimeoutMinimumMs = 10000;
constexpr enet_uint32 kTimeoutMaximumMs = 30000;
// How long a goodbye waits for the partner's acknowledgement before the connection is simply dropped.
constexpr enet_uint32 kGoodbyeMs = 3000;
// Messages go reliably and in order on the first channel. The second carries a heartbeat, sent unreliably
// and out of order, so that one lost message being sent again cannot make a partner that is there seem silent.
constexpr std::size_t kChannels = 2;
constexpr enet_uint8 kMessageChannel = 0, kHeartbeatChannel = 1;
constexpr enet_uint32 kHeartbeatMs = 200;
constexpr int kBatch = 256;

// ENet keeps process-wide state: set up with the first network, torn down after the last.
std::mutex gLibraryLock;
int gLibraryUsers = 0;

void UseLibrary()
{
    std::lock_guard lock(gLibraryLock);
    if (gLibraryUsers == 0 && enet_initialize() != 0)
        throw std::runtime_error("the network cannot be started");
    ++gLibraryUsers;
}

void ReleaseLibrary()
{
    std::lock_guard lock(gLibraryLock);
    if (--gLibraryUsers == 0)
        enet_deinitialize();
}

std::string AddressText(const ENetAddress& address)
{
    char name[64] = "?";
    enet_address_get_host_ip(&address, name, sizeof name);
    return std::string(name) + ":" + std::to_string(address.port);
}

class EnetNetwork final : public Network
{
public:
    EnetNetwork() { UseLibrary(); }
    ~EnetNetwork() override
    {
        Close();
        if (host)
            enet_host_destroy(host);
        ReleaseLibrary();
    }

    void Host(std::uint16_t port) override
    {
        ENetAddress address{};
        address.host = ENET_HOST_ANY;
        address.port = port;
        // Room for one more than the partner, so that a third machine can be told no.
        Create(&address, 2);
        if (!host)
            throw std::runtime_error("UDP port " + std::to_string(port) + " cannot be used (is another game on it?)");
    }

    void Connect(const std::string& name, std::uint16_t port) override
    {
        ENetAddress address{};
        if (enet_address_set_host(&address, name.c_str()) != 0)
            throw std::runtime_error("host " + name + " not found");
        address.port = port;
        Create(nullptr, 1);
        if (!host)
            throw std::runtime_error("the network cannot be started");
        partner = enet_host_connect(host, &address, kChannels, 0);
        if (!partner)
            throw std::runtime_error("cannot connect to " + name);
        enet_peer_timeout(partner, 0, kConnectTimeoutMinimumMs, kConnectTimeoutMaximumMs);
        target = name + ":" + std::to_string(port);
    }

    void Send(std::span<const std::uint8_t> message) override
    {
        if (!partner || !connected || closed || message.size() > MaxNetMessageBytes)
            return;
        ENetPacket* packet = enet_packet_create(message.data(), message.size(), ENET_PACKET_FLAG_RELIABLE);
        if (packet && enet_peer_send(partner, kMessageChannel, packet) != 0)
            enet_packet_destroy(packet);
        enet_host_flush(host);
    }

    bool Poll(NetEvent& out, std::uint32_t waitMs) override
    {
        if (pending.empty() && host && !closed)
        {
            ENetEvent event;
            // The first service may wait; the rest only take what has already arrived, a bounded batch at a time
            // so that a flood cannot keep this call from returning.
            int r = enet_host_service(host, &event, waitMs);
            for (int taken = 0; r > 0; r = ++taken < kBatch ? enet_host_service(host, &event, 0) : 0)
                Take(event);
            Beat();
        }
        if (pending.empty())
            return false;
        out = std::move(pending.front());
        pending.pop_front();
        return true;
    }

    void Close() override
    {
        if (closed || !host)
            return;
        closed = true;
        if (!partner)
            return;
        if (!connected)
        {
            enet_peer_reset(partner);
            return;
        }
        enet_peer_disconnect_later(partner, 0);
        ENetEvent event;
        for (int left = int(kGoodbyeMs / 10); left > 0; --left)
        {
            const int r = enet_host_service(host, &event, 10);
            if (r > 0 && event.type == ENET_EVENT_TYPE_DISCONNECT && event.peer == partner)
                return;
            if (r > 0 && event.type == ENET_EVENT_TYPE_RECEIVE)
                enet_packet_destroy(event.packet);
        }
        enet_peer_reset(partner);
    }

    std::uint32_t MsSinceHeard() override
    {
        if (!partner || !connected || closed)
            return NeverHeard;
        return enet_time_get() - lastHeard;
    }

private:
    void Create(const ENetAddress* address, std::size_t peers)
    {
        if (host)
            throw std::logic_error("the network is already in use");
        host = enet_host_create(address, peers, kChannels, 0, 0);
        if (host)
        {
            host->maximumPacketSize = MaxNetMessageBytes;
            host->maximumWaitingData = 4 * MaxNetMessageBytes;
        }
    }

    void Beat()
    {
        if (!partner || !connected || closed || enet_time_get() - lastBeat < kHeartbeatMs)
            return;
        lastBeat = enet_time_get();
        const enet_uint8 beat = 0;
        ENetPacket* packet = enet_packet_create(&beat, 1, ENET_PACKET_FLAG_UNSEQUENCED);
        if (packet && enet_peer_send(partner, kHeartbeatChannel, packet) != 0)
            enet_packet_destroy(packet);
        enet_host_flush(host);
    }

    void Take(ENetEvent& event)
    {
        switch (event.type)
        {
        case ENET_EVENT_TYPE_CONNECT: Arrived(event.peer); break;
        case ENET_EVENT_TYPE_RECEIVE:
            if (event.peer == partner && connected)
                lastHeard = enet_time_get();
            if (event.peer == partner && connected && event.channelID == kMessageChannel)
                pending.push_back({NetEventKind::Message,
                                   {event.packet->data, event.packet->data + event.packet->dataLength}, {}});
            enet_packet_destroy(event.packet);
            break;
        case ENET_EVENT_TYPE_DISCONNECT:
            if (event.peer == partner)
            {
                pending.push_back({NetEventKind::Disconnected, {},
                                   connected ? "the connection was lost" : "no answer from " + target});
                partner = nullptr;
                connected = false;
            }
            break;
        default: break;
        }
    }

    void Arrived(ENetPeer* peer)
    {
        if (partner && partner != peer)
        {
            pending.push_back({NetEventKind::Notice, {},
                               AddressText(peer->address) + " tried to join a game that already has two players"});
            enet_peer_disconnect_now(peer, 0);
            return;
        }
        partner = peer;
        connected = true;
        lastHeard = lastBeat = enet_time_get();
        enet_peer_timeout(partner, 0, kTimeoutMinimumMs, kTimeoutMaximumMs);
        pending.push_back({NetEventKind::Connected, {}, AddressText(peer->address)});
    }

    ENetHost* host = nullptr;
    ENetPeer* partner = nullptr;
    bool connected = false;
    bool closed = false;
    std::string target;
    std::deque<NetEvent> pending;
    enet_uint32 lastHeard = 0, lastBeat = 0;   // on the library's clock
};

}  // namespace

std::unique_ptr<Network> MakeEnetNetwork() { return std::make_unique<EnetNetwork>(); }

}  // namespace vorlanex
