#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>

#include "framework/Bitmap.h"

using namespace vorlanex;

namespace {

// Writes BMP images field by field, so tests can make both well-formed files of every kind the reader
// accepts and files that lie about themselves.
struct BmpWriter
{
    BmpWriter(std::int32_t width, std::int32_t height, std::uint16_t bits, std::vector<std::uint8_t> table = {},
              std::uint32_t colorsUsed = 0)
        : width(width), height(height), bits(bits), table(std::move(table)), colorsUsed(colorsUsed)
    {
    }

    std::uint32_t headerSize = 40;
    std::int32_t width = 0, height = 0;
    std::uint16_t bits = 24;
    std::uint32_t compression = 0;
    std::vector<std::uint8_t> table;   // colour table bytes, or the masks after a 40-byte header
    std::uint32_t colorsUsed = 0;
    std::vector<std::uint8_t> pixels;  // stored rows, padding included

    static void Put(std::vector<std::uint8_t>& out, std::uint32_t v, int n)
    {
        for (int i = 0; i < n; ++i)
            out.push_back(std::uint8_t(v >> (8 * i)));
    }

    std::vector<std::uint8_t> Bytes() const
    {
        std::vector<std::uint8_t> out{'B', 'M'};
        const std::uint32_t offset = 14 + headerSize + std::uint32_t(table.size());
        Put(out, offset + std::uint32_t(pixels.size()), 4);
        Put(out, 0, 4);
        Put(out, offset, 4);
        Put(out, headerSize, 4);
        if (headerSize == 12) {
            Put(out, std::uint32_t(width), 2), Put(out, std::uint32_t(height), 2), Put(out, 1, 2), Put(out, bits, 2);
        } else {
            Put(out, std::uint32_t(width), 4), Put(out, std::uint32_t(height), 4), Put(out, 1, 2), Put(out, bits, 2);
            Put(out, compression, 4), Put(out, std::uint32_t(pixels.size()), 4), Put(out, 0, 4), Put(out, 0, 4);
            Put(out, colorsUsed, 4), Put(out, 0, 4);
            out.resize(14 + headerSize, 0);
        }
        out.insert(out.end(), table.begin(), table.end());
        out.insert(out.end(), pixels.begin(), pixels.end());
        return out;
    }
};

void Patch32(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        b[at + std::size_t(i)] = std::uint8_t(v >> (8 * i));
}

const std::vector<std::uint8_t> kTwoColours{255, 0, 0, 0, 0, 0, 255, 0};   // blue, red

std::string ReadError(const std::vector<std::uint8_t>& bytes)
{
    try {
        TBitmap::FromBytes(bytes, "hostile.bmp");
    } catch (const BitmapError& e) {
        return e.what();
    }
    return "";
}

TEST(BitmapReader, DecodesIndexedDepthsWithTheirColourTables)
{
    // 3 x 2, rows stored bottom-up: bottom row first.
    BmpWriter one(3, 2, 1, kTwoColours);
    one.pixels = {0b01000000, 0, 0, 0, 0b10100000, 0, 0, 0};
    const TBitmap b1 = TBitmap::FromBytes(one.Bytes(), "one.bmp");
    EXPECT_EQ(b1.BitCount(), 1);
    EXPECT_EQ(b1.PixelAt(0, 0), clRed);
    EXPECT_EQ(b1.PixelAt(1, 0), RGBColor(0, 0, 255));
    EXPECT_EQ(b1.PixelAt(1, 1), clRed);
    ASSERT_EQ(b1.Palette().size(), 2u);

    BmpWriter four(3, 1, 4, kTwoColours, 2);
    four.pixels = {0x01, 0x10, 0, 0};
    const TBitmap b4 = TBitmap::FromBytes(four.Bytes(), "four.bmp");
    EXPECT_EQ(b4.PixelAt(0, 0), RGBColor(0, 0, 255));
    EXPECT_EQ(b4.PixelAt(1, 0), clRed);
    EXPECT_EQ(b4.PixelAt(2, 0), clRed);

    BmpWriter eight(2, 2, 8, kTwoColours, 2);
    eight.height = -2;   // top-down
    eight.pixels = {1, 0, 0, 0, 0, 1, 0, 0};
    const TBitmap b8 = TBitmap::FromBytes(eight.Bytes(), "eight.bmp");
    EXPECT_EQ(b8.PixelAt(0, 0), clRed);
    EXPECT_EQ(b8.PixelAt(1, 1), clRed);
    EXPECT_EQ(b8.PixelAt(1, 0), RGBColor(0, 0, 255));
}

TEST(BitmapReader, DecodesDirectColourDepths)
{
    BmpWriter rgb555(1, 1, 16);
    rgb555.pixels = {0x00, 0x7C, 0, 0};   // pure red in 5-5-5
    EXPECT_EQ(TBitmap::FromBytes(rgb555.Bytes(), "555.bmp").PixelAt(0, 0), clRed);

    BmpWriter rgb565(2, 1, 16);
    rgb565.compression = 3;
    for (std::uint32_t m : {0xF800u, 0x07E0u, 0x001Fu})
        BmpWriter::Put(rgb565.table, m, 4);
    rgb565.pixels = {0xE0, 0x07, 0x1F, 0x00};   // green, blue
    const TBitmap b565 = TBitmap::FromBytes(rgb565.Bytes(), "565.bmp");
    EXPECT_EQ(b565.PixelAt(0, 0), RGBColor(0, 255, 0));
    EXPECT_EQ(b565.PixelAt(1, 0), RGBColor(0, 0, 255));

    BmpWriter rgb24(1, 2, 24);
    rgb24.pixels = {0x30, 0x20, 0x10, 0, 0x03, 0x02, 0x01, 0};
    const TBitmap b24 = TBitmap::FromBytes(rgb24.Bytes(), "24.bmp");
    EXPECT_EQ(b24.PixelAt(0, 1), RGBColor(0x10, 0x20, 0x30));
    EXPECT_EQ(b24.PixelAt(0, 0), RGBColor(0x01, 0x02, 0x03));

    BmpWriter wholeMask(1, 1, 32);   // a mask of all 32 bits keeps the top eight
    wholeMask.compression = 3;
    for (std::uint32_t m : {0xFFFFFFFFu, 0u, 0u})
        BmpWriter::Put(wholeMask.table, m, 4);
    wholeMask.pixels = {0, 0, 0, 0xAB};
    EXPECT_EQ(TBitmap::FromBytes(wholeMask.Bytes(), "mask.bmp").PixelAt(0, 0), RGBColor(0xAB, 0, 0));

    BmpWriter rgb32(1, 1, 32);
    rgb32.headerSize = 124;
    rgb32.pixels = {0x33, 0x22, 0x11, 0xFF};
    EXPECT_EQ(TBitmap::FromBytes(rgb32.Bytes(), "32.bmp").PixelAt(0, 0), RGBColor(0x11, 0x22, 0x33));

    BmpWriter core(2, 1, 8, {0, 0, 0, 9, 8, 7});
    core.headerSize = 12;
    core.pixels = {1, 0, 0, 0};
    const TBitmap bc = TBitmap::FromBytes(core.Bytes(), "core.bmp");
    EXPECT_EQ(bc.PixelAt(0, 0), RGBColor(7, 8, 9));
    EXPECT_EQ(bc.Palette().size(), 2u);
}

TEST(BitmapReader, DecodesRunLengthEightBits)
{
    BmpWriter rle(4, 2, 8, kTwoColours, 2);
    rle.compression = 1;
    // Bottom row: 4 x index 1; end of line; top row: literal 0 1 0 (padded), one more 1; end of bitmap.
    rle.pixels = {4, 1, 0, 0, 0, 3, 0, 1, 0, 0, 1, 1, 0, 1};
    const TBitmap b = TBitmap::FromBytes(rle.Bytes(), "rle.bmp");
    EXPECT_EQ(b.PixelAt(0, 1), clRed);
    EXPECT_EQ(b.PixelAt(3, 1), clRed);
    EXPECT_EQ(b.PixelAt(0, 0), RGBColor(0, 0, 255));
    EXPECT_EQ(b.PixelAt(1, 0), clRed);
    EXPECT_EQ(b.PixelAt(3, 0), clRed);
}

TEST(BitmapWriter, RoundTripsIndexedAndTrueColourPictures)
{
    const TBitmap indexed = TBitmap::Indexed(3, 2, {{0, 0, 0, 0}, {10, 20, 30, 0}}, {0, 1, 1, 1, 0, 0});
    const std::vector<std::uint8_t> bytes = indexed.ToBmp();
    const TBitmap back = TBitmap::FromBytes(bytes, "indexed.bmp");
    EXPECT_EQ(back.BitCount(), 8);
    EXPECT_EQ(back.Pixels(), indexed.Pixels());
    EXPECT_EQ(back.Palette(), indexed.Palette());
    EXPECT_EQ(back.ToBmp(), bytes);   // indexed pictures re-save byte for byte

    const TBitmap direct = TBitmap::TrueColor(5, 1, {1, 0x123456, 0xFFFFFF, 0, 0x808080});
    const TBitmap directBack = TBitmap::FromBytes(direct.ToBmp(), "direct.bmp");
    EXPECT_EQ(directBack.BitCount(), 24);
    EXPECT_EQ(directBack.Pixels(), direct.Pixels());

    EXPECT_THROW(TBitmap::Indexed(2, 1, {{0, 0, 0, 0}}, {0, 1}), BitmapError);
    EXPECT_THROW(TBitmap::TrueColor(2, 2, {0, 0, 0}), BitmapError);
}

TEST(BitmapReader, MeasureBytesCutsTheBitmapOutOfALongerStream)
{
    std::vector<std::uint8_t> stream = TBitmap::Indexed(3, 3, {{1, 2, 3, 0}}, std::vector<std::uint8_t>(9, 0)).ToBmp();
    const std::size_t size = stream.size();
    stream.insert(stream.end(), {0x03, 0xE8, 0x03, 0x00, 0x00});
    EXPECT_EQ(TBitmap::MeasureBytes(stream, "tile"), size);
    EXPECT_EQ(TBitmap::FromBytes(stream, "tile").Width(), 3);

    // A zero bfSize (some writers leave it out) is measured from the header and rows.
    Patch32(stream, 2, 0);
    EXPECT_EQ(TBitmap::MeasureBytes(stream, "tile"), size);
    stream.resize(size - 1);
    EXPECT_THROW(TBitmap::MeasureBytes(stream, "tile"), BitmapError);
}

TEST(BitmapReader, RejectsHostileHeadersWithTheSourceNamed)
{
    const std::vector<std::uint8_t> good = TBitmap::TrueColor(2, 2, {0, 0, 0, 0}).ToBmp();
    std::vector<std::uint8_t> b;

    EXPECT_NE(ReadError({'B', 'M', 0}).find("hostile.bmp: "), std::string::npos);
    b = good, b[0] = 'X';
    EXPECT_NE(ReadError(b).find("BM"), std::string::npos);
    b = good, b.resize(b.size() - 1), Patch32(b, 2, std::uint32_t(b.size()));
    EXPECT_NE(ReadError(b).find("truncated"), std::string::npos);
    b = good, Patch32(b, 18, 1u << 30), Patch32(b, 22, 1u << 30);
    EXPECT_NE(ReadError(b).find("too large"), std::string::npos);
    b = good, Patch32(b, 22, 0x80000000u);
    EXPECT_FALSE(ReadError(b).empty());
    b = good, Patch32(b, 10, 100000);
    EXPECT_NE(ReadError(b).find("offset"), std::string::npos);
    b = good, Patch32(b, 2, 1u << 31);
    EXPECT_NE(ReadError(b).find("file size"), std::string::npos);
    b = good, b[28] = 7;
    EXPECT_NE(ReadError(b).find("bit depth"), std::string::npos);
    b = good, Patch32(b, 14, 41);
    EXPECT_NE(ReadError(b).find("header size"), std::string::npos);
    b = good, Patch32(b, 30, 1);   // run-length data claimed for 24 bits
    EXPECT_FALSE(ReadError(b).empty());

    BmpWriter big(1, 1, 8, kTwoColours, 300);
    big.pixels = {0, 0, 0, 0};
    EXPECT_NE(ReadError(big.Bytes()).find("colour table"), std::string::npos);
    BmpWriter overlapping(1, 1, 8, kTwoColours, 4);
    overlapping.pixels = {0, 0, 0, 0};
    EXPECT_NE(ReadError(overlapping.Bytes()).find("colour table"), std::string::npos);
    BmpWriter badMask(1, 1, 16);
    badMask.compression = 3;
    for (std::uint32_t m : {0xF00Fu, 0x07E0u, 0x001Fu})
        BmpWriter::Put(badMask.table, m, 4);
    badMask.pixels = {0, 0, 0, 0};
    EXPECT_NE(ReadError(badMask.Bytes()).find("mask"), std::string::npos);
}

// Runs that point past the row or past the data never write outside the picture.
TEST(BitmapReader, RunLengthDataCannotEscapeThePicture)
{
    BmpWriter rle(2, 2, 8, kTwoColours, 2);
    rle.compression = 1;
    rle.pixels = {255, 1, 0, 2, 200, 200, 0, 250, 1, 0};
    const TBitmap b = TBitmap::FromBytes(rle.Bytes(), "rle.bmp");
    EXPECT_EQ(b.PixelAt(0, 1), clRed);
    EXPECT_EQ(b.PixelAt(1, 1), clRed);
    EXPECT_EQ(b.PixelAt(0, 0), RGBColor(0, 0, 255));
}

class BitmapFiles : public ::testing::Test
{
protected:
    void SetUp() override
    {
        dir = std::filesystem::temp_directory_path() /
              ("vorlanex-bitmap-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(dir);
    }
    void TearDown() override { std::filesystem::remove_all(dir); }
    std::filesystem::path dir;
};

TEST_F(BitmapFiles, ReadsAReadOnlyFileAndNamesMissingOnes)
{
    const std::filesystem::path path = dir / "pic.bmp";
    const std::vector<std::uint8_t> bytes = TBitmap::TrueColor(1, 1, {clYellow}).ToBmp();
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    ::chmod(path.c_str(), 0444);
    EXPECT_EQ(TBitmap::FromFile(path.string()).PixelAt(0, 0), clYellow);

    try {
        TBitmap::FromFile((dir / "absent.bmp").string());
        FAIL() << "a missing file must throw";
    } catch (const BitmapError& e) {
        EXPECT_NE(std::string(e.what()).find("absent.bmp"), std::string::npos);
    }
}

// A file written by Python's own struct packing, independent of our writer.
TEST_F(BitmapFiles, ReadsABitmapWrittenByAnotherTool)
{
    const std::filesystem::path path = dir / "python.bmp";
    const std::string script =
        "import struct,sys\n"
        "w,h=5,3\n"
        "stride=(w*3+3)//4*4\n"
        "rows=b''\n"
        "for y in range(h-1,-1,-1):\n"
        "    row=b''.join(struct.pack('<BBB',x*50,y*100,200) for x in range(w))\n"
        "    rows+=row+b'\\0'*(stride-len(row))\n"
        "hdr=struct.pack('<IiiHHIIiiII',40,w,h,1,24,0,len(rows),2835,2835,0,0)\n"
        "f=b'BM'+struct.pack('<IHHI',14+len(hdr)+len(rows),0,0,14+len(hdr))+hdr+rows\n"
        "open(sys.argv[1],'wb').write(f)\n";
    const std::filesystem::path scriptPath = dir / "write.py";
    std::ofstream(scriptPath) << script;
    const std::string command = "python3 '" + scriptPath.string() + "' '" + path.string() + "' 2>/dev/null";
    if (std::system(command.c_str()) != 0)
        GTEST_SKIP() << "python3 is not available";
    const TBitmap b = TBitmap::FromFile(path.string());
    ASSERT_EQ(b.Width(), 5);
    ASSERT_EQ(b.Height(), 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x)
            EXPECT_EQ(b.PixelAt(x, y), RGBColor(200, std::uint8_t(y * 100), std::uint8_t(x * 50))) << x << "," << y;
}

}  // namespace
