// Pattern drawing against SDL's own colour-keyed blit, and the title's turned translucent logo.

#include <benchmark/benchmark.h>

#include <SDL.h>

#include <array>
#include <cstring>

#include "framework/Bitmap.h"
#include "framework/Display.h"
#include "framework/PictureCollection.h"

namespace vorlanex {
namespace {

// A sprite-like 32 x 32 picture: a round hull with a turret slot, black (keyed) around it.
TBitmap TankPicture()
{
    std::vector<TColor> pixels(32 * 32);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            const int dx = x - 16, dy = y - 16;
            const bool inside = dx * dx + dy * dy < 15 * 15 && !(x >= 14 && x <= 17 && y < 6);
            pixels[std::size_t(y * 32 + x)] =
                inside ? RGBColor(std::uint8_t(60 + x * 4), std::uint8_t(90 + y * 3), 40) : clBlack;
        }
    return TBitmap::TrueColor(32, 32, std::move(pixels));
}

TBitmap LogoPicture()
{
    std::vector<TColor> pixels(400 * 200);
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 400; ++x) {
            const bool letter = ((x / 40) % 2 == 0 && y > 30 && y < 170) || (y > 90 && y < 110);
            pixels[std::size_t(y * 400 + x)] = letter ? RGBColor(std::uint8_t(x / 2), std::uint8_t(y), 200) : clBlack;
        }
    return TBitmap::TrueColor(400, 200, std::move(pixels));
}

// Spread over the whole back surface, a few of them hanging over an edge as sprites do.
std::array<std::pair<int, int>, 64> Positions()
{
    std::array<std::pair<int, int>, 64> at{};
    for (std::size_t i = 0; i < at.size(); ++i)
        at[i] = {int((i * 397) % 1040) - 16, int((i * 211) % 784) - 16};
    return at;
}

void BM_DrawPattern32Keyed(benchmark::State& state)
{
    TDXDraw display;
    TPictureCollection list;
    TPictureCollectionItem& tank = list.Add();
    tank.Picture = TankPicture();
    tank.Load(display);
    TDirectDrawSurface back(1024, 768);
    const auto at = Positions();
    std::size_t i = 0;
    for (auto _ : state) {
        const auto [x, y] = at[i++ & 63];
        tank.DrawPattern(back, x, y, 0);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_DrawPattern32Keyed);

void BM_SDLBlit32Keyed(benchmark::State& state)
{
    const TBitmap picture = TankPicture();
    SDL_Surface* pattern = SDL_CreateRGBSurfaceWithFormat(0, 32, 32, 16, SDL_PIXELFORMAT_RGB565);
    SDL_Surface* back = SDL_CreateRGBSurfaceWithFormat(0, 1024, 768, 16, SDL_PIXELFORMAT_RGB565);
    if (!pattern || !back) {
        state.SkipWithError("SDL could not make the surfaces");
        return;
    }
    for (int y = 0; y < 32; ++y) {
        auto* row = reinterpret_cast<std::uint16_t*>(static_cast<std::uint8_t*>(pattern->pixels) + y * pattern->pitch);
        for (int x = 0; x < 32; ++x)
            row[x] = Rgb565(picture.PixelAt(x, y));
    }
    SDL_SetColorKey(pattern, SDL_TRUE, Rgb565(clBlack));
    const auto at = Positions();
    std::size_t i = 0;
    for (auto _ : state) {
        const auto [x, y] = at[i++ & 63];
        SDL_Rect to{x, y, 32, 32};
        SDL_BlitSurface(pattern, nullptr, back, &to);
        benchmark::ClobberMemory();
    }
    SDL_FreeSurface(pattern);
    SDL_FreeSurface(back);
}
BENCHMARK(BM_SDLBlit32Keyed);

void BM_DrawPatternRotatedAlphaLogo(benchmark::State& state)
{
    TDXDraw display;
    TPictureCollection list;
    TPictureCollectionItem& logo = list.Add();
    logo.Picture = LogoPicture();
    logo.SystemMemory = true;
    logo.Load(display);
    TDirectDrawSurface back(1024, 768);
    int frame = 0;
    for (auto _ : state) {
        const int alpha = int(std::abs(TurnCos(frame)) * 255);
        logo.DrawPatternRotatedAlpha(back, 512, 384, 400, 200, 0, 0.5, 0.5, frame, alpha == 0 ? 1 : alpha);
        ++frame;
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_DrawPatternRotatedAlphaLogo)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace vorlanex
