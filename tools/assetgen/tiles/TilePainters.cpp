#include "TilePainters.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace vorlanex::assetgen {

namespace {

constexpr double Pi = std::numbers::pi;
const Rgb White{255, 255, 255};
const Rgb Shadow{12, 12, 16};

// Rows of bricks 8 pixels high, 16 wide, every other row shifted by half a brick; light mortar between.
void PaintBrick(TileCanvas& c, Rgb base)
{
    const Rgb mortar{196, 186, 164};
    for (int y = 0; y < TileSize; ++y)
        for (int x = 0; x < TileSize; ++x)
        {
            const int row = y / 8, shift = (row % 2) * 8;
            const int bx = (x + shift) % 16, by = y % 8;
            const int brick = ((x + shift) / 16) % 2 + row * 2;
            if (by == 7 || bx == 15)
            {
                c.Set(x, y, Scale(mortar, 0.9 + 0.15 * TileHash(x, y, 3)));
                continue;
            }
            Rgb col = Scale(base, 0.85 + 0.3 * TileHash(brick, 0, 7));
            col = Scale(col, 0.92 + 0.16 * TileNoise(x, y, 16, 5));
            if (by == 0 || bx == 0)
                col = Mix(col, White, 0.22);
            else if (by == 6 || bx == 14)
                col = Mix(col, Shadow, 0.3);
            if (TileHash(x, y, 11) > 0.93)
                col = Mix(col, Shadow, 0.25);
            c.Set(x, y, col);
        }
}

// Four square blocks with bevelled edges and speckled faces.
void PaintStoneBlock(TileCanvas& c, Rgb base)
{
    for (int y = 0; y < TileSize; ++y)
        for (int x = 0; x < TileSize; ++x)
        {
            const int bx = x % 16, by = y % 16, block = (x / 16) + 2 * (y / 16);
            Rgb col = Scale(base, 0.9 + 0.12 * TileHash(block, 1, 21));
            col = Scale(col, 0.88 + 0.2 * TileFractal(x, y, 23));
            if (TileHash(x, y, 29) > 0.9)
                col = Scale(col, 0.8);
            if (bx < 2 || by < 2)
                col = Mix(col, White, bx == 0 || by == 0 ? 0.45 : 0.25);
            if (bx > 13 || by > 13)
                col = Mix(col, Shadow, bx == 15 || by == 15 ? 0.6 : 0.35);
            c.Set(x, y, col);
        }
}

// One riveted plate: bevelled rim, a brushed face with a diagonal sheen.
void PaintSteel(TileCanvas& c, Rgb base)
{
    for (int y = 0; y < TileSize; ++y)
        for (int x = 0; x < TileSize; ++x)
        {
            const double sheen = std::exp(-std::pow((x - y) / 7.0, 2));
            Rgb col = Scale(base, 0.88 + 0.06 * TileHash(0, y, 31) + 0.04 * TileHash(x, y, 37));
            col = Mix(col, White, 0.35 * sheen);
            const int edge = std::min({x, y, 31 - x, 31 - y});
            if (edge < 3)
                col = (x < 31 - y) ? Mix(col, White, 0.5 - 0.12 * edge) : Mix(col, Shadow, 0.6 - 0.15 * edge);
            c.Set(x, y, col);
        }
    const int rivets[4][2] = {{7, 7}, {24, 7}, {7, 24}, {24, 24}};
    for (const auto& r : rivets)
        for (int dy = -2; dy <= 2; ++dy)
            for (int dx = -2; dx <= 2; ++dx)
            {
                const double d = std::hypot(dx, dy);
                if (d > 2.3)
                    continue;
                const double light = 0.5 - 0.25 * (dx + dy);
                c.Set(r[0] + dx, r[1] + dy, light > 0.5 ? Mix(base, White, light - 0.3) : Mix(base, Shadow, 0.6 - light));
            }
}

// Rolling waves that join across tiles, with bright crests and a few glints.
void PaintWater(TileCanvas& c, Rgb base)
{
    const Rgb crest = Mix(base, White, 0.55);
    for (int y = 0; y < TileSize; ++y)
        for (int x = 0; x < TileSize; ++x)
        {
            const double w = std::sin(2 * Pi * (y + 3 * std::sin(2 * Pi * x / 32.0)) / 8.0);
            Rgb col = Scale(base, 0.85 + 0.3 * TileFractal(x, y, 41));
            if (w > 0.8)
                col = Mix(col, crest, (w - 0.8) * 3.5);
            else if (w < -0.6)
                col = Scale(col, 0.85);
            if (TileHash(x, y, 43) > 0.985)
                col = Mix(col, White, 0.8);
            c.Set(x, y, col);
        }
}

// Round crowns over a transparent floor, lit from the top left: what lies beneath shows through the gaps.
void PaintCrowns(TileCanvas& c, Rgb base, const double (*crowns)[3], int count, int seed)
{
    const Rgb light = Mix(base, Rgb{230, 240, 120}, 0.45);
    const Rgb dark = Scale(base, 0.4);
    for (int i = 0; i < count; ++i)
    {
        const double cx = crowns[i][0], cy = crowns[i][1], r = crowns[i][2];
        for (int y = int(cy - r) - 1; y <= int(cy + r) + 1; ++y)
            for (int x = int(cx - r) - 1; x <= int(cx + r) + 1; ++x)
            {
                if (x < 0 || y < 0 || x >= TileSize || y >= TileSize)
                    continue;
                const double d = std::hypot(x + 0.5 - cx, y + 0.5 - cy) / r;
                const double leaf = TileHash(x, y, seed + i);
                if (d > 1.0 || (d > 0.85 && leaf > 0.6))
                    continue;
                const double lit = std::clamp(0.55 - 0.5 * ((x + 0.5 - cx) + (y + 0.5 - cy)) / r, 0.0, 1.0);
                Rgb col = lit > 0.5 ? Mix(base, light, (lit - 0.5) * 1.6) : Mix(dark, base, lit * 2);
                col = Scale(col, 0.85 + 0.3 * leaf);
                c.Set(x, y, Mix(col, dark, std::max(0.0, d - 0.75)));
            }
    }
}

void PaintTrees(TileCanvas& c, Rgb base)
{
    static const double crowns[][3] = {{9, 10, 9}, {23, 9, 9}, {8, 24, 8}, {23, 23, 9.5}, {16, 16, 8}};
    PaintCrowns(c, base, crowns, 5, 51);
}

void PaintBushes(TileCanvas& c, Rgb base)
{
    static const double crowns[][3] = {{7, 8, 6}, {22, 6, 5}, {15, 17, 7}, {6, 26, 5}, {26, 25, 6}};
    PaintCrowns(c, base, crowns, 5, 61);
    for (int i = 0; i < 6; ++i)   // a few blossoms
    {
        const int x = int(TileHash(i, 0, 67) * 32), y = int(TileHash(i, 1, 67) * 32);
        if (c.IsOpaque(x, y))
            c.Set(x, y, Rgb{236, 214, 96});
    }
}

// Mottled grass with short blades.
void PaintGrass(TileCanvas& c, Rgb base)
{
    for (int y = 0; y < TileSize; ++y)
        for (int x = 0; x < TileSize; ++x)
            c.Set(x, y, Scale(base, 0.8 + 0.4 * TileFractal(x, y, 71)));
    for (int i = 0; i < 40; ++i)
    {
        const int x = int(TileHash(i, 0, 73) * 32), y = int(TileHash(i, 1, 73) * 32);
        const bool bright = TileHash(i, 2, 73) > 0.5;
        const Rgb blade = bright ? Mix(base, Rgb{200, 230, 110}, 0.45) : Scale(base, 0.6);
        c.Line(x, y, x + (TileHash(i, 3, 73) > 0.5 ? 1 : -1), y - 2, blade, 0.8);
    }
}

// Sand with wind ripples and a few pebbles.
void PaintSand(TileCanvas& c, Rgb base)
{
    for (int y = 0; y < TileSize; ++y)
        for (int x = 0; x < TileSize; ++x)
        {
            const double ripple = std::sin(2 * Pi * (y + x / 2.0) / 8.0);
            Rgb col = Scale(base, 0.9 + 0.16 * TileFractal(x, y, 81) + 0.05 * ripple);
            if (TileHash(x, y, 83) > 0.96)
                col = Scale(col, 0.78);
            c.Set(x, y, col);
        }
}

// Smooth ice: a cool sheen, fine cracks and glints.
void PaintIce(TileCanvas& c, Rgb base)
{
    for (int y = 0; y < TileSize; ++y)
        for (int x = 0; x < TileSize; ++x)
        {
            const double sheen = 0.5 + 0.5 * std::sin(2 * Pi * (x + y) / 32.0);
            c.Set(x, y, Mix(Scale(base, 0.92 + 0.08 * TileNoise(x, y, 4, 91)), White, 0.3 * sheen));
        }
    const Rgb crack = Scale(base, 0.72);
    c.Line(3, 5, 12, 13, crack, 0.8);
    c.Line(12, 13, 10, 22, crack, 0.8);
    c.Line(12, 13, 21, 16, crack, 0.7);
    c.Line(21, 16, 29, 27, crack, 0.6);
    c.Line(20, 2, 24, 8, crack, 0.5);
    for (int i = 0; i < 5; ++i)
        c.Blend(int(TileHash(i, 0, 97) * 32), int(TileHash(i, 1, 97) * 32), White, 0.9);
}

// Packed earth with pebbles and faint tyre marks.
void PaintDirt(TileCanvas& c, Rgb base)
{
    for (int y = 0; y < TileSize; ++y)
        for (int x = 0; x < TileSize; ++x)
        {
            Rgb col = Scale(base, 0.82 + 0.3 * TileFractal(x, y, 101));
            if (TileHash(x, y, 103) > 0.95)
                col = Mix(col, Rgb{200, 190, 170}, 0.5);
            else if (TileHash(x, y, 107) > 0.95)
                col = Scale(col, 0.7);
            c.Set(x, y, col);
        }
}

// Cobbles of 8 x 8 with dark joints and rounded, individually tinted tops.
void PaintCobbles(TileCanvas& c, Rgb base)
{
    for (int y = 0; y < TileSize; ++y)
        for (int x = 0; x < TileSize; ++x)
        {
            const int row = y / 8, shift = (row % 2) * 4;
            const int sx = (x + shift) % 8, sy = y % 8, stone = ((x + shift) / 8) % 4 + row * 4;
            if (sx == 7 || sy == 7)
            {
                c.Set(x, y, Scale(base, 0.45));
                continue;
            }
            Rgb col = Scale(base, 0.85 + 0.25 * TileHash(stone, 0, 111));
            const double dx = sx - 3, dy = sy - 3;
            col = Mix(col, White, std::max(0.0, 0.25 - 0.06 * (dx + dy + 3)));
            if ((sx == 0 && sy == 0) || (sx == 6 && sy == 6) || (sx == 0 && sy == 6) || (sx == 6 && sy == 0))
                col = Scale(base, 0.55);
            c.Set(x, y, col);
        }
}

// A wooden crate: frame, horizontal boards and a diagonal brace.
void PaintCrate(TileCanvas& c, Rgb base)
{
    for (int y = 0; y < TileSize; ++y)
        for (int x = 0; x < TileSize; ++x)
        {
            const double grain = 0.85 + 0.12 * std::sin(x * 0.9 + 3 * TileNoise(x, y, 8, 121)) + 0.06 * TileHash(x, y, 123);
            Rgb col = Scale(base, grain);
            if (y % 8 == 0)
                col = Scale(base, 0.55);
            c.Set(x, y, col);
        }
    const Rgb frame = Scale(base, 0.7);
    for (int i = 0; i < TileSize; ++i)
        for (int k = 0; k < 3; ++k)
        {
            c.Set(i, k, Mix(frame, White, k == 0 ? 0.2 : 0));
            c.Set(k, i, Mix(frame, White, k == 0 ? 0.2 : 0));
            c.Set(i, 31 - k, Mix(frame, Shadow, k == 0 ? 0.45 : 0.1));
            c.Set(31 - k, i, Mix(frame, Shadow, k == 0 ? 0.45 : 0.1));
        }
    for (int i = 3; i < 29; ++i)
        for (int w = -1; w <= 1; ++w)
            c.Set(i, std::clamp(31 - i + w, 3, 28), Mix(frame, Shadow, w == 1 ? 0.3 : 0));
    for (const int x : {5, 26})
        for (const int y : {5, 26})
            c.Set(x, y, Rgb{70, 70, 76});
}

struct Look
{
    const char* name;
    TilePainter painter;
};

constexpr Look Looks[] = {
    {"brick", PaintBrick},   {"stone-block", PaintStoneBlock}, {"steel", PaintSteel}, {"water", PaintWater},
    {"trees", PaintTrees},   {"bushes", PaintBushes},          {"grass", PaintGrass}, {"sand", PaintSand},
    {"ice", PaintIce},       {"dirt", PaintDirt},              {"cobbles", PaintCobbles}, {"crate", PaintCrate},
};

}  // namespace

TilePainter FindTilePainter(std::string_view look)
{
    for (const Look& l : Looks)
        if (look == l.name)
            return l.painter;
    return nullptr;
}

std::vector<std::string> TileLookNames()
{
    std::vector<std::string> names;
    for (const Look& l : Looks)
        names.emplace_back(l.name);
    return names;
}

}  // namespace vorlanex::assetgen
