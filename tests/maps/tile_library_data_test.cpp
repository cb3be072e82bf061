// The tile library the build ships: every tile loads through TTile, and the set covers the kinds of terrain
// the maps are built from.

#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "framework/CompoundFile.h"
#include "maps/Tiles.h"
#include "platform/common/Gbk.h"

namespace vorlanex {
namespace {

struct Shipped
{
    std::string path;   // UTF-8
    TTile tile;
    int transparent = 0;
};

std::vector<Shipped> LoadShippedTiles(const std::string& library)
{
    const auto file = CompoundFile::Open(library);
    std::vector<std::pair<CompoundFile::EntryId, std::string>> pending{{CompoundFile::RootId, ""}};
    std::vector<Shipped> tiles;
    while (!pending.empty())
    {
        const auto [storage, prefix] = pending.back();
        pending.pop_back();
        for (const auto id : file.Children(storage))
        {
            const std::string path = prefix + Utf16ToUtf8(file.Name(id));
            if (file.IsStorage(id))
            {
                pending.emplace_back(id, path + "\\");
                continue;
            }
            Shipped s{path, TTile(library), 0};
            s.tile.Path = Utf8ToGbk(path);
            EXPECT_TRUE(s.tile.Load()) << path;
            for (const TColor c : s.tile.Bitmap.Pixels())
                s.transparent += Rgb565(c) == 0;
            tiles.push_back(std::move(s));
        }
    }
    return tiles;
}

TEST(TileLibraryData, ShipsEveryKindOfTerrain)
{
    const std::string library = std::string(VORLANEX_BUILD_DIR) + "/" + TileLibraryName;
    if (!std::filesystem::exists(library))
        GTEST_SKIP() << "the game folder has not been generated (target vorlanex_data)";
    const auto tiles = LoadShippedTiles(library);
    ASSERT_GE(tiles.size(), 8u);

    std::set<std::vector<TColor>> looks;
    bool brick = false, steel = false, water = false, cover = false;
    for (const Shipped& s : tiles)
    {
        const TTile& t = s.tile;
        EXPECT_EQ(t.Bitmap.Width(), 32) << s.path;
        EXPECT_EQ(t.Bitmap.Height(), 32) << s.path;
        EXPECT_LE(t.Flags, 3) << s.path;
        EXPECT_GT(t.Durability, 0) << s.path;
        looks.insert(t.Bitmap.Pixels());
        // Only cover drawn over the tanks may let the ground show through.
        if (s.path.rfind("植被", 0) != 0)
        {
            EXPECT_EQ(s.transparent, 0) << s.path;
        }
        brick |= t.Flags == 0 && t.Durability <= 1000;
        steel |= t.Flags == 0 && t.Durability >= 100000;
        water |= t.Flags == 2;
        cover |= t.Flags == 3 && s.transparent > 100 && s.transparent < 700;
    }
    EXPECT_EQ(looks.size(), tiles.size()) << "two tiles look the same";
    EXPECT_TRUE(brick && steel && water && cover);
}

}  // namespace
}  // namespace vorlanex
