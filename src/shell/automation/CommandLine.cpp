#include "shell/automation/CommandLine.h"

#include <charconv>
#include <functional>
#include <limits>
#include <string_view>

#include "shell/automation/MessageText.h"

namespace vorlanex {

namespace {

template <typename T>
T Number(std::string_view option, const std::string& text, T low = std::numeric_limits<T>::min())
{
    T value{};
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    const bool whole = end == text.data() + text.size();
    if (ec == std::errc::result_out_of_range && whole)
        throw std::invalid_argument(std::string(option) + " " + QuoteForMessage(text) + " is out of range");
    if (ec != std::errc() || !whole)
        throw std::invalid_argument(std::string(option) + " needs a whole number, not " + QuoteForMessage(text));
    if (value < low)
        throw std::invalid_argument(std::string(option) + " cannot be below " + std::to_string(low));
    return value;
}

std::uint16_t Port(const std::string& option, const std::string& text)
{
    const auto port = Number<std::uint32_t>(option, text);
    if (port < 1 || port > 65535)
        throw std::invalid_argument(option + " needs a port from 1 to 65535, not " + text);
    return std::uint16_t(port);
}

bool AllDigits(const char* text)
{
    return *text && std::string(text).find_first_not_of("0123456789") == std::string::npos;
}

// HOST, HOST:PORT, [IPv6] or [IPv6]:PORT.
void ParseJoin(CommandLine& c, const std::string& v)
{
    std::string host = v, port;
    if (!v.empty() && v[0] == '[')
    {
        const auto close = v.find(']');
        if (close == std::string::npos || (close + 1 < v.size() && v[close + 1] != ':'))
            throw std::invalid_argument("--join needs HOST[:PORT], not '" + v + "'");
        host = v.substr(1, close - 1);
        port = close + 1 < v.size() ? v.substr(close + 2) : "";
    }
    else if (const auto colon = v.rfind(':'); colon != std::string::npos && v.find(':') == colon)
    {
        host = v.substr(0, colon);
        port = v.substr(colon + 1);
    }
    if (host.empty())
        throw std::invalid_argument("--join needs HOST[:PORT], not '" + v + "'");
    c.joinHost = host;
    c.joinPort = port.empty() ? 0 : Port("--join", port);
}

// Each option once: its name, whether it takes a value, and what it sets.
struct Option
{
    std::string_view name;
    bool takesValue;
    std::function<void(CommandLine&, const std::string& value)> apply;
};

void AddScreenshot(CommandLine& c, const std::string& v)
{
    const auto colon = v.find(':');
    if (colon == std::string::npos || colon == 0 || colon + 1 == v.size())
        throw std::invalid_argument("--screenshot needs N:FILE, not " + QuoteForMessage(v));
    c.screenshots.emplace_back(Number<std::int64_t>("--screenshot", v.substr(0, colon), 1), v.substr(colon + 1));
}

const std::vector<Option>& Options()
{
    static const std::vector<Option> options = {
        {"--windowed", false, [](CommandLine& c, const std::string&) { c.windowed = true; }},
        {"--data", true, [](CommandLine& c, const std::string& v) { c.dataDir = v; }},
        {"--seed", true, [](CommandLine& c, const std::string& v) { c.seed = Number<std::uint64_t>("--seed", v); }},
        {"--frames", true,
         [](CommandLine& c, const std::string& v) { c.frames = Number<std::int64_t>("--frames", v, 0); }},
        {"--unpaced", false, [](CommandLine& c, const std::string&) { c.unpaced = true; }},
        {"--headless", false, [](CommandLine& c, const std::string&) { c.headless = true; }},
        {"--input", true, [](CommandLine& c, const std::string& v) { c.inputScript = v; }},
        {"--screenshot", true, AddScreenshot},
        {"--dump-state", true, [](CommandLine& c, const std::string& v) { c.dumpState = v; }},
        {"--record", true, [](CommandLine& c, const std::string& v) { c.record = v; }},
        {"--frame-times", true, [](CommandLine& c, const std::string& v) { c.frameTimes = v; }},
        {"--no-settings", false, [](CommandLine& c, const std::string&) { c.noSettings = true; }},
        {"--maps", true, [](CommandLine& c, const std::string& v) { c.mapsDir = v; }},
        {"--join", true, ParseJoin},
        {"--delay", true,
         [](CommandLine& c, const std::string& v) {
             c.delay = Number<int>("--delay", v, 1);
             if (*c.delay > 30)
                 throw std::invalid_argument("--delay needs 1 to 30 frames");
         }},
        {"--help", false, [](CommandLine& c, const std::string&) { c.help = true; }},
        {"-h", false, [](CommandLine& c, const std::string&) { c.help = true; }},
        {"--version", false, [](CommandLine& c, const std::string&) { c.version = true; }},
    };
    return options;
}

const Option* FindOption(std::string_view name)
{
    for (const Option& option : Options())
        if (option.name == name)
            return &option;
    return nullptr;
}

// What an option's value stands for, for the message when it is missing.
std::string_view ValueName(std::string_view option)
{
    if (option == "--data" || option == "--maps")
        return "folder";
    if (option == "--seed" || option == "--frames" || option == "--delay")
        return "number";
    if (option == "--join")
        return "HOST[:PORT]";
    if (option == "--screenshot")
        return "N:FILE";
    return "file";
}

}  // namespace

CommandLine ParseCommandLine(int argc, const char* const* argv)
{
    CommandLine c;
    for (int i = 1; i < argc; ++i)
    {
        const std::string arg = argv[i];
        // --host takes a port only when one follows.
        if (arg == "--host")
        {
            c.hostPort = i + 1 < argc && AllDigits(argv[i + 1]) ? Port(arg, argv[++i]) : 0;
            continue;
        }
        // --edit takes a map file only when one follows.
        if (arg == "--edit")
        {
            c.edit = true;
            if (i + 1 < argc && argv[i + 1][0] != '-' && argv[i + 1][0] != '\0')
                c.editFile = argv[++i];
            continue;
        }
        const Option* option = FindOption(arg);
        if (!option)
            throw std::invalid_argument("unknown option " + QuoteForMessage(arg));
        std::string value;
        if (option->takesValue)
        {
            // "--input --frames 5" lacks its file; a file really named like an option is given as ./--name.
            const bool missing = i + 1 >= argc || FindOption(argv[i + 1]) != nullptr;
            if (missing)
                throw std::invalid_argument(arg + " lacks its " + std::string(ValueName(arg)));
            value = argv[++i];
            if (value.empty())
                throw std::invalid_argument(arg + " needs a " + std::string(ValueName(arg)) + ", not an empty value");
        }
        option->apply(c, value);
    }
    if (c.hostPort && !c.joinHost.empty())
        throw std::invalid_argument("--host and --join cannot both be given");
    return c;
}

std::string CommandLineHelp()
{
    return "Usage: vorlanex [options]\n"
           "A tank battle for one or two players at one keyboard. With no options the game starts full screen.\n"
           "\n"
           "  --windowed            a 1024 x 768 window instead of full screen (Alt+Enter toggles)\n"
           "  --data DIR            use DIR as the game folder instead of the executable's folder\n"
           "  --seed N              seed the gameplay random generator with N instead of the clock\n"
           "  --frames N            quit after N calls of the frame handler\n"
           "  --unpaced             run frames back to back, without waiting\n"
           "  --headless            no window and no sound device\n"
           "  --input FILE          scripted input (see README)\n"
           "  --screenshot N:FILE   write the frame presented at frame N to FILE as PNG (repeatable)\n"
           "  --dump-state FILE     at exit, write the game state as JSON to FILE\n"
           "  --record FILE         write every input event to FILE as an input script (replay with --input)\n"
           "  --frame-times FILE    at exit, write how long each frame took to FILE (histogram and every frame)\n"
           "  --no-settings         neither read nor write the settings file\n"
           "  --maps DIR            play the maps of DIR in name order; the editor keeps its maps there\n"
           "  --edit [MAPFILE]      start in the map editor (a new map when MAPFILE does not exist yet)\n"
           "  --host [PORT]         play player 1 over the network: wait for a partner on UDP PORT (29817)\n"
           "  --join HOST[:PORT]    play player 2 over the network with the game hosted on HOST\n"
           "  --delay N             network play: frames of input delay, 1 to 30 (3; the host's counts)\n"
           "  --help, --version\n";
}

const char* VersionText() { return "0.1.0"; }

}  // namespace vorlanex
