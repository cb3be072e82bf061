// What the real executable refuses before a game starts: outputs that would destroy the input script or each
// other, a folder without the game, no display to open a window on, and options that make no sense. Each is a
// clear message and a failed exit, and no file is touched.

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "support/GameProcess.h"

namespace {

namespace fs = std::filesystem;
using vorlanex::testing::RunGame;

std::string ReadText(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class StartupChecks : public ::testing::Test
{
protected:
    void SetUp() override
    {
        dir = fs::temp_directory_path() / ("vorlanex-startup-" + std::to_string(::getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir);
        std::ofstream(dir / "game.txt") << script;
    }
    void TearDown() override { fs::remove_all(dir); }

    // Runs the game and returns its exit status; what it said is in Output().
    int Run(std::vector<std::string> args, const std::vector<std::string>& env = {})
    {
        fs::remove(dir / "out.txt");
        return RunGame(args, dir / "out.txt", env, std::chrono::seconds(20));
    }
    std::string Output() const { return ReadText(dir / "out.txt"); }
    std::string Path(const std::string& name) const { return (dir / name).string(); }

    const std::string script = "seed 3\n3 press Space\n10 down Up\n30 up Up\n";
    fs::path dir;
};

}  // namespace

TEST_F(StartupChecks, AnOutputOnTheInputOrOnAnotherOutputIsRefusedBeforeAnythingIsWritten)
{
    const std::string input = Path("game.txt");
    fs::create_hard_link(input, dir / "same-inode.txt");
    const std::string onInput = "is the input script", onOutput = "each output needs a file of its own";
    const std::vector<std::pair<std::vector<std::string>, std::string>> clashes = {
        {{"--record", input}, onInput},
        {{"--dump-state", dir.string() + "/./game.txt"}, onInput},
        {{"--screenshot", "5:" + Path("same-inode.txt")}, onInput},
        {{"--record", Path("a.out"), "--dump-state", Path("a.out")}, onOutput},
        {{"--screenshot", "5:" + Path("b.png"), "--screenshot", "9:" + Path("b.png")}, onOutput},
    };
    for (auto [args, message] : clashes)
    {
        args.insert(args.begin(), {"--headless", "--unpaced", "--frames", "40", "--input", input});
        EXPECT_EQ(Run(args), 2) << args.back() << "\n" << Output();
        EXPECT_NE(Output().find(message), std::string::npos) << Output();
        EXPECT_EQ(ReadText(dir / "game.txt"), script) << "the input was written over";
        EXPECT_FALSE(fs::exists(dir / "a.out") || fs::exists(dir / "b.png")) << "an output was made";
    }
}

TEST_F(StartupChecks, OutputsThatCannotBeWrittenAreRefusedAtStart)
{
    fs::create_directories(dir / "folder");
    for (const std::string option : {"--record", "--dump-state"})
    {
        EXPECT_EQ(Run({"--headless", "--unpaced", "--frames", "5", option, Path("no/such/out")}), 2);
        EXPECT_NE(Output().find("no/such/out: cannot be written (No such file or directory)"), std::string::npos)
            << Output();
        EXPECT_EQ(Run({"--headless", "--unpaced", "--frames", "5", option, Path("folder")}), 2);
        EXPECT_NE(Output().find("folder: cannot be written (Is a directory)"), std::string::npos) << Output();
    }
    // A screenshot that was asked for and never written fails the run, after the game has ended.
    EXPECT_EQ(Run({"--headless", "--unpaced", "--frames", "3", "--screenshot", "9:" + Path("late.png"),
                   "--screenshot", "2:" + Path("early.png")}),
              1);
    EXPECT_NE(Output().find("late.png was not written (the game ended before that frame)"), std::string::npos)
        << Output();
    EXPECT_TRUE(fs::exists(dir / "early.png"));
}

TEST_F(StartupChecks, AFolderWithoutTheGameIsNamedWithTheSystemsReason)
{
    fs::create_directories(dir / "empty");
    fs::create_directories(dir / "tiles-missing");
    fs::copy_file(std::string(VORLANEX_BUILD_DIR) + "/MAP001.map", dir / "tiles-missing" / "MAP001.map");
    const std::vector<std::pair<std::string, std::string>> folders = {
        {Path("empty"), "(MAP001.map: No such file or directory)"},
        {Path("missing"), "(No such file or directory)"},
        {Path("game.txt"), "(Not a directory)"},
        {Path("tiles-missing"), "(图库.TIL: No such file or directory)"},
    };
    for (const auto& [folder, why] : folders)
    {
        EXPECT_EQ(Run({"--headless", "--unpaced", "--frames", "5", "--data", folder}), 1) << folder;
        EXPECT_NE(Output().find(folder + " is not a game folder " + why), std::string::npos) << Output();
    }
    if (::geteuid() != 0)   // the superuser reads any folder
    {
        fs::create_directories(dir / "locked");
        ::chmod((dir / "locked").c_str(), 0);
        EXPECT_EQ(Run({"--headless", "--data", Path("locked")}), 1);
        EXPECT_NE(Output().find("locked is not a game folder (Permission denied)"), std::string::npos) << Output();
    }
    // The program copied away from its data finds no game beside it.
    fs::copy_file(std::string(VORLANEX_BUILD_DIR) + "/vorlanex", dir / "vorlanex");
    EXPECT_EQ(vorlanex::testing::WaitForGame(vorlanex::testing::StartGame({"--headless", "--unpaced", "--frames", "5"},
                                                                          dir / "out.txt", {}, dir, Path("vorlanex")),
                                             std::chrono::seconds(20)),
              1);
    EXPECT_NE(Output().find("is not a game folder (MAP001.map: No such file or directory)"), std::string::npos)
        << Output();
}

TEST_F(StartupChecks, WithoutADisplayTheGameSaysSoInsteadOfPlayingUnseen)
{
    EXPECT_EQ(Run({"--frames", "5"}, {"-DISPLAY", "-WAYLAND_DISPLAY", "-SDL_VIDEODRIVER"}), 1);
    EXPECT_NE(Output().find("cannot open a window: no display (DISPLAY is not set)"), std::string::npos) << Output();
    EXPECT_EQ(Run({"--windowed", "--frames", "5"}, {"DISPLAY=:9999", "-WAYLAND_DISPLAY", "-SDL_VIDEODRIVER"}), 1);
    EXPECT_NE(Output().find("cannot open a window: no display (nothing answers at DISPLAY=:9999)"), std::string::npos)
        << Output();
    // A driver chosen on purpose is taken at its word.
    EXPECT_EQ(Run({"--windowed", "--frames", "5"}, {"-DISPLAY", "SDL_VIDEODRIVER=dummy", "SDL_AUDIODRIVER=dummy"}), 0)
        << Output();
}

TEST_F(StartupChecks, OptionValuesThatAreMissingEmptyOrOutOfRangeAreCalledSo)
{
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"--input", "--frames", "5"}, "--input lacks its file"},
        {{"--frames"}, "--frames lacks its number"},
        {{"--input", ""}, "--input needs a file, not an empty value"},
        {{"--data", ""}, "--data needs a folder, not an empty value"},
        {{"--frames", "99999999999999999999"}, "--frames '99999999999999999999' is out of range"},
        {{"--frames", "-4"}, "--frames cannot be below 0"},
        {{"--seed", "12x"}, "--seed needs a whole number, not '12x'"},
        {{"--screenshot", "0:a.png"}, "--screenshot cannot be below 1"},
        {{"--wind\x1b]0;owned\x07"}, "unknown option '--wind\\x1B]0;owned\\x07'"},
    };
    for (const auto& [args, message] : cases)
    {
        EXPECT_EQ(Run(args), 2) << message;
        EXPECT_NE(Output().find(message), std::string::npos) << Output();
    }
}
