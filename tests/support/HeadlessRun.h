#pragma once
// Runs the built game headless and unpaced on an input script and returns the state it dumps at exit (an empty
// object when it wrote none; a failed exit is reported to the running test).

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include <nlohmann/json.hpp>

namespace vorlanex::testing {

// `tag` keeps the folders of runs in one test apart.
inline nlohmann::json RunHeadless(const std::string& tag, std::uint64_t seed, int frames,
                                  const std::filesystem::path& script)
{
    namespace fs = std::filesystem;
    const fs::path dir = fs::temp_directory_path() / ("vorlanex-run-" + std::to_string(::getpid()) + "-" + tag);
    fs::create_directories(dir);
    const fs::path state = dir / "state.json";
    const std::string command = std::string(VORLANEX_BUILD_DIR) + "/vorlanex --headless --unpaced --seed " +
                                std::to_string(seed) + " --frames " + std::to_string(frames) + " --input " +
                                script.string() + " --dump-state " + state.string() + " > " +
                                (dir / "out.txt").string() + " 2>&1";
    const int status = std::system(command.c_str());
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << command;
    nlohmann::json dump = nlohmann::json::object();
    if (fs::exists(state))
        dump = nlohmann::json::parse(std::ifstream(state));
    fs::remove_all(dir);
    return dump;
}

}  // namespace vorlanex::testing
