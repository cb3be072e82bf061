#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <unistd.h>

#include "framework/Bitmap.h"

using namespace vorlanex;

namespace {

using Bytes = std::vector<std::uint8_t>;

void Put(Bytes& out, std::uint64_t v, int n)
{
    for (int i = 0; i < n; ++i)
        out.push_back(std::uint8_t(v >> (8 * i)));
}

void Patch32(Bytes& b, std::size_t at, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        b[at + std::size_t(i)] = std::uint8_t(v >> (8 * i));
}

// A BMP written field by field: `table` is the colour table or the masks after a 40-byte header, `pixels` the
// stored rows with their padding. A header size of 12 gives the old core header.
Bytes Bmp(std::int32_t w, std::int32_t h, std::uint16_t bits, const Bytes& table, const Bytes& pixels,
          std::uint32_t compression = 0, std::uint32_t colorsUsed = 0, std::uint32_t headerSize = 40)
{
    Bytes out{'B', 'M'};
    const std::uint32_t offset = 14 + headerSize + std::uint32_t(table.size());
    Put(out, offset + std::uint32_t(pixels.size()), 4), Put(out, 0, 4), Put(out, offset, 4), Put(out, headerSize, 4);
    const int side = headerSize == 12 ? 2 : 4;
    Put(out, std::uint32_t(w), side), Put(out, std::uint32_t(h), side), Put(out, 1, 2), Put(out, bits, 2);
    if (headerSize != 12) {
        Put(out, compression, 4), Put(out, std::uint32_t(pixels.size()), 4), Put(out, 0, 8), Put(out, colorsUsed, 4);
        out.resize(14 + headerSize, 0);
    }
    out.insert(out.end(), table.begin(), table.end());
    out.insert(out.end(), pixels.begin(), pixels.end());
    return out;
}

const Bytes kBlueRed{255, 0, 0, 0, 0, 0, 255, 0};
const TColor kBlue = RGBColor(0, 0, 255);

std::string ReadError(const Bytes& bytes)
{
    try {
        TBitmap::FromBytes(bytes, "hostile.bmp");
    } catch (const BitmapError& e) {
        return e.what();
    }
    return "";
}

TEST(BitmapReader, DecodesIndexedDepthsBottomUpAndTopDown)
{
    const TBitmap b1 = TBitmap::FromBytes(Bmp(3, 2, 1, kBlueRed, {0b01000000, 0, 0, 0, 0b10100000, 0, 0, 0}), "1");
    EXPECT_EQ(b1.BitCount(), 1);
    EXPECT_EQ(b1.Palette().size(), 2u);
    EXPECT_EQ(b1.Pixels(), (std::vector<TColor>{clRed, kBlue, clRed, kBlue, clRed, kBlue}));

    const TBitmap b4 = TBitmap::FromBytes(Bmp(3, 1, 4, kBlueRed, {0x01, 0x10, 0, 0}, 0, 2), "4");
    EXPECT_EQ(b4.Pixels(), (std::vector<TColor>{kBlue, clRed, clRed}));

    const TBitmap b8 = TBitmap::FromBytes(Bmp(2, -2, 8, kBlueRed, {1, 0, 0, 0, 0, 1, 0, 0}, 0, 2), "8");
    EXPECT_EQ(b8.Pixels(), (std::vector<TColor>{clRed, kBlue, kBlue, clRed}));

    const TBitmap core = TBitmap::FromBytes(Bmp(2, 1, 8, {0, 0, 0, 9, 8, 7}, {1, 0, 0, 0}, 0, 0, 12), "core");
    EXPECT_EQ(core.PixelAt(0, 0), RGBColor(7, 8, 9));
}

TEST(BitmapReader, DecodesDirectColourDepths)
{
    EXPECT_EQ(TBitmap::FromBytes(Bmp(1, 1, 16, {}, {0x00, 0x7C, 0, 0}), "555").PixelAt(0, 0), clRed);

    Bytes masks;
    for (std::uint32_t m : {0xF800u, 0x07E0u, 0x001Fu})
        Put(masks, m, 4);
    const TBitmap b565 = TBitmap::FromBytes(Bmp(2, 1, 16, masks, {0xE0, 0x07, 0x1F, 0x00}, 3), "565");
    EXPECT_EQ(b565.Pixels(), (std::vector<TColor>{RGBColor(0, 255, 0), kBlue}));

    const TBitmap b24 = TBitmap::FromBytes(Bmp(1, 2, 24, {}, {3, 2, 1, 0, 0x30, 0x20, 0x10, 0}), "24");
    EXPECT_EQ(b24.Pixels(), (std::vector<TColor>{RGBColor(0x10, 0x20, 0x30), RGBColor(1, 2, 3)}));

    const Bytes v5 = Bmp(1, 1, 32, {}, {0x33, 0x22, 0x11, 0xFF}, 0, 0, 124);
    EXPECT_EQ(TBitmap::FromBytes(v5, "32").PixelAt(0, 0), RGBColor(0x11, 0x22, 0x33));
}

TEST(BitmapReader, DecodesRunLengthData)
{
    // Bottom row: 4 x index 1, end of line; top row: literal 0 1 0 (padded to a word), one more 1; end.
    const Bytes rle{4, 1, 0, 0, 0, 3, 0, 1, 0, 0, 1, 1, 0, 1};
    const TBitmap b = TBitmap::FromBytes(Bmp(4, 2, 8, kBlueRed, rle, 1, 2), "rle");
    EXPECT_EQ(b.Pixels(), (std::vector<TColor>{kBlue, clRed, kBlue, clRed, clRed, clRed, clRed, clRed}));
    // A jump skips pixels (they stay index 0); the last row's end of line may stand for the end of bitmap.
    const Bytes jump{0, 2, 1, 1, 1, 1, 0, 0};
    EXPECT_EQ(TBitmap::FromBytes(Bmp(2, 2, 8, kBlueRed, jump, 1, 2), "jump").Pixels(),
              (std::vector<TColor>{kBlue, clRed, kBlue, kBlue}));
    // Four-bit runs alternate the two halves of their byte.
    const Bytes four{4, 0x10, 0, 1};
    EXPECT_EQ(TBitmap::FromBytes(Bmp(4, 1, 4, kBlueRed, four, 2, 2), "four").Pixels(),
              (std::vector<TColor>{clRed, kBlue, clRed, kBlue}));
}

TEST(BitmapReader, RefusesRunLengthDataThatOverrunsThePictureOrEndsEarly)
{
    const std::pair<Bytes, const char*> cases[] = {
        {{5, 1, 0, 1}, "a run of 5 pixels at column 0 of row 1 runs past the 4-pixel row"},
        {{3, 1, 2, 1, 0, 1}, "a run of 2 pixels at column 3"},
        {{0, 5, 1, 1, 1, 1, 1, 0, 0, 1}, "a literal run of 5 pixels"},
        {{0, 2, 2, 0, 0, 2, 0, 2, 0, 1}, "a jump of 0 columns and 2 rows from row 1 leaves the 4 x 2 picture"},
        {{0, 2, 5, 0}, "a jump of 5 columns"},
        {{0, 2, 1}, "compressed data ends inside a jump"},
        {{0, 3, 1}, "compressed data ends inside a literal run of 3 pixels"},
        {{4, 1, 0, 0}, "compressed data ends at row 2 of 2"},
        {{4, 1}, "compressed data ends at row 1 of 2"},
    };
    for (const auto& [data, expected] : cases)
    {
        const std::string message = ReadError(Bmp(4, 2, 8, kBlueRed, data, 1, 2));
        EXPECT_EQ(message.rfind("hostile.bmp: ", 0), 0u) << message;
        EXPECT_NE(message.find(expected), std::string::npos) << message;
    }
}

TEST(BitmapReader, WriterRoundTripsAndMeasureCutsTheBitmapOutOfAStream)
{
    const TBitmap indexed = TBitmap::Indexed(3, 2, {{0, 0, 0, 0}, {10, 20, 30, 0}}, {0, 1, 1, 1, 0, 0});
    Bytes stream = indexed.ToBmp();
    const TBitmap back = TBitmap::FromBytes(stream, "indexed");
    EXPECT_EQ(back.Pixels(), indexed.Pixels());
    EXPECT_EQ(back.ToBmp(), stream);   // indexed pictures re-save byte for byte
    const TBitmap direct = TBitmap::TrueColor(5, 1, {1, 0x123456, 0xFFFFFF, 0, 0x808080});
    EXPECT_EQ(TBitmap::FromBytes(direct.ToBmp(), "direct").Pixels(), direct.Pixels());
    EXPECT_THROW(TBitmap::Indexed(2, 1, {{0, 0, 0, 0}}, {0, 1}), BitmapError);

    // A tile stream: the bitmap, then a flags byte and a durability.
    const std::size_t size = stream.size();
    stream.insert(stream.end(), {0x03, 0xE8, 0x03, 0x00, 0x00});
    EXPECT_EQ(TBitmap::MeasureBytes(stream, "tile"), size);
    Patch32(stream, 2, 0);   // some writers leave bfSize out: the rows still say where the bitmap ends
    EXPECT_EQ(TBitmap::MeasureBytes(stream, "tile"), size);
    stream.resize(size - 1);
    EXPECT_THROW(TBitmap::MeasureBytes(stream, "tile"), BitmapError);
}

TEST(BitmapReader, RefusesHostileHeadersNamingTheSource)
{
    const Bytes good = TBitmap::TrueColor(2, 2, {0, 0, 0, 0}).ToBmp();
    const auto patched = [&](std::size_t at, std::uint32_t v) {
        Bytes b = good;
        Patch32(b, at, v);
        return ReadError(b);
    };
    EXPECT_EQ(ReadError({'B', 'M', 0}).rfind("hostile.bmp: ", 0), 0u);
    EXPECT_NE(patched(0, 0x00004D58).find("BM"), std::string::npos);
    EXPECT_NE(ReadError(Bytes(good.begin(), good.end() - 1)).find("file size"), std::string::npos);
    Bytes cut(good.begin(), good.end() - 1);
    Patch32(cut, 2, std::uint32_t(cut.size()));
    EXPECT_NE(ReadError(cut).find("truncated"), std::string::npos);
    EXPECT_NE(patched(18, 1u << 30).find("too large"), std::string::npos);
    EXPECT_NE(patched(22, 0x80000000u).find("dimensions"), std::string::npos);
    EXPECT_NE(patched(10, 100000).find("offset"), std::string::npos);
    EXPECT_NE(patched(28, 7).find("bit depth"), std::string::npos);
    EXPECT_NE(patched(14, 41).find("header size"), std::string::npos);
    EXPECT_NE(patched(30, 1).find("compression"), std::string::npos);   // run-length data claimed for 24 bits

    EXPECT_NE(ReadError(Bmp(1, 1, 8, kBlueRed, {0, 0, 0, 0}, 0, 300)).find("larger than 256"), std::string::npos);
    EXPECT_NE(ReadError(Bmp(1, 1, 8, kBlueRed, Bytes(12, 0), 0, 4)).find("overlaps"), std::string::npos);
    Bytes badMasks;
    for (std::uint32_t m : {0xF00Fu, 0x07E0u, 0x001Fu})
        Put(badMasks, m, 4);
    EXPECT_NE(ReadError(Bmp(1, 1, 16, badMasks, {0, 0, 0, 0}, 3)).find("mask"), std::string::npos);
}

class BitmapFiles : public ::testing::Test
{
protected:
    void SetUp() override { std::filesystem::create_directories(dir); }
    void TearDown() override { std::filesystem::remove_all(dir); }
    const std::filesystem::path dir = std::filesystem::temp_directory_path() /
                                      ("vorlanex-bitmap-" + std::to_string(::getpid()));
};

TEST_F(BitmapFiles, ReadsFilesAndNamesTheOneThatIsMissing)
{
    const Bytes bytes = TBitmap::TrueColor(1, 1, {clYellow}).ToBmp();
    std::ofstream(dir / "pic.bmp", std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    std::filesystem::permissions(dir / "pic.bmp", std::filesystem::perms::owner_read);
    EXPECT_EQ(TBitmap::FromFile((dir / "pic.bmp").string()).PixelAt(0, 0), clYellow);
    try {
        TBitmap::FromFile((dir / "absent.bmp").string());
        FAIL() << "a missing file must throw";
    } catch (const BitmapError& e) {
        EXPECT_NE(std::string(e.what()).find("absent.bmp"), std::string::npos);
    }
}

// A file packed by Python's struct module, independent of our writer.
TEST_F(BitmapFiles, ReadsABitmapWrittenByAnotherTool)
{
    std::ofstream(dir / "write.py")
        << "import struct,sys\n"
           "w,h=5,3\n"
           "pad=b'\\0'*((w*3+3)//4*4-w*3)\n"
           "rows=b''.join(b''.join(struct.pack('<BBB',x*50,y*100,200) for x in range(w))+pad"
           " for y in range(h-1,-1,-1))\n"
           "hdr=struct.pack('<IiiHHIIiiII',40,w,h,1,24,0,len(rows),2835,2835,0,0)\n"
           "f=b'BM'+struct.pack('<IHHI',14+len(hdr)+len(rows),0,0,14+len(hdr))+hdr+rows\n"
           "open(sys.argv[1],'wb').write(f)\n";
    const std::string command = "python3 '" + (dir / "write.py").string() + "' '" + (dir / "py.bmp").string() + "'";
    if (std::system((command + " 2>/dev/null").c_str()) != 0)
        GTEST_SKIP() << "python3 is not available";
    const TBitmap b = TBitmap::FromFile((dir / "py.bmp").string());
    ASSERT_EQ(b.Width(), 5);
    ASSERT_EQ(b.Height(), 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x)
            EXPECT_EQ(b.PixelAt(x, y), RGBColor(200, std::uint8_t(y * 100), std::uint8_t(x * 50))) << x << "," << y;
}

}  // namespace
