#include "framework/Surface.h"

#include <algorithm>

namespace vorlanex {

Text* TDirectDrawSurfaceCanvas::TextEngine() const { return surface.TextEngine(); }

void TDirectDrawSurfaceCanvas::ApplyFont()
{
    if (Text* text = TextEngine())
        text->SetFont(Font.Name, Font.Size);
}

void TDirectDrawSurfaceCanvas::TextOut(int x, int y, const std::string& utf8)
{
    Text* text = TextEngine();
    if (!text || utf8.empty())
        return;
    ApplyFont();
    if (Brush.Style == TBrushStyle::bsSolid)
    {
        int w = 0, h = 0;
        text->Measure(utf8, w, h);
        FillRect(Bounds(x, y, w, h));
    }
    text->Draw(surface.View(), x, y, utf8, RedOf(Font.Color), GreenOf(Font.Color), BlueOf(Font.Color));
}

int TDirectDrawSurfaceCanvas::TextWidth(const std::string& utf8)
{
    Text* text = TextEngine();
    if (!text)
        return 0;
    ApplyFont();
    int w = 0, h = 0;
    text->Measure(utf8, w, h);
    return w;
}

int TDirectDrawSurfaceCanvas::TextHeight(const std::string& utf8)
{
    Text* text = TextEngine();
    if (!text)
        return 0;
    ApplyFont();
    int w = 0, h = 0;
    text->Measure(utf8, w, h);
    return h;
}

void TDirectDrawSurfaceCanvas::FillRect(const TRect& r)
{
    const TRect c = IntersectRect(r, surface.ClientRect());
    if (c.IsEmpty())
        return;
    const std::uint16_t v = Rgb565(Brush.Color);
    for (int y = c.Top; y < c.Bottom; ++y)
        std::fill(surface.Row(y) + c.Left, surface.Row(y) + c.Right, v);
}

void TDirectDrawSurfaceCanvas::Rectangle(int left, int top, int right, int bottom)
{
    if (right <= left || bottom <= top)
        return;
    if (Brush.Style == TBrushStyle::bsSolid)
        FillRect({left + 1, top + 1, right - 1, bottom - 1});
    const TColor saved = Brush.Color;
    Brush.Color = Pen.Color;
    FillRect({left, top, right, top + 1});
    FillRect({left, bottom - 1, right, bottom});
    FillRect({left, top, left + 1, bottom});
    FillRect({right - 1, top, right, bottom});
    Brush.Color = saved;
}

}  // namespace vorlanex
