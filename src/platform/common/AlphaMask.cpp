#include "platform/common/AlphaMask.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace vorlanex {

namespace {

struct Rgb
{
    unsigned r, g, b;
};

std::uint16_t Pack565(unsigned r, unsigned g, unsigned b)
{
    return std::uint16_t(((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3));
}

// Mixes in 8 bits a channel; the destination is widened by bit replication so full intensity stays full.
std::uint16_t Mix(std::uint16_t dst, const Rgb& colour, unsigned a)
{
    const unsigned r5 = (dst >> 11) & 31, g6 = (dst >> 5) & 63, b5 = dst & 31;
    const unsigned dr = (r5 << 3) | (r5 >> 2), dg = (g6 << 2) | (g6 >> 4), db = (b5 << 3) | (b5 >> 2);
    const unsigned keep = 255 - a;
    return Pack565((colour.r * a + dr * keep + 127) / 255, (colour.g * a + dg * keep + 127) / 255,
                   (colour.b * a + db * keep + 127) / 255);
}

void Cover(std::uint16_t& dst, std::uint16_t solid, const Rgb& colour, std::uint8_t a)
{
    if (a == 255)
        dst = solid;
    else if (a != 0)
        dst = Mix(dst, colour, a);
}

// Cover for eight pixels at once, in 16-bit lanes: the same sums as Mix, and x / 255 as (x + 1 + (x >> 8)) >> 8,
// which is exact for every x below 65535 (the sums stay below 65153). No coverage and full coverage need no
// test: they come out as the pixel beneath and the solid colour.
void CoverEight(std::uint16_t* dst, const std::uint8_t* cover, const Rgb& colour)
{
    using Lanes = std::uint16_t __attribute__((vector_size(16)));
    using Bytes = std::uint8_t __attribute__((vector_size(8)));
    Bytes coverBytes;
    Lanes below;
    std::memcpy(&coverBytes, cover, sizeof coverBytes);
    std::memcpy(&below, dst, sizeof below);
    const Lanes a = __builtin_convertvector(coverBytes, Lanes);
    const Lanes keep = 255 - a;
    const auto mix = [&](Lanes wide, unsigned c) {
        const Lanes x = (Lanes{} + std::uint16_t(c)) * a + wide * keep + 127;
        return (x + 1 + (x >> 8)) >> 8;
    };
    const Lanes r5 = (below >> 11) & 31, g6 = (below >> 5) & 63, b5 = below & 31;
    const Lanes r = mix((r5 << 3) | (r5 >> 2), colour.r);
    const Lanes g = mix((g6 << 2) | (g6 >> 4), colour.g);
    const Lanes b = mix((b5 << 3) | (b5 >> 2), colour.b);
    const Lanes mixed = ((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3);
    std::memcpy(dst, &mixed, sizeof mixed);
}

}  // namespace

void BlendMask(PixelView target, int x, int y, const AlphaMask& mask, std::uint8_t r, std::uint8_t g,
               std::uint8_t b)
{
    if (!target.pixels || target.pitch < target.width || mask.width <= 0 || mask.height <= 0 ||
        mask.alpha.size() < std::size_t(mask.width) * std::size_t(mask.height))
        return;
    // Clip in 64 bits: a caller may pass coordinates far outside the target.
    const long long left = std::max<long long>(x, 0), top = std::max<long long>(y, 0);
    const long long right = std::min<long long>((long long)x + mask.width, target.width);
    const long long bottom = std::min<long long>((long long)y + mask.height, target.height);
    if (left >= right || top >= bottom)
        return;
    const Rgb colour{r, g, b};
    const std::uint16_t solid = Pack565(r, g, b);
    for (long long ty = top; ty < bottom; ++ty)
    {
        const std::uint8_t* cover = mask.alpha.data() + (ty - y) * mask.width + (left - x);
        std::uint16_t* dst = target.pixels + ty * target.pitch + left;
        long long tx = left;
        // Most of a line of text is empty space between and inside the letters: eight uncovered pixels at a
        // time are passed over with one test.
        for (; tx + 8 <= right; tx += 8, cover += 8, dst += 8)
        {
            std::uint64_t eight;
            std::memcpy(&eight, cover, sizeof eight);
            if (eight != 0)
                CoverEight(dst, cover, colour);
        }
        for (; tx < right; ++tx, ++cover, ++dst)
            Cover(*dst, solid, colour, *cover);
    }
}

}  // namespace vorlanex
