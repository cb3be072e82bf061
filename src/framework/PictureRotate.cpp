// The software-rendered draws: a pattern scaled, turned about a pivot and optionally blended, plus the
// shared angle table (256 steps to a full turn).

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

#include "framework/PictureCollection.h"

namespace vorlanex {

namespace {

const std::array<double, 256>& CosTable()
{
    static const std::array<double, 256> table = [] {
        std::array<double, 256> t{};
        for (int i = 0; i < 256; ++i)
            t[std::size_t(i)] = std::cos(i * 2.0 * std::numbers::pi / 256.0);
        return t;
    }();
    return table;
}

// below + (pattern - below) * alpha / 256 per 8-bit channel, rounded down, for one alpha: every pair of 5-bit
// (red, blue) and 6-bit (green) channel values looked up, which costs a few thousand steps to build and makes
// a large blended picture several times cheaper than mixing each pixel from scratch.
class BlendTable
{
public:
    static const BlendTable& For(int alpha)
    {
        thread_local BlendTable table;
        if (table.alpha != alpha)
            table.Build(alpha);
        return table;
    }

    std::uint16_t Blend(std::uint16_t below, std::uint16_t over) const
    {
        return std::uint16_t((five[(below >> 11) * 32u + (over >> 11)] << 11) |
                             (six[((below >> 5) & 63u) * 64u + ((over >> 5) & 63u)] << 5) |
                             five[(below & 31u) * 32u + (over & 31u)]);
    }

private:
    void Build(int a)
    {
        alpha = a;
        const auto mix = [a](int b, int p) { return std::uint8_t(b + (((p - b) * a) >> 8)); };
        for (int b = 0; b < 32; ++b)
            for (int p = 0; p < 32; ++p)
                five[std::size_t(b * 32 + p)] = std::uint8_t(mix((b << 3) | (b >> 2), (p << 3) | (p >> 2)) >> 3);
        for (int b = 0; b < 64; ++b)
            for (int p = 0; p < 64; ++p)
                six[std::size_t(b * 64 + p)] = std::uint8_t(mix((b << 2) | (b >> 4), (p << 2) | (p >> 4)) >> 2);
    }

    int alpha = -1;
    std::array<std::uint8_t, 32 * 32> five{};
    std::array<std::uint8_t, 64 * 64> six{};
};

// Clamps before converting, so absurd sizes or positions cannot overflow an int.
int ClampToInt(double v, int low, int high) { return int(std::clamp(v, double(low), double(high))); }

constexpr double kFixedOne = 65536.0;

// A destination row walks the pattern along a straight line: position start + i * step. Inside() narrows
// [first, last) to the steps whose position lies in the pattern, so fixed-point values stay small and no
// time is spent on pixels the pattern does not cover.
struct RowWalk
{
    double stepX, stepY, width, height;

    static bool Narrow(double start, double step, double size, int& first, int& last)
    {
        if (step == 0)
            return start >= 0 && start < size;
        double from = (0 - start) / step, to = (size - start) / step;
        if (from > to)
            std::swap(from, to);
        // One step of slack each way; the per-pixel test settles the exact edge.
        first = std::max(first, ClampToInt(std::floor(from) - 1, first, last));
        last = std::min(last, ClampToInt(std::ceil(to) + 1, first, last));
        return first < last;
    }

    bool Inside(double startX, double startY, int& first, int& last) const
    {
        return Narrow(startX, stepX, width, first, last) && Narrow(startY, stepY, height, first, last);
    }
};

// The destination pixels covered by the bounding box of a width x height rectangle turned by (c, s) about its
// top-left corner, which lands at (originX, originY), clipped to the destination; false when nothing is left.
bool TurnedBounds(const TDirectDrawSurface& dest, double originX, double originY, int width, int height, double c,
                  double s, int& left, int& top, int& right, int& bottom)
{
    double minX = 1e300, minY = 1e300, maxX = -1e300, maxY = -1e300;
    for (const auto& [a, b] : {std::pair{0.0, 0.0}, {double(width), 0.0}, {0.0, double(height)},
                                {double(width), double(height)}}) {
        const double tx = originX + a * c - b * s, ty = originY + a * s + b * c;
        minX = std::min(minX, tx), maxX = std::max(maxX, tx);
        minY = std::min(minY, ty), maxY = std::max(maxY, ty);
    }
    if (!std::isfinite(minX) || !std::isfinite(maxX) || !std::isfinite(minY) || !std::isfinite(maxY))
        return false;
    left = ClampToInt(std::floor(minX), 0, dest.Width());
    right = ClampToInt(std::ceil(maxX), 0, dest.Width());
    top = ClampToInt(std::floor(minY), 0, dest.Height());
    bottom = ClampToInt(std::ceil(maxY), 0, dest.Height());
    return left < right && top < bottom;
}

}  // namespace

double TurnCos(int angle) { return CosTable()[std::size_t(angle & 255)]; }

double TurnSin(int angle) { return CosTable()[std::size_t((angle + 192) & 255)]; }

void TPictureCollectionItem::DrawPatternRotated(TDirectDrawSurface& dest, int x, int y, int width, int height,
                                                int index, double centerX, double centerY, int angle) const
{
    DrawRotated(dest, x, y, width, height, index, centerX, centerY, angle, 255);
}

void TPictureCollectionItem::DrawPatternRotatedAlpha(TDirectDrawSurface& dest, int x, int y, int width, int height,
                                                     int index, double centerX, double centerY, int angle,
                                                     int alpha) const
{
    if (alpha <= 0)
        return;
    DrawRotated(dest, x, y, width, height, index, centerX, centerY, angle, alpha);
}

// Inverse mapping: every destination pixel inside the bounding box of the turned corners asks which pattern
// pixel lands on its centre. Along a row the pattern position moves by a constant step, kept in 16.16 fixed
// point; positions outside the pattern leave the destination alone.
void TPictureCollectionItem::DrawRotated(TDirectDrawSurface& dest, int x, int y, int width, int height, int index,
                                         double centerX, double centerY, int angle, int alpha) const
{
    const Pattern* p = DrawablePattern(index);
    if (!p || width == 0 || height == 0 || dest.Width() == 0 || dest.Height() == 0)
        return;
    const TRect src = IntersectRect(p->rect, p->surface->ClientRect());
    const int pw = src.Width(), ph = src.Height();
    if (pw <= 0 || ph <= 0 || !std::isfinite(centerX) || !std::isfinite(centerY))
        return;
    const double c = TurnCos(angle), s = TurnSin(angle);
    const double pivotX = centerX * width, pivotY = centerY * height;
    int left, top, right, bottom;
    const double originX = x - pivotX * c + pivotY * s, originY = y - pivotX * s - pivotY * c;
    if (!TurnedBounds(dest, originX, originY, width, height, c, s, left, top, right, bottom))
        return;
    // Pattern pixels per destination pixel, along a destination row.
    const double scaleX = double(pw) / width, scaleY = double(ph) / height;
    const RowWalk walk{c * scaleX, -s * scaleY, double(pw), double(ph)};
    const std::int64_t stepX = std::llround(walk.stepX * kFixedOne), stepY = std::llround(walk.stepY * kFixedOne);
    const std::int64_t limitX = std::int64_t(pw) << 16, limitY = std::int64_t(ph) << 16;
    const std::uint16_t key = Rgb565(transparentColor);
    const bool keyed = Transparent;
    const std::uint16_t* pattern = p->surface->Row(src.Top) + src.Left;
    const std::size_t pitch = std::size_t(p->surface->Pitch());
    const BlendTable* blend = alpha >= 255 ? nullptr : &BlendTable::For(alpha);
    for (int dy = top; dy < bottom; ++dy) {
        const double rx = left + 0.5 - x, ry = dy + 0.5 - y;   // sampling at pixel centres
        const double startX = ((rx * c + ry * s) + pivotX) * scaleX;
        const double startY = ((-rx * s + ry * c) + pivotY) * scaleY;
        int first = 0, last = right - left;
        if (!walk.Inside(startX, startY, first, last))
            continue;
        std::int64_t fx = std::llround((startX + first * walk.stepX) * kFixedOne);
        std::int64_t fy = std::llround((startY + first * walk.stepY) * kFixedOne);
        std::uint16_t* to = dest.Row(dy) + left;
        for (int i = first; i < last; ++i, fx += stepX, fy += stepY) {
            if (fx < 0 || fy < 0 || fx >= limitX || fy >= limitY)
                continue;   // rounding at the edge of the turned rectangle
            const std::uint16_t pixel = pattern[std::size_t(fy >> 16) * pitch + std::size_t(fx >> 16)];
            if (keyed && pixel == key)
                continue;
            to[i] = blend ? blend->Blend(to[i], pixel) : pixel;
        }
    }
}

}  // namespace vorlanex
