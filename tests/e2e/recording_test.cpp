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

    // Runs the game headless with `args`; returns its exit status.
    int Run(const std::vector<std::string>& args)
    {
        const pid_t pid = Start(args);
        int status = 0;
        ::waitpid(pid, &status, 0);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    pid_t Start(std::vector<std::string> args)
    {
        args.insert(args.begin(), {std::string(VORLANEX_BUILD_DIR) + "/vorlanex", "--headless"});
        const pid_t pid = ::fork();
        if (pid == 0)
        {
            std::vector<char*> argv;
            for (std::string& a : args)
                argv.push_back(a.data());
            argv.push_back(nullptr);
            const std::string log = (dir / "out.txt").string();
            freopen(log.c_str(), "a", stderr);
            ::execv(argv[0], argv.data());
            ::_exit(127);
        }
        return pid;
    }
    std::string Path(const std::string& name) const { return (dir / name).string(); }

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

// A paced game stopped by SIGTERM: the recording ends with the quit and replays to the state it was left in.
TEST_F(Recording, RecordingCutOffBySigtermReplaysUpToItsLastFrame)
{
    std::ofstream(dir / "play.txt") << "5 press Space\n20 down Right\n";
    const pid_t pid = Start({"--input", Path("play.txt"), "--record", Path("rec.txt"), "--dump-state",
                             Path("played.json")});
    std::this_thread::sleep_for(std::chrono::milliseconds(2500));
    ASSERT_EQ(::kill(pid, SIGTERM), 0);
    int status = 0;
    ::waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << ReadText(dir / "out.txt");
    const nlohmann::json played = nlohmann::json::parse(ReadText(dir / "played.json"));
    ASSERT_GT(played["frame"], 20) << "the game ran too few frames to test anything";
    const std::string recording = ReadText(dir / "rec.txt");
    EXPECT_NE(recording.find(std::to_string(played["frame"].get<int>() + 1) + " quit\n"), std::string::npos)
        << recording;

    ASSERT_EQ(Run({"--unpaced", "--input", Path("rec.txt"), "--dump-state", Path("replayed.json")}), 0);
    EXPECT_EQ(ReadText(dir / "replayed.json"), ReadText(dir / "played.json"));
}
