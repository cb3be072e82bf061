// Power-ups: a bevelled plate whose colour tells the family (weapon, speed, tank, special, penalty) and a
// white symbol that tells what the gem does.

#include <cmath>
#include <functional>
#include <numbers>

#include "GemParts.h"
#include "Pictures.h"

namespace vorlanex::assetgen {

Canvas Plate(Colour c)
{
    Canvas canvas(32, 32);
    canvas.Fill(RoundRect(1, 1, 31, 31, 6), Scale(c, 0.45));
    canvas.Fill(RoundRect(2, 2, 30, 30, 5), [c](double, double y) { return Scale(c, 1.45 - 0.6 * y / 32); });
    canvas.Fill(RoundRect(4, 4, 28, 28, 4), [c](double, double y) { return Scale(c, 0.8 + 0.35 * y / 32); });
    canvas.Fill(RoundRect(5, 4.5, 27, 9, 3), Rgb(255, 255, 255), 0.18);
    return canvas;
}

void Sign(Canvas& canvas, const ShapeAt& shape, Colour plate, Colour ink)
{
    canvas.Fill(shape(1, 1), Scale(plate, 0.3), 0.8);
    canvas.Fill(shape(0, 0), ink);
}

Shape Shell(double x, double y, double a, double length, double width)
{
    const double dx = std::cos(a), dy = std::sin(a), nx = -dy, ny = dx, w = width / 2;
    const double bx = x - dx * length, by = y - dy * length, sx = x - dx * width, sy = y - dy * width;
    return Polygon({{x, y}, {sx + nx * w, sy + ny * w}, {bx + nx * w, by + ny * w}, {bx - nx * w, by - ny * w},
                    {sx - nx * w, sy - ny * w}});
}

Shape PlusSign(double x, double y, double size)
{
    return Union(Capsule(x - size, y, x + size, y, 1.8), Capsule(x, y - size, x, y + size, 1.8));
}

namespace {

Canvas Fan(int shells)
{
    Canvas c = Plate(kWeapon);
    const double ox = 16, oy = 26;
    for (int i = 0; i < shells; ++i)
    {
        const double a = -std::numbers::pi / 2 + (i - (shells - 1) / 2.0) * 0.36;
        const double tx = ox + 20 * std::cos(a), ty = oy + 20 * std::sin(a);
        c.Fill(Capsule(ox, oy, ox + 12 * std::cos(a), oy + 12 * std::sin(a), 1.2), Rgb(255, 226, 90), 0.8);
        Sign(c, [=](double dx, double dy) { return Shell(tx + dx, ty + dy, a, 8, 4); }, kWeapon);
    }
    Sign(c, [=](double dx, double dy) { return Circle(ox + dx, oy + dy, 2.2); }, kWeapon);
    return c;
}

Canvas BulletSpeed(bool faster)
{
    const Colour plate = faster ? kSpeed : kPenalty;
    Canvas c = Plate(plate);
    Sign(c, [](double dx, double dy) { return Shell(27 + dx, 19 + dy, 0, 11, 6); }, plate);
    for (int i = 0; i < 3; ++i)
        Sign(c, [i](double dx, double dy) { return Capsule(6 + i * 1.5 + dx, 15 + i * 4 + dy, 13 + dx, 15 + i * 4 + dy, 1.6); }, plate);
    if (faster)
        Sign(c, [](double dx, double dy) { return PlusSign(9 + dx, 9 + dy, 3); }, plate, Rgb(255, 226, 90));
    else
        Sign(c, [](double dx, double dy) { return Capsule(6 + dx, 9 + dy, 12 + dx, 9 + dy, 2); }, plate, Rgb(255, 140, 120));
    return c;
}

Canvas ShotSpeed()
{
    Canvas c = Plate(kSpeed);
    for (int i = 0; i < 3; ++i)
        Sign(c, [i](double dx, double dy) { return Shell(12 + i * 7.5 + dx, 16 + dy, 0, 6, 4.5); }, kSpeed);
    for (int i = 0; i < 2; ++i)
        Sign(c, [i](double dx, double dy) {
            const double x = 8 + i * 8 + dx, y = dy;
            return Union(Capsule(x, 21 + y, x + 4, 24.5 + y, 1.6), Capsule(x + 4, 24.5 + y, x, 28 + y, 1.6));
        }, kSpeed, Rgb(255, 226, 90));
    return c;
}

Canvas BulletPower()
{
    Canvas c = Plate(kWeapon);
    std::vector<Point> burst;
    for (int i = 0; i < 16; ++i)
    {
        const double a = i * std::numbers::pi / 8, r = i % 2 ? 5.5 : 11;
        burst.push_back({16 + r * std::cos(a), 16 + r * std::sin(a)});
    }
    c.Fill(Polygon(burst), Rgb(255, 214, 70));
    c.Fill(Circle(16, 16, 4.5), Rgb(255, 248, 200));
    Sign(c, [](double dx, double dy) { return Shell(24 + dx, 16 + dy, 0, 13, 5.5); }, kWeapon, Rgb(120, 40, 20));
    return c;
}

Canvas MoreBullets()
{
    Canvas c = Plate(kWeapon);
    for (int i = 0; i < 3; ++i)
        Sign(c, [i](double dx, double dy) { return Shell(8 + i * 6 + dx, 6 + dy, -std::numbers::pi / 2, 19, 4.6); }, kWeapon);
    Sign(c, [](double dx, double dy) { return PlusSign(24 + dx, 21 + dy, 3.2); }, kWeapon, Rgb(255, 226, 90));
    return c;
}

Canvas Heart()
{
    Canvas c = Plate(kTank);
    Sign(c, [](double dx, double dy) {
        return Union(Union(Circle(11.5 + dx, 12.5 + dy, 5), Circle(20.5 + dx, 12.5 + dy, 5)),
                     Polygon({{6.8 + dx, 14.5 + dy}, {25.2 + dx, 14.5 + dy}, {16 + dx, 25 + dy}}));
    }, kTank, Rgb(232, 52, 60));
    Sign(c, [](double dx, double dy) { return PlusSign(16 + dx, 15 + dy, 3.5); }, Rgb(120, 20, 20));
    return c;
}

Canvas TankSpeed()
{
    Canvas c = Plate(kTank);
    for (int i = 0; i < 3; ++i)
        Sign(c, [i](double dx, double dy) {
            const double y = 11 + i * 6 + dy;
            return Union(Capsule(8 + dx, y + 4, 16 + dx, y - 2, 2.6), Capsule(16 + dx, y - 2, 24 + dx, y + 4, 2.6));
        }, kTank);
    return c;
}

Canvas Hide()
{
    Canvas c = Plate(kSpecial);
    Sign(c, [](double dx, double dy) { return Ellipse(16 + dx, 16 + dy, 11, 6.5); }, kSpecial);
    c.Fill(Circle(16, 16, 4.2), Rgb(60, 30, 90));
    c.Fill(Circle(14.8, 14.8, 1.3), kSign);
    Sign(c, [](double dx, double dy) { return Capsule(7 + dx, 25 + dy, 25 + dx, 7 + dy, 2.6); }, kSpecial, Rgb(255, 110, 110));
    return c;
}

Canvas Shield()
{
    Canvas c = Plate(kSpecial);
    auto shield = [](double dx, double dy, double g) {
        return Polygon({{7 - g + dx, 7 - g + dy}, {25 + g + dx, 7 - g + dy}, {25 + g + dx, 15 + dy},
                        {16 + dx, 27 + g + dy}, {7 - g + dx, 15 + dy}});
    };
    Sign(c, [&](double dx, double dy) { return shield(dx, dy, 0); }, kSpecial);
    c.Fill(shield(0, 0, -2), Rgb(90, 200, 250));
    std::vector<Point> star;
    for (int i = 0; i < 10; ++i)
    {
        const double a = -std::numbers::pi / 2 + i * std::numbers::pi / 5, r = i % 2 ? 2.2 : 5;
        star.push_back({16 + r * std::cos(a), 15 + r * std::sin(a)});
    }
    c.Fill(Polygon(star), kSign);
    return c;
}

}  // namespace

void AddGemPictures(PictureBook& book)
{
    book["ScanBullet1"] = Fan(1);
    book["ScanBullet3"] = Fan(3);
    book["ScanBullet5"] = Fan(5);
    book["AddBulletSpeed"] = BulletSpeed(true);
    book["SubBulletSpeed"] = BulletSpeed(false);
    book["AddShotSpeed"] = ShotSpeed();
    book["AddBulletPower"] = BulletPower();
    book["AddBullets"] = MoreBullets();
    book["AddTankLife"] = Heart();
    book["AddTankSpeed"] = TankSpeed();
    book["HideTank"] = Hide();
    book["SuperTank"] = Shield();
    AddMoreGemPictures(book);
}

}  // namespace vorlanex::assetgen
