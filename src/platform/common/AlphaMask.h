#pragma once
// Coverage masks of rendered text and their blending onto RGB565 pixels. Kept apart from any font library so
// the blending can be checked without one.

#include <cstdint>
#include <vector>

#include "platform/Platform.h"

namespace vorlanex {

// One byte of coverage per pixel, rows packed (pitch = width).
struct AlphaMask
{
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> alpha;
};

// Blends `colour` onto the target where the mask covers it, the mask's top-left at (x, y); clipped to the target.
void BlendMask(PixelView target, int x, int y, const AlphaMask& mask, std::uint8_t r, std::uint8_t g,
               std::uint8_t b);

}  // namespace vorlanex
