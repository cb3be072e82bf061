// The help ticker with lines of any length: a frame measures and draws only the part on the screen, and a
// long line scrolls and ends exactly as a line measured whole would.

#include <algorithm>

#include "shell/GameFixture.h"
#include "shell/TickerPieces.h"

using namespace vorlanex;
using vorlanex::testing::GameFixture;

namespace {

class LongTicker : public GameFixture
{
protected:
    void SetUp() override
    {
        GameFixture::SetUp();
        Start();
        parts.text->ClearDrawn();
    }

    // The strings the last frame drew for the ticker (each drawn twice: shadow, then text).
    std::size_t LongestDrawn() const
    {
        std::size_t longest = 0;
        for (const std::string& s : parts.text->Drawn())
            longest = std::max(longest, s.size());
        return longest;
    }
};

bool StartsInsideACharacter(const std::string& s) { return !s.empty() && (static_cast<unsigned char>(s[0]) & 0xC0) == 0x80; }

}  // namespace

TEST_F(LongTicker, ATenMegabyteLineDrawsOnlyWhatIsOnTheScreen)
{
    form->memo = {std::string(10u << 20, 'A'), "B"};
    Frames(300);
    EXPECT_EQ(form->Game.TickerLine, 0);
    EXPECT_EQ(form->Game.TickerX, 512 - 2 * 300);
    EXPECT_LE(LongestDrawn(), TickerPieces::PieceBytes) << "no frame draws more than a piece at a time";
    // The screen starts 89 px into the line, inside its first piece (512 characters, 4096 px).
    parts.text->ClearDrawn();
    Frame();
    std::size_t drawnBytes = 0;
    for (const std::string& s : parts.text->Drawn())
        drawnBytes += s == StatusLineText(form->Game) ? 0 : s.size();
    EXPECT_LE(drawnBytes, 2 * 3 * TickerPieces::PieceBytes) << "about a screen's worth, shadow and text";
}

TEST_F(LongTicker, ALongLineEndsOnTheSameFrameAsIfItWereMeasuredWhole)
{
    // 200 wide characters and 10 ASCII ones: 3200 + 80 px. The 512-byte limit falls inside the 171st
    // character (three bytes each), so the first piece must end before it.
    std::string line;
    for (int i = 0; i < 200; ++i)
        line += "\xE4\xB8\x80";   // 一
    line += std::string(10, 'x');
    form->memo = {line, "B"};
    // Leaves the screen once TickerX + 3280 <= 0, starting from 512 and moving 2 px a frame.
    const int frames = (512 + 3280 + 1) / 2;
    Frames(frames - 1);
    EXPECT_EQ(form->Game.TickerLine, 0);
    for (const std::string& s : parts.text->Drawn())
        EXPECT_FALSE(StartsInsideACharacter(s)) << "a piece starts inside a character";
    Frame();
    EXPECT_EQ(form->Game.TickerLine, 1);
    EXPECT_EQ(form->Game.TickerX, 1024);
}

TEST(TickerPieces, MeasuresOnlyAsFarAsAskedAndFindsTheVisibleOnes)
{
    const std::string line(5000, 'a');
    TickerPieces pieces;
    std::size_t measuredBytes = 0;
    const TickerPieces::Measure measure = [&](std::string_view s) {
        measuredBytes += s.size();
        return int(s.size());   // one pixel a byte
    };
    pieces.Select(line);
    pieces.MeasureUpTo(600, measure);
    EXPECT_EQ(measuredBytes, 1024u) << "two pieces reach 600 px";
    EXPECT_FALSE(pieces.Complete());
    pieces.Select(line);   // the same long line keeps what was measured
    pieces.MeasureUpTo(600, measure);
    EXPECT_EQ(measuredBytes, 1024u);
    const auto visible = pieces.Visible(500, 600);
    ASSERT_EQ(visible.size(), 2u);
    EXPECT_EQ(visible[0].left, 0);
    EXPECT_EQ(visible[1].left, 512);
    EXPECT_EQ(pieces.Visible(512, 513).size(), 1u);
    pieces.MeasureUpTo(1 << 30, measure);
    EXPECT_TRUE(pieces.Complete());
    EXPECT_EQ(pieces.MeasuredWidth(), 5000);

    const std::string other(5000, 'b');
    pieces.Select(other);   // another line starts over
    EXPECT_EQ(pieces.MeasuredWidth(), 0);
}
