// The real executable on a hostile game folder: a named pipe and a device in place of data files, and a map
// so large that building it takes many seconds. SIGTERM during the build ends the game at once with exit
// status 0 and its state dump.

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>

#include <nlohmann/json.hpp>

#include "maps/MapFile.h"
#include "support/GameProcess.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

std::string ReadText(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class HostileRun : public ::testing::Test
{
protected:
    void SetUp() override
    {
        dir = fs::temp_directory_path() / ("vorlanex-hostile-" + std::to_string(::getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir / "game");
        for (const auto& entry : fs::directory_iterator(VORLANEX_BUILD_DIR))
            if (entry.is_regular_file() && entry.path().extension() != ".txt" && entry.path().extension() != ".json")
            {
                const std::string ext = entry.path().extension().string();
                if (ext == ".map" || ext == ".TIL" || ext == ".BMP" || ext == ".wav")
                    fs::copy_file(entry.path(), dir / "game" / entry.path().filename());
            }
    }
    void TearDown() override { fs::remove_all(dir); }

    // A first level of `cells` ground cells, all on the shipped map's first tile.
    void WriteHugeFirstLevel(int cells)
    {
        vorlanex::MapReadResult read = vorlanex::ReadMapFile((dir / "game" / "MAP001.map").string());
        ASSERT_EQ(read.Status, vorlanex::MapReadStatus::Ok) << read.Message;
        ASSERT_FALSE(read.Map.Layers[0].empty());
        const vorlanex::TCell cell = read.Map.Layers[0].front();
        read.Map.Layers[0].assign(std::size_t(cells), cell);
        const auto bytes = vorlanex::WriteMapBytes(read.Map);
        std::ofstream(dir / "game" / "MAP001.map", std::ios::binary | std::ios::trunc)
            .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    }

    pid_t Launch(const std::string& script)
    {
        std::ofstream(dir / "script.txt") << script;
        const std::string exe = std::string(VORLANEX_BUILD_DIR) + "/vorlanex";
        const std::string data = (dir / "game").string(), input = (dir / "script.txt").string();
        const std::string dump = (dir / "state.json").string(), out = (dir / "out.txt").string();
        const pid_t pid = ::fork();
        if (pid == 0)
        {
            ::chdir(dir.c_str());
            if (!::freopen(out.c_str(), "w", stderr) || !::freopen(out.c_str(), "a", stdout))
                ::_exit(126);
            ::execl(exe.c_str(), exe.c_str(), "--headless", "--unpaced", "--seed", "3", "--data", data.c_str(),
                    "--input", input.c_str(), "--frames", "100000", "--dump-state", dump.c_str(), nullptr);
            ::_exit(127);
        }
        return pid;
    }

    fs::path dir;
};

}  // namespace

TEST_F(HostileRun, APipeAndADeviceAreToldAndSigtermDuringTheBuildEndsTheGame)
{
    ASSERT_EQ(::mkfifo((dir / "game" / "操作帮助.TXT").c_str(), 0644), 0);
    fs::remove(dir / "game" / "背景1.BMP");
    fs::create_symlink("/dev/zero", dir / "game" / "背景1.BMP");
    WriteHugeFirstLevel(400000);

    const pid_t pid = Launch("2 press Space\n");
    ASSERT_GT(pid, 0);
    std::this_thread::sleep_for(std::chrono::seconds(3));   // start-up is done and the build is under way
    const auto sent = Clock::now();
    ASSERT_EQ(::kill(pid, SIGTERM), 0);
    const int status = vorlanex::testing::WaitForGame(pid, std::chrono::seconds(20));
    const double seconds = std::chrono::duration<double>(Clock::now() - sent).count();
    const std::string output = ReadText(dir / "out.txt");
    ASSERT_EQ(status, 0) << output;
    // Finishing the build and writing out its sprites would take several times as long.
    EXPECT_LT(seconds, 5.0) << "the game took this long to end after SIGTERM";

    EXPECT_NE(output.find("操作帮助.TXT: is a named pipe, not a regular file"), std::string::npos) << output;
    EXPECT_NE(output.find("背景1.BMP: is a device, not a regular file"), std::string::npos) << output;
    const nlohmann::json state = nlohmann::json::parse(ReadText(dir / "state.json"));
    EXPECT_GT(state["globals"]["LoadTotal"], 400000);
    EXPECT_LT(state["globals"]["LoadProgress"], state["globals"]["LoadTotal"]) << "SIGTERM came after the build";
    EXPECT_TRUE(fs::is_fifo(dir / "game" / "操作帮助.TXT")) << "the pipe is left as it was";
}
