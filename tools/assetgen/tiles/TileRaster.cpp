#include "TileRaster.h"

#include "../Noise.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace vorlanex::assetgen {

Rgb Mix(Rgb a, Rgb b, double t) { return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t}; }

Rgb Scale(Rgb c, double factor) { return {c.r * factor, c.g * factor, c.b * factor}; }

Rgb FromHex(std::uint32_t rgb) { return {double((rgb >> 16) & 0xFF), double((rgb >> 8) & 0xFF), double(rgb & 0xFF)}; }

double TileHash(int x, int y, int seed) { return LatticeHash(x, y, seed); }

double TileNoise(double x, double y, int period, int seed) { return WrappingNoise(x, y, TileSize, period, seed); }

double TileFractal(double x, double y, int seed)
{
    return 0.55 * TileNoise(x, y, 4, seed) + 0.3 * TileNoise(x, y, 8, seed + 1) + 0.15 * TileNoise(x, y, 16, seed + 2);
}

void TileCanvas::Set(int x, int y, Rgb c)
{
    pixels[Index(x, y)] = c;
    opaque[Index(x, y)] = true;
}

void TileCanvas::Blend(int x, int y, Rgb c, double alpha)
{
    if (!opaque[Index(x, y)])
        Set(x, y, c);
    else
        pixels[Index(x, y)] = Mix(pixels[Index(x, y)], c, std::clamp(alpha, 0.0, 1.0));
}

void TileCanvas::Clear(int x, int y) { opaque[Index(x, y)] = false; }

void TileCanvas::FillRect(int x0, int y0, int x1, int y1, Rgb c)
{
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x)
            Set(x, y, c);
}

void TileCanvas::Line(int x0, int y0, int x1, int y1, Rgb c, double alpha)
{
    const int steps = std::max(std::abs(x1 - x0), std::abs(y1 - y0));
    for (int i = 0; i <= steps; ++i)
    {
        const double t = steps == 0 ? 0 : double(i) / steps;
        Blend(int(std::lround(x0 + (x1 - x0) * t)), int(std::lround(y0 + (y1 - y0) * t)), c, alpha);
    }
}

std::vector<TColor> TileCanvas::ToColors() const
{
    std::vector<TColor> out(pixels.size(), clBlack);
    for (std::size_t i = 0; i < pixels.size(); ++i)
    {
        if (!opaque[i])
            continue;
        auto channel = [](double v) { return std::uint8_t(std::lround(std::clamp(v, 0.0, 255.0))); };
        TColor c = RGBColor(channel(pixels[i].r), channel(pixels[i].g), channel(pixels[i].b));
        if (Rgb565(c) == Rgb565(clBlack))
            c = RGBColor(8, 8, 8);   // near-black that survives the 16-bit colour key
        out[i] = c;
    }
    return out;
}

}  // namespace vorlanex::assetgen
