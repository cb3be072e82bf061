#include "shell/automation/CommandLine.h"

#include <charconv>

namespace vorlanex {

namespace {

template <typename T>
T Number(const std::string& option, const std::string& text)
{
    T value{};
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size())
        throw std::invalid_argument(option + " needs a whole number, not '" + text + "'");
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

}  // namespace

CommandLine ParseCommandLine(int argc, const char* const* argv)
{
    CommandLine c;
    for (int i = 1; i < argc; ++i)
    {
        const std::string arg = argv[i];
        auto value = [&]() -> std::string {
            if (i + 1 >= argc)
                throw std::invalid_argument(arg + " needs a value");
            return argv[++i];
        };
        if (arg == "--windowed")
            c.windowed = true;
        else if (arg == "--data")
            c.dataDir = value();
        else if (arg == "--seed")
            c.seed = Number<std::uint64_t>(arg, value());
        else if (arg == "--frames")
        {
            c.frames = Number<std::int64_t>(arg, value());
            if (*c.frames < 0)
                throw std::invalid_argument("--frames cannot be negative");
        }
        else if (arg == "--unpaced")
            c.unpaced = true;
        else if (arg == "--headless")
            c.headless = true;
        else if (arg == "--input")
            c.inputScript = value();
        else if (arg == "--screenshot")
        {
            const std::string v = value();
            const auto colon = v.find(':');
            if (colon == std::string::npos || colon + 1 == v.size())
                throw std::invalid_argument("--screenshot needs N:FILE");
            c.screenshots.emplace_back(Number<std::int64_t>(arg, v.substr(0, colon)), v.substr(colon + 1));
        }
        else if (arg == "--dump-state")
            c.dumpState = value();
        else if (arg == "--record")
            c.record = value();
        else if (arg == "--host")
            c.hostPort = i + 1 < argc && AllDigits(argv[i + 1]) ? Port(arg, argv[++i]) : 0;
        else if (arg == "--join")
            ParseJoin(c, value());
        else if (arg == "--delay")
        {
            c.delay = Number<int>(arg, value());
            if (*c.delay < 1 || *c.delay > 30)
                throw std::invalid_argument("--delay needs 1 to 30 frames");
        }
        else if (arg == "--help" || arg == "-h")
            c.help = true;
        else if (arg == "--version")
            c.version = true;
        else
            throw std::invalid_argument("unknown option " + arg);
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
           "  --host [PORT]         play player 1 over the network: wait for a partner on UDP PORT (29817)\n"
           "  --join HOST[:PORT]    play player 2 over the network with the game hosted on HOST\n"
           "  --delay N             network play: frames of input delay, 1 to 30 (3; the host's counts)\n"
           "  --help, --version\n";
}

const char* VersionText() { return "0.1.0"; }

}  // namespace vorlanex
