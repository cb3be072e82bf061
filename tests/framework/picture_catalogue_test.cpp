#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "framework/AssetTable.h"
#include "framework/BuiltinPictures.h"
#include "framework/PictureCollection.h"

using namespace vorlanex;

namespace {

// A w x h picture whose every pixel has a colour of its own (exact in 5-6-5), so tests can tell where a
// pattern was cut from.
TBitmap Numbered(int w, int h)
{
    std::vector<TColor> pixels;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            pixels.push_back(RGBColor(std::uint8_t((x % 32) * 8), std::uint8_t((y % 64) * 4),
                                      std::uint8_t(((x / 32) + (y / 64) * 8) * 8 + 8)));
    return TBitmap::TrueColor(w, h, std::move(pixels));
}

TBitmap Filled(int w, int h, TColor c) { return TBitmap::TrueColor(w, h, std::vector<TColor>(std::size_t(w * h), c)); }

TPictureCollectionItem& AddItem(TPictureCollection& list, const std::string& name, TBitmap picture, int pw = 0,
                                int ph = 0)
{
    TPictureCollectionItem& item = list.Add();
    item.SetName(name);
    item.Picture = std::move(picture);
    item.SetPatternWidth(pw);
    item.SetPatternHeight(ph);
    return item;
}

std::vector<TRect> Rects(const TPictureCollectionItem& item)
{
    std::vector<TRect> rects;
    for (const auto& p : item.Patterns())
        rects.push_back(p.rect);
    return rects;
}

TEST(PictureCutting, NumbersStripsAndGridsRowByRow)
{
    TDXDraw display;
    TPictureCollection list;
    auto& across = AddItem(list, "Across", Numbered(160, 32), 32, 32);
    auto& down = AddItem(list, "Down", Numbered(64, 384), 64, 64);
    auto& grid = AddItem(list, "Grid", Numbered(70, 70), 32, 32);   // leftover edges are not patterns
    list.LoadAll(display);

    ASSERT_EQ(across.PatternCount(), 5);
    EXPECT_EQ(Rects(across)[4], Bounds(128, 0, 32, 32));
    ASSERT_EQ(down.PatternCount(), 6);
    EXPECT_EQ(Rects(down)[1], Bounds(0, 64, 64, 64));
    EXPECT_EQ(Rects(grid),
              (std::vector<TRect>{Bounds(0, 0, 32, 32), Bounds(32, 0, 32, 32), Bounds(0, 32, 32, 32),
                                  Bounds(32, 32, 32, 32)}));
}

TEST(PictureCutting, EffectiveSizeGapsAndOversizedPatterns)
{
    TDXDraw display;
    TPictureCollection list;
    auto& whole = AddItem(list, "Whole", Numbered(26, 24));
    auto& wide = AddItem(list, "Star", Numbered(2048, 768), 1024, 768);
    auto& small = AddItem(list, "SmallStar", Numbered(640, 480), 1024, 768);
    auto& gaps = AddItem(list, "Gaps", Numbered(34, 16), 16, 16);
    gaps.SkipWidth = 2;
    auto& empty = list.Add();
    const int unloadedCount = wide.PatternCount();
    list.LoadAll(display);

    EXPECT_EQ(whole.PatternWidth(), 26);
    EXPECT_EQ(whole.PatternHeight(), 24);
    EXPECT_EQ(whole.StoredPatternWidth(), 0);
    EXPECT_EQ(Rects(whole), std::vector<TRect>{Bounds(0, 0, 26, 24)});
    EXPECT_EQ(wide.PatternCount(), 2);
    EXPECT_EQ(unloadedCount, 2);   // counting before the display starts agrees with the cut
    EXPECT_EQ(small.PatternCount(), 0);
    EXPECT_EQ(Rects(gaps), (std::vector<TRect>{Bounds(0, 0, 16, 16), Bounds(18, 0, 16, 16)}));
    EXPECT_TRUE(whole.IsLoaded());
    EXPECT_FALSE(empty.IsLoaded());
    EXPECT_EQ(empty.PatternCount(), 0);

    // A negative gap that cancels the pattern width must not divide by zero.
    gaps.SkipWidth = -16;
    gaps.Load(display);
    EXPECT_EQ(gaps.PatternCount(), 0);
}

TEST(PictureNames, LookupIgnoresCaseAndTheLatestNameWins)
{
    TPictureCollection list;
    AddItem(list, "MyTankUp", Filled(1, 1, clRed));
    AddItem(list, "snow2", Filled(1, 1, clRed));
    AddItem(list, "胜利", Filled(1, 1, clRed));
    EXPECT_EQ(list.ImageIndexOf("MyTankUP"), 0);
    EXPECT_EQ(list.ImageFind("Snow2"), &list.Item(1));
    EXPECT_EQ(list.ImageIndexOf("胜利"), 2);
    EXPECT_EQ(list.ImageIndexOf("Nothing"), -1);
    EXPECT_EQ(list.ImageFind("Nothing"), nullptr);
    EXPECT_EQ(list.ImageIndexOf("MyTankUp "), -1);

    AddItem(list, "MYTANKUP", Filled(1, 1, clRed));
    EXPECT_EQ(list.ImageIndexOf("mytankup"), 3);
    list.Item(0).SetName("MyTankUp");   // renaming makes the older item the latest again
    EXPECT_EQ(list.ImageIndexOf("mytankup"), 0);
    list.Item(0).SetName("Other");
    EXPECT_EQ(list.ImageIndexOf("mytankup"), 3);
    EXPECT_EQ(list.ImageIndexOf("other"), 0);
}

TEST(PictureNames, IndexesStayCurrentWhenItemsAreDeleted)
{
    TPictureCollection list;
    for (const char* name : {"EnemyPos", "PlayerPos", "Back0", "Brick", "Lowerest"})
        AddItem(list, name, Filled(1, 1, clRed));
    AddItem(list, "brick", Filled(1, 1, clRed));

    list.Delete(5);
    EXPECT_EQ(list.ImageIndexOf("Brick"), 3);   // the older duplicate comes back
    list.Delete(1);
    EXPECT_EQ(list.ImageIndexOf("Lowerest"), 3);
    EXPECT_EQ(list.ImageFind("Lowerest"), &list.Item(3));
    EXPECT_EQ(list.ImageIndexOf("PlayerPos"), -1);
    EXPECT_EQ(list.Count(), 4);

    try {
        list.Item(4);
        FAIL() << "index past the end must throw";
    } catch (const std::out_of_range& e) {
        EXPECT_STREQ(e.what(), "Index of the list exceeds the range. (4)");
    }
    EXPECT_THROW(list.Delete(-1), std::out_of_range);
    list.Clear();
    EXPECT_EQ(list.ImageIndexOf("Back0"), -1);
}

TEST(PictureLifecycle, DisplayNoticesLoadAndUnloadTheItems)
{
    TDXImageList images;
    auto& item = AddItem(images.Items, "Blink", Filled(32, 96, clRed), 32, 32);
    auto& blank = images.Items.Add();
    {
        TDXDraw display;
        images.SetDXDraw(&display);
        EXPECT_FALSE(item.IsLoaded());
        display.StartDisplay();
        EXPECT_TRUE(item.IsLoaded());
        EXPECT_EQ(item.PatternCount(), 3);
        EXPECT_FALSE(blank.IsLoaded());

        // Lost surfaces come back re-filled from the (now changed) picture.
        item.Picture = Filled(32, 96, clYellow);
        display.LoseSurfaces();
        EXPECT_TRUE(display.IsDrawable());
        EXPECT_EQ(item.Patterns()[0].surface->Pixel(0, 0), Rgb565(clYellow));

        display.Finalize();
        EXPECT_FALSE(item.IsLoaded());
        FillSurface(display.BackSurface, 0);
        item.DrawPattern(display.BackSurface, 0, 0, 0);   // unloaded: nothing, no crash

        display.StartDisplay();
        TDXImageList late;
        AddItem(late.Items, "Late", Filled(4, 4, clRed));
        late.SetDXDraw(&display);   // a display that already runs loads the newcomer at once
        EXPECT_TRUE(late.Items.Item(0).IsLoaded());
    }
    EXPECT_EQ(images.DXDraw(), nullptr);
    EXPECT_FALSE(item.IsLoaded());
}

class PictureFiles : public ::testing::Test
{
protected:
    void SetUp() override
    {
        dir = std::filesystem::temp_directory_path() /
              ("vorlanex-pictures-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        std::filesystem::create_directories(dir);
    }
    void TearDown() override { std::filesystem::remove_all(dir); }

    std::string Write(const std::string& name, const TBitmap& picture)
    {
        const auto bytes = picture.ToBmp();
        const std::string path = (dir / name).string();
        std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                    std::streamsize(bytes.size()));
        return path;
    }
    std::filesystem::path dir;
};

// The start-up flow for the five file pictures: the display starts with empty items, then each gets its
// picture from a file and is assigned to itself.
TEST_F(PictureFiles, AssigningAnItemToItselfPutsANewPictureOnTheDisplay)
{
    TDirectDrawSurface screen(8, 8);
    TDXDraw display;
    TDXImageList images;
    images.SetDXDraw(&display);
    auto& logo = images.Items.Add();
    logo.SetName("Logo");
    logo.SystemMemory = true;
    display.StartDisplay();
    EXPECT_FALSE(logo.IsLoaded());

    logo.LoadPictureFromFile(Write("标题.BMP", Filled(4, 2, clYellow)));
    EXPECT_FALSE(logo.IsLoaded());   // loading the picture alone does not rebuild
    logo.AssignItem(logo);
    ASSERT_TRUE(logo.IsLoaded());
    EXPECT_EQ(logo.PatternWidth(), 4);
    logo.DrawPattern(screen, 0, 0, 0);
    EXPECT_EQ(screen.Pixel(3, 1), Rgb565(clYellow));

    EXPECT_THROW(logo.LoadPictureFromFile((dir / "missing.BMP").string()), BitmapError);
    EXPECT_TRUE(logo.IsLoaded());   // a failed load leaves the item as it was

    auto& copy = images.Items.Add();
    auto& source = images.Items.Add();
    source.Picture = Filled(6, 2, clWhite);
    source.SetPatternWidth(3);
    source.SetTransparentColor(clWhite);
    source.SkipHeight = 1;
    copy.AssignItem(source);
    EXPECT_EQ(copy.StoredPatternWidth(), 3);
    EXPECT_EQ(copy.TransparentColor(), clWhite);
    EXPECT_EQ(copy.SkipHeight, 1);
    EXPECT_EQ(copy.Picture.Pixels(), source.Picture.Pixels());
}

TEST(PictureColorTable, FixedEntriesThenPictureColoursInOrderUntilFull)
{
    TPictureCollection list;
    AddItem(list, "TrueColour", Filled(1, 1, RGBColor(1, 2, 3)));
    AddItem(list, "A", TBitmap::Indexed(1, 1, {{0, 0, 0, 0}, {30, 20, 10, 0}, {0, 0, 255, 0}}, {0}));
    list.Add();   // no picture
    AddItem(list, "B", TBitmap::Indexed(1, 1, {{30, 20, 10, 0}, {7, 8, 9, 0}}, {0}));
    list.BuildColorTable();
    const TColorTable& t = list.ColorTable;
    EXPECT_EQ(t[1], (TPaletteEntry{128, 0, 0, 0}));
    EXPECT_EQ(t[7], (TPaletteEntry{192, 192, 192, 0}));
    EXPECT_EQ(t[248], (TPaletteEntry{128, 128, 128, 0}));
    EXPECT_EQ(t[255], (TPaletteEntry{255, 255, 255, 0}));
    EXPECT_EQ(t[8], (TPaletteEntry{10, 20, 30, 0}));   // black and red were already there
    EXPECT_EQ(t[9], (TPaletteEntry{9, 8, 7, 0}));
    EXPECT_EQ(t[10], TPaletteEntry{});

    std::vector<TRgbQuad> many;
    for (int i = 0; i < 256; ++i)
        many.push_back({std::uint8_t(i), 1, 0, 0});
    AddItem(list, "Many", TBitmap::Indexed(1, 1, many, {0}));
    AddItem(list, "Late", TBitmap::Indexed(1, 1, {{5, 5, 5, 0}}, {0}));
    list.BuildColorTable();
    EXPECT_EQ(list.ColorTable[247], (TPaletteEntry{0, 1, 237, 0}));   // 240 free slots: 2 from A and B, 238 of Many
    for (const auto& e : list.ColorTable)
        EXPECT_FALSE(e == (TPaletteEntry{5, 5, 5, 0}));
}

std::vector<AssetEntry> ArchiveFor(auto... specLists)
{
    std::vector<AssetEntry> archive;
    for (const auto& specs : {std::span<const PictureSpec>(specLists)...})
        for (const PictureSpec& s : specs) {
            if (s.width == 0)
                continue;
            const std::size_t n = std::size_t(s.width) * std::size_t(s.height);
            const TBitmap picture = s.bitCount == 8 ? TBitmap::Indexed(s.width, s.height, {{0, 0, 0, 0}},
                                                                        std::vector<std::uint8_t>(n, 0))
                                                    : TBitmap::TrueColor(s.width, s.height, std::vector<TColor>(n));
            archive.push_back({AssetKind::Picture, s.name, picture.ToBmp()});
        }
    return archive;
}

TEST(BuiltinPictures, FillBothCataloguesFromTheTableAndArchive)
{
    std::vector<AssetEntry> archive = ArchiveFor(kImageListSpec, kDXImageListSpec);
    TPictureCollection imageList, dxImageList;
    LoadBuiltinPictures(imageList, dxImageList, archive);
    ASSERT_EQ(imageList.Count(), 63);
    ASSERT_EQ(dxImageList.Count(), 3);
    EXPECT_EQ(imageList.ImageIndexOf("Tank2UP"), 41);
    const auto& boss = *imageList.ImageFind("EnemyBoss");
    EXPECT_EQ(boss.TransparentColor(), clWhite);
    EXPECT_EQ(boss.PatternCount(), 5);
    const auto& star = imageList.Item(0);
    EXPECT_FALSE(star.Transparent);
    EXPECT_TRUE(star.Picture.Empty());
    EXPECT_EQ(star.StoredPatternWidth(), 1024);
    EXPECT_TRUE(imageList.ImageFind("Logo")->SystemMemory);
    EXPECT_EQ(imageList.ImageFind("Tank4Up")->Picture.BitCount(), 24);
    EXPECT_EQ(dxImageList.ImageFind("Back0")->TransparentColor(), clNavy);

    TPictureCollection a, b;
    auto wrong = archive;
    for (AssetEntry& e : wrong)
        if (e.name == "Blink")
            e.bytes = TBitmap::TrueColor(32, 96, std::vector<TColor>(32 * 96)).ToBmp();   // right size, 24 bits
    try {
        LoadBuiltinPictures(a, b, wrong);
        FAIL() << "a picture of the wrong depth must be refused";
    } catch (const BitmapError& e) {
        EXPECT_NE(std::string(e.what()).find("Blink"), std::string::npos);
    }
    archive.pop_back();
    EXPECT_THROW(LoadBuiltinPictures(a, b, archive), BitmapError);
}

}  // namespace
