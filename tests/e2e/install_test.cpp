// Installs the game into a temporary prefix and runs it from another folder, as a packaged game is run.

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include <nlohmann/json.hpp>

namespace {

namespace fs = std::filesystem;

std::string ReadText(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

int Shell(const std::string& command)
{
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

bool HasTool(const std::string& name) { return Shell("command -v " + name + " > /dev/null 2>&1") == 0; }

class Installed : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        root = fs::temp_directory_path() / ("vorlanex-install-" + std::to_string(::getpid()));
        fs::remove_all(root);
        fs::create_directories(root / "elsewhere");
        installRc = Shell(std::string(VORLANEX_CMAKE) + " --install " + VORLANEX_BUILD_DIR + " --prefix " +
                          (root / "prefix").string() + " > " + (root / "install.log").string() + " 2>&1");
    }
    static void TearDownTestSuite() { fs::remove_all(root); }
    void SetUp() override { ASSERT_EQ(installRc, 0) << ReadText(root / "install.log"); }

    static fs::path Prefix() { return root / "prefix"; }
    static inline fs::path root;
    static inline int installRc = -1;
};

}  // namespace

TEST_F(Installed, EveryFileLandsWhereADesktopLooks)
{
    EXPECT_TRUE(fs::is_regular_file(Prefix() / "bin/vorlanex"));
    EXPECT_TRUE(fs::is_regular_file(Prefix() / "share/vorlanex/MAP001.map"));
    EXPECT_TRUE(fs::is_regular_file(Prefix() / "share/vorlanex/图库.TIL"));
    EXPECT_FALSE(fs::exists(Prefix() / "share/vorlanex/vorlanex")) << "the program belongs in bin/";
    EXPECT_FALSE(fs::exists(Prefix() / "share/vorlanex/icons"));
    EXPECT_TRUE(fs::is_regular_file(Prefix() / "share/man/man6/vorlanex.6"));
    for (const char* size : {"32x32", "64x64", "128x128", "256x256"})
    {
        const fs::path icon = Prefix() / "share/icons/hicolor" / size / "apps/vorlanex.png";
        ASSERT_TRUE(fs::is_regular_file(icon)) << icon;
        const std::string png = ReadText(icon);
        ASSERT_GT(png.size(), 24u);
        const auto be32 = [&png](std::size_t at) {
            return std::uint32_t(std::uint8_t(png[at])) << 24 | std::uint32_t(std::uint8_t(png[at + 1])) << 16 |
                   std::uint32_t(std::uint8_t(png[at + 2])) << 8 | std::uint8_t(png[at + 3]);
        };
        const std::uint32_t side = std::uint32_t(std::stoi(size));
        EXPECT_EQ(be32(16), side) << icon;   // IHDR width and height
        EXPECT_EQ(be32(20), side) << icon;
    }
}

TEST_F(Installed, InstalledGameRunsFromAnotherFolderAndFindsItsData)
{
    std::ofstream(root / "elsewhere/start.txt") << "5 press Space\n";
    const std::string run = "cd " + (root / "elsewhere").string() + " && " + (Prefix() / "bin/vorlanex").string() +
                            " --headless --unpaced --seed 3 --frames 40 --input start.txt --dump-state state.json" +
                            " > run.log 2>&1";
    ASSERT_EQ(Shell(run), 0) << ReadText(root / "elsewhere/run.log");
    const auto state = nlohmann::json::parse(ReadText(root / "elsewhere/state.json"));
    EXPECT_EQ(state["Scene"], 2) << "the battle needs the installed maps and tiles";
    EXPECT_TRUE(state["errors"].empty()) << state["errors"].dump();
    EXPECT_EQ(state["globals"]["MapFileName"], (Prefix() / "share/vorlanex/MAP001.map").string());
}

TEST_F(Installed, DesktopEntryAndMetadataValidate)
{
    if (!HasTool("desktop-file-validate") || !HasTool("appstreamcli"))
        GTEST_SKIP() << "desktop-file-validate or appstreamcli is missing (Debian desktop-file-utils, appstream)";
    const fs::path log = root / "validate.log";
    EXPECT_EQ(Shell("desktop-file-validate " + (Prefix() / "share/applications/vorlanex.desktop").string() + " > " +
                    log.string() + " 2>&1"),
              0)
        << ReadText(log);
    EXPECT_EQ(Shell("appstreamcli validate --no-net " + (Prefix() / "share/metainfo/vorlanex.metainfo.xml").string() +
                    " > " + log.string() + " 2>&1"),
              0)
        << ReadText(log);
}
