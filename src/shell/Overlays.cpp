// What the frame draws over every scene: the status line, the help ticker and the mouse cursor.

#include <string>

#include "framework/AssetNames.h"
#include "shell/MainForm.h"

namespace vorlanex {

namespace {

// Black shadow first, then the coloured text one pixel up and to the left of it.
void ShadowedText(TDirectDrawSurfaceCanvas& canvas, int x, int y, const std::string& text, TColor color)
{
    canvas.Font.Color = clBlack;
    canvas.TextOut(x + 1, y + 1, text);
    canvas.Font.Color = color;
    canvas.TextOut(x, y, text);
}

void UseGameFont(TDirectDrawSurfaceCanvas& canvas, int size)
{
    canvas.Brush.Style = TBrushStyle::bsClear;
    canvas.Font.Name = "宋体";
    canvas.Font.Size = size;
}

}  // namespace

std::string StatusLineText(const GameState& game)
{
    return "   Alt+F4：退出  敌方坦克数：" + std::to_string(game.LevelTotal() - game.EnemiesDestroyed) + " (关卡：" +
           std::to_string(game.CurrentLevel) + ")";
}

void TMainForm::DrawStatusLine()
{
    TDirectDrawSurfaceCanvas& canvas = SurfaceCanvas(DXDraw.BackSurface);
    UseGameFont(canvas, 12);
    ShadowedText(canvas, 3, 3, StatusLineText(Game), clYellow);
    ReleaseCanvas(canvas);
}

// The backdrop is most often opaque and as large as the screen: the black beneath it would never show, so the
// screen is only filled when some of it can.
void TMainForm::DrawBackdropOnBlack(TDirectDrawSurface& back)
{
    TPictureCollectionItem* star = ImageList.Items.ImageFind(names::Star);
    if (!star || !star->CoversWhole(back, 0, 0, 0))
        FillSurface(back, 0);
    if (star)
        star->DrawPattern(back, 0, 0, 0);
}

void TMainForm::DrawNotice(const std::string& text)
{
    TDirectDrawSurface& back = DXDraw.BackSurface;
    DrawBackdropOnBlack(back);
    TDirectDrawSurfaceCanvas& canvas = SurfaceCanvas(back);
    UseGameFont(canvas, 12);
    ShadowedText(canvas, 3, 3, "   " + text, clYellow);
    ReleaseCanvas(canvas);
    DXDraw.PresentFrame();
}

// The first frame would otherwise open the font and lay out its glyphs: the status line and the ticker's first
// line are measured here, before it, which changes nothing but what the text engine keeps.
void TMainForm::PrepareText()
{
    TDirectDrawSurfaceCanvas& canvas = SurfaceCanvas(DXDraw.BackSurface);
    UseGameFont(canvas, 12);
    canvas.TextWidth(StatusLineText(Game));
    if (Game.TickerOn && !memo.empty())
    {
        tickerPieces.Select(memo.front());
        tickerPieces.MeasureUpTo(DXDraw.Width(), [&canvas](std::string_view piece) {
            return canvas.TextWidth(std::string(piece));
        });
    }
    ReleaseCanvas(canvas);
}

void TMainForm::DrawTicker()
{
    if (!Game.TickerOn || memo.empty())
        return;
    TDirectDrawSurfaceCanvas& canvas = SurfaceCanvas(DXDraw.BackSurface);
    UseGameFont(canvas, 12);
    if (Game.TickerLine < 0 || Game.TickerLine >= std::int32_t(memo.size()))
        Game.TickerLine = 0;
    const std::string& line = memo[std::size_t(Game.TickerLine)];
    // Only the part of the line on the screen is measured and drawn, whatever its length.
    const std::int64_t x = std::int64_t(Game.TickerX) - 1;
    tickerPieces.Select(line);
    tickerPieces.MeasureUpTo(DXDraw.Width() - x, [&canvas](std::string_view piece) {
        return canvas.TextWidth(std::string(piece));
    });
    for (const TickerPieces::Piece& piece : tickerPieces.Visible(-x, DXDraw.Width() - x))
        ShadowedText(canvas, int(x + piece.left), DXDraw.Height() - 21, tickerPieces.Text(piece), clYellow);
    Game.TickerX -= 2;
    if (tickerPieces.Complete() && tickerPieces.MeasuredWidth() + Game.TickerX <= 0)
    {
        ++Game.TickerLine;
        Game.TickerX = DXDraw.Width();
        if (Game.TickerLine >= std::int32_t(memo.size()))
            Game.TickerLine = 0;
    }
    ReleaseCanvas(canvas);
}

void TMainForm::DrawCursor()
{
    int x = 0, y = 0;
    platform.events->MousePosition(x, y);
    if (TPictureCollectionItem* cursor = ImageList.Items.ImageFind(names::Cursor))
        cursor->DrawPattern(DXDraw.BackSurface, x, y, CursorFrame / 8);
    CursorFrame = std::uint8_t((CursorFrame + 1) & 31);
}

}  // namespace vorlanex
