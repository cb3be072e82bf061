#pragma once
// The built game as a child process: started with its own arguments and environment, its output going to a
// log file, waited for with a limit so a game that hangs fails its test instead of stopping the suite.

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

namespace vorlanex::testing {

// `env` entries are "NAME=value" to set a variable or "-NAME" to remove it. The game runs in `folder`.
inline pid_t StartGame(const std::vector<std::string>& args, const std::filesystem::path& log,
                       const std::vector<std::string>& env = {}, const std::filesystem::path& folder = {},
                       const std::string& program = std::string(VORLANEX_BUILD_DIR) + "/vorlanex")
{
    const pid_t pid = ::fork();
    if (pid != 0)
        return pid;
    for (const std::string& entry : env)
        if (entry.rfind('-', 0) == 0)
            ::unsetenv(entry.c_str() + 1);
        else
            ::putenv(const_cast<char*>(entry.c_str()));
    if (!folder.empty() && ::chdir(folder.c_str()) != 0)
        ::_exit(126);
    if (!::freopen(log.c_str(), "a", stderr) || !::freopen(log.c_str(), "a", stdout))
        ::_exit(126);
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (const std::string& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    ::execv(argv[0], argv.data());
    ::_exit(127);
}

// The exit status (128 + N for a signal), or -1 after killing a game that did not end within `limit`.
inline int WaitForGame(pid_t pid, std::chrono::milliseconds limit = std::chrono::seconds(60))
{
    const auto end = std::chrono::steady_clock::now() + limit;
    int status = 0;
    while (::waitpid(pid, &status, WNOHANG) == 0)
    {
        if (std::chrono::steady_clock::now() > end)
        {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, &status, 0);
            return -1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

inline int RunGame(const std::vector<std::string>& args, const std::filesystem::path& log,
                   const std::vector<std::string>& env = {}, std::chrono::milliseconds limit = std::chrono::seconds(60))
{
    return WaitForGame(StartGame(args, log, env), limit);
}

}  // namespace vorlanex::testing
