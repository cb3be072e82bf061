// The difficulty buttons (stars and the level's name) and the small life icons of the players' panel.

#include <cmath>
#include <numbers>

#include "Lettering.h"
#include "Pictures.h"

namespace vorlanex::assetgen {

namespace {

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

Canvas DrawButton(int level, Colour tone, const std::u32string& label)
{
    Canvas c(128, 32);
    c.Fill(RoundRect(0.5, 0.5, 127.5, 31.5, 7), Scale(tone, 0.35));
    c.Fill(RoundRect(1.5, 1.5, 126.5, 30.5, 6), [tone](double, double y) { return Scale(tone, 1.35 - 0.7 * y / 32); });
    c.Fill(RoundRect(3.5, 3.5, 124.5, 28.5, 5), [tone](double, double y) { return Scale(tone, 0.6 + 0.35 * y / 32); });
    c.Fill(RoundRect(5, 4, 123, 11, 4), Rgb(255, 255, 255), 0.16);
    // One star per level of difficulty, lit; the rest dimmed.
    for (int i = 0; i < 3; ++i)
    {
        const double cx = 15 + i * 13;
        c.Fill(StarShape(cx + 0.8, 16.8, 6.4, 2.7), Scale(tone, 0.25));
        c.Fill(StarShape(cx, 16, 6.4, 2.7), i < level ? Rgb(255, 226, 80) : Scale(tone, 0.9));
    }
    TextStyle style;
    style.unit = 3.1, style.stroke = 2.1, style.spacing = 0.9;
    const double x = 53, y = 16 - TextHeight(label, style) / 2;
    c.Fill(TextShape(label, x + 1, y + 1, style), Scale(tone, 0.2));
    c.Fill(TextShape(label, x, y, style), Rgb(250, 248, 240));
    return c;
}

// A life icon: a tiny tank drawn pixel-true at 16 x 16.
Canvas DrawLifeIcon(Colour body)
{
    Canvas c(16, 16);
    const Colour tread = Rgb(50, 50, 56);
    c.Fill(RectShape(2, 3, 5, 15), tread);
    c.Fill(RectShape(11, 3, 14, 15), tread);
    for (int y = 4; y < 15; y += 2)
    {
        c.Fill(RectShape(2, y, 5, y + 1), Rgb(96, 96, 104));
        c.Fill(RectShape(11, y, 14, y + 1), Rgb(96, 96, 104));
    }
    c.Fill(RectShape(5, 4, 11, 14), Scale(body, 0.8));
    c.Fill(RectShape(7, 0.5, 9, 7), Scale(body, 0.45));
    c.Fill(Circle(8, 9.5, 3.2), body);
    c.Fill(Circle(7.3, 8.8, 1.2), Scale(body, 1.3));
    c.Outline(kInk);
    return c;
}

}  // namespace

void AddMenuPictures(PictureBook& book)
{
    book["CFGLow"] = DrawButton(1, Rgb(56, 150, 76), U"低难度");
    book["CFGMed"] = DrawButton(2, Rgb(200, 140, 36), U"中难度");
    book["CFGHigh"] = DrawButton(3, Rgb(190, 48, 44), U"高难度");
    // The panel shows SmallTank2 for every spare life, and SmallTank1 while that player offers a life.
    book["SmallTank2"] = DrawLifeIcon(kPlayerGold);
    book["SmallTank1"] = DrawLifeIcon(kOfferGreen);
}

}  // namespace vorlanex::assetgen
