// The five pictures of the game folder: the night-battlefield backdrop (also the title and menu screen),
// the title logo, the victory and defeat banners and the difficulty menu's frame.

#include <cmath>
#include <numbers>

#include "Lettering.h"
#include "Pictures.h"

namespace vorlanex::assetgen {

namespace {

double Ridge(double x, double base, double a, double f, double phase)
{
    return base + a * std::sin(x * f + phase) + a * 0.5 * std::sin(x * f * 2.7 + phase * 1.9) +
           a * 0.25 * std::sin(x * f * 6.1 + phase * 0.7);
}

Colour SkyAt(double x, double y)
{
    const Colour top = Rgb(6, 8, 24), mid = Rgb(30, 24, 62), low = Rgb(78, 42, 62);
    Colour c = y < 430 ? Mix(top, mid, y / 430) : Mix(mid, low, std::min(1.0, (y - 430) / 130));
    // A faint band of the galaxy across the sky.
    const double d = (y - (0.32 * x + 60)) / 70;
    const double band = std::exp(-d * d) * (0.75 + 0.25 * std::sin(x * 0.021 + y * 0.013));
    return Mix(c, Rgb(80, 76, 120), 0.25 * band);
}

void PaintStars(Canvas& c)
{
    Dice dice(1977);
    for (int i = 0; i < 900; ++i)
    {
        const double x = dice.Range(0, 1024), y = std::pow(dice.Unit(), 1.4) * 540;
        const double glow = dice.Range(0.3, 1.0);
        const Colour tint = Mix(Rgb(255, 240, 220), Rgb(200, 220, 255), dice.Unit());
        c.Blend(int(x), int(y), tint, glow);
        if (i % 40 == 0)
        {
            c.Fill(Capsule(x - 4, y, x + 4, y, 0.8), tint, 0.6);
            c.Fill(Capsule(x, y - 4, x, y + 4, 0.8), tint, 0.6);
            c.Fill(Circle(x, y, 1.3), Rgb(255, 255, 245));
        }
    }
}

void PaintMoon(Canvas& c)
{
    for (int i = 4; i > 0; --i)
        c.Fill(Circle(840, 130, 46 + i * 14), Rgb(140, 130, 170), 0.06);
    c.Fill(Circle(840, 130, 46), [](double x, double y) { return Scale(Rgb(236, 230, 206), 1.05 - (x - 800 + y - 90) / 500); });
    const double craters[][3] = {{825, 115, 9}, {858, 142, 7}, {832, 152, 5}, {856, 110, 4}, {818, 138, 4}};
    for (const auto& k : craters)
        c.Fill(Circle(k[0], k[1], k[2]), Rgb(190, 182, 160), 0.7);
}

void PaintLand(Canvas& c)
{
    // Far fires on the horizon: the battle goes on elsewhere.
    const double fires[] = {150, 420, 690, 930};
    for (double fx : fires)
        for (int i = 5; i > 0; --i)
            c.Fill(Ellipse(fx, 545, 18.0 * i, 7.0 * i), Rgb(255, 120, 50), 0.05);
    // Searchlights sweeping the sky from behind the hills.
    c.Fill(Polygon({{250, 600}, {40, 0}, {150, 0}, {262, 600}}), Rgb(190, 200, 255), 0.07);
    c.Fill(Polygon({{760, 610}, {880, 0}, {1000, 0}, {772, 610}}), Rgb(190, 200, 255), 0.06);
    c.Fill({{0, 440, 1024, 768}, [](double x, double y) { return y > Ridge(x, 520, 26, 0.006, 1.0); }},
           [](double, double y) { return Mix(Rgb(34, 30, 60), Rgb(22, 20, 40), (y - 480) / 120); });
    c.Fill({{0, 520, 1024, 768}, [](double x, double y) { return y > Ridge(x, 600, 18, 0.009, 4.0); }},
           [](double, double y) { return Mix(Rgb(24, 26, 34), Rgb(14, 16, 20), (y - 580) / 190); });
    Dice dice(64);
    for (int i = 0; i < 40; ++i)
    {
        const double x = dice.Range(0, 1024), y = dice.Range(640, 760);
        c.Fill(Ellipse(x, y, dice.Range(8, 26), dice.Range(2, 5)), Rgb(8, 10, 12), 0.6);
    }
}

// Gold letters with a dark rim and a bright upper edge.
void PaintMetalText(Canvas& c, const std::u32string& text, double x, double y, const TextStyle& style, Colour top,
                    Colour bottom, Colour rim)
{
    TextStyle outer = style;
    outer.stroke = style.stroke + 6;
    c.Fill(TextShape(text, x - 3 + 3, y - 3 + 4, outer), Rgb(20, 14, 12), 0.8);
    c.Fill(TextShape(text, x - 3, y - 3, outer), rim);
    const double h = TextHeight(text, style);
    c.Fill(TextShape(text, x, y, style), [=](double, double py) { return Mix(top, bottom, std::clamp((py - y) / h, 0.0, 1.0)); });
    TextStyle shine = style;
    shine.stroke = style.stroke * 0.3;
    c.Fill(TextShape(text, x + style.stroke * 0.35 - 1.2, y + style.stroke * 0.35 - 1.5, shine), Rgb(255, 250, 230), 0.55);
}

Shape StarShape(double cx, double cy, double outer, double inner)
{
    std::vector<Point> pts;
    for (int i = 0; i < 10; ++i)
    {
        const double a = -std::numbers::pi / 2 + i * std::numbers::pi / 5, r = i % 2 ? inner : outer;
        pts.push_back({cx + r * std::cos(a), cy + r * std::sin(a)});
    }
    return Polygon(std::move(pts));
}

// A ribbon across the picture with swallow-tailed ends folded behind it; its face spans y0..y1.
void PaintRibbon(Canvas& c, double y0, double y1, Colour face, Colour edge)
{
    const double w = c.Width(), drop = 14, mid = (y0 + y1) / 2 + drop;
    c.Fill(Polygon({{2, y0 + drop}, {64, y0 + drop}, {64, y1 + drop}, {2, y1 + drop}, {20, mid}}), Scale(face, 0.55));
    c.Fill(Polygon({{w - 2, y0 + drop}, {w - 64, y0 + drop}, {w - 64, y1 + drop}, {w - 2, y1 + drop}, {w - 20, mid}}),
           Scale(face, 0.55));
    c.Fill(RectShape(30, y0, w - 30, y1), [&](double, double y) { return Scale(face, 1.25 - 0.5 * (y - y0) / (y1 - y0)); });
    c.Fill(RectShape(30, y0, w - 30, y0 + 4), edge);
    c.Fill(RectShape(30, y1 - 4, w - 30, y1), edge);
}

Canvas DrawBanner(const std::u32string& word, const std::u32string& caption, bool victory)
{
    Canvas c(400, 180);
    const Colour face = victory ? Rgb(176, 30, 36) : Rgb(60, 66, 84);
    const Colour edge = victory ? Rgb(236, 190, 70) : Rgb(130, 136, 150);
    PaintRibbon(c, 36, 142, face, edge);
    TextStyle big;
    big.unit = 11.5, big.stroke = 9, big.spacing = 1.4;
    const double x = (400 - TextWidth(word, big)) / 2, y = 52;
    if (victory)
        PaintMetalText(c, word, x, y, big, Rgb(255, 240, 150), Rgb(232, 140, 30), Rgb(90, 20, 14));
    else
        PaintMetalText(c, word, x, y, big, Rgb(226, 228, 236), Rgb(130, 134, 150), Rgb(100, 18, 20));
    TextStyle small;
    small.unit = 2.8, small.stroke = 2.2, small.spacing = 1.6;
    const double cx = (400 - TextWidth(caption, small)) / 2;
    c.Fill(TextShape(caption, cx + 1, 155, small), kInk);
    c.Fill(TextShape(caption, cx, 154, small), edge);
    if (victory)
        for (int i = -1; i <= 1; ++i)
            c.Fill(StarShape(200 + i * 40, 20 - (i == 0 ? 4 : 0), i == 0 ? 15 : 11, i == 0 ? 6.5 : 4.8), Rgb(255, 218, 70));
    else
        c.Fill(Polygon({{118, 36}, {146, 84}, {134, 91}, {166, 142}, {160, 142}, {128, 94}, {140, 86}, {113, 36}}), Rgb(24, 24, 30), 0.85);
    return c;
}

}  // namespace

Canvas DrawBackdrop()
{
    Canvas c(1024, 768);
    c.Paint(SkyAt);
    PaintStars(c);
    PaintMoon(c);
    PaintLand(c);
    return c;
}

Canvas DrawTitleLogo()
{
    Canvas c(520, 184);
    // Emblem: the players' tank in a gold badge, with wings of stripes.
    for (int side : {-1, 1})
        for (int i = 0; i < 3; ++i)
        {
            const double y = 16 + i * 11, inner = 260 + side * 44, outer = 260 + side * (150 - i * 30);
            c.Fill(Polygon({{inner, y}, {outer, y}, {outer - side * 10, y + 6}, {inner, y + 6}}), Rgb(214, 160, 40));
        }
    c.Fill(Circle(260, 36, 36), Rgb(90, 40, 14));
    c.Fill(Circle(260, 36, 33), [](double, double y) { return Mix(Rgb(255, 226, 120), Rgb(200, 120, 30), y / 72); });
    c.Fill(Circle(260, 36, 28), Rgb(28, 34, 52));
    const Canvas tank = DrawTank(PlayerTankDesign(), 0, TankLook::Intact, 1.5);
    c.Draw(tank, 260 - tank.Width() / 2, 36 - tank.Height() / 2);
    TextStyle title;
    title.unit = 10.5, title.stroke = 9, title.spacing = 1.6, title.slant = 0.12;
    const std::u32string name = U"VORLANEX";
    PaintMetalText(c, name, (520 - TextWidth(name, title)) / 2, 82, title, Rgb(255, 242, 170), Rgb(226, 110, 20),
                   Rgb(96, 26, 10));
    TextStyle sub;
    sub.unit = 2.4, sub.stroke = 2, sub.spacing = 2.2;
    const std::u32string tagline = U"TANK BATTLE";
    const double w = TextWidth(tagline, sub), x = (520 - w) / 2;
    c.Fill(TextShape(tagline, x, 166, sub), Rgb(196, 206, 224));
    c.Fill(Capsule(x - 70, 173, x - 12, 173, 2), Rgb(196, 206, 224));
    c.Fill(Capsule(x + w + 12, 173, x + w + 70, 173, 2), Rgb(196, 206, 224));
    return c;
}

Canvas DrawVictoryBanner() { return DrawBanner(U"胜利", U"VICTORY", true); }

Canvas DrawDefeatBanner() { return DrawBanner(U"失败", U"DEFEAT", false); }

Canvas DrawMenuFrame()
{
    // The three buttons sit 48 pixels below the frame's top and 16 above its bottom, centred across.
    Canvas c(224, 176);
    const Colour steel = Rgb(120, 132, 156);
    c.Fill(Subtract(RoundRect(0, 0, 224, 176, 14), RoundRect(9, 9, 215, 167, 7)),
           [steel](double x, double y) { return Scale(steel, 1.3 - 0.5 * (x + y) / 400); });
    c.Fill(Subtract(RoundRect(6, 6, 218, 170, 9), RoundRect(8, 8, 216, 168, 8)), Rgb(226, 182, 46));
    c.Fill(RoundRect(24, 12, 200, 40, 6), Rgb(70, 78, 100));
    c.Fill(RoundRect(26, 14, 198, 38, 5), [](double, double y) { return Mix(Rgb(44, 56, 96), Rgb(24, 30, 56), (y - 14) / 24); });
    TextStyle style;
    style.unit = 3, style.stroke = 2.1, style.spacing = 1.2;
    const std::u32string word = U"难度";
    const double x = (224 - TextWidth(word, style)) / 2, y = 26 - TextHeight(word, style) / 2;
    c.Fill(TextShape(word, x, y, style), Rgb(255, 226, 90));
    for (int side : {-1, 1})
        c.Fill(StarShape(112 + side * 52, 26, 6, 2.6), Rgb(255, 226, 90));
    const double rivets[][2] = {{5, 5}, {219, 5}, {5, 171}, {219, 171}, {112, 4.5}, {112, 171.5}, {4.5, 88}, {219.5, 88}};
    for (const auto& r : rivets)
    {
        c.Fill(Circle(r[0], r[1], 3.2), Rgb(60, 66, 80));
        c.Fill(Circle(r[0] - 0.6, r[1] - 0.6, 2), Rgb(210, 216, 228));
    }
    c.Outline(kInk);
    return c;
}

}  // namespace vorlanex::assetgen
