#pragma once
// Small value types shared by the framework: rectangles and colours.

#include <algorithm>
#include <cstdint>

namespace vorlanex {

// Left, Top, Right, Bottom; Right and Bottom exclusive.
struct TRect
{
    std::int32_t Left = 0, Top = 0, Right = 0, Bottom = 0;

    std::int32_t Width() const { return Right - Left; }
    std::int32_t Height() const { return Bottom - Top; }
    bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
    bool operator==(const TRect&) const = default;
};

inline TRect Bounds(std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h) { return {x, y, x + w, y + h}; }

// Rectangles that merely share an edge do not overlap.
inline bool OverlapRect(const TRect& a, const TRect& b)
{
    return a.Left < b.Right && b.Left < a.Right && a.Top < b.Bottom && b.Top < a.Bottom;
}

inline TRect IntersectRect(const TRect& a, const TRect& b)
{
    return {std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right), std::min(a.Bottom, b.Bottom)};
}

// A 24-bit colour laid out as 0x00BBGGRR.
using TColor = std::uint32_t;

constexpr TColor RGBColor(std::uint8_t r, std::uint8_t g, std::uint8_t b)
{
    return TColor(r) | (TColor(g) << 8) | (TColor(b) << 16);
}
constexpr std::uint8_t RedOf(TColor c) { return std::uint8_t(c & 0xFF); }
constexpr std::uint8_t GreenOf(TColor c) { return std::uint8_t((c >> 8) & 0xFF); }
constexpr std::uint8_t BlueOf(TColor c) { return std::uint8_t((c >> 16) & 0xFF); }

constexpr TColor clBlack = RGBColor(0, 0, 0);
constexpr TColor clWhite = RGBColor(255, 255, 255);
constexpr TColor clRed = RGBColor(255, 0, 0);
constexpr TColor clNavy = RGBColor(0, 0, 128);
constexpr TColor clYellow = RGBColor(255, 255, 0);

// The 16-bit pixel a colour becomes on a 5-6-5 surface (the low bits are dropped).
constexpr std::uint16_t Rgb565(std::uint8_t r, std::uint8_t g, std::uint8_t b)
{
    return std::uint16_t(((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3));
}
constexpr std::uint16_t Rgb565(TColor c) { return Rgb565(RedOf(c), GreenOf(c), BlueOf(c)); }

// Expands a 5-6-5 pixel to 8 bits a channel, replicating the high bits into the low ones.
constexpr void Rgb565To888(std::uint16_t p, std::uint8_t& r, std::uint8_t& g, std::uint8_t& b)
{
    const unsigned r5 = (p >> 11) & 31, g6 = (p >> 5) & 63, b5 = p & 31;
    r = std::uint8_t((r5 << 3) | (r5 >> 2));
    g = std::uint8_t((g6 << 2) | (g6 >> 4));
    b = std::uint8_t((b5 << 3) | (b5 >> 2));
}

}  // namespace vorlanex
