// Program entry: reads the options and chooses the platform; the game itself lives in the shell.

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "assets/BuiltinAssets.h"
#include "platform/null/NullAudio.h"
#include "platform/enet/EnetNetwork.h"
#include "platform/null/NullPlatform.h"
#include "platform/sdl2/SdlAudio.h"
#include "platform/sdl2/SdlPlatform.h"
#include "shell/MainForm.h"
#include "shell/automation/CommandLine.h"
#include "shell/automation/GameLoop.h"
#include "shell/automation/InputRecorder.h"
#include "shell/automation/StartupChecks.h"
#include "shell/automation/StateDump.h"
#include "shell/settings/Settings.h"
#include "shell/net/NetworkGame.h"
#include "shell/net/NetworkInput.h"

using namespace vorlanex;

namespace {

std::string ExecutableFolder()
{
    std::error_code ec;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec)
        return std::filesystem::current_path().string() + "/";
    return exe.parent_path().string() + "/";
}

// The build folder holds the game beside the program; an installed game keeps it in PREFIX/share/vorlanex.
std::string GameFolder()
{
    const std::string exeFolder = ExecutableFolder();
    std::error_code ec;
    if (std::filesystem::exists(exeFolder + "MAP001.map", ec))
        return exeFolder;
    const std::string installed = exeFolder + "../share/vorlanex/";
    if (!std::filesystem::is_directory(installed, ec))
        return exeFolder;
    const auto tidy = std::filesystem::weakly_canonical(installed, ec);
    return ec ? installed : tidy.string() + "/";
}

Platform MakePlatform(const CommandLine& options)
{
    Platform platform;
    if (options.headless)
    {
        platform = MakeNullPlatform();
        // Without a window the host still tells of SIGTERM, so a stopped run can write its state dump.
        platform.events = MakeSdlEvents(nullptr);
        if (!options.unpaced)
            platform.clock = std::make_unique<SteadyClock>();
        platform.system = std::make_unique<RecordingSystem>(true);
        Clock* clock = platform.clock.get();
        platform.makeAudio = [clock] { return MakeNullAudioDevice(*clock); };
    }
    else
    {
        platform.video = MakeSdlVideo();
        platform.events = MakeSdlEvents(platform.video.get());
        platform.clock = MakeSdlClock();
        platform.system = MakeSdlSystem(platform.video.get());
        platform.makeAudio = [] { return MakeSdlAudioDevice(); };
    }
    // Text is drawn with the installed fonts in every mode, so headless frames look like real ones.
    platform.text = MakeSdlText();
    auto overlay = std::make_unique<OverlayEvents>(std::move(platform.events));
    platform.events = std::move(overlay);
    return platform;
}

bool PlaysOverNetwork(const CommandLine& options) { return options.hostPort || !options.joinHost.empty(); }

NetworkGameOptions NetworkOptions(const CommandLine& options)
{
    NetworkGameOptions net;
    net.role = options.hostPort ? NetRole::Host : NetRole::Guest;
    net.host = options.joinHost;
    const std::uint16_t port = options.hostPort ? *options.hostPort : options.joinPort;
    net.port = port ? port : DefaultNetPort;
    net.delay = options.delay.value_or(DefaultInputDelay);
    net.record = options.record;
    net.dumpState = options.dumpState;
    // Tests of the digest exchange disturb one side's state once.
    if (const char* frame = std::getenv("VORLANEX_TEST_DISTURB_FRAME"))
        net.disturbAfterFrame = std::strtoll(frame, nullptr, 10);
    return net;
}

// When the run ends: a recording's end line, or for an unattended script without --frames, after the last
// frame the script speaks of.
std::optional<std::int64_t> StopBefore(const CommandLine& options, const InputScript& script)
{
    if (script.end)
        return script.end;
    if (options.inputScript.empty() || !options.unpaced || options.frames)
        return std::nullopt;
    return (script.events.empty() ? 0 : script.events.back().frame) + 1;
}

std::string ChosenGameFolder(const CommandLine& options)
{
    std::string folder = options.dataDir.empty() ? GameFolder() : options.dataDir;
    if (folder.back() != '/')
        folder += '/';
    return folder;
}

}  // namespace

int main(int argc, char** argv)
{
    CommandLine options;
    try
    {
        options = ParseCommandLine(argc, argv);
        if (!options.help && !options.version)
            CheckOutputs(options);
    }
    catch (const std::exception& e)
    {
        std::fprintf(stderr, "vorlanex: %s\nTry 'vorlanex --help'.\n", e.what());
        return 2;
    }
    if (options.help)
    {
        std::fputs(CommandLineHelp().c_str(), stdout);
        return 0;
    }
    if (options.version)
    {
        std::printf("vorlanex %s\n", VersionText());
        return 0;
    }

    GameConfig config;
    config.appDir = ChosenGameFolder(options);
    if (const std::string problem = GameFolderProblem(options.dataDir.empty() ? config.appDir : options.dataDir);
        !problem.empty())
    {
        std::fprintf(stderr, "vorlanex: %s\n", problem.c_str());
        return 1;
    }
    if (!options.headless)
        if (const std::string why = WindowUnavailableReason(); !why.empty())
        {
            std::fprintf(stderr, "vorlanex: cannot open a window: %s\n", why.c_str());
            return 1;
        }

    InputScript script;
    try
    {
        if (!options.inputScript.empty())
            script = LoadInputScript(options.inputScript);
    }
    catch (const std::exception& e)
    {
        std::fprintf(stderr, "vorlanex: %s\n", e.what());
        return 2;
    }
    for (const std::string& warning : script.warnings)
        std::fprintf(stderr, "vorlanex: %s\n", warning.c_str());

    RunOptions run;
    run.frames = options.frames;
    run.unpaced = options.unpaced;
    run.headless = options.headless;
    run.screenshots = options.screenshots;
    // A shared game goes on while the partner plays, whatever this machine's script says.
    run.stopBefore = PlaysOverNetwork(options) ? std::nullopt : StopBefore(options, script);
    run.script = std::move(script.events);
    // The seed in use is always known, so a recording can name it.
    const std::uint64_t seed = options.seed   ? *options.seed
                               : script.seed ? *script.seed
                                             : std::uint64_t(std::chrono::steady_clock::now().time_since_epoch().count());
    std::unique_ptr<InputRecorder> recorder;
    try
    {
        if (!options.record.empty() && !PlaysOverNetwork(options))
            recorder = std::make_unique<InputRecorder>(options.record, seed);
    }
    catch (const std::exception& e)
    {
        std::fprintf(stderr, "vorlanex: %s\n", e.what());
        return 2;
    }
    run.recorder = recorder.get();
    FrameTimes frameTimes;
    if (!options.frameTimes.empty())
        run.frameTimes = &frameTimes;

    Platform platform = MakePlatform(options);
    if (options.headless && options.unpaced)
        run.afterUnpacedFrame = [clock = platform.clock.get()] { clock->SleepMs(33); };
    // In a network game the game sees only the shared keys; this machine's own events go to the partner first.
    std::unique_ptr<Events> local;
    if (PlaysOverNetwork(options))
    {
        local = std::move(platform.events);
        platform.events = std::make_unique<OverlayEvents>(std::make_unique<LocalPointerEvents>(*local));
    }
    auto* overlay = static_cast<OverlayEvents*>(platform.events.get());

    config.windowed = options.windowed;
    config.seed = seed;
    config.unpaced = options.unpaced;
    config.builtinAssets = BuiltinAssetArchive();
    // Automation never depends on the player's own files: headless and scripted runs leave them alone.
    // Nor does a network game: both machines play the standard keys and the host's choices, so that either
    // recording replays.
    const bool playerFiles =
        !options.headless && options.inputScript.empty() && !options.noSettings && !PlaysOverNetwork(options);
    if (playerFiles)
        config.settingsFile = DefaultSettingsPath();
    config.playerMapsDir = !options.mapsDir.empty() ? options.mapsDir : playerFiles ? DefaultPlayerMapsFolder() : "";
    config.mapsCampaign = !options.mapsDir.empty();
    config.startInEditor = options.edit;
    config.editFile = options.editFile;

    int exitCode = 0;
    try
    {
        TMainForm form(platform, config);
        form.FormCreate();
        if (local)
        {
            SteadyClock realClock;
            const auto network = MakeEnetNetwork();
            return RunNetworkGame(form, *local, *overlay, *network, realClock, run, NetworkOptions(options));
        }
        GameLoop loop(form, overlay, std::move(run));
        exitCode = loop.Run();
        if (!options.dumpState.empty())
            WriteStateDump(form, options.dumpState);
        if (!options.frameTimes.empty())
            frameTimes.Write(options.frameTimes);
    }
    catch (const DisplayError& e)
    {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    catch (const std::exception& e)
    {
        std::fprintf(stderr, "vorlanex: %s\n", e.what());
        return 1;
    }
    return exitCode;
}
