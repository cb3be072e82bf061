#pragma once
// A 32 x 32 painting surface for the terrain tiles, with the noise and shading helpers they are drawn with.
// Every function is a fixed integer or floating computation: the same bytes on every machine.

#include <array>
#include <cstdint>
#include <vector>

#include "framework/Types.h"

namespace vorlanex::assetgen {

inline constexpr int TileSize = 32;

struct Rgb
{
    double r = 0, g = 0, b = 0;
};

Rgb Mix(Rgb a, Rgb b, double t);
Rgb Scale(Rgb c, double factor);
Rgb FromHex(std::uint32_t rgb);   // 0xRRGGBB

// A hash in [0, 1) of a lattice point.
double TileHash(int x, int y, int seed);
// Smooth value noise over a lattice of period x period points spread over the tile, wrapping at the tile's
// edges so that equal tiles side by side join without a seam. `period` divides 32.
double TileNoise(double x, double y, int period, int seed);
// Three octaves of TileNoise, in [0, 1).
double TileFractal(double x, double y, int seed);

class TileCanvas
{
public:
    void Set(int x, int y, Rgb c);
    // Blends `c` over the pixel with weight `alpha`; a transparent pixel takes `c` as it is.
    void Blend(int x, int y, Rgb c, double alpha);
    void Clear(int x, int y);   // transparent
    Rgb At(int x, int y) const { return pixels[Index(x, y)]; }
    bool IsOpaque(int x, int y) const { return opaque[Index(x, y)]; }
    void FillRect(int x0, int y0, int x1, int y1, Rgb c);   // x1, y1 exclusive
    void Line(int x0, int y0, int x1, int y1, Rgb c, double alpha);

    // Transparent pixels become black, the tiles' colour key; opaque pixels are kept off the key.
    std::vector<TColor> ToColors() const;

private:
    static int Index(int x, int y) { return ((y & 31) << 5) | (x & 31); }
    std::array<Rgb, TileSize * TileSize> pixels{};
    std::array<bool, TileSize * TileSize> opaque{};
};

}  // namespace vorlanex::assetgen
