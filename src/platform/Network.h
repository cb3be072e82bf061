#pragma once
// A connection to one partner machine: messages delivered reliably and in order, and the connection's comings
// and goings. src/platform/enet implements it over UDP; src/platform/null holds an in-memory pair for tests.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace vorlanex {

enum class NetEventKind
{
    Connected,      // the partner is there (a host: someone connected; a guest: the host answered)
    Message,        // one message from the partner, in the order it was sent
    Disconnected,   // the partner left, was lost, or (a guest) could not be reached
    Notice          // something the player may want to know (a third machine turned away)
};

struct NetEvent
{
    NetEventKind kind = NetEventKind::Notice;
    std::vector<std::uint8_t> data;   // Message: its bytes
    std::string text;                 // Notice, Disconnected: what happened, for the player
};

// The largest message either side sends or accepts; the transport drops larger ones.
constexpr std::size_t MaxNetMessageBytes = 64 * 1024;

class Network
{
public:
    virtual ~Network() = default;
    // Waits for one partner on `port` of every address; throws std::runtime_error when the port cannot be had.
    virtual void Host(std::uint16_t port) = 0;
    // Starts to connect to host:port; the outcome arrives as Connected or Disconnected. Throws
    // std::runtime_error when the host name cannot be resolved.
    virtual void Connect(const std::string& host, std::uint16_t port) = 0;
    // Sends one message to the partner, reliably and in order; nothing happens without a partner.
    virtual void Send(std::span<const std::uint8_t> message) = 0;
    // Takes the next event, waiting up to waitMs for one; false when none came.
    virtual bool Poll(NetEvent& out, std::uint32_t waitMs) = 0;
    // Says goodbye: what was sent before still reaches the partner when it can. Then nothing more is sent.
    virtual void Close() = 0;
    // How long ago anything at all came from the partner: a message or the connection's own heartbeat. A
    // partner whose messages are held up behind a lost datagram is still heard.
    // NeverHeard without a partner or when the transport cannot tell.
    virtual std::uint32_t MsSinceHeard() = 0;
    static constexpr std::uint32_t NeverHeard = 0xFFFFFFFFu;
};

}  // namespace vorlanex
