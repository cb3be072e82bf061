// Tiles: a tile stream taken apart (bitmap by its own header, then Flags and Durability), and TTile::Load
// finding two- and three-part paths in libraries written by libgsf and by our own writer.

#include <gtest/gtest.h>

#include "framework/CompoundFileWriter.h"
#include "maps/Tiles.h"
#include "platform/common/Gbk.h"
#include "support/CompoundFileTesting.h"

namespace vorlanex {
namespace {

using testing::RunCommand;
using testing::ScratchFolder;
using testing::ShellQuote;

TBitmap Picture(TColor colour, int size = 32)
{
    std::vector<TColor> pixels(std::size_t(size * size), colour);
    pixels[0] = clWhite;   // top-left corner, to see the rows are the right way up
    return TBitmap::TrueColor(size, size, pixels);
}

std::vector<std::uint8_t> TileBytes(const TBitmap& picture, std::vector<std::uint8_t> tail)
{
    auto bytes = picture.ToBmp();
    bytes.insert(bytes.end(), tail.begin(), tail.end());
    return bytes;
}

std::vector<std::uint8_t> TileBytes(TColor colour, std::uint8_t flags, std::int32_t durability)
{
    const auto d = std::uint32_t(durability);
    return TileBytes(Picture(colour), {flags, std::uint8_t(d), std::uint8_t(d >> 8), std::uint8_t(d >> 16),
                                       std::uint8_t(d >> 24)});
}

TEST(TileStream, FlagsAndDurabilityFollowTheBitmap)
{
    TTile tile;
    tile.ParseStream(TileBytes(Picture(clRed), {0x03, 0xE8, 0x03, 0x00, 0x00}), "t");
    EXPECT_EQ(tile.Flags, 3);
    EXPECT_EQ(tile.Durability, 1000);
    EXPECT_EQ(tile.Bitmap.Width(), 32);
    EXPECT_EQ(tile.Bitmap.PixelAt(0, 0), clWhite);
    EXPECT_EQ(tile.Bitmap.PixelAt(31, 31), clRed);

    // An indexed picture (colour table between header and pixels) and a header whose file size field
    // lies: the cut still falls right after the pixel rows.
    const TBitmap indexed = TBitmap::Indexed(20, 7, {{0, 0, 255, 0}, {0, 255, 0, 0}}, std::vector<std::uint8_t>(140, 1));
    auto bytes = TileBytes(indexed, {0x02, 0x40, 0x42, 0x0F, 0x00});
    bytes[2] = bytes[3] = 0;
    tile.ParseStream(bytes, "t");
    EXPECT_EQ(tile.Flags, 2);
    EXPECT_EQ(tile.Durability, 1000000);
    EXPECT_EQ(tile.Bitmap.Width(), 20);
}

TEST(TileStream, AShortTailKeepsWhatItCannotFill)
{
    TTile tile;
    tile.ParseStream(TileBytes(Picture(clRed), {}), "t");
    EXPECT_EQ(tile.Flags, 0);
    EXPECT_EQ(tile.Durability, 2000);
    tile.ParseStream(TileBytes(Picture(clRed), {0x01, 0xE8}), "t");
    EXPECT_EQ(tile.Flags, 1);
    EXPECT_EQ(tile.Durability, 0x07E8);   // a raw read replaces only the low byte of 2000 (0x07D0)
}

TEST(TileStream, NotABitmapThrowsAndChangesNothing)
{
    TTile tile;
    tile.Flags = 7;
    std::vector<std::uint8_t> bytes(3131, 0x41);
    EXPECT_THROW(tile.ParseStream(bytes, "t"), BitmapError);
    auto cut = TileBytes(Picture(clRed), {3, 0, 0, 0, 0});
    cut.resize(1000);   // the header promises more pixel rows than there are
    EXPECT_THROW(tile.ParseStream(cut, "t"), BitmapError);
    EXPECT_EQ(tile.Flags, 7);
    EXPECT_EQ(tile.Bitmap.PixelAt(5, 5), clBlack);
}

TEST(TilePath, SplitsAtBackslashesOutsideDoubleByteCharacters)
{
    // The second byte of this character is a backslash (0x81 0x5C); it must not split the name.
    const std::string awkward = Utf8ToGbk("乗");
    ASSERT_EQ(awkward, std::string("\x81\x5C"));
    const auto parts = SplitTilePath(awkward + "\\" + Utf8ToGbk("砖墙") + "\\x\\ignored");
    EXPECT_EQ(parts[0], awkward);
    EXPECT_EQ(parts[1], Utf8ToGbk("砖墙"));
    EXPECT_EQ(parts[2], "x");
    EXPECT_EQ(SplitTilePath("one")[1], "");
}

class TileLoad : public ::testing::Test
{
protected:
    TTile MakeTile(const std::string& library)
    {
        TTile tile(library, [this] { ++beeps; });
        tile.Flags = 99;
        tile.Durability = -5;
        return tile;
    }

    bool LoadUtf8(TTile& tile, const std::string& path)
    {
        tile.Path = Utf8ToGbk(path);
        return tile.Load();
    }

    ScratchFolder folder;
    int beeps = 0;
};

TEST_F(TileLoad, FindsTwoAndThreePartPathsInALibraryWrittenByGsf)
{
    if (!std::filesystem::exists("/usr/bin/gsf"))
        GTEST_SKIP() << "libgsf-bin is needed";
    testing::WriteBytes(folder / "src/砖墙/红砖", TileBytes(RGBColor(170, 70, 40), 0, 600));
    testing::WriteBytes(folder / "src/地形/地面/草地", TileBytes(RGBColor(60, 140, 50), 3, 1000));
    testing::WriteBytes(folder / "src/Walls/Steel", TileBytes(RGBColor(140, 150, 160), 0, 1000000));
    testing::WriteBytes(folder / "src/乗/x", TileBytes(clYellow, 2, 7));
    const auto library = folder / "图库.TIL";
    std::string command = "/usr/bin/gsf createole " + ShellQuote(library.string());
    for (const char* top : {"砖墙", "地形", "Walls", "乗"})
        command += " " + ShellQuote((folder / ("src/" + std::string(top))).string());
    ASSERT_EQ(RunCommand(command + " >/dev/null 2>&1").exitCode, 0);

    TTile tile = MakeTile(library.string());
    ASSERT_TRUE(LoadUtf8(tile, "砖墙\\红砖"));
    EXPECT_EQ(tile.Flags, 0);
    EXPECT_EQ(tile.Durability, 600);
    EXPECT_EQ(tile.Bitmap.PixelAt(10, 10), RGBColor(170, 70, 40));

    ASSERT_TRUE(LoadUtf8(tile, "地形\\地面\\草地"));
    EXPECT_EQ(tile.Flags, 3);
    EXPECT_EQ(tile.Bitmap.PixelAt(10, 10), RGBColor(60, 140, 50));

    ASSERT_TRUE(LoadUtf8(tile, "WALLS\\steel"));   // names match without regard to letter case
    EXPECT_EQ(tile.Durability, 1000000);
    ASSERT_TRUE(LoadUtf8(tile, "乗\\x"));
    EXPECT_EQ(tile.Durability, 7);
    ASSERT_TRUE(LoadUtf8(tile, "地形\\地面\\草地\\more\\parts"));   // parts past the third are ignored
    EXPECT_EQ(tile.Flags, 3);
    EXPECT_EQ(beeps, 0);
}

TEST_F(TileLoad, AMissingTileBeepsAndKeepsThePreviousOne)
{
    CompoundFileWriter writer;
    writer.AddStream({u"墙", u"砖"}, TileBytes(clRed, 1, 300));
    writer.AddStream({u"平"}, TileBytes(clRed, 1, 300));
    const auto library = folder / "lib.til";
    testing::WriteBytes(library, writer.Build());

    TTile tile = MakeTile(library.string());
    ASSERT_TRUE(LoadUtf8(tile, "墙\\砖"));
    for (const char* path : {"墙\\石", "墙", "平", "平\\x", "墙\\\\砖", "无\\砖", "墙\\砖\\深"})
    {
        EXPECT_FALSE(LoadUtf8(tile, path)) << path;
        EXPECT_EQ(tile.Flags, 1) << path;
        EXPECT_EQ(tile.Durability, 300) << path;
        EXPECT_EQ(tile.Bitmap.PixelAt(3, 3), clRed) << path;
    }
    EXPECT_EQ(beeps, 7);

    EXPECT_FALSE(LoadUtf8(tile, ""));   // nothing asked, nothing to complain about
    EXPECT_EQ(beeps, 7);

    TTile elsewhere = MakeTile((folder / "absent.til").string());
    EXPECT_FALSE(LoadUtf8(elsewhere, "墙\\砖"));
    EXPECT_EQ(elsewhere.Bitmap.Width(), 32);   // the blank default picture
    EXPECT_EQ(beeps, 8);

    tile.LibraryFile = (folder / "absent.til").string();   // a tile reads the library it is pointed at now
    EXPECT_FALSE(LoadUtf8(tile, "墙\\砖"));
    EXPECT_EQ(beeps, 9);
}

TEST_F(TileLoad, AnInvalidBitmapIsAnErrorNamingLibraryAndTile)
{
    CompoundFileWriter writer;
    writer.AddStream({u"墙", u"坏"}, std::vector<std::uint8_t>(100, 0x42));
    const auto library = folder / "lib.til";
    testing::WriteBytes(library, writer.Build());
    TTile tile = MakeTile(library.string());
    try
    {
        LoadUtf8(tile, "墙\\坏");
        ADD_FAILURE() << "loaded";
    }
    catch (const BitmapError& e)
    {
        EXPECT_NE(std::string(e.what()).find("lib.til"), std::string::npos) << e.what();
        EXPECT_NE(std::string(e.what()).find("墙\\坏"), std::string::npos) << e.what();
    }
}

TEST_F(TileLoad, TheLibraryIsFoundRegardlessOfLetterCaseAndEncoding)
{
    const std::string appDir = folder.Path().string() + "/";
    const std::string gbkName = Utf8ToGbk("图库.Til");
    testing::WriteBytes(folder.Path() / gbkName, {1});
    EXPECT_EQ(FindTileLibrary(appDir), appDir + gbkName);
    std::filesystem::remove(folder.Path() / gbkName);
    testing::WriteBytes(folder / "图库.til", {1});
    EXPECT_EQ(FindTileLibrary(appDir), appDir + "图库.til");
    testing::WriteBytes(folder / "图库.TIL", {1});
    EXPECT_EQ(FindTileLibrary(appDir), appDir + "图库.TIL");
}

}  // namespace
}  // namespace vorlanex
