#pragma once
// The options of the game's command line (all for automation; the plain game takes none).

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace vorlanex {

struct CommandLine
{
    bool windowed = false;
    std::string dataDir;
    std::optional<std::uint64_t> seed;
    std::optional<std::int64_t> frames;
    bool unpaced = false;
    bool headless = false;
    std::string inputScript;
    std::vector<std::pair<std::int64_t, std::string>> screenshots;
    std::string dumpState;
    std::string record;
    std::string frameTimes;
    bool noSettings = false;   // neither read nor write the player's settings file
    std::string mapsDir;
    bool edit = false;         // start in the map editor
    std::string editFile;      // the map the editor opens; empty for the list of the player's maps       // the player's maps folder: its maps are the campaign
    // Network play: --host [PORT] waits for a partner, --join HOST[:PORT] connects to one; 0 = the default port.
    std::optional<std::uint16_t> hostPort;
    std::string joinHost;
    std::uint16_t joinPort = 0;
    std::optional<int> delay;   // --delay N: frames of input delay
    bool help = false;
    bool version = false;
};

// Throws std::invalid_argument with a message for the player.
CommandLine ParseCommandLine(int argc, const char* const* argv);
std::string CommandLineHelp();
const char* VersionText();

}  // namespace vorlanex
