#include "framework/BitmapLayout.h"

#include <algorithm>
#include <bit>
#include <cstdlib>
#include <limits>

#include "framework/Bitmap.h"

namespace vorlanex {

namespace {

// Far above anything the game draws (1024 x 768), far below what could exhaust memory.
constexpr std::int64_t kMaxSide = 32768;
constexpr std::int64_t kMaxPixels = std::int64_t(1) << 24;
constexpr std::size_t kFileHeaderSize = 14;

std::uint16_t U16(std::span<const std::uint8_t> b, std::size_t at)
{
    return std::uint16_t(b[at] | (b[at + 1] << 8));
}

std::uint32_t U32(std::span<const std::uint8_t> b, std::size_t at)
{
    return std::uint32_t(b[at]) | (std::uint32_t(b[at + 1]) << 8) | (std::uint32_t(b[at + 2]) << 16) |
           (std::uint32_t(b[at + 3]) << 24);
}

std::int32_t I32(std::span<const std::uint8_t> b, std::size_t at) { return std::int32_t(U32(b, at)); }

[[noreturn]] void Fail(const std::string& sourceName, const std::string& problem)
{
    throw BitmapError(sourceName + ": " + problem);
}

BmpChannelMask MakeMask(std::uint32_t mask, const std::string& sourceName)
{
    BmpChannelMask m;
    m.mask = mask;
    if (mask == 0)
        return m;
    m.shift = std::countr_zero(mask);
    m.bits = std::popcount(mask);
    if (m.bits < 32 && (mask >> m.shift) != (std::uint32_t(1) << m.bits) - 1)
        Fail(sourceName, "colour mask is not a contiguous run of bits");
    return m;
}

void ReadCoreHeader(std::span<const std::uint8_t> b, BmpLayout& l)
{
    l.width = U16(b, 18);
    l.height = U16(b, 20);
    l.bitCount = U16(b, 24);
    l.paletteEntrySize = 3;
}

void ReadInfoHeader(std::span<const std::uint8_t> b, BmpLayout& l, const std::string& sourceName)
{
    const std::int32_t w = I32(b, 18), h = I32(b, 22);
    if (w <= 0 || h == 0 || h == std::numeric_limits<std::int32_t>::min())
        Fail(sourceName, "invalid dimensions " + std::to_string(w) + " x " + std::to_string(h));
    l.width = w;
    l.height = h < 0 ? -h : h;
    l.topDown = h < 0;
    if (U16(b, 26) != 1)
        Fail(sourceName, "plane count must be 1");
    l.bitCount = U16(b, 28);
    const std::uint32_t compression = U32(b, 30);
    if (compression > 3)
        Fail(sourceName, "unsupported compression " + std::to_string(compression));
    l.compression = BmpCompression(compression);
}

void CheckFormat(const BmpLayout& l, const std::string& sourceName)
{
    const int bits = l.bitCount;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
        Fail(sourceName, "unsupported bit depth " + std::to_string(bits));
    if (l.headerSize == 12 && bits != 1 && bits != 4 && bits != 8 && bits != 24)
        Fail(sourceName, "unsupported bit depth " + std::to_string(bits) + " in a core header");
    const bool ok = l.compression == BmpCompression::Rgb ||
                    (l.compression == BmpCompression::Rle8 && bits == 8) ||
                    (l.compression == BmpCompression::Rle4 && bits == 4) ||
                    (l.compression == BmpCompression::BitFields && (bits == 16 || bits == 32));
    if (!ok)
        Fail(sourceName, "compression " + std::to_string(std::uint32_t(l.compression)) + " does not fit bit depth " +
                             std::to_string(bits));
    if (l.topDown && (l.compression == BmpCompression::Rle8 || l.compression == BmpCompression::Rle4))
        Fail(sourceName, "compressed bitmaps cannot be stored top-down");
    if (l.width > kMaxSide || l.height > kMaxSide || std::int64_t(l.width) * l.height > kMaxPixels)
        Fail(sourceName, "dimensions " + std::to_string(l.width) + " x " + std::to_string(l.height) + " are too large");
}

// Masks live inside V2+ headers, or in 12 bytes after a plain 40-byte header.
void ReadMasks(std::span<const std::uint8_t> b, BmpLayout& l, std::size_t& tableStart, const std::string& sourceName)
{
    std::uint32_t r = 0, g = 0, bl = 0;
    if (l.compression == BmpCompression::BitFields) {
        const std::size_t at = kFileHeaderSize + 40;
        if (l.headerSize == 40) {
            if (b.size() < at + 12)
                Fail(sourceName, "data ends inside the colour masks");
            tableStart += 12;
        }
        r = U32(b, at);
        g = U32(b, at + 4);
        bl = U32(b, at + 8);
    } else if (l.bitCount == 16) {
        r = 0x7C00, g = 0x03E0, bl = 0x001F;
    } else if (l.bitCount == 32) {
        r = 0x00FF0000, g = 0x0000FF00, bl = 0x000000FF;
    }
    l.red = MakeMask(r, sourceName);
    l.green = MakeMask(g, sourceName);
    l.blue = MakeMask(bl, sourceName);
}

void PlacePalette(std::span<const std::uint8_t> b, BmpLayout& l, std::size_t tableStart, const std::string& sourceName)
{
    l.paletteOffset = tableStart;
    if (l.bitCount > 8)
        return;   // a colour table of a true-colour picture is only a hint for palette displays: ignore it
    const std::size_t maxEntries = std::size_t(1) << l.bitCount;
    std::size_t entries = maxEntries;
    if (l.headerSize != 12) {
        const std::uint32_t used = U32(b, kFileHeaderSize + 32);
        if (used > maxEntries)
            Fail(sourceName, "colour table of " + std::to_string(used) + " entries is larger than " +
                                 std::to_string(maxEntries) + " allowed at " + std::to_string(l.bitCount) + " bits");
        if (used != 0)
            entries = used;
        else if (l.pixelOffset >= tableStart)
            entries = std::min(entries, (l.pixelOffset - tableStart) / l.paletteEntrySize);
    } else if (l.pixelOffset >= tableStart) {
        entries = std::min(entries, (l.pixelOffset - tableStart) / l.paletteEntrySize);
    }
    const std::size_t end = tableStart + entries * l.paletteEntrySize;
    if (end > b.size())
        Fail(sourceName, "colour table runs past the end of the data");
    if (end > l.pixelOffset)
        Fail(sourceName, "colour table overlaps the pixel data");
    l.paletteEntries = entries;
}

void PlacePixels(std::span<const std::uint8_t> b, BmpLayout& l, const std::string& sourceName)
{
    const std::uint64_t rowBits = std::uint64_t(l.width) * std::uint64_t(l.bitCount);
    l.stride = std::size_t(((rowBits + 31) / 32) * 4);
    const std::uint64_t plain = std::uint64_t(l.stride) * std::uint64_t(l.height);
    const bool rle = l.compression == BmpCompression::Rle8 || l.compression == BmpCompression::Rle4;
    const std::uint32_t sizeImage = l.headerSize == 12 ? 0 : U32(b, kFileHeaderSize + 20);
    if (rle && sizeImage == 0)
        Fail(sourceName, "compressed bitmap does not state its image size");
    const std::uint64_t need = sizeImage != 0 ? sizeImage : plain;
    if (!rle && need < plain)
        Fail(sourceName, "image size " + std::to_string(sizeImage) + " is smaller than its " +
                             std::to_string(l.height) + " rows need");
    if (need > b.size() - l.pixelOffset)
        Fail(sourceName, "pixel data is truncated: " + std::to_string(need) + " bytes needed after offset " +
                             std::to_string(l.pixelOffset) + ", " + std::to_string(b.size() - l.pixelOffset) +
                             " present");
    l.pixelBytes = std::size_t(need);
}

}  // namespace

std::uint64_t BmpFileSizeLimit(std::span<const std::uint8_t> head, std::string& what)
{
    what.clear();
    if (head.size() < BmpHeadBytes || head[0] != 'B' || head[1] != 'M')
        return 0;
    const bool core = U32(head, 14) == 12;
    const std::int64_t w = core ? U16(head, 18) : I32(head, 18);
    const std::int64_t h = core ? U16(head, 20) : std::abs(std::int64_t(I32(head, 22)));
    const std::int64_t bits = core ? U16(head, 24) : U16(head, 28);
    if (w <= 0 || h <= 0 || w > kMaxSide || h > kMaxSide || w * h > kMaxPixels || bits <= 0 || bits > 32)
        return 0;
    const std::uint64_t stride = std::uint64_t((w * bits + 31) / 32 * 4);
    // Run-length data at its worst: every pixel a run of one and every row closed by an end of line.
    const std::uint64_t runs = std::uint64_t(2 * w * h + 2 * h + 2);
    what = "a " + std::to_string(w) + " x " + std::to_string(h) + " picture";
    return BmpHeaderRoom + std::max(stride * std::uint64_t(h), runs);
}

BmpLayout ParseBmpLayout(std::span<const std::uint8_t> b, const std::string& sourceName)
{
    if (b.size() < kFileHeaderSize + 4)
        Fail(sourceName, "too short to be a bitmap (" + std::to_string(b.size()) + " bytes)");
    if (b[0] != 'B' || b[1] != 'M')
        Fail(sourceName, "not a bitmap (no \"BM\" signature)");
    BmpLayout l;
    l.fileSize = U32(b, 2);
    l.pixelOffset = U32(b, 10);
    l.headerSize = U32(b, 14);
    const std::uint32_t hs = l.headerSize;
    if (hs != 12 && hs != 40 && hs != 52 && hs != 56 && hs != 108 && hs != 124)
        Fail(sourceName, "unsupported info header size " + std::to_string(hs));
    if (b.size() < kFileHeaderSize + hs)
        Fail(sourceName, "data ends inside the info header");
    if (l.fileSize > b.size())
        Fail(sourceName, "file size in header (" + std::to_string(l.fileSize) + ") exceeds the " +
                             std::to_string(b.size()) + " bytes present");
    if (hs == 12)
        ReadCoreHeader(b, l);
    else
        ReadInfoHeader(b, l, sourceName);
    if (l.width <= 0 || l.height <= 0)
        Fail(sourceName, "invalid dimensions " + std::to_string(l.width) + " x " + std::to_string(l.height));
    CheckFormat(l, sourceName);
    std::size_t tableStart = kFileHeaderSize + hs;
    ReadMasks(b, l, tableStart, sourceName);
    if (l.pixelOffset < tableStart || l.pixelOffset >= b.size())
        Fail(sourceName, "pixel data offset " + std::to_string(l.pixelOffset) + " lies outside the data");
    PlacePalette(b, l, tableStart, sourceName);
    PlacePixels(b, l, sourceName);
    return l;
}

}  // namespace vorlanex
