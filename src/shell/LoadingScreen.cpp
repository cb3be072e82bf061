// The loading screen: a bar running from blue to red while a level is built, drawn and shown outside the frame
// loop because the frame timer is off during the build.

#include <cstdint>
#include <string>

#include "framework/AssetNames.h"
#include "shell/MainForm.h"

namespace vorlanex {

namespace {

constexpr int FramePenWidth = 8;

// A rectangle outline drawn with a pen FramePenWidth wide, centred on the rectangle's edges as a wide pen is.
void ThickFrame(TDirectDrawSurfaceCanvas& canvas, const TRect& r, TColor color)
{
    const int half = FramePenWidth / 2;
    const TCanvasBrush saved = canvas.Brush;
    canvas.Brush = {color, TBrushStyle::bsSolid};
    const int left = r.Left - half, top = r.Top - half, right = r.Right - 1 + half, bottom = r.Bottom - 1 + half;
    canvas.FillRect({left, top, right, top + FramePenWidth});
    canvas.FillRect({left, bottom - FramePenWidth, right, bottom});
    canvas.FillRect({left, top, left + FramePenWidth, bottom});
    canvas.FillRect({right - FramePenWidth, top, right, bottom});
    canvas.Brush = saved;
}

// Each colour component keeps only its low 8 bits, as the bar's colour is packed from plain integers.
TColor BarColor(std::int64_t progress, std::int64_t total)
{
    const auto red = std::uint8_t((progress * 255 / total) & 0xFF);
    const auto blue = std::uint8_t(((total - progress) * 255 / total) & 0xFF);
    return RGBColor(red, 0, blue);
}

}  // namespace

void TMainForm::DrawLoadingScreen()
{
    if (!DXDraw.IsDrawable() || Game.LoadTotal <= 0)
        return;
    TDirectDrawSurface& back = DXDraw.BackSurface;
    const int sw = back.Width(), sh = back.Height();
    DrawBackdropOnBlack(back);

    TDirectDrawSurfaceCanvas& canvas = SurfaceCanvas(back);
    ThickFrame(canvas, {100, sh / 2 - 20, sw - 84, sh / 2 + 21}, clWhite);

    // 64-bit so that a map of millions of cells cannot overflow the bar's arithmetic.
    const std::int64_t progress = Game.LoadProgress, total = Game.LoadTotal;
    canvas.Brush = {BarColor(progress, total), TBrushStyle::bsSolid};
    canvas.FillRect({104, sh / 2 - 16, std::int32_t(std::int64_t(sw - 200) * progress / total + 105), sh / 2 + 16});

    canvas.Brush.Style = TBrushStyle::bsClear;
    canvas.Font.Name = "宋体";
    canvas.Font.Size = 9;
    canvas.Font.Color = Game.LoadProgress % 60 > 30 ? clWhite : clYellow;
    canvas.TextOut(204, sh / 2 - 6, "正在装入地图......" + std::to_string(Game.LoadProgress));
    ReleaseCanvas(canvas);
    DXDraw.PresentFrame();
}

}  // namespace vorlanex
