#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "framework/PngWriter.h"

namespace vorlanex {
namespace {

std::uint32_t BigEndian32(const std::vector<std::uint8_t>& b, std::size_t at)
{
    return (std::uint32_t(b[at]) << 24) | (std::uint32_t(b[at + 1]) << 16) | (std::uint32_t(b[at + 2]) << 8) |
           b[at + 3];
}

struct Chunk
{
    std::string type;
    std::vector<std::uint8_t> data;
};

// Splits a PNG into its chunks, checking every CRC on the way.
std::vector<Chunk> ReadChunks(const std::vector<std::uint8_t>& png)
{
    static const std::uint8_t signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    EXPECT_TRUE(png.size() >= 8 && std::equal(signature, signature + 8, png.begin()));
    std::vector<Chunk> chunks;
    for (std::size_t at = 8; at + 12 <= png.size();)
    {
        const std::uint32_t length = BigEndian32(png, at);
        if (at + 12 + length > png.size())
        {
            ADD_FAILURE() << "chunk runs past the end";
            break;
        }
        const std::uint32_t crc = std::uint32_t(crc32(0, png.data() + at + 4, uInt(length + 4)));
        EXPECT_EQ(crc, BigEndian32(png, at + 8 + length));
        chunks.push_back({std::string(png.begin() + long(at) + 4, png.begin() + long(at) + 8),
                          std::vector<std::uint8_t>(png.begin() + long(at) + 8, png.begin() + long(at + 8 + length))});
        at += 12 + length;
    }
    return chunks;
}

std::vector<std::uint8_t> Inflate(const std::vector<std::uint8_t>& packed, std::size_t expected)
{
    std::vector<std::uint8_t> raw(expected + 1);
    uLongf size = uLongf(raw.size());
    EXPECT_EQ(uncompress(raw.data(), &size, packed.data(), uLong(packed.size())), Z_OK);
    raw.resize(size);
    return raw;
}

TEST(PngWriter, EncodesHeaderAndExpandedPixels)
{
    // 3 x 2 pixels inside a pitch of 4; the fourth column must not appear in the picture.
    const std::uint16_t pixels[] = {0xF800, 0x07E0, 0x001F, 0x1234,   // red, green, blue, padding
                                    0xFFFF, 0x0000, 0x8410, 0x4321};  // white, black, mid grey, padding
    const std::vector<Chunk> chunks = ReadChunks(EncodePng(pixels, 3, 2, 4));
    ASSERT_EQ(chunks.size(), 3u);
    EXPECT_EQ(chunks[0].type, "IHDR");
    EXPECT_EQ(chunks[1].type, "IDAT");
    EXPECT_EQ(chunks[2].type, "IEND");
    ASSERT_EQ(chunks[0].data.size(), 13u);
    EXPECT_EQ(BigEndian32(chunks[0].data, 0), 3u);
    EXPECT_EQ(BigEndian32(chunks[0].data, 4), 2u);
    EXPECT_EQ(chunks[0].data[8], 8);   // bits a channel
    EXPECT_EQ(chunks[0].data[9], 2);   // truecolour

    const std::vector<std::uint8_t> raw = Inflate(chunks[1].data, 2 * (1 + 3 * 3));
    const std::vector<std::uint8_t> expected = {0, 255, 0, 0, 0, 255, 0, 0, 0, 255,
                                                0, 255, 255, 255, 0, 0, 0, 132, 130, 132};
    EXPECT_EQ(raw, expected);
}

TEST(PngWriter, WritesFileAndNamesItOnFailure)
{
    const auto dir = std::filesystem::temp_directory_path() / "vorlanex_png_test";
    std::filesystem::create_directories(dir);
    const std::string path = (dir / "frame.png").string();
    std::vector<std::uint16_t> frame(64 * 48, 0x07E0);
    WritePng(path, frame.data(), 64, 48, 64);
    std::ifstream in(path, std::ios::binary);
    const std::vector<std::uint8_t> written((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(written, EncodePng(frame.data(), 64, 48, 64));
    std::filesystem::remove_all(dir);

    const std::string bad = (dir / "missing" / "frame.png").string();
    try
    {
        WritePng(bad, frame.data(), 64, 48, 64);
        ADD_FAILURE() << "wrote into a missing folder";
    }
    catch (const std::runtime_error& error)
    {
        EXPECT_NE(std::string(error.what()).find(bad), std::string::npos) << error.what();
    }
}

TEST(PngWriter, RefusesNonsenseSizes)
{
    const std::uint16_t pixel = 0;
    EXPECT_THROW(EncodePng(&pixel, 0, 1, 1), std::invalid_argument);
    EXPECT_THROW(EncodePng(&pixel, 2, 1, 1), std::invalid_argument);   // pitch smaller than the width
    EXPECT_THROW(EncodePng(nullptr, 1, 1, 1), std::invalid_argument);
}

}  // namespace
}  // namespace vorlanex
