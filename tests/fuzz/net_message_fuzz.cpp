// Packets from anywhere: the decoder either refuses them with its error or returns a message that encodes back
// to exactly the bytes it came from (every field is checked, nothing is read loosely), and it never crashes,
// hangs or allocates beyond the packet's size.

#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "shell/net/NetMessages.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::span<const std::uint8_t> bytes(data, size);
    vorlanex::NetMessage message;
    try
    {
        message = vorlanex::DecodeMessage(bytes);
    }
    catch (const vorlanex::NetMessageError&)
    {
        return 0;
    }
    const std::vector<std::uint8_t> again = vorlanex::EncodeMessage(message);
    if (again.size() != size || !std::equal(again.begin(), again.end(), data))
        std::abort();
    return 0;
}
