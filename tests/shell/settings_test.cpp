#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "GameFixture.h"
#include "shell/settings/Settings.h"

using namespace vorlanex;
namespace fs = std::filesystem;

namespace {

std::string Read(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class SettingsFile : public vorlanex::testing::GameFixture
{
protected:
    fs::path File() const { return folder / "config" / "vorlanex" / "settings.json"; }
    void UseSettingsFile()
    {
        adjustConfig = [this](GameConfig& c) { c.settingsFile = File().string(); };
    }
    void Write(const std::string& text)
    {
        fs::create_directories(File().parent_path());
        std::ofstream(File(), std::ios::binary) << text;
    }
};

constexpr int VK_X = 0x58, VK_SPACE = 0x20, VK_F11 = 0x7A, VK_F12 = 0x7B;

}  // namespace

TEST(Settings, RoundTripKeepsEverySettingAndEveryKey)
{
    Settings s;
    s.Difficulty = 3;
    s.MusicOn = false;
    s.FullScreen = false;
    s.Keys[0][4] = {VK_X, 0, 0};          // player 1 fires with X
    s.Keys[1][0] = {0x49, 0x68, 0};      // player 2 drives up with I or keypad 8 ...
    s.Keys[0][0] = {0x26, 0, 0};         // ... which player 1 gives up
    EXPECT_EQ(SettingsFromJson(SettingsToJson(s)), s);
    EXPECT_EQ(SettingsFromJson("{}"), Settings{});
    const std::string text = SettingsToJson(Settings{});
    EXPECT_NE(text.find("\"fire\": \"Space\""), std::string::npos) << text;
    EXPECT_NE(text.find("\"Keypad 8\""), std::string::npos) << text;
}

TEST(Settings, DamagedFilesAreRefusedWithTheReason)
{
    const std::pair<const char*, const char*> damaged[] = {
        {"{\"music\": tru", "not valid JSON"},
        {"[1, 2]", "one JSON object"},
        {"{\"music\": \"yes\"}", "\"music\""},
        {"{\"difficulty\": 9}", "\"difficulty\""},
        {"{\"difficulty\": 1.5}", "\"difficulty\""},
        {"{\"keys\": {\"player1\": {\"fire\": \"Warp Drive\"}}}", "unknown key 'Warp Drive'"},
        {"{\"keys\": {\"player1\": {\"jump\": \"J\"}}}", "unknown action \"jump\""},
        {"{\"keys\": {\"player3\": {}}}", "unknown player"},
        {"{\"keys\": {\"player1\": {\"fire\": [\"A\", \"B\", \"C\", \"D\"]}}}", "one to three"},
        {"{\"keys\": {\"player1\": {\"fire\": \"F3\"}}}", "kept by the game"},
        {"{\"keys\": {\"player1\": {\"fire\": 32}}}", "must name a key"},
    };
    for (const auto& [text, reason] : damaged)
    {
        try
        {
            SettingsFromJson(text);
            ADD_FAILURE() << "accepted " << text;
        }
        catch (const std::runtime_error& e)
        {
            EXPECT_NE(std::string(e.what()).find(reason), std::string::npos) << text << ": " << e.what();
        }
    }
}

TEST(Settings, AKeyBoundTwiceIsNamedWithBothActions)
{
    const char* text = R"({"keys": {"player2": {"fire": "Space"}, "player1": {"withdraw": "W"}}})";
    try
    {
        SettingsFromJson(text);
        ADD_FAILURE() << "double bindings accepted";
    }
    catch (const std::runtime_error& e)
    {
        const std::string what = e.what();
        EXPECT_NE(what.find("Space (player 1 fire, player 2 fire)"), std::string::npos) << what;
        EXPECT_NE(what.find("W (player 1 withdraw, player 2 up)"), std::string::npos) << what;
    }
}

TEST_F(SettingsFile, ADamagedFileIsReportedOnceKeptAsBadAndTheDefaultsAreUsed)
{
    UseSettingsFile();
    Write("{\"difficulty\": 2, \"sound\": 0}");
    CopyGameData();
    Start();
    EXPECT_EQ(form->Game.Difficulty, 0);
    EXPECT_EQ(form->Game.SoundOn, 1);
    ASSERT_EQ(form->ReportedErrors().size(), 1u);
    EXPECT_NE(form->ReportedErrors()[0].find(File().string()), std::string::npos) << form->ReportedErrors()[0];
    EXPECT_FALSE(fs::exists(File()));
    EXPECT_EQ(Read(File().string() + ".bad"), "{\"difficulty\": 2, \"sound\": 0}");
    form.reset();
    Start();
    EXPECT_TRUE(form->ReportedErrors().empty());
}

TEST_F(SettingsFile, KeptSettingsAreAppliedAtStartAndWrittenWhenTheyChange)
{
    UseSettingsFile();
    Write(R"({"difficulty": 2, "music": false, "keys": {"player1": {"fire": "X"}, "player2": {"up": "Space"}}})");
    CopyGameData();
    Start();
    EXPECT_EQ(form->Game.Difficulty, 2);
    EXPECT_EQ(form->Game.MusicOn, 0);
    KeyDown(VK_SPACE);
    Frame();
    KeyUp(VK_SPACE);
    EXPECT_EQ(form->Scene, Scene::Title) << "Space is player 2's up now, not fire";
    KeyDown(VK_X);
    Frame();
    KeyUp(VK_X);
    EXPECT_EQ(form->Scene, Scene::Battle);

    const std::string before = Read(File());
    form->FormKeyDown(VK_F12, false);
    EXPECT_EQ(SettingsFromJson(Read(File())).SoundOn, false);
    form->FormKeyDown(VK_F11, false);
    form->mnLowClick(3);
    const Settings written = SettingsFromJson(Read(File()));
    EXPECT_TRUE(written.MusicOn);
    EXPECT_EQ(written.Difficulty, 3);
    EXPECT_EQ(written.Keys[0][4][0], VK_X);
    EXPECT_NE(Read(File()), before);
}

// Automation must not depend on the player's files: a damaged settings file stays exactly where it is in a
// headless, a scripted and a --no-settings run, and a plain run does read it (and moves it aside).
TEST_F(SettingsFile, HeadlessScriptedAndNoSettingsRunsLeaveTheFileAlone)
{
    const fs::path home = folder / "home";
    const fs::path file = home / ".config" / "vorlanex" / "settings.json";
    fs::create_directories(file.parent_path());
    std::ofstream(file) << "{\"music\": 3}";
    const auto mtime = fs::last_write_time(file);
    std::ofstream(folder / "keys.txt") << "2 press F12\n3 press F11\n";
    const std::string game = std::string(VORLANEX_BUILD_DIR) + "/vorlanex --unpaced --frames 6 ";
    const std::string env = "env -u XDG_CONFIG_HOME -u XDG_DATA_HOME HOME=" + home.string() +
                            " SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy ";
    for (const std::string& options : std::vector<std::string>{"--headless", "--windowed --input " + (folder / "keys.txt").string(),
                                      "--windowed --no-settings"})
    {
        const int status = std::system((env + game + options + " > /dev/null 2>&1").c_str());
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << options;
        EXPECT_EQ(Read(file), "{\"music\": 3}") << options;
        EXPECT_EQ(fs::last_write_time(file), mtime) << options;
        EXPECT_FALSE(fs::exists(home / ".local")) << options;
    }
    const int status = std::system((env + game + "--windowed > /dev/null 2>&1").c_str());
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_FALSE(fs::exists(file));
    EXPECT_EQ(Read(file.string() + ".bad"), "{\"music\": 3}");
}
