// The catalogue's 256-colour table: eight fixed colours at each end, then the pictures' own colours in order.

#include <array>
#include <unordered_set>

#include "framework/PictureCollection.h"

namespace vorlanex {

namespace {

constexpr std::array<TPaletteEntry, 8> kLowFixed{{
    {0, 0, 0, 0}, {128, 0, 0, 0}, {0, 128, 0, 0}, {128, 128, 0, 0},
    {0, 0, 128, 0}, {128, 0, 128, 0}, {0, 128, 128, 0}, {192, 192, 192, 0},
}};
constexpr std::array<TPaletteEntry, 8> kHighFixed{{
    {128, 128, 128, 0}, {255, 0, 0, 0}, {0, 255, 0, 0}, {255, 255, 0, 0},
    {0, 0, 255, 0}, {255, 0, 255, 0}, {0, 255, 255, 0}, {255, 255, 255, 0},
}};

}  // namespace

// Only pictures with a colour table contribute; true-colour pictures have none to give.
void TPictureCollection::BuildColorTable()
{
    ColorTable = {};
    std::array<bool, 256> used{};
    for (std::size_t i = 0; i < 8; ++i) {
        ColorTable[i] = kLowFixed[i];
        ColorTable[248 + i] = kHighFixed[i];
        used[i] = used[248 + i] = true;
    }
    const auto pack = [](const TPaletteEntry& e) { return RGBColor(e.peRed, e.peGreen, e.peBlue); };
    std::unordered_set<TColor> present;
    for (std::size_t i = 0; i < 256; ++i)
        if (used[i])
            present.insert(pack(ColorTable[i]));
    std::size_t usedCount = 16;
    std::size_t nextFree = 8;
    for (const auto& item : items) {
        if (item->Picture.Empty() || item->Picture.BitCount() > 8)
            continue;
        for (const TRgbQuad& q : item->Picture.Palette()) {
            if (usedCount == 256)
                return;
            const TPaletteEntry entry{q.Red, q.Green, q.Blue, 0};
            if (!present.insert(pack(entry)).second)
                continue;
            while (used[nextFree])
                ++nextFree;
            ColorTable[nextFree] = entry;
            used[nextFree] = true;
            ++usedCount;
        }
    }
}

}  // namespace vorlanex
