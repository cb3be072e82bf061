#include <algorithm>

#include "platform/common/Utf8.h"
#include "platform/null/NullPlatform.h"

namespace vorlanex {

namespace {

struct GlyphBox
{
    int advance, left, top, width, height;
};

GlyphBox BoxOf(char32_t cp)
{
    if (cp < 0x80)
        return {NullText::AsciiAdvance, 1, 2, 6, 12};
    return {NullText::WideAdvance, 1, 1, 14, 14};
}

bool IsBlank(char32_t cp) { return cp <= 0x20 || cp == 0x7F || cp == 0x3000; }

// Coordinates are 64-bit so a pen far off the target cannot overflow.
void FillClipped(PixelView target, long long left, long long top, int width, int height, std::uint16_t value)
{
    const long long x0 = std::max(left, 0LL);
    const long long y0 = std::max(top, 0LL);
    const long long x1 = std::min(left + width, (long long)target.width);
    const long long y1 = std::min(top + height, (long long)target.height);
    if (x0 >= x1)
        return;
    for (long long y = y0; y < y1; ++y)
        std::fill(target.pixels + std::ptrdiff_t(y) * target.pitch + x0,
                  target.pixels + std::ptrdiff_t(y) * target.pitch + x1, value);
}

}  // namespace

void NullText::SetFont(const std::string& familyUtf8, int points)
{
    family = familyUtf8;
    sizePoints = points;
}

void NullText::Measure(const std::string& utf8, int& width, int& height)
{
    width = 0;
    for (std::size_t pos = 0; pos < utf8.size();)
        width += BoxOf(NextCodePoint(utf8, pos)).advance;
    height = LineHeight;
}

void NullText::Draw(PixelView target, int x, int y, const std::string& utf8, std::uint8_t r, std::uint8_t g,
                    std::uint8_t b)
{
    drawn.push_back(utf8);
    if (drawn.size() > DrawnKept)
        drawn.pop_front();
    if (!target.pixels || target.width <= 0 || target.height <= 0 || target.pitch < target.width)
        return;
    const auto value = std::uint16_t(((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3));
    long long penX = x;
    for (std::size_t pos = 0; pos < utf8.size();)
    {
        const char32_t cp = NextCodePoint(utf8, pos);
        const GlyphBox box = BoxOf(cp);
        if (!IsBlank(cp))
            FillClipped(target, penX + box.left, (long long)y + box.top, box.width, box.height, value);
        penX += box.advance;
        if (penX >= target.width)
            break;
    }
}

}  // namespace vorlanex
