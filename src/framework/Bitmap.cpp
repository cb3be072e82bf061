#include "framework/Bitmap.h"

#include "framework/BitmapLayout.h"
#include "framework/DataFile.h"

namespace vorlanex {

namespace {

void Put16(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t v)
{
    out[at] = std::uint8_t(v);
    out[at + 1] = std::uint8_t(v >> 8);
}

void Put32(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t v)
{
    Put16(out, at, v & 0xFFFF);
    Put16(out, at + 2, v >> 16);
}

void CheckSize(int width, int height, std::size_t count, const char* what)
{
    if (width < 0 || height < 0)
        throw BitmapError(std::string(what) + ": negative dimensions");
    if (count != std::size_t(width) * std::size_t(height))
        throw BitmapError(std::string(what) + ": pixel count does not match " + std::to_string(width) + " x " +
                          std::to_string(height));
}

}  // namespace

TBitmap TBitmap::Indexed(int width, int height, std::vector<TRgbQuad> palette, const std::vector<std::uint8_t>& indices)
{
    CheckSize(width, height, indices.size(), "indexed bitmap");
    if (palette.empty() || palette.size() > 256)
        throw BitmapError("indexed bitmap: colour table must hold 1 to 256 entries");
    TBitmap bmp;
    if (width == 0 || height == 0)
        return bmp;
    bmp.width = width;
    bmp.height = height;
    bmp.bitCount = 8;
    bmp.pixels.resize(indices.size());
    for (std::size_t i = 0; i < indices.size(); ++i) {
        if (indices[i] >= palette.size())
            throw BitmapError("indexed bitmap: index " + std::to_string(indices[i]) + " outside the colour table");
        const TRgbQuad& q = palette[indices[i]];
        bmp.pixels[i] = RGBColor(q.Red, q.Green, q.Blue);
    }
    for (TRgbQuad& q : palette)
        q.Reserved = 0;
    bmp.palette = std::move(palette);
    bmp.indices = indices;
    return bmp;
}

TBitmap TBitmap::TrueColor(int width, int height, std::vector<TColor> pixels)
{
    CheckSize(width, height, pixels.size(), "true-colour bitmap");
    TBitmap bmp;
    if (width == 0 || height == 0)
        return bmp;
    bmp.width = width;
    bmp.height = height;
    bmp.bitCount = 24;
    for (TColor& c : pixels)
        c &= 0x00FFFFFF;
    bmp.pixels = std::move(pixels);
    return bmp;
}

std::vector<std::uint8_t> TBitmap::ToBmp() const
{
    const bool indexed = !palette.empty() && indices.size() == pixels.size();
    const int bits = indexed ? 8 : 24;
    const std::size_t stride = ((std::size_t(width) * std::size_t(bits) + 31) / 32) * 4;
    const std::size_t tableBytes = indexed ? palette.size() * 4 : 0;
    const std::size_t offset = 14 + 40 + tableBytes;
    const std::size_t imageBytes = stride * std::size_t(height);
    std::vector<std::uint8_t> out(offset + imageBytes, 0);
    out[0] = 'B';
    out[1] = 'M';
    Put32(out, 2, std::uint32_t(out.size()));
    Put32(out, 10, std::uint32_t(offset));
    Put32(out, 14, 40);
    Put32(out, 18, std::uint32_t(width));
    Put32(out, 22, std::uint32_t(height));
    Put16(out, 26, 1);
    Put16(out, 28, std::uint32_t(bits));
    Put32(out, 34, std::uint32_t(imageBytes));
    Put32(out, 46, indexed ? std::uint32_t(palette.size()) : 0);
    for (std::size_t i = 0; i < tableBytes / 4; ++i) {
        out[54 + i * 4] = palette[i].Blue;
        out[54 + i * 4 + 1] = palette[i].Green;
        out[54 + i * 4 + 2] = palette[i].Red;
    }
    for (int y = 0; y < height; ++y) {
        std::uint8_t* row = out.data() + offset + std::size_t(height - 1 - y) * stride;
        const std::size_t first = std::size_t(y) * std::size_t(width);
        for (int x = 0; x < width; ++x) {
            if (indexed) {
                row[x] = indices[first + std::size_t(x)];
                continue;
            }
            const TColor c = pixels[first + std::size_t(x)];
            row[x * 3] = BlueOf(c);
            row[x * 3 + 1] = GreenOf(c);
            row[x * 3 + 2] = RedOf(c);
        }
    }
    return out;
}

TBitmap TBitmap::FromFile(const std::string& path)
{
    std::vector<std::uint8_t> bytes;
    try
    {
        const DataFile file = DataFile::Open(path);
        // The header says how large the picture is; a file far beyond that is refused unread. Without a
        // usable header the head alone is enough for the decoder to say what is wrong.
        std::string what;
        const std::uint64_t limit = BmpFileSizeLimit(file.ReadHead(BmpHeadBytes), what);
        bytes = limit == 0 ? file.ReadHead(BmpHeaderRoom) : file.ReadAll(limit, what);
    }
    catch (const DataFileError& e)
    {
        throw BitmapError(e.what());
    }
    return FromBytes(bytes, path);
}

// Header, colour table and pixel rows: what a reader of a stream of several records consumes for the bitmap.
std::size_t TBitmap::MeasureBytes(std::span<const std::uint8_t> bytes, const std::string& sourceName)
{
    const BmpLayout l = ParseBmpLayout(bytes, sourceName);
    return l.pixelOffset + l.pixelBytes;
}

}  // namespace vorlanex
