// The layers point one way: shell -> actors -> maps -> framework -> platform. An include that runs up a layer
// (a shell header in an actor, a framework header in the platform, one backend's header in the other) fails
// here with the file and line, before it grows into a knot.

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <regex>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

// The layer of a source path relative to src/, lowest first; -1 for anything outside the layers.
int LayerOf(const std::string& path)
{
    static const std::pair<const char*, int> layers[] = {
        {"assets/", 0}, {"platform/", 0}, {"framework/", 1}, {"maps/", 2}, {"actors/", 3}, {"shell/", 4},
        {"main.cpp", 5},
    };
    for (const auto& [prefix, layer] : layers)
        if (path.rfind(prefix, 0) == 0)
            return layer;
    return -1;
}

// The platform backend a path belongs to ("null/", "sdl2/"), or "" for the platform's shared parts.
std::string BackendOf(const std::string& path)
{
    for (const char* backend : {"null/", "sdl2/"})
        if (path.rfind(std::string("platform/") + backend, 0) == 0)
            return backend;
    return "";
}

// Every include under root that runs against the layers, as "file:line includes header".
std::vector<std::string> UpwardIncludes(const fs::path& root)
{
    static const std::regex include(R"re(^\s*#\s*include\s*"([^"]+)")re");
    std::vector<std::string> faults;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(root))
    {
        const std::string ext = entry.path().extension().string();
        if (!entry.is_regular_file() || (ext != ".h" && ext != ".cpp"))
            continue;
        const std::string from = fs::relative(entry.path(), root).generic_string();
        const int fromLayer = LayerOf(from);
        std::ifstream in(entry.path());
        std::string line;
        for (int number = 1; std::getline(in, line); ++number)
        {
            std::smatch m;
            if (!std::regex_search(line, m, include))
                continue;
            const std::string to = m[1].str();
            const int toLayer = LayerOf(to);
            const bool up = fromLayer >= 0 && toLayer > fromLayer;
            const bool crossBackend = toLayer == 0 && fromLayer == 0 && !BackendOf(to).empty() &&
                                      BackendOf(to) != BackendOf(from);
            if (up || crossBackend)
                faults.push_back(from + ":" + std::to_string(number) + " includes " + to);
        }
    }
    return faults;
}

TEST(IncludeLayers, NoSourceIncludesAHeaderOfAHigherLayer)
{
    const std::vector<std::string> faults = UpwardIncludes(fs::path(VORLANEX_SOURCE_DIR) / "src");
    std::string all;
    for (const std::string& fault : faults)
        all += "\n  " + fault;
    EXPECT_TRUE(faults.empty()) << "includes against the layers:" << all;
}

// The check itself must see the faults it exists for, or the test above passes for nothing.
TEST(IncludeLayers, TheCheckFindsUpwardAndCrossBackendIncludes)
{
    const fs::path root = fs::temp_directory_path() / ("vorlanex-layers-" + std::to_string(::getpid()));
    fs::remove_all(root);
    auto write = [&root](const std::string& path, const std::string& text) {
        fs::create_directories((root / path).parent_path());
        std::ofstream(root / path) << text;
    };
    write("actors/Tank.cpp", "#include \"actors/Tank.h\"\n#include \"shell/MainForm.h\"\n");
    write("platform/null/NullAudio.cpp", "#include \"platform/Audio.h\"\n#include \"framework/PcmConvert.h\"\n");
    write("platform/common/Mix.cpp", "  #  include \"platform/sdl2/SdlAudio.h\"\n");
    write("platform/sdl2/SdlAudio.cpp", "#include \"platform/sdl2/SdlAudio.h\"\n#include \"platform/common/Mix.h\"\n");
    write("shell/MainForm.cpp", "#include \"actors/Tank.h\"\n#include \"maps/MapFile.h\"\n");
    std::vector<std::string> faults = UpwardIncludes(root);
    std::sort(faults.begin(), faults.end());
    fs::remove_all(root);
    EXPECT_EQ(faults, (std::vector<std::string>{
                          "actors/Tank.cpp:2 includes shell/MainForm.h",
                          "platform/common/Mix.cpp:1 includes platform/sdl2/SdlAudio.h",
                          "platform/null/NullAudio.cpp:2 includes framework/PcmConvert.h",
                      }));
}

}  // namespace
