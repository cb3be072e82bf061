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

std::vector<PictureSpec> StoredSpecs()
{
    std::vector<PictureSpec> specs;
    for (const PictureSpec& s : kImageListSpec)
        if (!*s.fileName)
            specs.push_back(s);
    for (const PictureSpec& s : kDXImageListSpec)
        specs.push_back(s);
    return specs;
}

const std::vector<AssetEntry>& Archive()
{
    static const std::vector<AssetEntry> entries = ReadAssetArchive(BuiltinAssetArchive());
    return entries;
}

TBitmap Decode(const PictureSpec& spec)
{
    const AssetEntry* entry = FindAsset(Archive(), AssetKind::Picture, spec.name);
    if (!entry)
        throw std::runtime_error(std::string("missing ") + spec.name);
    return TBitmap::FromBytes(entry->bytes, spec.name);
}

bool Visible(const TBitmap& bmp, const PictureSpec& spec, int x, int y)
{
    return !spec.transparent || Rgb565(bmp.PixelAt(x, y)) != Rgb565(spec.transparentColor);
}

struct Pattern
{
    int x, y, w, h;
};

std::vector<Pattern> Patterns(const PictureSpec& spec)
{
    const int pw = spec.patternWidth > 0 ? spec.patternWidth : spec.width;
    const int ph = spec.patternHeight > 0 ? spec.patternHeight : spec.height;
    std::vector<Pattern> out;
    for (int row = 0; row < spec.height / ph; ++row)
        for (int col = 0; col < spec.width / pw; ++col)
            out.push_back({col * pw, row * ph, pw, ph});
    return out;
}

std::vector<bool> Mask(const TBitmap& bmp, const PictureSpec& spec, const Pattern& p)
{
    std::vector<bool> mask;
    for (int y = 0; y < p.h; ++y)
        for (int x = 0; x < p.w; ++x)
            mask.push_back(Visible(bmp, spec, p.x + x, p.y + y));
    return mask;
}

const PictureSpec& SpecNamed(const std::string& name)
{
    for (const PictureSpec& s : kImageListSpec)
        if (name == s.name)
            return s;
    throw std::runtime_error("no spec " + name);
}

TEST(BuiltinPictures, ArchiveHoldsExactlyTheStoredItemsOfBothCatalogues)
{
    std::multiset<std::string> stored;
    for (const AssetEntry& e : Archive())
        if (e.kind == AssetKind::Picture)
            stored.insert(e.name);
    std::multiset<std::string> expected;
    for (const PictureSpec& s : StoredSpecs())
        expected.insert(s.name);
    EXPECT_EQ(stored, expected);
}

TEST(BuiltinPictures, EachPictureHasItsStoredSizeDepthAndColourTable)
{
    for (const PictureSpec& spec : StoredSpecs())
    {
        SCOPED_TRACE(spec.name);
        const TBitmap bmp = Decode(spec);
        EXPECT_EQ(bmp.Width(), spec.width);
        EXPECT_EQ(bmp.Height(), spec.height);
        EXPECT_EQ(bmp.BitCount(), spec.bitCount);
        if (spec.bitCount == 8)
        {
            EXPECT_FALSE(bmp.Palette().empty());
        }
    }
}

// The game keys on the 16-bit value of the transparent colour: a visible pixel that merely comes close to the
// key would punch a hole into the sprite.
TEST(BuiltinPictures, OnlyTheExactKeyColourLandsOnTheKeyValue)
{
    for (const PictureSpec& spec : StoredSpecs())
    {
        SCOPED_TRACE(spec.name);
        const TBitmap bmp = Decode(spec);
        int strays = 0;
        for (TColor c : bmp.Pixels())
            if (Rgb565(c) == Rgb565(spec.transparentColor) && c != spec.transparentColor)
                ++strays;
        EXPECT_EQ(strays, 0);
    }
}

TEST(BuiltinPictures, EveryPatternShowsSomethingInSeveralColours)
{
    for (const PictureSpec& spec : StoredSpecs())
    {
        const TBitmap bmp = Decode(spec);
        std::set<TColor> colours;
        for (const Pattern& p : Patterns(spec))
        {
            SCOPED_TRACE(std::string(spec.name) + " pattern at " + std::to_string(p.x) + "," + std::to_string(p.y));
            const auto mask = Mask(bmp, spec, p);
            const auto shown = std::count(mask.begin(), mask.end(), true);
            EXPECT_GE(shown * 10, p.w * p.h) << "less than a tenth of the pattern is visible";
            for (int y = 0; y < p.h; ++y)
                for (int x = 0; x < p.w; ++x)
                    if (mask[std::size_t(y * p.w + x)])
                        colours.insert(bmp.PixelAt(p.x + x, p.y + y));
        }
        EXPECT_GE(colours.size(), 6u) << spec.name << " is nearly flat";
    }
}

// Patterns 0-1 animate an intact tank, 1-2 a damaged one and 3-4 a shielded one: all five must differ,
// and the shield reaches beyond the hull.
TEST(BuiltinPictures, TankStripsHoldFiveDistinctLooks)
{
    for (const PictureSpec& spec : StoredSpecs())
    {
        const std::string name = spec.name;
        if (name.rfind("MyTank", 0) != 0 && name.rfind("Tank", 0) != 0 && name != "EnemyBoss")
            continue;
        SCOPED_TRACE(name);
        const TBitmap bmp = Decode(spec);
        const auto patterns = Patterns(spec);
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
        const auto intact = Mask(bmp, spec, patterns[0]), shielded = Mask(bmp, spec, patterns[3]);
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
        const PictureSpec& upSpec = SpecNamed(std::string(kind) + upSuffix);
        const TBitmap up = Decode(upSpec);
        // The gun points at the top edge; the rear edge is clear behind the engine deck.
        EXPECT_TRUE(Visible(up, upSpec, 16, 0));
        EXPECT_FALSE(Visible(up, upSpec, 16, 31));
        const std::pair<const char*, int> turns[] = {{"Right", 1}, {"Down", 2}, {"Left", 3}};
        for (const auto& [direction, quarter] : turns)
        {
            const PictureSpec& spec = SpecNamed(std::string(kind) + direction);
            const TBitmap bmp = Decode(spec);
            const Pattern p = Patterns(spec)[0];
            int mismatches = 0;
            for (int y = 0; y < 32; ++y)
                for (int x = 0; x < 32; ++x)
                {
                    int tx = x, ty = y;   // where pixel (x, y) of the Up tank goes after the turn
                    for (int q = 0; q < quarter; ++q)
                        std::tie(tx, ty) = std::pair(31 - ty, tx);
                    mismatches += Visible(up, upSpec, x, y) != Visible(bmp, spec, p.x + tx, p.y + ty);
                }
            EXPECT_EQ(mismatches, 0) << direction;
        }
    }
}

}  // namespace
}  // namespace vorlanex
