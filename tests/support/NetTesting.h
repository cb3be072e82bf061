#pragma once
// Helpers of the network game tests: a free UDP port, and the one-keyboard script that two machines' scripts
// amount to.

#include <gtest/gtest.h>

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <regex>
#include <sstream>
#include <string>

namespace vorlanex::testing {

// A UDP port of the loopback address that nobody uses right now.
inline std::uint16_t FreeUdpPort()
{
    const int s = ::socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address);
    socklen_t size = sizeof address;
    ::getsockname(s, reinterpret_cast<sockaddr*>(&address), &size);
    ::close(s);
    return ntohs(address.sin_port);
}

// The game one keyboard plays when the host's and the guest's scripts (lines "FRAME down|up|press KEY") are
// played over the network with input delay `delay`: every line `delay` frames later, the host's lines before the
// guest's, the guest's player 1 keys as player 2's, and neither machine's player 2 keys.
inline std::string MergedScript(const std::string& host, const std::string& guest, int delay)
{
    static const std::map<std::string, std::string> seat = {{"Up", "W"},      {"Down", "Z"},      {"Left", "A"},
                                                            {"Right", "S"},   {"Space", "Shift"}, {"Return", "Tab"},
                                                            {"P", "Escape"}};
    std::ostringstream merged;
    const auto shift = [&merged, delay](const std::string& script, bool translate) {
        std::istringstream lines(script);
        static const std::regex line(R"((\d+) (down|up|press) (\w+))");
        for (std::string text; std::getline(lines, text);)
        {
            std::smatch m;
            if (!std::regex_match(text, m, line))
            {
                ADD_FAILURE() << "test script line: " << text;
                continue;
            }
            const std::string key = translate && seat.count(m[3]) ? seat.at(m[3]) : std::string(m[3]);
            const bool player2Key =
                std::any_of(seat.begin(), seat.end(), [&m](const auto& s) { return s.second == m[3]; });
            if (!player2Key)
                merged << std::stoi(m[1]) + delay << ' ' << m[2] << ' ' << key << '\n';
        }
    };
    shift(host, false);
    shift(guest, true);
    return merged.str();
}

}  // namespace vorlanex::testing
