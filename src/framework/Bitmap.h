#pragma once
// Device-independent bitmaps (BMP): the pictures of the catalogues, the screen pictures and the tiles.

#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

#include "framework/Types.h"

namespace vorlanex {

class BitmapError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

struct TRgbQuad
{
    std::uint8_t Blue = 0, Green = 0, Red = 0, Reserved = 0;
    bool operator==(const TRgbQuad&) const = default;
};

class TBitmap
{
public:
    int Width() const { return width; }
    int Height() const { return height; }
    int BitCount() const { return bitCount; }   // as stored in the file: 1, 4, 8, 16, 24 or 32
    bool Empty() const { return width == 0 || height == 0; }
    // The colour table of a bitmap with 8 bits per pixel or fewer; empty otherwise.
    const std::vector<TRgbQuad>& Palette() const { return palette; }
    // Decoded pixels, top row first, as 0x00BBGGRR colours.
    TColor PixelAt(int x, int y) const { return pixels[std::size_t(y) * std::size_t(width) + std::size_t(x)]; }
    const std::vector<TColor>& Pixels() const { return pixels; }

    // Validates the header against the data before allocating; throws BitmapError naming `sourceName`.
    static TBitmap FromBytes(std::span<const std::uint8_t> bytes, const std::string& sourceName);
    // Opens read-only; throws BitmapError naming the file.
    static TBitmap FromFile(const std::string& path);
    // The number of bytes the BMP at the start of `bytes` occupies, from its own header (bfSize);
    // throws BitmapError when the header is invalid or claims more than `bytes` holds.
    static std::size_t MeasureBytes(std::span<const std::uint8_t> bytes, const std::string& sourceName);

    // Builders for the asset generator and tests.
    static TBitmap Indexed(int width, int height, std::vector<TRgbQuad> palette, const std::vector<std::uint8_t>& indices);
    static TBitmap TrueColor(int width, int height, std::vector<TColor> pixels);
    // Writes a bottom-up BMP file image: 8 bits with the colour table when indexed, else 24 bits.
    std::vector<std::uint8_t> ToBmp() const;

private:
    int width = 0, height = 0, bitCount = 0;
    std::vector<TRgbQuad> palette;
    std::vector<std::uint8_t> indices;   // kept for indexed pictures so they re-save identically
    std::vector<TColor> pixels;
};

}  // namespace vorlanex
