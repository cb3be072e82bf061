#include "shell/GameFixture.h"

#include "framework/Types.h"

using namespace vorlanex;
using vorlanex::testing::GameFixture;

namespace {

class Overlays : public GameFixture
{
protected:
    void SetUp() override
    {
        GameFixture::SetUp();
        CopyFromBuild("背景1.BMP");
        CopyFromBuild("标题.BMP");
        // Two ticker lines in GBK: "AB" and "一二" (8 px per ASCII character, 16 px per other with the null text).
        WriteFile("操作帮助.TXT", std::string("AB\r\n\xD2\xBB\xB6\xFE\r\n"));
        Start();
    }
};

}  // namespace

TEST_F(Overlays, StatusLineCountsTheEnemiesLeftInTheLevel)
{
    form->Game.CurrentLevel = 3;
    EXPECT_EQ(StatusLineText(form->Game), "   Alt+F4：退出  敌方坦克数：20 (关卡：3)");
    form->Game.Difficulty = 2;
    form->Game.EnemiesDestroyed = 7;
    EXPECT_EQ(StatusLineText(form->Game), "   Alt+F4：退出  敌方坦克数：19 (关卡：3)");
}

TEST_F(Overlays, StatusLineIsYellowOverABlackShadow)
{
    parts.text->ClearDrawn();
    Frame();
    ASSERT_GE(parts.text->Drawn().size(), 2u);
    EXPECT_EQ(parts.text->Drawn()[0], StatusLineText(form->Game));
    // The null text engine paints 'A' (after three spaces) as a 6 x 12 box at (+1, +2) of its cell: the
    // yellow box at (28, 5), its shadow one pixel lower right.
    EXPECT_EQ(parts.video->FramePixel(28, 5), Rgb565(clYellow));
    EXPECT_EQ(parts.video->FramePixel(34, 17), Rgb565(clBlack));
}

TEST_F(Overlays, TickerScrollsFromTheCentreThenFromTheRightEdgeAndWraps)
{
    ASSERT_EQ(form->memo.size(), 2u);
    EXPECT_EQ(form->memo[1], "一二");
    Frame();
    EXPECT_EQ(form->Game.TickerX, 510);
    // "AB" is 16 px wide: it leaves the screen once TickerX + 16 <= 0.
    Frames(263);
    EXPECT_EQ(form->Game.TickerLine, 1);
    EXPECT_EQ(form->Game.TickerX, 1024);
    Frames(528);   // "一二" is 32 px wide
    EXPECT_EQ(form->Game.TickerLine, 0);
    EXPECT_EQ(form->Game.TickerX, 1024);
}

TEST_F(Overlays, TickerStopsWithF1)
{
    form->FormKeyDown(0x70, false);
    Frame();
    EXPECT_EQ(form->Game.TickerX, 512);
}

TEST_F(Overlays, CursorAnimatesEveryEightFramesAtTheMouse)
{
    parts.events->SetMousePosition(300, 200);
    for (int i = 0; i < 9; ++i)
        Frame();
    EXPECT_EQ(form->CursorFrame, 9);
    Frames(23);
    EXPECT_EQ(form->CursorFrame, 0);
    const TPictureCollectionItem* cursor = form->ImageList.Items.ImageFind("Cursor");
    ASSERT_NE(cursor, nullptr);
    EXPECT_EQ(cursor->PatternCount(), 4);
}

TEST_F(Overlays, TitleShowsTheBackdropAndTheSpinningLogoAtTheCentre)
{
    Frame();
    const TPictureCollectionItem* logo = form->ImageList.Items.ImageFind("Logo");
    ASSERT_NE(logo, nullptr);
    ASSERT_GT(logo->PatternWidth(), 0);
    int differing = 0;
    const std::vector<std::uint16_t> first = parts.video->LastFrame();
    Frames(10);   // the logo turns and fades, the backdrop stays
    const std::vector<std::uint16_t>& later = parts.video->LastFrame();
    for (int y = 300; y < 468; ++y)
        for (int x = 312; x < 712; ++x)
            differing += first[std::size_t(y) * 1024 + std::size_t(x)] != later[std::size_t(y) * 1024 + std::size_t(x)];
    EXPECT_GT(differing, 500);
    EXPECT_EQ(first[std::size_t(700) * 1024 + 1000], later[std::size_t(700) * 1024 + 1000]);
}
