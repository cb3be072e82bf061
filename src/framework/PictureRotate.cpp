// The software-rendered draws: a pattern scaled, turned about a pivot and optionally blended, plus the
// shared angle table (256 steps to a full turn).

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <numbers>
#include <vector>

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

using Lanes = std::uint16_t __attribute__((vector_size(16)));

// below + (over - below) * alpha / 256 per 8-bit channel, rounded down, written as
// (below * (256 - alpha) + over * alpha) / 256: the same number, and it never leaves 16 bits. For one pixel
// (a 32-bit number) or eight at once (16-bit lanes).
template <typename Pixels>
Pixels Blend(Pixels below, Pixels over, int alpha)
{
    const Pixels a = Pixels{} + std::uint16_t(alpha), rest = Pixels{} + std::uint16_t(256 - alpha);
    const auto mix = [&](Pixels b, Pixels p) { return (b * rest + p * a) >> 8; };
    const auto widen5 = [](Pixels v) { return (v << 3) | (v >> 2); };
    const auto widen6 = [](Pixels v) { return (v << 2) | (v >> 4); };
    const Pixels r = mix(widen5(below >> 11), widen5(over >> 11)) >> 3;
    const Pixels g = mix(widen6((below >> 5) & 63), widen6((over >> 5) & 63)) >> 2;
    const Pixels b = mix(widen5(below & 31), widen5(over & 31)) >> 3;
    return (r << 11) | (g << 5) | b;
}

// Puts a row of sampled pattern pixels onto the destination, eight at a time: keyed pixels leave the destination
// alone, the others replace it or, below full alpha, blend with it.
void PutRow(std::uint16_t* to, const std::uint16_t* from, int count, bool keyed, std::uint16_t key, int alpha)
{
    int i = 0;
    for (; i + 8 <= count; i += 8)
    {
        Lanes over, below;
        std::memcpy(&over, from + i, sizeof over);
        std::memcpy(&below, to + i, sizeof below);
        const Lanes kept = keyed ? Lanes(over == key) : Lanes{};
        const Lanes put = alpha >= 255 ? over : Blend(below, over, alpha);
        const Lanes result = (below & kept) | (put & ~kept);
        std::memcpy(to + i, &result, sizeof result);
    }
    for (; i < count; ++i)
        if (!keyed || from[i] != key)
            to[i] = alpha >= 255 ? from[i] : std::uint16_t(Blend<std::uint32_t>(to[i], from[i], alpha));
}

// Reads `count` pattern pixels along a walk from (fx, fy) in 16.16 fixed point, every one inside the pattern.
// Four at a time, so that their loads overlap.
void Sample(const std::uint16_t* const* rowStart, std::int64_t fx, std::int64_t fy, std::int64_t stepX,
            std::int64_t stepY, int count, std::uint16_t* out)
{
    int k = 0;
    for (; k + 4 <= count; k += 4, fx += 4 * stepX, fy += 4 * stepY)
    {
        out[k] = rowStart[fy >> 16][fx >> 16];
        out[k + 1] = rowStart[(fy + stepY) >> 16][(fx + stepX) >> 16];
        out[k + 2] = rowStart[(fy + 2 * stepY) >> 16][(fx + 2 * stepX) >> 16];
        out[k + 3] = rowStart[(fy + 3 * stepY) >> 16][(fx + 3 * stepX) >> 16];
    }
    for (; k < count; ++k, fx += stepX, fy += stepY)
        out[k] = rowStart[fy >> 16][fx >> 16];
}

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
    // Each row's run inside the pattern first, then the runs in strips a few dozen columns wide: a strip's rows
    // read neighbouring pattern pixels, which stay in the cache from one row to the next at any angle.
    struct Run
    {
        int first, last;
        std::int64_t fx, fy;   // at first
    };
    thread_local std::vector<Run> runs;
    runs.clear();
    for (int dy = top; dy < bottom; ++dy) {
        const double rx = left + 0.5 - x, ry = dy + 0.5 - y;   // sampling at pixel centres
        const double startX = ((rx * c + ry * s) + pivotX) * scaleX;
        const double startY = ((-rx * s + ry * c) + pivotY) * scaleY;
        int first = 0, last = right - left;
        if (!walk.Inside(startX, startY, first, last)) {
            runs.push_back({0, 0, 0, 0});
            continue;
        }
        std::int64_t fx = std::llround((startX + first * walk.stepX) * kFixedOne);
        std::int64_t fy = std::llround((startY + first * walk.stepY) * kFixedOne);
        // The steps inside the pattern form one run; the slack left by Inside is trimmed off its two ends.
        const auto inside = [&](std::int64_t px, std::int64_t py) {
            return px >= 0 && py >= 0 && px < limitX && py < limitY;
        };
        for (; first < last && !inside(fx, fy); ++first, fx += stepX, fy += stepY) {
        }
        while (last > first && !inside(fx + (last - 1 - first) * stepX, fy + (last - 1 - first) * stepY))
            --last;
        runs.push_back({first, last, fx, fy});
    }
    thread_local std::vector<const std::uint16_t*> rowStart;
    rowStart.resize(std::size_t(ph));
    for (int row = 0; row < ph; ++row)
        rowStart[std::size_t(row)] = pattern + std::size_t(row) * pitch;
    constexpr int Strip = 64;
    std::uint16_t sampled[Strip];
    for (int from = 0; from < right - left; from += Strip) {
        for (int dy = top; dy < bottom; ++dy) {
            const Run& run = runs[std::size_t(dy - top)];
            const int first = std::max(run.first, from), last = std::min(run.last, from + Strip);
            if (first >= last)
                continue;
            Sample(rowStart.data(), run.fx + (first - run.first) * stepX, run.fy + (first - run.first) * stepY,
                   stepX, stepY, last - first, sampled);
            PutRow(dest.Row(dy) + left + first, sampled, last - first, keyed, key, alpha);
        }
    }
}

}  // namespace vorlanex
