#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <unistd.h>

#include "framework/AssetTable.h"
#include "framework/BuiltinPictures.h"
#include "framework/PictureCollection.h"

using namespace vorlanex;

namespace {

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

TEST(PictureCutting, NumbersPatternsRowByRowWithTheEffectiveSize)
{
    TDXDraw display;
    TPictureCollection list;
    auto& across = AddItem(list, "Cursor", Filled(64, 16, clRed), 16, 16);
    auto& down = AddItem(list, "BigExplosion", Filled(64, 384, clRed), 64, 64);
    auto& grid = AddItem(list, "Grid", Filled(70, 70, clRed), 32, 32);   // leftover edges are not patterns
    auto& whole = AddItem(list, "Snow0", Filled(26, 24, clRed));
    auto& star = AddItem(list, "Star", Filled(640, 480, clRed), 1024, 768);
    auto& gaps = AddItem(list, "Gaps", Filled(34, 16, clRed), 16, 16);
    gaps.SkipWidth = 2;
    auto& empty = list.Add();
    const int countBeforeLoading = down.PatternCount();
    list.LoadAll(display);

    EXPECT_EQ(Rects(across)[3], Bounds(48, 0, 16, 16));
    EXPECT_EQ(down.PatternCount(), 6);
    EXPECT_EQ(countBeforeLoading, 6);
    EXPECT_EQ(Rects(down)[1], Bounds(0, 64, 64, 64));
    EXPECT_EQ(Rects(grid), (std::vector<TRect>{Bounds(0, 0, 32, 32), Bounds(32, 0, 32, 32), Bounds(0, 32, 32, 32),
                                               Bounds(32, 32, 32, 32)}));
    EXPECT_EQ(whole.PatternWidth(), 26);
    EXPECT_EQ(whole.StoredPatternWidth(), 0);
    EXPECT_EQ(Rects(whole), std::vector<TRect>{Bounds(0, 0, 26, 24)});
    EXPECT_EQ(star.PatternCount(), 0);   // a backdrop smaller than its pattern has none
    EXPECT_EQ(Rects(gaps), (std::vector<TRect>{Bounds(0, 0, 16, 16), Bounds(18, 0, 16, 16)}));
    EXPECT_FALSE(empty.IsLoaded());

    gaps.SkipWidth = -16;   // a gap that cancels the pattern width leaves nothing to step by
    gaps.Load(display);
    EXPECT_EQ(gaps.PatternCount(), 0);
    gaps.SkipWidth = INT32_MAX;   // a gap past the edge still leaves the first pattern
    gaps.Load(display);
    EXPECT_EQ(Rects(gaps), std::vector<TRect>{Bounds(0, 0, 16, 16)});
}

TEST(PictureNames, LookupIgnoresCaseAndTheLatestNameWins)
{
    TPictureCollection list;
    for (const char* name : {"MyTankUp", "snow2", "胜利"})
        AddItem(list, name, Filled(1, 1, clRed));
    EXPECT_EQ(list.ImageIndexOf("MyTankUP"), 0);
    EXPECT_EQ(list.ImageFind("Snow2"), &list.Item(1));
    EXPECT_EQ(list.ImageIndexOf("胜利"), 2);
    EXPECT_EQ(list.ImageIndexOf("Nothing"), -1);
    EXPECT_EQ(list.ImageFind("Nothing"), nullptr);

    AddItem(list, "MYTANKUP", Filled(1, 1, clRed));
    EXPECT_EQ(list.ImageIndexOf("mytankup"), 3);
    list.Item(0).SetName("MyTankUp");   // renaming makes the older item the latest again
    EXPECT_EQ(list.ImageIndexOf("mytankup"), 0);
    list.Item(0).SetName("Other");
    EXPECT_EQ(list.ImageIndexOf("mytankup"), 3);
}

// Deleting an item in the middle must not leave later items answering with their old positions.
TEST(PictureNames, IndexesStayCurrentWhenItemsAreDeleted)
{
    TPictureCollection list;
    for (const char* name : {"EnemyPos", "PlayerPos", "Back0", "Brick", "Lowerest", "brick"})
        AddItem(list, name, Filled(1, 1, clRed));
    list.Delete(5);
    EXPECT_EQ(list.ImageIndexOf("Brick"), 3);   // the older duplicate comes back
    list.Delete(1);
    EXPECT_EQ(list.ImageIndexOf("Lowerest"), 3);
    EXPECT_EQ(list.ImageIndexOf("PlayerPos"), -1);
    try {
        list.Item(4);
        FAIL() << "index past the end must throw";
    } catch (const std::out_of_range& e) {
        EXPECT_STREQ(e.what(), "Index of the list exceeds the range. (4)");
    }
    EXPECT_THROW(list.Delete(-1), std::out_of_range);
}

TEST(PictureLifecycle, DisplayNoticesLoadRefillAndUnloadTheItems)
{
    TDXImageList images;
    auto& item = AddItem(images.Items, "Blink", Filled(32, 96, clRed), 32, 32);
    {
        TDXDraw display;
        images.SetDXDraw(&display);
        EXPECT_FALSE(item.IsLoaded());
        display.StartDisplay();
        EXPECT_EQ(item.PatternCount(), 3);

        item.Picture = Filled(32, 96, clYellow);   // lost surfaces come back re-filled from the picture
        display.LoseSurfaces();
        EXPECT_TRUE(display.IsDrawable());
        EXPECT_EQ(item.Patterns()[0].surface->Pixel(0, 0), Rgb565(clYellow));

        display.Finalize();
        EXPECT_FALSE(item.IsLoaded());
        display.StartDisplay();
        TDXImageList late;
        AddItem(late.Items, "Late", Filled(4, 4, clRed));
        late.SetDXDraw(&display);   // a display that already runs loads the newcomer at once
        EXPECT_TRUE(late.Items.Item(0).IsLoaded());
    }
    EXPECT_EQ(images.DXDraw(), nullptr);   // the display said goodbye
    EXPECT_FALSE(item.IsLoaded());
}

// Loading puts every colour on the surface as its 5-6-5 pixel, whatever its top byte holds, also in the last
// few pixels that do not fill a group of eight.
TEST(PictureLifecycle, LoadingConvertsEveryColourToItsPixel)
{
    std::mt19937 random(3);
    std::vector<TColor> colours(29 * 7);
    for (TColor& c : colours)
        c = TColor(random());
    TPictureCollection list;
    TPictureCollectionItem& item = list.Add();
    item.Picture = TBitmap::TrueColor(29, 7, colours);
    TDXDraw display;
    item.Load(display);
    const TDirectDrawSurface& surface = *item.Patterns()[0].surface;
    for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 29; ++x)
            ASSERT_EQ(surface.Pixel(x, y), Rgb565(colours[std::size_t(y * 29 + x)])) << x << "," << y;
}

// The start-up flow for the five file pictures: the display starts with the item empty, then the item gets
// its picture from a file and is assigned to itself.
TEST(PictureLifecycle, AssigningAnItemToItselfPutsAFilePictureOnTheDisplay)
{
    const std::filesystem::path path =
        std::filesystem::temp_directory_path() / ("vorlanex-logo-" + std::to_string(::getpid()) + ".BMP");
    const auto bytes = Filled(4, 2, clYellow).ToBmp();
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    TDXDraw display;
    TDXImageList images;
    images.SetDXDraw(&display);
    auto& logo = AddItem(images.Items, "Logo", TBitmap());
    display.StartDisplay();
    EXPECT_FALSE(logo.IsLoaded());

    logo.LoadPictureFromFile(path.string());
    std::filesystem::remove(path);
    EXPECT_FALSE(logo.IsLoaded());   // a new picture alone does not rebuild
    logo.AssignItem(logo);
    ASSERT_TRUE(logo.IsLoaded());
    EXPECT_EQ(logo.PatternWidth(), 4);
    EXPECT_THROW(logo.LoadPictureFromFile(path.string()), BitmapError);
    EXPECT_TRUE(logo.IsLoaded());

    auto& source = AddItem(images.Items, "Source", Filled(6, 2, clWhite), 3);
    source.SetTransparentColor(clWhite);
    source.SkipHeight = 1;
    logo.AssignItem(source);
    EXPECT_EQ(logo.StoredPatternWidth(), 3);
    EXPECT_EQ(logo.TransparentColor(), clWhite);
    EXPECT_EQ(logo.SkipHeight, 1);
    EXPECT_EQ(logo.Patterns()[0].surface->Pixel(5, 1), Rgb565(clWhite));
}

TEST(PictureColorTable, FixedEntriesThenPictureColoursInOrderUntilFull)
{
    TPictureCollection list;
    AddItem(list, "TrueColour", Filled(1, 1, RGBColor(1, 2, 3)));
    AddItem(list, "A", TBitmap::Indexed(1, 1, {{0, 0, 0, 0}, {30, 20, 10, 0}, {0, 0, 255, 0}}, {0}));
    list.Add();
    AddItem(list, "B", TBitmap::Indexed(1, 1, {{30, 20, 10, 0}, {7, 8, 9, 0}}, {0}));
    list.BuildColorTable();
    const TColorTable& t = list.ColorTable;
    EXPECT_EQ(t[7], (TPaletteEntry{192, 192, 192, 0}));
    EXPECT_EQ(t[248], (TPaletteEntry{128, 128, 128, 0}));
    EXPECT_EQ(t[8], (TPaletteEntry{10, 20, 30, 0}));   // black and red were there already
    EXPECT_EQ(t[9], (TPaletteEntry{9, 8, 7, 0}));
    EXPECT_EQ(t[10], TPaletteEntry{});

    std::vector<TRgbQuad> many;
    for (int i = 0; i < 256; ++i)
        many.push_back({std::uint8_t(i), 1, 0, 0});
    AddItem(list, "Many", TBitmap::Indexed(1, 1, many, {0}));
    AddItem(list, "Late", TBitmap::Indexed(1, 1, {{5, 5, 5, 0}}, {0}));
    list.BuildColorTable();
    EXPECT_EQ(list.ColorTable[247], (TPaletteEntry{0, 1, 237, 0}));   // 240 free: 2 from A and B, 238 of Many
    EXPECT_EQ(std::count(list.ColorTable.begin(), list.ColorTable.end(), TPaletteEntry{5, 5, 5, 0}), 0);
}

std::vector<AssetEntry> ArchiveFor(auto... specLists)
{
    std::vector<AssetEntry> archive;
    for (const auto& defs : {std::span<const PictureDef>(specLists)...})
        for (const PictureDef& s : defs) {
            const std::size_t n = std::size_t(s.width) * std::size_t(s.height);
            if (n == 0)
                continue;
            const TBitmap picture =
                s.bitCount == 8 ? TBitmap::Indexed(s.width, s.height, {{0, 0, 0, 0}}, std::vector<std::uint8_t>(n))
                                : TBitmap::TrueColor(s.width, s.height, std::vector<TColor>(n));
            archive.push_back({AssetKind::Picture, s.name, picture.ToBmp()});
        }
    return archive;
}

TEST(BuiltinPictures, FillBothCataloguesAndRefuseWrongPictures)
{
    std::vector<AssetEntry> archive = ArchiveFor(kImageListDefs, kDXImageListDefs);
    TPictureCollection imageList, dxImageList;
    LoadBuiltinPictures(imageList, dxImageList, archive);
    ASSERT_EQ(imageList.Count(), 63);
    ASSERT_EQ(dxImageList.Count(), 3);
    EXPECT_EQ(imageList.ImageIndexOf("Tank2UP"), 41);
    EXPECT_EQ(imageList.ImageFind("EnemyBoss")->TransparentColor(), clWhite);
    EXPECT_EQ(imageList.ImageFind("EnemyBoss")->PatternCount(), 5);
    EXPECT_FALSE(imageList.Item(0).Transparent);
    EXPECT_TRUE(imageList.Item(0).Picture.Empty());
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
