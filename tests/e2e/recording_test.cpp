// Recording a run of the real executable and replaying it, the way a player shares a game.

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include <nlohmann/json.hpp>

#include "support/GameProcess.h"

namespace {

namespace fs = std::filesystem;

std::string ReadText(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class Recording : public ::testing::Test
{
protected:
    void SetUp() override
    {
        dir = fs::temp_directory_path() / ("vorlanex-rec-" + std::to_string(::getpid()));
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }

    // Runs the game headless with `args`; returns its exit status (-1 when it had to be killed).
    int Run(const std::vector<std::string>& args) { return vorlanex::testing::WaitForGame(Start(args)); }
    pid_t Start(std::vector<std::string> args)
    {
        args.insert(args.begin(), "--headless");
        return vorlanex::testing::StartGame(args, dir / "out.txt");
    }
    std::string Path(const std::string& name) const { return (dir / name).string(); }

    // The frame a recording's end line names, or 0 while it has none.
    static std::int64_t RecordedEnd(const fs::path& path)
    {
        const std::string text = ReadText(path);
        const std::size_t at = text.size() < 2 ? std::string::npos : text.rfind('\n', text.size() - 2);
        const std::string last = text.substr(at == std::string::npos ? 0 : at + 1);
        return last.find(" end\n") == std::string::npos ? 0 : std::stoll(last);
    }
    // Waits (a loaded machine plays slowly) until the game being recorded has run `frames` frames.
    static void WaitForRecordedFrames(const fs::path& path, std::int64_t frames)
    {
        const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (RecordedEnd(path) <= frames && std::chrono::steady_clock::now() < limit)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }

    fs::path dir;
};

}  // namespace

TEST_F(Recording, ScriptedTwoPlayerRunReplaysFromItsRecordingToTheSameState)
{
    std::ofstream(dir / "play.txt") << "3 press Space\n"
                                       "10 down Up\n10 down W\n"
                                       "15 down Space\n15 down Left Shift\n"
                                       "25 up Space\n25 up Left Shift\n25 up Up\n25 up W\n"
                                       "30 press F9\n40 click right 9 9\n44 click left 512 400\n";
    ASSERT_EQ(Run({"--unpaced", "--seed", "5", "--input", Path("play.txt"), "--frames", "80", "--record",
                   Path("rec.txt"), "--dump-state", Path("played.json")}),
              0)
        << ReadText(dir / "out.txt");
    const std::string recording = ReadText(dir / "rec.txt");
    EXPECT_EQ(recording.rfind("seed 5\n", 0), 0u) << recording;
    EXPECT_NE(recording.find("15 down Left Shift\n"), std::string::npos);

    // The seed comes from the recording alone.
    ASSERT_EQ(Run({"--unpaced", "--input", Path("rec.txt"), "--frames", "80", "--dump-state", Path("replayed.json")}),
              0)
        << ReadText(dir / "out.txt");
    const std::string played = ReadText(dir / "played.json");
    EXPECT_EQ(ReadText(dir / "replayed.json"), played);
    EXPECT_EQ(nlohmann::json::parse(played)["globals"]["Difficulty"], 2);
}

TEST_F(Recording, SeedOnTheCommandLineWinsOverTheRecordedOne)
{
    std::ofstream(dir / "seeded.txt") << "seed 11\n2 press Space\n";
    ASSERT_EQ(Run({"--unpaced", "--seed", "12", "--input", Path("seeded.txt"), "--frames", "5", "--record",
                   Path("rec.txt")}),
              0);
    EXPECT_EQ(ReadText(dir / "rec.txt").rfind("seed 12\n", 0), 0u);
    EXPECT_NE(Run({"--record", Path("no/such/folder/rec.txt"), "--frames", "1"}), 0);
    EXPECT_NE(ReadText(dir / "out.txt").find("no/such/folder/rec.txt: cannot be written"), std::string::npos);
}

// A paced game stopped by SIGTERM or a closed terminal: the recording ends with the quit and replays to the
// state it was left in.
TEST_F(Recording, RecordingStoppedBySigtermOrSighupReplaysUpToItsLastFrame)
{
    std::ofstream(dir / "play.txt") << "5 press Space\n20 down Right\n";
    for (const int signal : {SIGTERM, SIGHUP})
    {
        fs::remove(dir / "rec.txt");
        const pid_t pid = Start({"--input", Path("play.txt"), "--record", Path("rec.txt"), "--dump-state",
                                 Path("played.json")});
        WaitForRecordedFrames(dir / "rec.txt", 30);
        ASSERT_EQ(::kill(pid, signal), 0);
        ASSERT_EQ(vorlanex::testing::WaitForGame(pid, std::chrono::seconds(20)), 0) << ReadText(dir / "out.txt");
        const nlohmann::json played = nlohmann::json::parse(ReadText(dir / "played.json"));
        ASSERT_GT(played["frame"], 20) << "the game ran too few frames to test anything";
        const std::string recording = ReadText(dir / "rec.txt");
        EXPECT_NE(recording.find(std::to_string(played["frame"].get<int>() + 1) + " quit\n"), std::string::npos)
            << recording;

        ASSERT_EQ(Run({"--unpaced", "--input", Path("rec.txt"), "--dump-state", Path("replayed.json")}), 0);
        EXPECT_EQ(ReadText(dir / "replayed.json"), ReadText(dir / "played.json")) << "signal " << signal;
    }
}

// A game killed outright leaves no quit line, and a full disk may cut its last line: the recording still says
// how far the game got, and its replay ends there, in the state the same input reaches in as many frames.
TEST_F(Recording, KilledOrCutRecordingReplaysToWhereItEnds)
{
    std::ofstream(dir / "play.txt") << "seed 8\n5 press Space\n20 down Right\n30 down Left Shift\n";
    const pid_t pid = Start({"--input", Path("play.txt"), "--record", Path("rec.txt")});
    WaitForRecordedFrames(dir / "rec.txt", 40);
    ASSERT_EQ(::kill(pid, SIGKILL), 0);
    ASSERT_EQ(vorlanex::testing::WaitForGame(pid), 128 + SIGKILL);
    std::string recording = ReadText(dir / "rec.txt");
    ASSERT_EQ(recording.back(), '\n');
    const std::size_t lastLine = recording.rfind('\n', recording.size() - 2) + 1;
    const std::int64_t end = std::stoll(recording.substr(lastLine));
    ASSERT_EQ(recording.substr(lastLine), std::to_string(end) + " end\n");
    ASSERT_GT(end, 31) << "the game ran too few frames to test anything";

    ASSERT_EQ(Run({"--unpaced", "--input", Path("rec.txt"), "--dump-state", Path("replayed.json")}), 0)
        << ReadText(dir / "out.txt");
    ASSERT_EQ(Run({"--unpaced", "--input", Path("play.txt"), "--frames", std::to_string(end - 1), "--dump-state",
                   Path("expected.json")}),
              0);
    const std::string expected = ReadText(dir / "expected.json");
    EXPECT_EQ(ReadText(dir / "replayed.json"), expected);

    // Cut in the middle of "30 down Left Shift": the half line is left out, not read as "Left" or refused.
    const std::size_t shift = recording.find("30 down Left Shift\n");
    ASSERT_NE(shift, std::string::npos) << recording;
    recording.resize(shift + std::string("30 down Left").size());
    std::ofstream(dir / "cut.txt", std::ios::binary) << recording;
    ASSERT_EQ(Run({"--unpaced", "--input", Path("cut.txt"), "--frames", "40", "--dump-state", Path("cut.json")}), 0)
        << ReadText(dir / "out.txt");
    EXPECT_NE(ReadText(dir / "out.txt").find("cut.txt:5: '30 down Left' has no end of line"), std::string::npos)
        << ReadText(dir / "out.txt");
    const nlohmann::json cut = nlohmann::json::parse(ReadText(dir / "cut.json"));
    EXPECT_EQ(cut["frame"], 40);
}

// An unattended run ends when nothing can happen any more: the script is over, or the game is paused with
// nothing left to unpause it.
TEST_F(Recording, UnattendedRunsEndWhenTheirScriptIsOverOrPausedForGood)
{
    std::ofstream(dir / "start.txt") << "2 press Space\n";
    ASSERT_EQ(Run({"--unpaced", "--input", Path("start.txt"), "--dump-state", Path("start.json")}), 0);
    EXPECT_EQ(nlohmann::json::parse(ReadText(dir / "start.json"))["frame"], 3);

    for (const char* pause : {"5 focus lost\n", "5 press F3\n"})
    {
        std::ofstream(dir / "pause.txt") << pause;
        fs::remove(dir / "paused.json");
        ASSERT_EQ(vorlanex::testing::WaitForGame(Start({"--input", Path("pause.txt"), "--frames", "100",
                                                        "--dump-state", Path("paused.json")}),
                                                 std::chrono::seconds(20)),
                  0)
            << pause;
        const nlohmann::json paused = nlohmann::json::parse(ReadText(dir / "paused.json"));
        EXPECT_LE(paused["frame"], 5) << pause;
    }
}
