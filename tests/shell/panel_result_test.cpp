// The players' panel over the battle and the result screen after it: what each shows, read back from the back
// surface, and how fire on the result screen chooses the next battle.

#include <algorithm>
#include <string>

#include "GameFixture.h"
#include "actors/MyTank.h"
#include "framework/Types.h"

namespace vorlanex::testing {
namespace {

// A colour that nothing of the panel uses, so every changed pixel is the panel's.
constexpr std::uint16_t Backdrop = Rgb565(10, 60, 200);
constexpr int AnchorY = 28;

// The width the null text gives a line: 8 px an ASCII character, 16 px any other.
int NullTextWidth(const std::string& utf8)
{
    int width = 0;
    for (unsigned char c : utf8)
        width += c < 0x80 ? NullText::AsciiAdvance : (c & 0xC0) == 0xC0 ? NullText::WideAdvance : 0;
    return width;
}

class PanelAndResult : public GameFixture
{
protected:
    void SetUp() override
    {
        GameFixture::SetUp();
        EnterBattle();
        ASSERT_NE(Game().Player1Tank, nullptr);
        ASSERT_NE(Game().Player2Tank, nullptr);
    }

    GameState& Game() { return form->Game; }
    TDirectDrawSurface& Back() { return form->DXDraw.BackSurface; }
    std::uint16_t At(int x, int y) { return Back().Pixel(x, y); }

    void DrawPanelOnBackdrop()
    {
        FillSurface(Back(), Backdrop);
        parts.text->ClearDrawn();
        form->DrawStatusPanel();
    }

    // Icons in the row at anchorX: 16-pixel cells holding anything but the backdrop, counted until an empty one.
    int IconsAt(int anchorX)
    {
        int icons = 0;
        for (; icons < 12; ++icons)
        {
            bool any = false;
            for (int y = AnchorY; y < AnchorY + 16 && !any; ++y)
                for (int x = anchorX + 16 * icons; x < anchorX + 16 * icons + 16 && !any; ++x)
                    any = At(x, y) != Backdrop;
            if (!any)
                break;
        }
        return icons;
    }

    // Whether the 16 x 16 cell at (x, y) shows pattern 0 of the named picture over the backdrop.
    bool ShowsPicture(const char* name, int x, int y)
    {
        const TPictureCollectionItem* item = form->ImageList.Items.ImageFind(name);
        if (!item || item->Patterns().empty())
            return false;
        const TPictureCollectionItem::Pattern& p = item->Patterns()[0];
        for (int dy = 0; dy < 16; ++dy)
            for (int dx = 0; dx < 16; ++dx)
            {
                const std::uint16_t source = p.surface->Pixel(p.rect.Left + dx, p.rect.Top + dy);
                const bool keyed = p.surface->HasColorKey() && source == p.surface->ColorKey();
                if (At(x + dx, y + dy) != (keyed ? Backdrop : source))
                    return false;
            }
        return true;
    }

    // From battle to the result screen the way the frame loop gets there, first frame of it drawn.
    void ClearLevel()
    {
        Game().EnemiesDestroyed = Game().LevelTotal();
        Frames(3);
        ASSERT_EQ(form->Scene, Scene::Result);
        ASSERT_EQ(Game().LevelCleared, 1);
    }
    void LoseGame()
    {
        Game().Player1Tank->Kill();
        Game().Player2Tank->Kill();
        Game().Player1Alive = Game().Player2Alive = 0;
        Game().PlayerLosses = Game().Lives1 + Game().Lives2 + 2;
        Frames(3);
        ASSERT_EQ(form->Scene, Scene::Result);
        ASSERT_EQ(Game().LevelCleared, 0);
    }
    bool MapNameEndsWith(const std::string& tail)
    {
        const std::string& name = Game().MapFileName;
        return name.size() >= tail.size() && name.compare(name.size() - tail.size(), tail.size(), tail) == 0;
    }
};

TEST_F(PanelAndResult, SpareLifeIconsCountLivesLessDebtAndVanishWhenOut)
{
    Game().Lives1 = 5;
    Game().LifeDebt1 = 2;
    Game().Lives2 = 4;
    Game().LifeDebt2 = 0;
    DrawPanelOnBackdrop();
    EXPECT_EQ(IconsAt(3), 3);
    EXPECT_EQ(IconsAt(512), 4);
    EXPECT_TRUE(ShowsPicture("SmallTank2", 3 + 32, AnchorY));

    // Player 1 out: no icons, no life bar, and the score line says so.
    Game().Player1Tank->Kill();
    form->SpriteEngine.Engine->FreeKilled();
    Game().Player1Alive = 0;
    Game().Carry1.Score = 4321;
    Game().LifeDebt1 = 6;
    DrawPanelOnBackdrop();
    EXPECT_EQ(IconsAt(3), 0);
    EXPECT_EQ(At(10, 22), Backdrop);
    const auto& drawn = parts.text->Drawn();
    EXPECT_NE(std::find(drawn.begin(), drawn.end(), "4321  GAME OVER"), drawn.end());
    // White over a black shadow one pixel up-left: the null text paints '4' as a box from (+1, +2) of its cell.
    EXPECT_EQ(At(3 + 1, AnchorY + 18 + 2), Rgb565(clWhite));
    EXPECT_EQ(At(2 + 1, AnchorY + 17 + 2), Rgb565(clBlack));
}

TEST_F(PanelAndResult, OfferingALifeSwitchesThatPlayersIconsToTheOtherPicture)
{
    Game().Lives2 = 2;
    Game().Player2Tank->GiveLife = 1;
    DrawPanelOnBackdrop();
    EXPECT_TRUE(ShowsPicture("SmallTank1", 512, AnchorY));
    EXPECT_TRUE(ShowsPicture("SmallTank1", 528, AnchorY));
    EXPECT_TRUE(ShowsPicture("SmallTank2", 3, AnchorY));   // player 1 does not offer
    EXPECT_FALSE(ShowsPicture("SmallTank2", 512, AnchorY));
    Game().Player2Tank->GiveLife = 0;
    DrawPanelOnBackdrop();
    EXPECT_TRUE(ShowsPicture("SmallTank2", 512, AnchorY));
}

TEST_F(PanelAndResult, LifeBarsFillTheirSilverFrameInProportionAndRunPastIt)
{
    const std::uint16_t silver = Rgb565(192, 192, 192), red = Rgb565(clRed), yellow = Rgb565(clYellow);
    Game().Player1Tank->Life = 1000;
    Game().Player2Tank->Life = 2000;
    DrawPanelOnBackdrop();
    // Frame rows 20 and 25, x = 3 to 54; the bar inside at rows 21 to 24.
    for (int x = 3; x < 55; ++x)
    {
        EXPECT_EQ(At(x, 20), silver) << x;
        EXPECT_EQ(At(x, 25), silver) << x;
    }
    EXPECT_EQ(At(55, 22), Backdrop);
    EXPECT_EQ(At(3, 22), silver);
    for (int x = 4; x < 28; ++x)
        EXPECT_EQ(At(x, 22), red) << x;
    EXPECT_EQ(At(28, 22), silver);
    EXPECT_EQ(At(27, 24), red);
    // Player 2's full bar is yellow from x = W/2 + 1 to W/2 + 50.
    EXPECT_EQ(At(512, 22), silver);
    EXPECT_EQ(At(513, 22), yellow);
    EXPECT_EQ(At(561, 23), yellow);
    EXPECT_EQ(At(562, 23), silver);

    Game().Player1Tank->Life = 3000;   // above the maximum: not clamped
    Game().Player2Tank->Life = 0;      // nothing inside the frame
    DrawPanelOnBackdrop();
    EXPECT_EQ(At(77, 22), red);
    EXPECT_EQ(At(78, 22), Backdrop);
    EXPECT_EQ(At(513, 22), silver);
}

TEST_F(PanelAndResult, PanelOffDrawsNothingButStillPaysMilestones)
{
    Game().PanelOn = 0;
    Game().Lives1 = 5;
    Game().LifeDebt1 = 0;
    Game().LifeDebt2 = 2;
    Game().Player1Tank->Score = 50000;
    Game().Player2Tank->Score = 100000;
    DrawPanelOnBackdrop();
    EXPECT_EQ(Game().Lives1, 6);
    EXPECT_EQ(Game().LifeDebt2, 1);   // one milestone per call, however many were passed
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 1024; ++x)
            ASSERT_EQ(At(x, y), Backdrop) << x << "," << y;
    EXPECT_TRUE(parts.text->Drawn().empty());
    // The same milestone is not paid twice; the cap is ten lives.
    Game().Lives1 = 10;
    Game().Player1Tank->Score = 99999;
    DrawPanelOnBackdrop();
    EXPECT_EQ(Game().Lives1, 10);
    Game().Player1Tank->Score = 150000;
    DrawPanelOnBackdrop();
    EXPECT_EQ(Game().Lives1, 10);
}

TEST_F(PanelAndResult, PanelMirrorsTheScoresOfTanksInPlayOnly)
{
    Game().Player1Tank->Score = 777;
    Game().Carry2.Score = 55;
    Game().Player2Tank->Kill();
    form->SpriteEngine.Engine->FreeKilled();
    Game().Player2Alive = 0;
    DrawPanelOnBackdrop();
    EXPECT_EQ(Game().Carry1.Score, 777);
    EXPECT_EQ(Game().Carry2.Score, 55);
    const auto& drawn = parts.text->Drawn();
    EXPECT_NE(std::find(drawn.begin(), drawn.end(), "777"), drawn.end());
    EXPECT_NE(std::find(drawn.begin(), drawn.end(), "55  GAME OVER"), drawn.end());
}

TEST(ResultLines, RankTitleChangesEveryFiftyThousandPointsUpToTheLast)
{
    EXPECT_EQ(ResultLine(1, 123456), "Player1得分=123456  级别=坦克排长☆★☆");
    EXPECT_EQ(ResultLine(2, 0), "Player2得分=0  级别=入伍新兵☆");
    EXPECT_EQ(ResultLine(1, 49999), "Player1得分=49999  级别=入伍新兵☆");
    EXPECT_EQ(ResultLine(1, 50000), "Player1得分=50000  级别=坦克战士☆★");
    EXPECT_EQ(ResultLine(1, 449999), "Player1得分=449999  级别=坦克皇帝☆★☆★☆★☆★☆");
    EXPECT_EQ(ResultLine(1, 450000), "Player1得分=450000  级别=坦克战神☆★☆★☆★☆★☆★☆");
    EXPECT_EQ(ResultLine(2, 2147483647), "Player2得分=2147483647  级别=坦克战神☆★☆★☆★☆★☆★☆");
}

TEST_F(PanelAndResult, ResultScreenCentresBothScoreLinesAroundTheMiddle)
{
    Game().Player1Tank->Score = 123456;
    ClearLevel();
    const std::string line1 = ResultLine(1, 123456);
    const auto& drawn = parts.text->Drawn();
    EXPECT_NE(std::find(drawn.begin(), drawn.end(), line1), drawn.end());
    const int x1 = (1024 - NullTextWidth(line1)) / 2, y1 = 384 - NullText::LineHeight;
    const int x2 = (1024 - NullTextWidth(ResultLine(2, 0))) / 2, y2 = 384 + NullText::LineHeight;
    // 'P' as a yellow box from (+1, +2) of its cell, drawn one pixel right and down of its black shadow.
    EXPECT_EQ(At(x1 + 2, y1 + 3), Rgb565(clYellow));
    EXPECT_EQ(At(x1 + 1, y1 + 2), Rgb565(clBlack));
    EXPECT_EQ(At(x2 + 2, y2 + 3), Rgb565(clYellow));
    EXPECT_EQ(At(x2 + 1, y2 + 2), Rgb565(clBlack));
}

// The share of the banner picture's opaque pixels that the back surface shows at the centre, unturned.
double BannerShare(TMainForm& form, const char* name)
{
    const TPictureCollectionItem* item = form.ImageList.Items.ImageFind(name);
    if (!item || item->Patterns().empty())
        return 0;
    const TPictureCollectionItem::Pattern& p = item->Patterns()[0];
    const int w = item->PatternWidth(), h = item->PatternHeight();
    const int left = 512 - w / 2, top = 384 - h / 2;
    int opaque = 0, shown = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
        {
            const std::uint16_t source = p.surface->Pixel(p.rect.Left + x, p.rect.Top + y);
            if (p.surface->HasColorKey() && source == p.surface->ColorKey())
                continue;
            ++opaque;
            shown += form.DXDraw.BackSurface.Pixel(left + x, top + y) == source;
        }
    return opaque ? double(shown) / opaque : 0;
}

TEST_F(PanelAndResult, ResultScreenShowsVictoryOrDefeat)
{
    ClearLevel();
    form->FrameCounter = 0;   // angle 0: the picture stands upright
    form->ResultFrame();
    EXPECT_GT(BannerShare(*form, "胜利"), 0.8);
    EXPECT_LT(BannerShare(*form, "失败"), 0.5);
    Game().LevelCleared = 0;
    form->ResultFrame();
    EXPECT_GT(BannerShare(*form, "失败"), 0.8);
    EXPECT_LT(BannerShare(*form, "胜利"), 0.5);
}

TEST_F(PanelAndResult, WithoutFireTheResultScreenStays)
{
    ClearLevel();
    const std::string map = Game().MapFileName;
    Frames(30);
    EXPECT_EQ(form->Scene, Scene::Result);
    EXPECT_EQ(Game().CurrentLevel, 1);
    EXPECT_EQ(Game().MapFileName, map);
}

TEST_F(PanelAndResult, AWonLevelLeadsToTheNextMap)
{
    Game().Player1Tank->Score = 3000;
    ClearLevel();
    PressFire();
    EXPECT_EQ(form->Scene, Scene::Battle);
    EXPECT_EQ(Game().CurrentLevel, 2);
    EXPECT_TRUE(MapNameEndsWith("/MAP002.map")) << Game().MapFileName;
    ASSERT_NE(Game().Player1Tank, nullptr);
    EXPECT_EQ(Game().Player1Tank->Score, 3000);
}

TEST_F(PanelAndResult, AWonLastLevelWrapsToLevelOneKeepingScoresAndWeapons)
{
    Game().CurrentLevel = 12;   // MAP013.map is not shipped
    Game().Player1Tank->Score = 90000;
    Game().Player1Tank->Spread = 2;
    Game().Player2Tank->Score = 40000;
    ClearLevel();
    const std::int32_t life = Game().Carry1.Life;
    PressFire();
    EXPECT_EQ(form->Scene, Scene::Battle);
    EXPECT_EQ(Game().CurrentLevel, 1);
    EXPECT_TRUE(MapNameEndsWith("/MAP001.map")) << Game().MapFileName;
    EXPECT_EQ(Game().Carry1.Score, 90000);
    EXPECT_EQ(Game().Carry2.Score, 40000);
    ASSERT_NE(Game().Player1Tank, nullptr);
    EXPECT_EQ(Game().Player1Tank->Score, 90000);
    EXPECT_EQ(Game().Player1Tank->Spread, 2);
    EXPECT_EQ(Game().Player1Tank->Life, life + 200);
}

TEST_F(PanelAndResult, ALostGameReplaysTheSameMapAsTheNextLevelWithFreshTanks)
{
    Game().CurrentLevel = 4;
    Game().MapFileName = LevelMapFileName(Game().AppDir, 4);
    Game().Player1Tank->Score = 60000;
    Game().Player1Tank->Spread = 2;
    Game().Player2Tank->Score = 7000;
    Game().LifeDebt1 = 3;
    form->DrawStatusPanel();   // mirrors the scores, as every battle frame does
    LoseGame();
    EXPECT_EQ(Game().Carry1.Score, 60000);   // shown on the result screen
    const auto& drawn = parts.text->Drawn();
    EXPECT_NE(std::find(drawn.begin(), drawn.end(), ResultLine(1, 60000)), drawn.end());
    PressFire();
    EXPECT_EQ(form->Scene, Scene::Battle);
    EXPECT_EQ(Game().CurrentLevel, 5);
    EXPECT_TRUE(MapNameEndsWith("/MAP004.map")) << Game().MapFileName;
    EXPECT_EQ(Game().Carry1.Score, 0);
    EXPECT_EQ(Game().Carry2.Score, 0);
    EXPECT_EQ(Game().LifeDebt1, 0);
    EXPECT_EQ(Game().LifeDebt2, 0);
    ASSERT_NE(Game().Player1Tank, nullptr);
    ASSERT_NE(Game().Player2Tank, nullptr);
    EXPECT_EQ(Game().Player1Tank->Score, 0);
    EXPECT_NE(Game().Player1Tank->Spread, 2);
    EXPECT_EQ(Game().Player1Alive, 1);
    EXPECT_EQ(Game().Player2Alive, 1);
}

}  // namespace
}  // namespace vorlanex::testing
