#pragma once
// The validated layout of a BMP image: where its colour table and pixels lie and how pixels are packed.
// Shared by the decoder and by MeasureBytes; nothing here allocates before every size has been checked.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace vorlanex {

enum class BmpCompression : std::uint32_t { Rgb = 0, Rle8 = 1, Rle4 = 2, BitFields = 3 };

struct BmpChannelMask
{
    std::uint32_t mask = 0;
    int shift = 0;   // of the lowest set bit
    int bits = 0;    // number of contiguous set bits
};

struct BmpLayout
{
    std::uint32_t fileSize = 0;       // bfSize as written; may be 0 in files from careless writers
    std::size_t pixelOffset = 0;      // bfOffBits
    std::uint32_t headerSize = 0;     // 12 for the old core header, 40..124 otherwise
    int width = 0, height = 0;        // height always positive here
    bool topDown = false;
    int bitCount = 0;
    BmpCompression compression = BmpCompression::Rgb;
    std::size_t paletteOffset = 0;
    std::size_t paletteEntries = 0;
    std::size_t paletteEntrySize = 4;  // 3 in core-header files
    std::size_t stride = 0;            // bytes per stored row, padded to 4
    std::size_t pixelBytes = 0;        // bytes of pixel data the image occupies
    BmpChannelMask red, green, blue;
};

// Parses and bounds the headers of the BMP at the start of `bytes`; throws BitmapError naming `sourceName`.
BmpLayout ParseBmpLayout(std::span<const std::uint8_t> bytes, const std::string& sourceName);

// Bytes of the file head that BmpFileSizeLimit looks at.
inline constexpr std::size_t BmpHeadBytes = 30;
// Headers and a full colour table, plus slack for writers that leave a little behind the pixels.
inline constexpr std::uint64_t BmpHeaderRoom = 64 * 1024;
// The largest file the picture announced by `head` can need (headers, colour table, its rows, or run-length
// data that grew instead of shrinking), with a short text of what it is ("a 1024 x 768 picture"); 0 when
// the head announces no picture the decoder would accept.
std::uint64_t BmpFileSizeLimit(std::span<const std::uint8_t> head, std::string& what);

}  // namespace vorlanex
