// Network play between two processes of the real executable on this machine's loopback address: a long
// two-player battle in step with one game of the merged script, the same through a relay that loses, delays
// and reorders datagrams, a partner killed outright, other game data, and a disturbed state.

#include <gtest/gtest.h>

#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <nlohmann/json.hpp>

#include "support/HeadlessRun.h"
#include "support/NetTesting.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using vorlanex::testing::FreeUdpPort;

std::string ReadText(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string Digest(const fs::path& dump)
{
    if (!fs::exists(dump))
        return "no dump " + dump.string();
    return nlohmann::json::parse(std::ifstream(dump)).value("digest", "none");
}

// A battle of two players moving and firing about the first map for `frames` frames; the guest's script uses
// player 1's keys, as a player at the guest's keyboard does.
std::string BattleScript(int frames, int seed, bool startsBattle)
{
    static const char* const kMoves[] = {"Up", "Left", "Down", "Right"};
    std::mt19937 random{std::uint32_t(seed)};
    std::ostringstream script;
    if (startsBattle)
        script << "3 press Space\n";
    for (int frame = 20; frame + 40 < frames; frame += 40)
    {
        const char* move = kMoves[random() % 4];
        script << frame << " down " << move << '\n' << frame + 10 + random() % 25 << " up " << move << '\n';
        script << frame + 5 + random() % 30 << " press Space\n";
    }
    return script.str();
}

// A UDP relay between a guest and a host that drops some datagrams and delays each by a random time, so that
// some overtake others. It runs until stopped, at most two minutes.
class LossyRelay
{
public:
    LossyRelay(std::uint16_t listenPort, std::uint16_t hostPort) : hostPort(hostPort)
    {
        outer = Socket(listenPort);
        inner = Socket(0);
        worker = std::thread([this] { Run(); });
    }
    ~LossyRelay()
    {
        stop = true;
        worker.join();
        ::close(outer);
        ::close(inner);
    }
    int Dropped() const { return dropped; }
    int Passed() const { return passed; }

private:
    struct Datagram
    {
        std::chrono::steady_clock::time_point due;
        bool toHost;
        std::vector<char> bytes;
    };

    static int Socket(std::uint16_t port)
    {
        const int s = ::socket(AF_INET, SOCK_DGRAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        address.sin_port = htons(port);
        ::bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address);
        return s;
    }
    static sockaddr_in Loopback(std::uint16_t port)
    {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        address.sin_port = htons(port);
        return address;
    }

    void Receive(int from, bool toHost)
    {
        char buffer[2048];
        sockaddr_in sender{};
        socklen_t size = sizeof sender;
        const ssize_t n = ::recvfrom(from, buffer, sizeof buffer, MSG_DONTWAIT, reinterpret_cast<sockaddr*>(&sender), &size);
        if (n <= 0)
            return;
        if (toHost)
            guest = sender;
        if (std::uniform_int_distribution<int>(0, 9)(random) == 0)
        {
            ++dropped;
            return;
        }
        const auto delay = std::chrono::milliseconds(std::uniform_int_distribution<int>(0, 80)(random));
        queue.push_back({std::chrono::steady_clock::now() + delay, toHost, std::vector<char>(buffer, buffer + n)});
    }

    void SendDue()
    {
        const auto now = std::chrono::steady_clock::now();
        for (auto it = queue.begin(); it != queue.end();)
        {
            if (it->due > now)
            {
                ++it;
                continue;
            }
            const sockaddr_in to = it->toHost ? Loopback(hostPort) : guest;
            ::sendto(it->toHost ? inner : outer, it->bytes.data(), it->bytes.size(), 0,
                     reinterpret_cast<const sockaddr*>(&to), sizeof to);
            ++passed;
            it = queue.erase(it);
        }
    }

    void Run()
    {
        const auto end = std::chrono::steady_clock::now() + 120s;
        while (!stop && std::chrono::steady_clock::now() < end)
        {
            pollfd fds[2] = {{outer, POLLIN, 0}, {inner, POLLIN, 0}};
            ::poll(fds, 2, 2);
            if (fds[0].revents & POLLIN)
                Receive(outer, true);
            if (fds[1].revents & POLLIN)
                Receive(inner, false);
            SendDue();
        }
    }

    std::uint16_t hostPort;
    int outer = -1, inner = -1;
    sockaddr_in guest{};
    std::vector<Datagram> queue;
    std::mt19937 random{17};
    std::atomic<bool> stop{false};
    std::atomic<int> dropped{0}, passed{0};
    std::thread worker;
};

class NetworkGame : public ::testing::Test
{
protected:
    void SetUp() override
    {
        dir = fs::temp_directory_path() / ("vorlanex-net-" + std::to_string(::getpid()) + "-" +
                                           ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override
    {
        for (pid_t pid : running)
            ::kill(pid, SIGKILL);
        for (pid_t pid : running)
            ::waitpid(pid, nullptr, 0);
        if (!HasFailure())
            fs::remove_all(dir);
    }

    // Starts the game headless with `args`; its stderr goes to NAME.log. `environment` adds a variable.
    pid_t Start(const std::string& name, std::vector<std::string> args, const std::string& environment = "")
    {
        args.insert(args.begin(), {std::string(VORLANEX_BUILD_DIR) + "/vorlanex", "--headless"});
        const pid_t pid = ::fork();
        if (pid == 0)
        {
            std::vector<char*> argv;
            for (std::string& a : args)
                argv.push_back(a.data());
            argv.push_back(nullptr);
            const std::string log = Path(name + ".log");
            if (!freopen(log.c_str(), "w", stderr))
                ::_exit(126);
            std::string variable = environment;
            if (!variable.empty())
                ::putenv(variable.data());
            ::execv(argv[0], argv.data());
            ::_exit(127);
        }
        running.push_back(pid);
        return pid;
    }
    // The exit status, or -1 when the process is still running after `limit`.
    int Wait(pid_t pid, std::chrono::seconds limit = 120s)
    {
        const auto end = std::chrono::steady_clock::now() + limit;
        while (std::chrono::steady_clock::now() < end)
        {
            int status = 0;
            if (::waitpid(pid, &status, WNOHANG) == pid)
            {
                std::erase(running, pid);
                return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            }
            std::this_thread::sleep_for(20ms);
        }
        return -1;
    }
    std::string Path(const std::string& name) const { return (dir / name).string(); }
    std::string Log(const std::string& name) const { return ReadText(dir / (name + ".log")); }
    void Write(const std::string& name, const std::string& text) { std::ofstream(dir / name) << text; }

    // A host and a guest with their own scripts; `extra` goes to both command lines.
    std::pair<pid_t, pid_t> StartPair(std::uint16_t hostPort, std::uint16_t joinPort, int frames,
                                      std::vector<std::string> extra = {})
    {
        std::vector<std::string> common = {"--frames", std::to_string(frames)};
        common.insert(common.end(), extra.begin(), extra.end());
        std::vector<std::string> host = {"--host", std::to_string(hostPort), "--seed", "21", "--input",
                                         Path("host.txt"), "--dump-state", Path("host.json"), "--record",
                                         Path("host.rec")};
        std::vector<std::string> guest = {"--join", "127.0.0.1:" + std::to_string(joinPort), "--input",
                                          Path("guest.txt"), "--dump-state", Path("guest.json"), "--record",
                                          Path("guest.rec")};
        host.insert(host.end(), common.begin(), common.end());
        guest.insert(guest.end(), common.begin(), common.end());
        const pid_t h = Start("host", host);
        std::this_thread::sleep_for(200ms);
        return {h, Start("guest", guest)};
    }

    fs::path dir;
    std::vector<pid_t> running;
};

TEST_F(NetworkGame, TwoProcessesPlayALongBattleInStepWithOneGameOfTheMergedScript)
{
    constexpr int kFrames = 3000;
    const std::string host = BattleScript(kFrames, 1, true), guest = BattleScript(kFrames, 2, false);
    Write("host.txt", host);
    Write("guest.txt", guest);
    const std::uint16_t port = FreeUdpPort();
    const auto [h, g] = StartPair(port, port, kFrames, {"--unpaced"});
    ASSERT_EQ(Wait(g), 0) << Log("guest");
    ASSERT_EQ(Wait(h), 0) << Log("host");
    const std::string digest = Digest(dir / "host.json");
    EXPECT_EQ(Digest(dir / "guest.json"), digest);
    const nlohmann::json state = nlohmann::json::parse(std::ifstream(dir / "host.json"));
    EXPECT_EQ(state["frame"], kFrames);
    EXPECT_EQ(state["Scene"], 2) << "the battle still runs";

    Write("merged.txt", vorlanex::testing::MergedScript(host, guest, 3));
    EXPECT_EQ(vorlanex::testing::RunHeadless("merged", 21, kFrames, dir / "merged.txt").value("digest", "none"),
              digest);
    // Either side's recording is the merged game.
    EXPECT_EQ(ReadText(dir / "host.rec"), ReadText(dir / "guest.rec"));
    const int replay = std::system((std::string(VORLANEX_BUILD_DIR) + "/vorlanex --headless --unpaced --input " +
                                    Path("guest.rec") + " --dump-state " + Path("replay.json"))
                                       .c_str());
    ASSERT_EQ(replay, 0);
    EXPECT_EQ(Digest(dir / "replay.json"), digest);
}

TEST_F(NetworkGame, ALossyRelayDelaysTheGameButNotItsOutcome)
{
    constexpr int kFrames = 900;
    Write("host.txt", BattleScript(kFrames, 3, true));
    Write("guest.txt", BattleScript(kFrames, 4, false));
    const std::uint16_t hostPort = FreeUdpPort(), relayPort = FreeUdpPort();
    LossyRelay relay(relayPort, hostPort);
    const auto [h, g] = StartPair(hostPort, relayPort, kFrames, {"--unpaced", "--delay", "6"});
    ASSERT_EQ(Wait(g), 0) << Log("guest");
    ASSERT_EQ(Wait(h), 0) << Log("host");
    // Both played the whole game: neither took the held-up partner for gone.
    for (const char* side : {"host", "guest"})
        EXPECT_EQ(nlohmann::json::parse(std::ifstream(dir / (std::string(side) + ".json")))["frame"], kFrames)
            << Log(side);
    EXPECT_EQ(Digest(dir / "guest.json"), Digest(dir / "host.json"));
    EXPECT_EQ(ReadText(dir / "host.rec"), ReadText(dir / "guest.rec"));
    EXPECT_GT(relay.Dropped(), relay.Passed() / 20) << "the relay lost too little to test anything";
}

TEST_F(NetworkGame, APartnerKilledOutrightIsReportedWithinTenSeconds)
{
    Write("host.txt", "3 press Space\n");
    Write("guest.txt", "");
    const std::uint16_t port = FreeUdpPort();
    // Paced, so that the game is still running when the guest dies.
    const auto [h, g] = StartPair(port, port, 100000);
    // The guest's recording starts once the two are playing (a sanitizer build takes its time to get there).
    for (int i = 0; i < 300 && !(fs::exists(dir / "guest.rec") && fs::file_size(dir / "guest.rec") > 0); ++i)
        std::this_thread::sleep_for(100ms);
    std::this_thread::sleep_for(1s);
    ASSERT_EQ(::kill(g, SIGKILL), 0);
    ASSERT_EQ(Wait(g), 128 + SIGKILL);
    const auto killed = std::chrono::steady_clock::now();
    ASSERT_EQ(Wait(h, 12s), 0) << Log("host");
    EXPECT_LT(std::chrono::steady_clock::now() - killed, 10s);
    EXPECT_NE(Log("host").find("player 2 left"), std::string::npos) << Log("host");
    EXPECT_TRUE(fs::exists(dir / "host.json"));
}

TEST_F(NetworkGame, OtherGameDataIsRefusedAtTheHandshakeNamingTheFile)
{
    const fs::path other = dir / "other";
    fs::create_directories(other);
    for (const auto& entry : fs::directory_iterator(VORLANEX_BUILD_DIR))
        if (entry.is_regular_file() && (entry.path().extension() == ".map" || entry.path().extension() == ".TIL"))
            fs::copy_file(entry.path(), other / entry.path().filename());
    fs::copy(fs::path(VORLANEX_BUILD_DIR) / "地图背景", other / "地图背景", fs::copy_options::recursive);
    std::ofstream(other / "MAP002.map", std::ios::binary | std::ios::app) << '\0';
    Write("host.txt", "");
    Write("guest.txt", "");
    const std::uint16_t port = FreeUdpPort();
    const pid_t h = Start("host", {"--host", std::to_string(port), "--unpaced", "--frames", "100"});
    std::this_thread::sleep_for(200ms);
    const pid_t g = Start("guest", {"--join", "127.0.0.1:" + std::to_string(port), "--data", other.string(),
                                    "--unpaced", "--frames", "100"});
    EXPECT_EQ(Wait(g, 15s), 1) << Log("guest");
    EXPECT_EQ(Wait(h, 15s), 1) << Log("host");
    EXPECT_NE(Log("guest").find("MAP002.map differs"), std::string::npos) << Log("guest");
    EXPECT_NE(Log("host").find("MAP002.map differs"), std::string::npos) << Log("host");
}

TEST_F(NetworkGame, ADisturbedStateStopsBothSidesAtTheNextDigestWithTheirDumps)
{
    Write("host.txt", "3 press Space\n");
    Write("guest.txt", "");
    const std::uint16_t port = FreeUdpPort();
    const pid_t h = Start("host", {"--host", std::to_string(port), "--unpaced", "--frames", "1000", "--input",
                                   Path("host.txt"), "--record", Path("host.rec")});
    std::this_thread::sleep_for(200ms);
    const pid_t g = Start("guest", {"--join", "127.0.0.1:" + std::to_string(port), "--unpaced", "--frames", "1000",
                                    "--dump-state", Path("guest.json")},
                          "VORLANEX_TEST_DISTURB_FRAME=200");
    EXPECT_EQ(Wait(g), 3) << Log("guest");
    EXPECT_EQ(Wait(h), 3) << Log("host");
    EXPECT_NE(Log("guest").find("out of step at frame 210"), std::string::npos) << Log("guest");
    EXPECT_NE(Log("host").find("out of step at frame 210"), std::string::npos) << Log("host");
    // Without --dump-state the host's dump lies beside its recording.
    EXPECT_TRUE(fs::exists(dir / "host.rec.state.json"));
    EXPECT_TRUE(fs::exists(dir / "guest.json"));
}

}  // namespace
