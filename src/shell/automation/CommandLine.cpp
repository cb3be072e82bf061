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
        else if (arg == "--no-settings")
            c.noSettings = true;
        else if (arg == "--maps")
            c.mapsDir = value();
        else if (arg == "--help" || arg == "-h")
            c.help = true;
        else if (arg == "--version")
            c.version = true;
        else
            throw std::invalid_argument("unknown option " + arg);
    }
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
           "  --no-settings         neither read nor write the settings file\n"
           "  --maps DIR            play the maps of DIR in name order\n"
           "  --help, --version\n";
}

const char* VersionText() { return "0.1.0"; }

}  // namespace vorlanex
