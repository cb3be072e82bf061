// Explosions: clusters of fire puffs that swell, then turn to smoke. The strips loop from a random start,
// so every frame is a full fireball on its own; the sequence only shifts it from flash to smoke.

#include <cmath>
#include <numbers>

#include "Pictures.h"

namespace vorlanex::assetgen {

namespace {

struct FirePalette
{
    Colour core, flame, ember, smoke;
};

constexpr FirePalette kOrange{Rgb(255, 246, 200), Rgb(255, 176, 40), Rgb(214, 70, 20), Rgb(86, 76, 70)};
constexpr FirePalette kCrimson{Rgb(255, 220, 210), Rgb(255, 90, 60), Rgb(190, 24, 30), Rgb(90, 40, 44)};

// t runs from 0 (flash) to 1 (mostly smoke); each frame scatters its puffs anew so the loop boils.
Canvas DrawBlast(int size, double t, std::uint32_t seed, const FirePalette& fire)
{
    Canvas c(size, size);
    Dice dice(seed);
    const double mid = size / 2.0, reach = size * (0.16 + 0.16 * t);
    const int puffs = 9;
    c.Fill(Circle(mid, mid, size * (0.26 + 0.06 * t)), Mix(fire.ember, fire.smoke, std::clamp(t * 1.4 - 0.3, 0.0, 1.0)));
    for (int layer = 0; layer < 3; ++layer)
    {
        Dice layout(seed);
        for (int i = 0; i < puffs; ++i)
        {
            const double a = layout.Range(0, 2 * std::numbers::pi), d = layout.Range(0.2, 1.0) * reach;
            const double r = size * layout.Range(0.13, 0.2) * (1.0 - 0.28 * layer) * (0.9 + 0.4 * t);
            const double x = mid + d * std::cos(a), y = mid + d * std::sin(a);
            const Colour outer = Mix(fire.ember, fire.smoke, std::clamp(t * 1.5 - 0.2, 0.0, 1.0));
            const Colour colour = layer == 0 ? outer : layer == 1 ? Mix(fire.flame, fire.ember, t) : Mix(fire.core, fire.flame, t);
            c.Fill(Circle(x, y, r), colour, layer == 0 ? 1.0 : 0.9);
        }
    }
    // Sparks thrown out at the start, a bright heart that fades.
    for (int i = 0; i < 6; ++i)
    {
        const double a = dice.Range(0, 2 * std::numbers::pi), d = std::min(reach * (1.5 + 0.5 * t), mid - 2);
        c.Fill(Circle(mid + d * std::cos(a), mid + d * std::sin(a), size * 0.035 + 0.5), fire.flame);
    }
    c.Fill(Circle(mid, mid, size * 0.14 * (1.0 - t)), fire.core, 0.9);
    return c;
}

Canvas DrawSequence(int size, int frames, std::uint32_t seed, const FirePalette& fire, bool horizontal)
{
    std::vector<Canvas> out;
    for (int i = 0; i < frames; ++i)
        out.push_back(DrawBlast(size, double(i) / double(frames), seed + std::uint32_t(i * 7), fire));
    return Strip(out, horizontal);
}

}  // namespace

void AddExplosionPictures(PictureBook& book)
{
    book["Explosion"] = DrawSequence(32, 4, 11, kOrange, true);
    book["ExplosionRed"] = DrawSequence(32, 5, 23, kCrimson, false);
    book["BigExplosion"] = DrawSequence(64, 6, 37, kOrange, false);
}

}  // namespace vorlanex::assetgen
