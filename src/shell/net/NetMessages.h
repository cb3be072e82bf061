#pragma once
// The messages two machines exchange in a network game, and their one decoder. Every message is a type byte
// and little-endian fields; the decoder checks every size and count against the bounds below before it
// allocates, and refuses trailing bytes, so whatever arrives either becomes a well-formed message or an error.

#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <variant>
#include <vector>

#include "platform/Network.h"
#include "platform/Platform.h"

namespace vorlanex {

constexpr std::uint16_t NetProtocolVersion = 1;
constexpr std::size_t MaxEventsPerTurn = 256;   // far beyond what two hands and a pad do in a frame
constexpr std::size_t MaxDataFiles = 512;
constexpr std::size_t MaxNameBytes = 255;
constexpr std::size_t MaxTextBytes = 1024;

class NetMessageError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

struct FileDigest
{
    std::string name;
    std::uint64_t digest = 0;
    bool operator==(const FileDigest&) const = default;
};

// The guest introduces itself; the host compares.
struct HelloMessage
{
    std::uint16_t protocol = NetProtocolVersion;
    std::string gameVersion;
    std::vector<FileDigest> files;
    bool operator==(const HelloMessage&) const = default;
};

// The host accepts: the game both machines start.
struct WelcomeMessage
{
    std::uint64_t seed = 0;
    std::int32_t level = 1;
    std::int32_t difficulty = 1;
    std::uint8_t delay = 3;
    bool operator==(const WelcomeMessage&) const = default;
};

struct RefusalMessage
{
    std::string reason;
    bool operator==(const RefusalMessage&) const = default;
};

// One side's events for one turn of the frame loop.
struct TurnMessage
{
    std::uint32_t turn = 0;
    std::vector<InputEvent> events;
};

// The state digest one side reached after a frame.
struct DigestMessage
{
    std::uint32_t frame = 0;
    std::uint64_t digest = 0;
    bool operator==(const DigestMessage&) const = default;
};

// Leaving on purpose (the player quit).
struct GoodbyeMessage
{
    bool operator==(const GoodbyeMessage&) const = default;
};

using NetMessage =
    std::variant<HelloMessage, WelcomeMessage, RefusalMessage, TurnMessage, DigestMessage, GoodbyeMessage>;

// Whether an event can travel in a turn: keys, clicks and pads (the rest is for one machine alone).
bool TravelsInTurn(const InputEvent& event);
// Two events that travel are equal in every field that travels.
bool SameTravellingEvent(const InputEvent& a, const InputEvent& b);

// Throws NetMessageError for a message that breaks a bound (too many events, a name too long, an event that
// cannot travel), so that nothing is sent that the partner would refuse.
std::vector<std::uint8_t> EncodeMessage(const NetMessage& message);
// Throws NetMessageError saying what is wrong.
NetMessage DecodeMessage(std::span<const std::uint8_t> bytes);

}  // namespace vorlanex
