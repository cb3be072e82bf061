#include "Encode.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <numeric>

#include "framework/Bitmap.h"

namespace vorlanex::assetgen {

namespace {

std::uint8_t Channel(float v) { return std::uint8_t(std::clamp(std::lround(v), 0L, 255L)); }

std::uint8_t Nudge(std::uint8_t v, bool up) { return std::uint8_t(up ? std::min(255, v + 8) : std::max(0, v - 8)); }

// Moving every channel by 8 away from the key's red changes the red 5-bit field, so the 16-bit values differ.
TColor AvoidKey(TColor c, std::optional<TColor> key)
{
    if (!key || Rgb565(c) != Rgb565(*key))
        return c;
    const bool up = RedOf(*key) < 128;
    return RGBColor(Nudge(RedOf(c), up), Nudge(GreenOf(c), up), Nudge(BlueOf(c), up));
}

int ChannelOf(TColor c, int channel)
{
    return channel == 0 ? RedOf(c) : channel == 1 ? GreenOf(c) : BlueOf(c);
}

struct ColourBox
{
    std::vector<std::size_t> members;
    int widestChannel = 0;
    int range = 0;
};

void Measure(ColourBox& box, const std::vector<TColor>& colours)
{
    box.range = -1;
    for (int ch = 0; ch < 3; ++ch)
    {
        int lo = 255, hi = 0;
        for (std::size_t i : box.members)
        {
            lo = std::min(lo, ChannelOf(colours[i], ch));
            hi = std::max(hi, ChannelOf(colours[i], ch));
        }
        // Green counts a little more: the eye (and the 6-bit green of the screen) resolves it best.
        const int weighted = (hi - lo) * (ch == 1 ? 5 : 4);
        if (weighted > box.range)
            box.range = weighted, box.widestChannel = ch;
    }
}

TColor MeanOf(const ColourBox& box, const std::vector<TColor>& colours, const std::vector<std::uint32_t>& counts)
{
    double r = 0, g = 0, b = 0, n = 0;
    for (std::size_t i : box.members)
    {
        r += RedOf(colours[i]) * double(counts[i]);
        g += GreenOf(colours[i]) * double(counts[i]);
        b += BlueOf(colours[i]) * double(counts[i]);
        n += double(counts[i]);
    }
    return RGBColor(std::uint8_t(std::lround(r / n)), std::uint8_t(std::lround(g / n)), std::uint8_t(std::lround(b / n)));
}

// Sorts the box along its widest channel and moves the upper half (by pixel count) into a new box.
ColourBox SplitAtMedian(ColourBox& box, const std::vector<TColor>& colours, const std::vector<std::uint32_t>& counts)
{
    const int ch = box.widestChannel;
    auto& m = box.members;
    std::sort(m.begin(), m.end(), [&](std::size_t a, std::size_t b) {
        return std::pair(ChannelOf(colours[a], ch), colours[a]) < std::pair(ChannelOf(colours[b], ch), colours[b]);
    });
    std::uint64_t total = 0, half = 0;
    for (std::size_t i : m)
        total += counts[i];
    std::size_t cut = 1;
    for (; cut < m.size() - 1; ++cut)
    {
        half += counts[m[cut - 1]];
        if (half * 2 >= total)
            break;
    }
    ColourBox upper;
    upper.members.assign(m.begin() + std::ptrdiff_t(cut), m.end());
    m.resize(cut);
    Measure(box, colours);
    Measure(upper, colours);
    return upper;
}

}  // namespace

TColor VisibleColour(const Pixel& pixel, std::optional<TColor> key)
{
    return AvoidKey(RGBColor(Channel(pixel.r), Channel(pixel.g), Channel(pixel.b)), key);
}

std::vector<TColor> MedianCut(const std::vector<TColor>& colours, const std::vector<std::uint32_t>& counts,
                              std::size_t maxColours)
{
    if (colours.empty() || maxColours == 0)
        return {};
    std::vector<ColourBox> boxes(1);
    boxes[0].members.resize(colours.size());
    std::iota(boxes[0].members.begin(), boxes[0].members.end(), std::size_t(0));
    Measure(boxes[0], colours);
    while (boxes.size() < maxColours)
    {
        auto widest = std::max_element(boxes.begin(), boxes.end(), [](const ColourBox& a, const ColourBox& b) {
            return (a.members.size() > 1 ? a.range : -1) < (b.members.size() > 1 ? b.range : -1);
        });
        if (widest->members.size() < 2)
            break;
        ColourBox upper = SplitAtMedian(*widest, colours, counts);
        boxes.push_back(std::move(upper));
    }
    std::vector<TColor> result(colours.size());
    for (const ColourBox& box : boxes)
    {
        const TColor mean = MeanOf(box, colours, counts);
        for (std::size_t i : box.members)
            result[i] = mean;
    }
    return result;
}

namespace {

// Visible colour of every pixel (none for a keyed-out pixel) and how often each colour occurs.
struct ColourCensus
{
    std::vector<std::optional<TColor>> pixels;
    std::map<TColor, std::uint32_t> histogram;
};

ColourCensus TakeCensus(const Canvas& canvas, std::optional<TColor> key)
{
    ColourCensus census;
    for (int y = 0; y < canvas.Height(); ++y)
        for (int x = 0; x < canvas.Width(); ++x)
        {
            if (key && !canvas.Opaque(x, y))
            {
                census.pixels.emplace_back();
                continue;
            }
            const TColor c = VisibleColour(canvas.At(x, y), key);
            census.pixels.emplace_back(c);
            ++census.histogram[c];
        }
    return census;
}

// The key takes entry 0; every colour maps to the entry of its representative.
struct ColourTable
{
    std::vector<TRgbQuad> entries;
    std::map<TColor, std::uint8_t> entryOf;
};

ColourTable BuildColourTable(const std::map<TColor, std::uint32_t>& histogram, std::optional<TColor> key)
{
    std::vector<TColor> colours;
    std::vector<std::uint32_t> counts;
    for (const auto& [c, n] : histogram)
        colours.push_back(c), counts.push_back(n);
    const std::size_t room = key ? 255 : 256;
    const std::vector<TColor> reps = colours.size() <= room ? colours : MedianCut(colours, counts, room);
    ColourTable table;
    if (key)
        table.entries.push_back({BlueOf(*key), GreenOf(*key), RedOf(*key), 0});
    std::map<TColor, std::uint8_t> slot;
    for (std::size_t i = 0; i < colours.size(); ++i)
    {
        const TColor rep = AvoidKey(reps[i], key);
        if (!slot.count(rep))
        {
            slot[rep] = std::uint8_t(table.entries.size());
            table.entries.push_back({BlueOf(rep), GreenOf(rep), RedOf(rep), 0});
        }
        table.entryOf[colours[i]] = slot[rep];
    }
    table.entries.resize(256);
    return table;
}

}  // namespace

std::vector<std::uint8_t> EncodeIndexed(const Canvas& canvas, std::optional<TColor> key)
{
    const ColourCensus census = TakeCensus(canvas, key);
    ColourTable table = BuildColourTable(census.histogram, key);
    std::vector<std::uint8_t> indices;
    indices.reserve(census.pixels.size());
    for (const std::optional<TColor>& c : census.pixels)
        indices.push_back(c ? table.entryOf.at(*c) : 0);
    return TBitmap::Indexed(canvas.Width(), canvas.Height(), std::move(table.entries), indices).ToBmp();
}

std::vector<std::uint8_t> EncodeTrueColor(const Canvas& canvas, std::optional<TColor> key)
{
    std::vector<TColor> pixels;
    pixels.reserve(std::size_t(canvas.Width()) * std::size_t(canvas.Height()));
    for (int y = 0; y < canvas.Height(); ++y)
        for (int x = 0; x < canvas.Width(); ++x)
            pixels.push_back(key && !canvas.Opaque(x, y) ? *key : VisibleColour(canvas.At(x, y), key));
    return TBitmap::TrueColor(canvas.Width(), canvas.Height(), std::move(pixels)).ToBmp();
}

}  // namespace vorlanex::assetgen
