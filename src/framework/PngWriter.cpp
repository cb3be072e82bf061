#include "framework/PngWriter.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <stdexcept>
#include <zlib.h>

namespace vorlanex {

namespace {

void PutBigEndian32(std::vector<std::uint8_t>& out, std::uint32_t v)
{
    out.push_back(std::uint8_t(v >> 24));
    out.push_back(std::uint8_t(v >> 16));
    out.push_back(std::uint8_t(v >> 8));
    out.push_back(std::uint8_t(v));
}

// A chunk is length, type, data and a CRC over type and data.
void PutChunk(std::vector<std::uint8_t>& out, const char type[4], const std::uint8_t* data, std::size_t size)
{
    PutBigEndian32(out, std::uint32_t(size));
    const std::size_t typeAt = out.size();
    out.insert(out.end(), type, type + 4);
    if (size > 0)
        out.insert(out.end(), data, data + size);
    const uLong crc = crc32(0, out.data() + typeAt, uInt(size + 4));
    PutBigEndian32(out, std::uint32_t(crc));
}

// Scanlines of filter type 0 (none) followed by the RGB bytes.
std::vector<std::uint8_t> RawScanlines(const std::uint16_t* rgb565, int width, int height, int pitchPixels)
{
    const std::size_t lineBytes = 1 + std::size_t(width) * 3;
    std::vector<std::uint8_t> raw(lineBytes * std::size_t(height));
    for (int y = 0; y < height; ++y)
    {
        const std::uint16_t* row = rgb565 + std::size_t(y) * std::size_t(pitchPixels);
        std::uint8_t* out = raw.data() + std::size_t(y) * lineBytes;
        *out++ = 0;
        for (int x = 0; x < width; ++x)
        {
            const unsigned p = row[x];
            const unsigned r5 = (p >> 11) & 31, g6 = (p >> 5) & 63, b5 = p & 31;
            *out++ = std::uint8_t((r5 << 3) | (r5 >> 2));
            *out++ = std::uint8_t((g6 << 2) | (g6 >> 4));
            *out++ = std::uint8_t((b5 << 3) | (b5 >> 2));
        }
    }
    return raw;
}

std::vector<std::uint8_t> Deflate(const std::vector<std::uint8_t>& raw)
{
    uLongf size = compressBound(uLong(raw.size()));
    std::vector<std::uint8_t> packed(size);
    if (compress2(packed.data(), &size, raw.data(), uLong(raw.size()), Z_DEFAULT_COMPRESSION) != Z_OK)
        throw std::runtime_error("PNG encoding failed: zlib could not compress the picture");
    packed.resize(size);
    return packed;
}

}  // namespace

std::vector<std::uint8_t> EncodePng(const std::uint16_t* rgb565, int width, int height, int pitchPixels)
{
    // PNG allows 2^31 - 1 per side; the bound here keeps the raw scanlines addressable for zlib as well.
    constexpr int maxSide = 1 << 14;
    if (!rgb565 || width <= 0 || height <= 0 || width > maxSide || height > maxSide || pitchPixels < width)
        throw std::invalid_argument("PNG encoding: invalid picture size or pitch");
    static constexpr std::uint8_t signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<std::uint8_t> png(signature, signature + 8);

    std::vector<std::uint8_t> header;
    PutBigEndian32(header, std::uint32_t(width));
    PutBigEndian32(header, std::uint32_t(height));
    header.insert(header.end(), {8, 2, 0, 0, 0});   // 8 bits a channel, RGB, deflate, filter 0, no interlace
    PutChunk(png, "IHDR", header.data(), header.size());

    const std::vector<std::uint8_t> packed = Deflate(RawScanlines(rgb565, width, height, pitchPixels));
    PutChunk(png, "IDAT", packed.data(), packed.size());
    PutChunk(png, "IEND", nullptr, 0);
    return png;
}

void WritePng(const std::string& path, const std::uint16_t* rgb565, int width, int height, int pitchPixels)
{
    const std::vector<std::uint8_t> png = EncodePng(rgb565, width, height, pitchPixels);
    struct Closer
    {
        void operator()(std::FILE* f) const { std::fclose(f); }
    };
    std::unique_ptr<std::FILE, Closer> file(std::fopen(path.c_str(), "wb"));
    if (!file)
        throw std::runtime_error("Cannot write \"" + path + "\": " + std::strerror(errno));
    const bool written = std::fwrite(png.data(), 1, png.size(), file.get()) == png.size();
    const bool closed = std::fclose(file.release()) == 0;
    if (!written || !closed)
        throw std::runtime_error("Cannot write \"" + path + "\": the write failed (disk full?)");
}

}  // namespace vorlanex
