// The gems that change a tank's state or call help: freeze, pass through walls, planes, shell sizes,
// cleverness.

#include <cmath>
#include <numbers>

#include "GemParts.h"
#include "Lettering.h"

namespace vorlanex::assetgen {

namespace {

// Keyed on pure red: the sign's red stays well below it.
Canvas StopSign()
{
    Canvas c = Plate(kPenalty);
    std::vector<Point> octagon, inner;
    for (int i = 0; i < 8; ++i)
    {
        const double a = (i + 0.5) * std::numbers::pi / 4;
        octagon.push_back({16 + 12 * std::cos(a), 16 + 12 * std::sin(a)});
        inner.push_back({16 + 10.2 * std::cos(a), 16 + 10.2 * std::sin(a)});
    }
    c.Fill(Polygon(octagon), kSign);
    c.Fill(Polygon(inner), Rgb(196, 30, 36));
    DrawTinyText(c, "STOP", 16 - TinyTextWidth("STOP") / 2, 14, kSign);
    return c;
}

Canvas PassWall()
{
    Canvas c = Plate(kSpecial);
    const Colour brick = Rgb(178, 86, 56), mortar = Rgb(90, 50, 40);
    c.Fill(RectShape(12, 6, 20, 26), mortar);
    for (int row = 0; row < 4; ++row)
    {
        const double y = 6.5 + row * 5, shift = row % 2 ? 0 : 3;
        c.Fill(RectShape(12.5, y, 15.5 + shift, y + 4), brick);
        c.Fill(RectShape(16.5 + shift, y, 19.5, y + 4), brick);
    }
    Sign(c, [](double dx, double dy) {
        return Union(Capsule(5 + dx, 16 + dy, 23 + dx, 16 + dy, 3),
                     Polygon({{22 + dx, 10 + dy}, {28.5 + dx, 16 + dy}, {22 + dx, 22 + dy}}));
    }, kSpecial, Rgb(150, 240, 255));
    return c;
}

Canvas PlaneCall()
{
    Canvas c = Plate(kSpeed);
    Sign(c, [](double dx, double dy) {
        const double x = dx, y = dy;
        return Union(Union(Ellipse(16 + x, 16 + y, 2.4, 11),
                           Polygon({{16 + x, 10 + y}, {27 + x, 18 + y}, {27 + x, 20 + y}, {16 + x, 17 + y}, {5 + x, 20 + y},
                                    {5 + x, 18 + y}})),
                     Polygon({{16 + x, 22 + y}, {21 + x, 26 + y}, {21 + x, 27.5 + y}, {11 + x, 27.5 + y}, {11 + x, 26 + y}}));
    }, kSpeed);
    return c;
}

Canvas ShellSize(double radius, const std::string& label)
{
    Canvas c = Plate(kWeapon);
    Sign(c, [radius](double dx, double dy) { return Circle(16 + dx, 13 + dy, radius); }, kWeapon, Rgb(255, 226, 90));
    c.Fill(Circle(16 - radius * 0.35, 13 - radius * 0.35, radius * 0.35), Rgb(255, 250, 220));
    const int width = TinyTextWidth(label);
    DrawTinyText(c, label, 17 - width / 2, 23, Scale(kWeapon, 0.3));
    DrawTinyText(c, label, 16 - width / 2, 22, kSign);
    return c;
}

Canvas Bulb()
{
    Canvas c = Plate(kSpecial);
    for (int i = 0; i < 7; ++i)
    {
        const double a = std::numbers::pi * (1.0 + i / 6.0);
        c.Fill(Capsule(16 + 10 * std::cos(a), 14 + 10 * std::sin(a), 16 + 12.5 * std::cos(a), 14 + 12.5 * std::sin(a), 1.6),
               Rgb(255, 236, 120));
    }
    Sign(c, [](double dx, double dy) {
        return Union(Circle(16 + dx, 14 + dy, 6.5), Polygon({{11.5 + dx, 17 + dy}, {20.5 + dx, 17 + dy}, {19 + dx, 22 + dy},
                                                             {13 + dx, 22 + dy}}));
    }, kSpecial, Rgb(255, 236, 120));
    c.Fill(RectShape(13, 22.5, 19, 24), Rgb(180, 180, 190));
    c.Fill(RectShape(13.5, 25, 18.5, 26.5), Rgb(150, 150, 160));
    c.Fill(Circle(14, 12, 2), Rgb(255, 252, 230));
    return c;
}

}  // namespace

void AddMoreGemPictures(PictureBook& book)
{
    book["StopTank"] = StopSign();
    book["AllPass"] = PassWall();
    book["Plane"] = PlaneCall();
    book["GemBulletSize8"] = ShellSize(2.5, "8");
    book["GemBulletSize16"] = ShellSize(4.5, "16");
    book["GemBulletSize24"] = ShellSize(6.5, "24");
    book["GemClever"] = Bulb();
}

}  // namespace vorlanex::assetgen
