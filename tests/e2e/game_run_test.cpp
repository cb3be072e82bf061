// Runs the real executable headless, the way outside checks drive it.

#include <gtest/gtest.h>
#include <zlib.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

namespace {

namespace fs = std::filesystem;

std::vector<std::uint8_t> ReadBytes(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::uint32_t Be32(const std::uint8_t* p) { return std::uint32_t(p[0]) << 24 | p[1] << 16 | p[2] << 8 | p[3]; }

// Decodes an 8-bit RGB PNG into rows of RGB bytes.
struct Image
{
    int width = 0, height = 0;
    std::vector<std::uint8_t> rgb;
    const std::uint8_t* At(int x, int y) const { return &rgb[(std::size_t(y) * std::size_t(width) + x) * 3]; }
};

std::uint8_t Paeth(int a, int b, int c)
{
    const int p = a + b - c, pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
    return std::uint8_t(pa <= pb && pa <= pc ? a : pb <= pc ? b : c);
}

Image DecodePng(const std::vector<std::uint8_t>& png)
{
    Image img;
    std::vector<std::uint8_t> idat;
    for (std::size_t pos = 8; pos + 8 <= png.size();)
    {
        const std::uint32_t len = Be32(&png[pos]);
        const std::string type(png.begin() + std::ptrdiff_t(pos + 4), png.begin() + std::ptrdiff_t(pos + 8));
        const std::uint8_t* data = &png[pos + 8];
        if (type == "IHDR")
        {
            img.width = int(Be32(data));
            img.height = int(Be32(data + 4));
            EXPECT_EQ(data[8], 8);   // bit depth
            EXPECT_EQ(data[9], 2);   // RGB
        }
        else if (type == "IDAT")
            idat.insert(idat.end(), data, data + len);
        pos += 12 + len;
    }
    const std::size_t stride = std::size_t(img.width) * 3;
    std::vector<std::uint8_t> raw((stride + 1) * std::size_t(img.height));
    uLongf rawLen = uLongf(raw.size());
    EXPECT_EQ(uncompress(raw.data(), &rawLen, idat.data(), uLong(idat.size())), Z_OK);
    img.rgb.resize(stride * std::size_t(img.height));
    for (int y = 0; y < img.height; ++y)
    {
        const std::uint8_t filter = raw[std::size_t(y) * (stride + 1)];
        const std::uint8_t* in = &raw[std::size_t(y) * (stride + 1) + 1];
        std::uint8_t* out = &img.rgb[std::size_t(y) * stride];
        const std::uint8_t* up = y > 0 ? out - stride : nullptr;
        for (std::size_t i = 0; i < stride; ++i)
        {
            const int a = i >= 3 ? out[i - 3] : 0, b = up ? up[i] : 0, c = up && i >= 3 ? up[i - 3] : 0;
            const int pred = filter == 1 ? a : filter == 2 ? b : filter == 3 ? (a + b) / 2 : filter == 4 ? Paeth(a, b, c) : 0;
            out[i] = std::uint8_t(in[i] + pred);
        }
    }
    return img;
}

class GameRun : public ::testing::Test
{
protected:
    void SetUp() override
    {
        dir = fs::temp_directory_path() / ("vorlanex-e2e-" + std::to_string(::getpid()));
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }

    int Run(const std::string& args)
    {
        const std::string command = std::string(VORLANEX_BUILD_DIR) + "/vorlanex --headless --unpaced --seed 7 " +
                                    args + " > " + (dir / "out.txt").string() + " 2>&1";
        const int status = std::system(command.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    std::string Output()
    {
        const auto bytes = ReadBytes(dir / "out.txt");
        return {bytes.begin(), bytes.end()};
    }

    fs::path dir;
};

}  // namespace

TEST_F(GameRun, TitleThenBattleWithScreenshotsAndStateDump)
{
    std::ofstream(dir / "script.txt") << "# start a battle\n"
                                         "5 move 100 100\n"
                                         "20 press Space\n"
                                         "40 click right 10 10\n"
                                         "45 press Space\n";
    const std::string args = "--input " + (dir / "script.txt").string() + " --frames 60 --screenshot 10:" +
                             (dir / "title.png").string() + " --screenshot 42:" + (dir / "menu.png").string() +
                             " --dump-state " + (dir / "state.json").string();
    ASSERT_EQ(Run(args), 0) << Output();

    const nlohmann::json state = nlohmann::json::parse(ReadBytes(dir / "state.json"));
    EXPECT_EQ(state["frame"], 60);
    EXPECT_EQ(state["Scene"], 2);
    EXPECT_EQ(state["globals"]["CurrentLevel"], 1);
    EXPECT_EQ(state["globals"]["Difficulty"], 0);
    EXPECT_TRUE(state["errors"].empty()) << state["errors"].dump();
    // Snow and terrain of the first map.
    int snow = 0;
    for (const auto& sprite : state["sprites"])
        snow += sprite["class"] == "TScrollBackground2";
    EXPECT_EQ(snow, 100);

    const Image title = DecodePng(ReadBytes(dir / "title.png"));
    ASSERT_EQ(title.width, 1024);
    ASSERT_EQ(title.height, 768);
    long lit = 0;
    for (int y = 0; y < 768; y += 4)
        for (int x = 0; x < 1024; x += 4)
            lit += title.At(x, y)[0] + title.At(x, y)[1] + title.At(x, y)[2] > 60;
    EXPECT_GT(lit, 1000) << "the title picture is almost black";

    const Image menu = DecodePng(ReadBytes(dir / "menu.png"));
    // The menu frame and its buttons sit at the centre, where the title showed the logo.
    long changed = 0;
    for (int y = 344; y < 456; ++y)
        for (int x = 448; x < 576; ++x)
            changed += std::memcmp(menu.At(x, y), title.At(x, y), 3) != 0;
    EXPECT_GT(changed, 2000);
}

TEST_F(GameRun, LogoSpinsAtTheScreenCentre)
{
    const std::string args = "--frames 64 --screenshot 1:" + (dir / "a.png").string() + " --screenshot 64:" +
                             (dir / "b.png").string();
    ASSERT_EQ(Run(args), 0) << Output();
    const Image a = DecodePng(ReadBytes(dir / "a.png")), b = DecodePng(ReadBytes(dir / "b.png"));
    long centre = 0, corner = 0;
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 100; ++x)
        {
            centre += std::memcmp(a.At(462 + x, 334 + y), b.At(462 + x, 334 + y), 3) != 0;
            corner += std::memcmp(a.At(900 + x, 600 + y), b.At(900 + x, 600 + y), 3) != 0;
        }
    EXPECT_GT(centre, 1000) << "nothing turned at the centre";
    EXPECT_EQ(corner, 0) << "the backdrop away from the logo and ticker changed";
}

TEST_F(GameRun, OptionsAreCheckedAndExplained)
{
    EXPECT_EQ(Run("--help"), 0);
    EXPECT_NE(Output().find("--screenshot N:FILE"), std::string::npos);
    EXPECT_EQ(Run("--frames many"), 2);
    EXPECT_NE(Output().find("--frames needs a whole number"), std::string::npos);
    std::ofstream(dir / "bad.txt") << "3 press NoSuchKey\n";
    EXPECT_EQ(Run("--input " + (dir / "bad.txt").string()), 2);
    EXPECT_NE(Output().find("bad.txt:1: unknown key 'NoSuchKey'"), std::string::npos);
}

TEST_F(GameRun, AltF4FromTheScriptQuitsAndStillWritesTheState)
{
    std::ofstream(dir / "quit.txt") << "5 down Left Alt\n6 press F4\n";
    const std::string args =
        "--input " + (dir / "quit.txt").string() + " --frames 500 --dump-state " + (dir / "state.json").string();
    ASSERT_EQ(Run(args), 0) << Output();
    const nlohmann::json state = nlohmann::json::parse(ReadBytes(dir / "state.json"));
    EXPECT_EQ(state["frame"], 5);
    EXPECT_EQ(state["Scene"], 1);
}

TEST_F(GameRun, SameSeedAndScriptReplayTheSameGame)
{
    std::ofstream(dir / "play.txt") << "3 press Space\n40 press F8\n90 click right 5 5\n95 press Space\n";
    std::string dumps[2];
    for (int run = 0; run < 2; ++run)
    {
        const fs::path out = dir / ("state" + std::to_string(run) + ".json");
        ASSERT_EQ(Run("--input " + (dir / "play.txt").string() + " --frames 150 --dump-state " + out.string()), 0)
            << Output();
        const auto bytes = ReadBytes(out);
        dumps[run].assign(bytes.begin(), bytes.end());
    }
    EXPECT_EQ(dumps[0], dumps[1]);
    const nlohmann::json state = nlohmann::json::parse(dumps[0]);
    EXPECT_EQ(state["Scene"], 2);
    EXPECT_GT(state["sprites"].size(), 100u);   // terrain and the snow, which drifted by the seeded wind
}
