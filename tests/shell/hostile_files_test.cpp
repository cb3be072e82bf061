// A hostile player's game folder, one fault class at a time, through the game's own start-up and level
// loading: the game reaches the title or the battle, names the file and the fault once, changes no data
// file and never hangs.

#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <map>

#include "framework/Bitmap.h"
#include "maps/MapFile.h"
#include "platform/common/Gbk.h"
#include "shell/GameFixture.h"
#include "support/CompoundFileTesting.h"
#include "support/HardTimeLimit.h"

using namespace vorlanex;
using vorlanex::testing::GameFixture;
using vorlanex::testing::GetLe32;
using vorlanex::testing::HardTimeLimit;
using vorlanex::testing::PutLe32;
using vorlanex::testing::ReadBytes;

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

class HostileFiles : public GameFixture
{
protected:
    // Every entry of the game folder: the bytes of regular files (the size and time of huge ones), the kind
    // of everything else.
    std::map<std::string, std::string> Snapshot() const
    {
        std::map<std::string, std::string> entries;
        for (const auto& entry : fs::recursive_directory_iterator(folder))
        {
            const fs::file_status status = entry.symlink_status();
            std::string& seen = entries[entry.path().lexically_relative(folder).string()];
            if (!fs::is_regular_file(status))
                seen = "kind " + std::to_string(int(status.type()));
            else if (fs::file_size(entry.path()) > (1u << 24))
                seen = std::to_string(fs::file_size(entry.path())) + " bytes, written " +
                       std::to_string(fs::last_write_time(entry.path()).time_since_epoch().count());
            else
            {
                const Bytes bytes = ReadBytes(entry.path());
                seen.assign(bytes.begin(), bytes.end());
            }
        }
        return entries;
    }

    // The reports that mention `text`.
    std::vector<std::string> ReportsNaming(const std::string& text) const
    {
        std::vector<std::string> found;
        for (const std::string& e : form->ReportedErrors())
            if (e.find(text) != std::string::npos)
                found.push_back(e);
        return found;
    }

    void ExpectOneReport(const std::string& file, const std::string& fault) const
    {
        const auto found = ReportsNaming(file);
        ASSERT_EQ(found.size(), 1u) << file << " reported " << found.size() << " times";
        EXPECT_NE(found[0].find(fault), std::string::npos) << found[0];
    }

    void MakePipe(const std::string& name) { ASSERT_EQ(::mkfifo((folder / name).c_str(), 0644), 0); }
    void LinkTo(const std::string& name, const std::string& target) { fs::create_symlink(target, folder / name); }

    // Sparse: a file that claims its size without filling the disk.
    void MakeHuge(const std::string& name, const Bytes& head, std::uintmax_t size)
    {
        vorlanex::testing::WriteBytes(folder / name, head);
        fs::resize_file(folder / name, size);
    }

    // MAP001.map of the shipped game with another background name.
    void WriteMapWithBackground(const std::string& gbkName)
    {
        MapReadResult read = ReadMapFile((fs::path(VORLANEX_BUILD_DIR) / "MAP001.map").string());
        ASSERT_EQ(read.Status, MapReadStatus::Ok) << read.Message;
        read.Map.BackgroundFileName = gbkName;
        vorlanex::testing::WriteBytes(folder / "MAP001.map", WriteMapBytes(read.Map));
    }

    void LoadLevel() { form->LoadMap((folder / "MAP001.map").string()); }

    bool PlainBackground() const
    {
        return form->Game.BackgroundSprite && form->Game.BackgroundSprite->Image &&
               form->Game.BackgroundSprite->Image->Name() == "Back0";
    }

    HardTimeLimit limit{60};
};

// An 8-bit run-length bitmap of w x h over a two-colour table.
Bytes RleBitmap(int w, int h, const Bytes& data)
{
    Bytes b(14 + 40 + 8, 0);
    b[0] = 'B', b[1] = 'M';
    PutLe32(b, 10, 14 + 40 + 8);
    PutLe32(b, 14, 40);
    PutLe32(b, 18, std::uint32_t(w));
    PutLe32(b, 22, std::uint32_t(h));
    b[26] = 1, b[28] = 8;
    PutLe32(b, 30, 1);
    PutLe32(b, 34, std::uint32_t(data.size()));
    PutLe32(b, 46, 2);
    b[54 + 4 + 2] = 0xFF;   // index 1 is red
    b.insert(b.end(), data.begin(), data.end());
    PutLe32(b, 2, std::uint32_t(b.size()));
    return b;
}

}  // namespace

TEST_F(HostileFiles, PipesDevicesAndFoldersAreRefusedAtOnceAndTheTitleComes)
{
    MakePipe("背景1.BMP");
    LinkTo("标题.BMP", "/dev/urandom");
    fs::create_directory(folder / "胜利.BMP");
    MakePipe("操作帮助.TXT");
    LinkTo("背景音乐.wav", "/dev/zero");
    const auto before = Snapshot();
    Start();
    EXPECT_EQ(form->Scene, Scene::Title);
    ExpectOneReport("背景1.BMP", "is a named pipe, not a regular file");
    ExpectOneReport("标题.BMP", "is a device, not a regular file");
    ExpectOneReport("胜利.BMP", "is a folder, not a regular file");
    ExpectOneReport("操作帮助.TXT", "is a named pipe");
    ExpectOneReport("背景音乐.wav", "is a device");
    EXPECT_TRUE(form->memo.empty());
    Frames(5);
    EXPECT_EQ(form->FrameCounter, 5);
    EXPECT_EQ(ReportsNaming("背景1.BMP").size(), 1u) << "frames do not repeat the report";
    EXPECT_EQ(Snapshot(), before);
}

TEST_F(HostileFiles, OversizedFilesAreRefusedBeforeTheyAreRead)
{
    MakeHuge("操作帮助.TXT", Bytes{'A', 'B'}, std::uintmax_t(64) << 20);
    // A 2 x 2 picture that goes on for a gigabyte.
    MakeHuge("标题.BMP", TBitmap::TrueColor(2, 2, {0, 0, 0, 0}).ToBmp(), std::uintmax_t(1) << 30);
    MakeHuge("MAP001.map", Bytes(MapMagic().begin(), MapMagic().end()), std::uintmax_t(2) << 30);
    const auto before = Snapshot();
    Start();
    EXPECT_EQ(form->Scene, Scene::Title);
    ExpectOneReport("操作帮助.TXT", "is 64 MB, more than the 4 MB a help text may have");
    ExpectOneReport("标题.BMP", "is 1024 MB, more than the");
    EXPECT_NE(ReportsNaming("标题.BMP")[0].find("a 2 x 2 picture may have"), std::string::npos);
    LoadLevel();
    ExpectOneReport("MAP001.map", "is 2048 MB, more than the 16 MB a map file may have");
    EXPECT_EQ(form->PendingScene, Scene::Title) << "back to the title";
    EXPECT_EQ(Snapshot(), before);
}

TEST_F(HostileFiles, AnUnreadableTileLibraryIsToldOnceAndTheLevelIsStillBuilt)
{
    using Damage = void (*)(Bytes&);
    const std::pair<const char*, Damage> cases[] = {
        {"not a compound file", [](Bytes& i) { i.assign(5000, 'x'); }},
        {"lies outside the file", [](Bytes& i) { i.resize(i.size() / 2); }},   // cut short
        {"sector shift", [](Bytes& i) { i[30] = 13; }},
        {"the chain of the directory loops back", [](Bytes& i) {
             const std::uint32_t dir = GetLe32(i, 48);
             const std::uint32_t sectorSize = 1u << i[30];
             const std::size_t fatSector = (std::size_t(GetLe32(i, 76)) + 1) * sectorSize;
             PutLe32(i, fatSector + 4 * dir, dir);
         }},
        {"directory tree", [](Bytes& i) {
             // The root's first child becomes its own left sibling.
             const std::uint32_t sectorSize = 1u << i[30];
             const std::size_t root = (std::size_t(GetLe32(i, 48)) + 1) * sectorSize;
             const std::uint32_t child = GetLe32(i, root + 76);
             if (child >= sectorSize / 128)
                 throw std::logic_error("the root's first child is no longer in the first directory sector");
             PutLe32(i, root + std::size_t(child) * 128 + 68, child);
             PutLe32(i, root + std::size_t(child) * 128 + 72, child);
         }},
    };
    CopyGameData();
    const Bytes shipped = ReadBytes(folder / "图库.TIL");
    Start();
    for (const auto& [fault, damage] : cases)
    {
        Bytes image = shipped;
        damage(image);
        vorlanex::testing::WriteBytes(folder / "图库.TIL", image);
        const auto before = Snapshot();
        const std::size_t reportsBefore = ReportsNaming("图库.TIL").size();
        const int beepsBefore = parts.system->BeepCount();
        LoadLevel();
        LoadLevel();   // the same damage is not told again
        EXPECT_EQ(form->Scene, Scene::Battle) << fault;
        EXPECT_GT(form->SpriteEngine.Engine->ChildCount(), 100) << fault << ": the level is built all the same";
        EXPECT_GT(parts.system->BeepCount(), beepsBefore) << fault << ": unreadable tiles beep";
        const auto reports = ReportsNaming("图库.TIL");
        ASSERT_EQ(reports.size(), reportsBefore + 1) << fault;
        EXPECT_NE(reports.back().find(fault), std::string::npos) << reports.back();
        EXPECT_EQ(Snapshot(), before) << fault;
    }
    fs::remove(folder / "图库.TIL");
    MakePipe("图库.TIL");
    LoadLevel();
    EXPECT_EQ(form->Scene, Scene::Battle);
    EXPECT_NE(ReportsNaming("图库.TIL").back().find("is a named pipe"), std::string::npos);
}

TEST_F(HostileFiles, BackgroundNamesThatLeaveTheGameFolderAreToldAndThePlainBackgroundIsUsed)
{
    CopyGameData();
    fs::create_directory(folder / "subfolder");
    const std::pair<std::string, std::string> cases[] = {
        {"..\\..\\etc\\passwd", "leaves the game folder"},
        {"/etc/passwd", "is an absolute path"},
        {"C:\\boot.bmp", "is an absolute path"},
        {"subfolder", "is a folder"},
    };
    Start();
    for (const auto& [name, fault] : cases)
    {
        WriteMapWithBackground(Utf8ToGbk(name));
        const auto before = Snapshot();
        LoadLevel();
        EXPECT_EQ(form->Scene, Scene::Battle) << name;
        EXPECT_TRUE(PlainBackground()) << name;
        const auto reports = ReportsNaming(name);
        ASSERT_EQ(reports.size(), 1u) << name;
        EXPECT_NE(reports[0].find(fault), std::string::npos) << reports[0];
        EXPECT_EQ(Snapshot(), before);
    }
    EXPECT_NE(ReportsNaming("passwd")[0].find("MAP001.map"), std::string::npos) << "the map is named too";
}

TEST_F(HostileFiles, RunLengthPicturesThatOverrunAreRefusedLikeShortOnes)
{
    CopyGameData();
    const std::pair<std::string, Bytes> cases[] = {
        {"run past the row", {200, 1, 0, 1}},
        {"jump past the picture", {0, 2, 1, 9, 0, 1}},
        {"literal past the row", {0, 5, 1, 1, 1, 1, 1, 0, 0, 1}},
        {"data ends early", {4, 1, 0, 0}},
    };
    Start();
    for (const auto& [what, data] : cases)
    {
        vorlanex::testing::WriteBytes(folder / "rle.bmp", RleBitmap(4, 2, data));
        WriteMapWithBackground("rle.bmp");
        const auto before = Snapshot();
        LoadLevel();
        EXPECT_EQ(Snapshot(), before) << what;
        EXPECT_EQ(form->Scene, Scene::Battle) << what;
        EXPECT_TRUE(PlainBackground()) << what;
        const auto reports = ReportsNaming("rle.bmp");
        ASSERT_FALSE(reports.empty()) << what;
        EXPECT_NE(reports.back().find("rle.bmp: "), std::string::npos) << reports.back();
        fs::remove(folder / "rle.bmp");
    }
    EXPECT_EQ(ReportsNaming("rle.bmp").size(), 4u) << "four different faults, each told once";
}

TEST_F(HostileFiles, AQuitDuringLoadingEndsTheBuildAndOneDuringStartUpEndsStartUp)
{
    CopyGameData();
    InputEvent quit;
    quit.kind = EventKind::Quit;
    platform = MakeNullPlatform(&parts);
    parts.events->Push(quit);
    GameConfig config;
    config.appDir = folder.string() + "/";
    config.unpaced = true;
    config.builtinAssets = BuiltinAssetArchive();
    {
        TMainForm early(platform, config);
        early.FormCreate();
        EXPECT_TRUE(early.QuitRequested);
        EXPECT_EQ(early.Scene, Scene::None) << "start-up stopped before the title";
    }

    Start();
    InputEvent altF4;
    altF4.kind = EventKind::KeyDown;
    altF4.key = 0x73;
    altF4.alt = true;
    parts.events->Push(altF4);
    EXPECT_THROW(form->LoadMap((folder / "MAP005.map").string()), EAbort);
    EXPECT_TRUE(form->QuitRequested);
    EXPECT_LT(form->Game.LoadProgress, form->Game.LoadTotal) << "the build stopped part way";
    EXPECT_EQ(parts.events->Pending(), 1u) << "the request stays for the message loop";
}
