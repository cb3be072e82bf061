// The pictures and help text that the build writes into the game folder, and the generator's determinism.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <unistd.h>
#include <vector>

#include "framework/Bitmap.h"
#include "platform/common/Gbk.h"

namespace vorlanex {
namespace {

namespace fs = std::filesystem;

const fs::path kGameFolder = VORLANEX_BUILD_DIR;

TBitmap Load(const char* name) { return TBitmap::FromFile((kGameFolder / name).string()); }

std::vector<std::uint8_t> ReadAll(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

double VisibleShare(const TBitmap& bmp)
{
    std::size_t shown = 0;
    for (TColor c : bmp.Pixels())
        shown += Rgb565(c) != Rgb565(clBlack);
    return double(shown) / double(bmp.Pixels().size());
}

TEST(GameFolderPictures, BackdropIsAFullScreenPictureNotAFlatFill)
{
    const TBitmap star = Load("背景1.BMP");
    ASSERT_EQ(star.Width(), 1024);
    ASSERT_EQ(star.Height(), 768);
    std::set<std::uint16_t> shades;
    for (TColor c : star.Pixels())
        shades.insert(Rgb565(c));
    EXPECT_GT(shades.size(), 100u);
}

// The logo spins around the screen centre, the result banners too: they must stay inside the screen
// whatever the angle, and the black-keyed ones must not lose visible pixels to the key.
TEST(GameFolderPictures, KeyedScreenPicturesFitTheScreenAndKeepTheirPixels)
{
    for (const char* name : {"标题.BMP", "胜利.BMP", "失败.BMP", "边框1.BMP"})
    {
        SCOPED_TRACE(name);
        const TBitmap bmp = Load(name);
        EXPECT_LE(std::hypot(bmp.Width(), bmp.Height()), 768.0);
        EXPECT_GT(VisibleShare(bmp), 0.08);
        EXPECT_LT(VisibleShare(bmp), 0.95) << "nothing keyed out";
        std::size_t strays = 0;
        for (TColor c : bmp.Pixels())
            strays += Rgb565(c) == Rgb565(clBlack) && c != clBlack;
        EXPECT_EQ(strays, 0u);
        if (bmp.BitCount() <= 8)
        {
            EXPECT_FALSE(bmp.Palette().empty());
        }
    }
    const TBitmap logo = Load("标题.BMP");
    EXPECT_GE(logo.Width(), 400);
    EXPECT_LE(logo.Width(), 560);
    EXPECT_GE(logo.Height(), 120);
    EXPECT_LE(logo.Height(), 200);
}

// The menu frame is drawn centred at its own size around three 128 x 32 buttons at
// (448,344), (448,384) and (448,424) on the 1024 x 768 screen.
TEST(GameFolderPictures, MenuFrameSurroundsTheDifficultyButtons)
{
    const TBitmap frame = Load("边框1.BMP");
    const int left = (1024 - frame.Width()) / 2, top = (768 - frame.Height()) / 2;
    EXPECT_LT(left, 448);
    EXPECT_GT(left + frame.Width(), 576);
    EXPECT_LT(top, 344);
    EXPECT_GT(top + frame.Height(), 456);
    // The middle is keyed out, so the backdrop shows between the buttons.
    EXPECT_EQ(frame.PixelAt(frame.Width() / 2, 444 - top), clBlack);
    EXPECT_EQ(frame.PixelAt(frame.Width() / 2, 380 - top), clBlack);
}

TEST(HelpText, IsGbkWithOneTickerLinePerCrlfLine)
{
    const auto bytes = ReadAll(kGameFolder / "操作帮助.TXT");
    ASSERT_FALSE(bytes.empty());
    const std::string utf8 = GbkToUtf8(std::string(bytes.begin(), bytes.end()));
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = utf8.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(utf8.substr(start, end - start));
    EXPECT_EQ(start, utf8.size()) << "the text ends with a complete line";
    ASSERT_EQ(lines.size(), 6u);
    for (const std::string& line : lines)
    {
        EXPECT_FALSE(line.empty());
        EXPECT_EQ(line.find('\n'), std::string::npos);
    }
    for (const char* key : {"方向键", "空格", "Shift", "Tab", "Esc", "右键", "F1", "F3", "F8", "F9", "F10", "F11", "F12", "Alt+F4"})
        EXPECT_NE(utf8.find(key), std::string::npos) << key;
}

std::map<std::string, std::vector<std::uint8_t>> Generate(const fs::path& dir)
{
    fs::remove_all(dir);
    fs::create_directories(dir);
    const std::string command = std::string("'") + VORLANEX_BUILD_DIR + "/vorlanex-assetgen' --data-src '" +
                                VORLANEX_SOURCE_DIR + "/data' --out '" + dir.string() + "' --archive '" +
                                (dir / "archive.vxa").string() + "' > /dev/null";
    EXPECT_EQ(std::system(command.c_str()), 0);
    std::map<std::string, std::vector<std::uint8_t>> files;
    for (const auto& entry : fs::recursive_directory_iterator(dir))
        if (entry.is_regular_file())
            files[fs::relative(entry.path(), dir).string()] = ReadAll(entry.path());
    return files;
}

TEST(AssetGenerator, WritesTheSameBytesEveryRun)
{
    const fs::path base = fs::temp_directory_path() / ("vorlanex-assetgen-" + std::to_string(getpid()));
    const auto first = Generate(base / "a");
    const auto second = Generate(base / "b");
    fs::remove_all(base);
    ASSERT_TRUE(first.count("archive.vxa"));
    ASSERT_TRUE(first.count("标题.BMP"));
    ASSERT_EQ(first.size(), second.size());
    for (const auto& [name, bytes] : first)
    {
        ASSERT_TRUE(second.count(name)) << name;
        EXPECT_TRUE(bytes == second.at(name)) << name << " differs between runs";
    }
    // The build's own copies came from the same generator and match too.
    for (const char* name : {"背景1.BMP", "标题.BMP", "胜利.BMP", "失败.BMP", "边框1.BMP", "操作帮助.TXT"})
        EXPECT_TRUE(ReadAll(kGameFolder / name) == first.at(name)) << name;
}

}  // namespace
}  // namespace vorlanex
