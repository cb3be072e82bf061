#include "Backgrounds.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>
#include <numbers>

#include "../Noise.h"
#include "framework/Bitmap.h"

namespace vorlanex::assetgen {

namespace {

// 256 divides every noise period below, so the pictures tile without seams.
constexpr int Size = 256;

struct Rgb
{
    double r, g, b;
};

Rgb Mix(Rgb a, Rgb b, double t) { return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t}; }
Rgb Scale(Rgb c, double f) { return {c.r * f, c.g * f, c.b * f}; }

// A fixed integer hash: the same picture on every machine and compiler.
double Hash(int x, int y, int seed) { return LatticeHash(x, y, seed); }

// Value noise on a lattice of `period` x `period` points that wraps at the picture's edge.
double Noise(double x, double y, int period, int seed) { return WrappingNoise(x, y, Size, period, seed); }

double Fractal(double x, double y, int seed)
{
    return 0.5 * Noise(x, y, 4, seed) + 0.25 * Noise(x, y, 8, seed + 1) + 0.15 * Noise(x, y, 16, seed + 2) +
           0.1 * Noise(x, y, 64, seed + 3);
}

double Wave(double v, double period) { return std::sin(2 * std::numbers::pi * v / period); }

Rgb Grass(int x, int y)
{
    const double n = Fractal(x, y, 11);
    Rgb c = Mix({34, 84, 28}, {96, 148, 58}, n);
    if (Hash(x, y, 12) > 0.93)
        c = Scale(c, 1.25);
    if (Noise(x, y, 32, 13) > 0.78)
        c = Mix(c, {128, 112, 64}, 0.35);   // dry patches
    return c;
}

Rgb Desert(int x, int y)
{
    const double ripple = Wave(y + 10 * Wave(x, 128) + 6 * Noise(x, y, 8, 21), 32);
    Rgb c = Mix({196, 160, 104}, {232, 204, 150}, 0.5 + 0.35 * ripple);
    return Scale(c, 0.92 + 0.16 * Hash(x, y, 22));
}

Rgb Snowfield(int x, int y)
{
    const double n = Fractal(x, y, 31);
    Rgb c = Mix({188, 204, 222}, {246, 250, 255}, n);
    return Scale(c, 0.97 + 0.03 * Hash(x, y, 32));
}

Rgb Dirt(int x, int y)
{
    Rgb c = Mix({86, 60, 38}, {146, 108, 70}, Fractal(x, y, 41));
    // Pebbles: one per 16-pixel cell at a hashed spot, wrapping with the picture.
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
        {
            const int cx = (x / 16 + dx + 16) % 16, cy = (y / 16 + dy + 16) % 16;
            if (Hash(cx, cy, 46) > 0.45)
                continue;
            const double px = (x / 16 + dx) * 16 + 16 * Hash(cx, cy, 42), py = (y / 16 + dy) * 16 + 16 * Hash(cx, cy, 43);
            const double r = 1.5 + 2.5 * Hash(cx, cy, 44);
            const double d = std::hypot(x - px, y - py);
            if (d < r)
                c = Mix({120, 112, 100}, {170, 160, 146}, 1 - d / r);
        }
    return Scale(c, 0.94 + 0.12 * Hash(x, y, 45));
}

Rgb Pavement(int x, int y)
{
    const int sx = x / 64, sy = y / 64, ox = x % 64, oy = y % 64;
    if (ox < 2 || oy < 2)
        return {58, 58, 62};
    Rgb c = Scale({128, 128, 132}, 0.9 + 0.2 * Hash(sx, sy, 51));
    c = Mix(c, {96, 98, 104}, 0.5 * Noise(x, y, 16, 52));
    if (ox == 2 || oy == 2)
        c = Scale(c, 1.15);
    return Scale(c, 0.95 + 0.1 * Hash(x, y, 53));
}

Rgb Rock(int x, int y)
{
    const double n = Fractal(x, y, 61);
    Rgb c = Mix({62, 60, 58}, {132, 126, 118}, n);
    const double vein = std::abs(Noise(x, y, 8, 62) - 0.5);
    if (vein < 0.018)
        c = Scale(c, 0.55);   // cracks
    return Scale(c, 0.93 + 0.14 * Hash(x, y, 63));
}

const std::map<std::string, std::function<Rgb(int, int)>>& Painters()
{
    static const std::map<std::string, std::function<Rgb(int, int)>> painters = {
        {"草地.BMP", Grass}, {"沙漠.BMP", Desert}, {"雪原.BMP", Snowfield},
        {"泥地.BMP", Dirt},  {"城市.BMP", Pavement}, {"岩地.BMP", Rock},
    };
    return painters;
}

}  // namespace

std::optional<std::vector<std::uint8_t>> PaintBackground(const std::string& fileName)
{
    const auto it = Painters().find(fileName);
    if (it == Painters().end())
        return std::nullopt;
    std::vector<TColor> pixels(std::size_t(Size) * Size);
    auto channel = [](double v) { return std::uint8_t(std::clamp(std::lround(v), 0L, 255L)); };
    for (int y = 0; y < Size; ++y)
        for (int x = 0; x < Size; ++x)
        {
            const Rgb c = it->second(x, y);
            pixels[std::size_t(y) * Size + std::size_t(x)] = RGBColor(channel(c.r), channel(c.g), channel(c.b));
        }
    return TBitmap::TrueColor(Size, Size, std::move(pixels)).ToBmp();
}

std::vector<std::string> BackgroundNames()
{
    std::vector<std::string> names;
    for (const auto& [name, painter] : Painters())
        names.push_back(name);
    return names;
}

}  // namespace vorlanex::assetgen
