// The pictures embedded into the program: every stored item of both catalogues, at its stored size and depth,
// cut into patterns that all show something, and keyed so that only background pixels vanish.

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "assets/BuiltinAssets.h"
#include "framework/AssetArchive.h"
#include "framework/AssetTable.h"
#include "framework/Bitmap.h"

namespace vorlanex {
namespace {

std::vector<PictureDef> StoredDefs()
{
    std::vector<PictureDef> defs;
    for (const PictureDef& s : kImageListDefs)
        if (!*s.fileName)
            defs.push_back(s);
    for (const PictureDef& s : kDXImageListDefs)
        defs.push_back(s);
    return defs;
}

const std::vector<AssetEntry>& Archive()
{
    static const std::vector<AssetEntry> entries = ReadAssetArchive(BuiltinAssetArchive());
    return entries;
}

TBitmap Decode(const PictureDef& def)
{
    const AssetEntry* entry = FindAsset(Archive(), AssetKind::Picture, def.name);
    if (!entry)
        throw std::runtime_error(std::string("missing ") + def.name);
    return TBitmap::FromBytes(entry->bytes, def.name);
}

bool Visible(const TBitmap& bmp, const PictureDef& def, int x, int y)
{
    return !def.transparent || Rgb565(bmp.PixelAt(x, y)) != Rgb565(def.transparentColor);
}

struct Pattern
{
    int x, y, w, h;
};

std::vector<Pattern> Patterns(const PictureDef& def)
{
    const int pw = def.patternWidth > 0 ? def.patternWidth : def.width;
    const int ph = def.patternHeight > 0 ? def.patternHeight : def.height;
    std::vector<Pattern> out;
    for (int row = 0; row < def.height / ph; ++row)
        for (int col = 0; col < def.width / pw; ++col)
            out.push_back({col * pw, row * ph, pw, ph});
    return out;
}

std::vector<bool> Mask(const TBitmap& bmp, const PictureDef& def, const Pattern& p)
{
    std::vector<bool> mask;
    for (int y = 0; y < p.h; ++y)
        for (int x = 0; x < p.w; ++x)
            mask.push_back(Visible(bmp, def, p.x + x, p.y + y));
    return mask;
}

const PictureDef& DefNamed(const std::string& name)
{
    for (const PictureDef& s : kImageListDefs)
        if (name == s.name)
            return s;
    throw std::runtime_error("no def " + name);
}

TEST(BuiltinPictures, ArchiveHoldsExactlyTheStoredItemsOfBothCatalogues)
{
    std::multiset<std::string> stored;
    for (const AssetEntry& e : Archive())
        if (e.kind == AssetKind::Picture)
            stored.insert(e.name);
    std::multiset<std::string> expected;
    for (const PictureDef& s : StoredDefs())
        expected.insert(s.name);
    EXPECT_EQ(stored, expected);
}

TEST(BuiltinPictures, EachPictureHasItsStoredSizeDepthAndColourTable)
{
    for (const PictureDef& def : StoredDefs())
    {
        SCOPED_TRACE(def.name);
        const TBitmap bmp = Decode(def);
        EXPECT_EQ(bmp.Width(), def.width);
        EXPECT_EQ(bmp.Height(), def.height);
        EXPECT_EQ(bmp.BitCount(), def.bitCount);
        if (def.bitCount == 8)
        {
            EXPECT_FALSE(bmp.Palette().empty());
        }
    }
}

// The game keys on the 16-bit value of the transparent colour: a visible pixel that merely comes close to the
// key would punch a hole into the sprite.
TEST(BuiltinPictures, OnlyTheExactKeyColourLandsOnTheKeyValue)
{
    for (const PictureDef& def : StoredDefs())
    {
        SCOPED_TRACE(def.name);
        const TBitmap bmp = Decode(def);
        int strays = 0;
        for (TColor c : bmp.Pixels())
            if (Rgb565(c) == Rgb565(def.transparentColor) && c != def.transparentColor)
                ++strays;
        EXPECT_EQ(strays, 0);
    }
}

TEST(BuiltinPictures, EveryPatternShowsSomethingInSeveralColours)
{
    for (const PictureDef& def : StoredDefs())
    {
        const TBitmap bmp = Decode(def);
        std::set<TColor> colours;
        for (const Pattern& p : Patterns(def))
        {
            SCOPED_TRACE(std::string(def.name) + " pattern at " + std::to_string(p.x) + "," + std::to_string(p.y));
            const auto mask = Mask(bmp, def, p);
            const auto shown = std::count(mask.begin(), mask.end(), true);
            EXPECT_GE(shown * 10, p.w * p.h) << "less than a tenth of the pattern is visible";
            for (int y = 0; y < p.h; ++y)
                for (int x = 0; x < p.w; ++x)
                    if (mask[std::size_t(y * p.w + x)])
                        colours.insert(bmp.PixelAt(p.x + x, p.y + y));
        }
        EXPECT_GE(colours.size(), 6u) << def.name << " is nearly flat";
    }
}

// Patterns 0-1 animate an intact tank, 1-2 a damaged one and 3-4 a shielded one: all five must differ,
// and the shield reaches beyond the hull.
TEST(BuiltinPictures, TankStripsHoldFiveDistinctLooks)
{
    for (const PictureDef& def : StoredDefs())
    {
        const std::string name = def.name;
        if (name.rfind("MyTank", 0) != 0 && name.rfind("Tank", 0) != 0 && name != "EnemyBoss")
            continue;
        SCOPED_TRACE(name);
        const TBitmap bmp = Decode(def);
        const auto patterns = Patterns(def);
        ASSERT_EQ(patterns.size(), 5u);
        std::vector<std::vector<TColor>> looks;
        for (const Pattern& p : patterns)
        {
            std::vector<TColor> pixels;
            for (int y = 0; y < p.h; ++y)
                for (int x = 0; x < p.w; ++x)
                    pixels.push_back(bmp.PixelAt(p.x + x, p.y + y));
            looks.push_back(std::move(pixels));
        }
        for (std::size_t a = 0; a < looks.size(); ++a)
            for (std::size_t b = a + 1; b < looks.size(); ++b)
                EXPECT_NE(looks[a], looks[b]) << "patterns " << a << " and " << b << " are the same";
        const auto intact = Mask(bmp, def, patterns[0]), shielded = Mask(bmp, def, patterns[3]);
        EXPECT_GT(std::count(shielded.begin(), shielded.end(), true), std::count(intact.begin(), intact.end(), true));
    }
}

// Each direction picture is the same tank turned: Right is Up a quarter turn clockwise, Down a half turn,
// Left three quarters. Compared by silhouette, since each strip has its own colour table.
TEST(BuiltinPictures, DirectionPicturesFaceTheirDirection)
{
    const std::pair<const char*, const char*> kinds[] = {
        {"MyTank", "Up"}, {"Tank1", "UP"}, {"Tank2", "Up"}, {"Tank3", "Up"}, {"Tank4", "Up"}};
    for (const auto& [kind, upSuffix] : kinds)
    {
        SCOPED_TRACE(kind);
        const PictureDef& upDef = DefNamed(std::string(kind) + upSuffix);
        const TBitmap up = Decode(upDef);
        // The gun points at the top edge; the rear edge is clear behind the engine deck.
        EXPECT_TRUE(Visible(up, upDef, 16, 0));
        EXPECT_FALSE(Visible(up, upDef, 16, 31));
        const std::pair<const char*, int> turns[] = {{"Right", 1}, {"Down", 2}, {"Left", 3}};
        for (const auto& [direction, quarter] : turns)
        {
            const PictureDef& def = DefNamed(std::string(kind) + direction);
            const TBitmap bmp = Decode(def);
            const Pattern p = Patterns(def)[0];
            int mismatches = 0;
            for (int y = 0; y < 32; ++y)
                for (int x = 0; x < 32; ++x)
                {
                    int tx = x, ty = y;   // where pixel (x, y) of the Up tank goes after the turn
                    for (int q = 0; q < quarter; ++q)
                        std::tie(tx, ty) = std::pair(31 - ty, tx);
                    mismatches += Visible(up, upDef, x, y) != Visible(bmp, def, p.x + tx, p.y + ty);
                }
            EXPECT_EQ(mismatches, 0) << direction;
        }
    }
}

}  // namespace
}  // namespace vorlanex
