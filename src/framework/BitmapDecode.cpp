// Decoding the pixel rows of a validated BMP layout into 0x00BBGGRR colours.

#include <algorithm>

#include "framework/Bitmap.h"
#include "framework/BitmapLayout.h"

namespace vorlanex {

namespace {

// Widens a channel of any width to 8 bits by repeating its bits, so 5- and 6-bit values survive a trip
// back to 5-6-5 unchanged.
std::uint8_t Widen(std::uint32_t value, int bits)
{
    if (bits <= 0)
        return 0;
    if (bits >= 8)
        return std::uint8_t(value >> (bits - 8));
    std::uint32_t out = 0;
    int filled = 0;
    while (filled < 8) {
        out = (out << bits) | value;
        filled += bits;
    }
    return std::uint8_t(out >> (filled - 8));
}

std::uint8_t Channel(std::uint32_t raw, const BmpChannelMask& m)
{
    return Widen((raw & m.mask) >> m.shift, m.bits);
}

std::vector<TRgbQuad> ReadPalette(std::span<const std::uint8_t> b, const BmpLayout& l)
{
    std::vector<TRgbQuad> palette(l.paletteEntries);
    for (std::size_t i = 0; i < l.paletteEntries; ++i) {
        const std::size_t at = l.paletteOffset + i * l.paletteEntrySize;
        palette[i] = {b[at], b[at + 1], b[at + 2], 0};
    }
    return palette;
}

TColor QuadColor(const TRgbQuad& q) { return RGBColor(q.Red, q.Green, q.Blue); }

// Row y of the image (top row 0) in the stored data.
const std::uint8_t* StoredRow(std::span<const std::uint8_t> b, const BmpLayout& l, int y)
{
    const int stored = l.topDown ? y : l.height - 1 - y;
    return b.data() + l.pixelOffset + std::size_t(stored) * l.stride;
}

std::uint8_t IndexAt(const std::uint8_t* row, int x, int bits)
{
    switch (bits) {
    case 1: return (row[x >> 3] >> (7 - (x & 7))) & 1;
    case 4: return (x & 1) ? (row[x >> 1] & 0x0F) : (row[x >> 1] >> 4);
    default: return row[x];
    }
}

TColor DirectColor(const std::uint8_t* row, int x, const BmpLayout& l)
{
    switch (l.bitCount) {
    case 24: return RGBColor(row[x * 3 + 2], row[x * 3 + 1], row[x * 3]);
    case 16: {
        const std::uint32_t raw = std::uint32_t(row[x * 2]) | (std::uint32_t(row[x * 2 + 1]) << 8);
        return RGBColor(Channel(raw, l.red), Channel(raw, l.green), Channel(raw, l.blue));
    }
    default: {
        const std::uint8_t* p = row + x * 4;
        const std::uint32_t raw = std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16) |
                                  (std::uint32_t(p[3]) << 24);
        return RGBColor(Channel(raw, l.red), Channel(raw, l.green), Channel(raw, l.blue));
    }
    }
}

// Run-length data: pairs of (count, index) or escapes (0: end of line, 1: end of bitmap, 2: delta, n: n
// literal indices padded to a word). Pixels never written stay index 0. A run, a literal or a delta that
// goes past the picture, and data that ends before the picture does, are faults of the file: refused as a
// bitmap too short for its rows is.
class RleDecoder
{
public:
    RleDecoder(std::span<const std::uint8_t> b, const BmpLayout& l, std::vector<std::uint8_t>& indices,
               const std::string& sourceName)
        : data(b.subspan(l.pixelOffset, l.pixelBytes)), layout(l), indices(indices), sourceName(sourceName) {}

    void Run()
    {
        const bool four = layout.compression == BmpCompression::Rle4;
        while (row < layout.height) {
            if (pos + 1 >= data.size())
                Fail("compressed data ends at row " + std::to_string(row + 1) + " of " +
                     std::to_string(layout.height));
            const std::uint8_t count = data[pos], value = data[pos + 1];
            pos += 2;
            if (count > 0) {
                CheckRoom(count, "a run");
                for (int i = 0; i < count; ++i)
                    Put(four ? ((i & 1) ? (value & 0x0F) : (value >> 4)) : value);
            } else if (value == 0) {
                x = 0, ++row;
            } else if (value == 1) {
                return;
            } else if (value == 2) {
                Delta();
            } else {
                Literal(value, four);
            }
        }
    }

private:
    [[noreturn]] void Fail(const std::string& problem) const { throw BitmapError(sourceName + ": " + problem); }

    void CheckRoom(int count, const char* what) const
    {
        if (x + count > layout.width)
            Fail(std::string(what) + " of " + std::to_string(count) + " pixels at column " + std::to_string(x) +
                 " of row " + std::to_string(row + 1) + " runs past the " + std::to_string(layout.width) +
                 "-pixel row");
    }

    void Delta()
    {
        if (pos + 1 >= data.size())
            Fail("compressed data ends inside a jump");
        const int dx = data[pos], dy = data[pos + 1];
        pos += 2;
        if (x + dx > layout.width || row + dy >= layout.height)
            Fail("a jump of " + std::to_string(dx) + " columns and " + std::to_string(dy) + " rows from row " +
                 std::to_string(row + 1) + " leaves the " + std::to_string(layout.width) + " x " +
                 std::to_string(layout.height) + " picture");
        x += dx, row += dy;
    }

    void Literal(int count, bool four)
    {
        CheckRoom(count, "a literal run");
        const std::size_t bytes = four ? std::size_t(count + 1) / 2 : std::size_t(count);
        if (bytes > data.size() - pos)
            Fail("compressed data ends inside a literal run of " + std::to_string(count) + " pixels");
        for (int i = 0; i < count; ++i) {
            const std::uint8_t byte = data[pos + std::size_t(four ? i / 2 : i)];
            Put(four ? ((i & 1) ? (byte & 0x0F) : (byte >> 4)) : byte);
        }
        pos += (bytes + 1) & ~std::size_t(1);
    }

    void Put(std::uint8_t index)
    {
        const int y = layout.height - 1 - row;   // compressed rows are always bottom-up
        indices[std::size_t(y) * std::size_t(layout.width) + std::size_t(x)] = index;
        ++x;
    }

    std::span<const std::uint8_t> data;
    const BmpLayout& layout;
    std::vector<std::uint8_t>& indices;
    const std::string& sourceName;
    std::size_t pos = 0;
    int x = 0, row = 0;
};

}  // namespace

TBitmap TBitmap::FromBytes(std::span<const std::uint8_t> bytes, const std::string& sourceName)
{
    const BmpLayout l = ParseBmpLayout(bytes, sourceName);
    TBitmap bmp;
    bmp.width = l.width;
    bmp.height = l.height;
    bmp.bitCount = l.bitCount;
    const std::size_t count = std::size_t(l.width) * std::size_t(l.height);
    bmp.pixels.resize(count);
    if (l.bitCount > 8) {
        for (int y = 0; y < l.height; ++y) {
            const std::uint8_t* row = StoredRow(bytes, l, y);
            TColor* out = bmp.pixels.data() + std::size_t(y) * std::size_t(l.width);
            for (int x = 0; x < l.width; ++x)
                out[x] = DirectColor(row, x, l);
        }
        return bmp;
    }
    bmp.palette = ReadPalette(bytes, l);
    bmp.indices.assign(count, 0);
    if (l.compression == BmpCompression::Rgb) {
        for (int y = 0; y < l.height; ++y) {
            const std::uint8_t* row = StoredRow(bytes, l, y);
            std::uint8_t* out = bmp.indices.data() + std::size_t(y) * std::size_t(l.width);
            for (int x = 0; x < l.width; ++x)
                out[x] = IndexAt(row, x, l.bitCount);
        }
    } else {
        RleDecoder(bytes, l, bmp.indices, sourceName).Run();
    }
    // An index past the end of a short colour table shows black, as palette displays do.
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint8_t index = bmp.indices[i];
        bmp.pixels[i] = index < bmp.palette.size() ? QuadColor(bmp.palette[index]) : clBlack;
    }
    return bmp;
}

}  // namespace vorlanex
