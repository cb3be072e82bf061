// Shells in flight (two flickering frames each, round so they read the same at every angle) and the
// plane's missile, which always flies right.

#include <cmath>
#include <numbers>

#include "Pictures.h"

namespace vorlanex::assetgen {

namespace {

Canvas DrawShell(int size, int frame)
{
    Canvas c(size, size);
    const double mid = size / 2.0, r = size / 2.0 - 0.5;
    const double pulse = frame == 0 ? 1.0 : 0.86;
    c.Fill(Circle(mid, mid, r * pulse), Rgb(230, 92, 24));
    c.Fill(Circle(mid, mid, r * 0.72 * pulse), Rgb(255, 190, 60));
    c.Fill(Circle(mid - r * 0.15, mid - r * 0.15, r * 0.4), Rgb(255, 248, 210));
    if (size >= 16)
        for (int i = 0; i < 4; ++i)
        {
            const double a = (i * 90 + (frame == 0 ? 0 : 45)) * std::numbers::pi / 180;
            c.Fill(Capsule(mid + r * 0.5 * std::cos(a), mid + r * 0.5 * std::sin(a), mid + r * std::cos(a),
                           mid + r * std::sin(a), size / 10.0),
                   Rgb(255, 236, 150));
        }
    return c;
}

Canvas ShellStrip(int size)
{
    return Strip({DrawShell(size, 0), DrawShell(size, 1)}, true);
}

Canvas DrawMissile(int frame)
{
    Canvas c(40, 6);
    const double flame = frame == 0 ? 8 : 5.5;
    c.Fill(Polygon({{9, 1.5}, {9 - flame, 3}, {9, 4.5}}), Rgb(255, 140, 40));
    c.Fill(Polygon({{9, 2.3}, {9 - flame * 0.6, 3}, {9, 3.7}}), Rgb(255, 240, 160));
    c.Fill(Polygon({{9, 0}, {14, 1.5}, {14, 4.5}, {9, 6}}), Rgb(90, 100, 112));
    c.Fill(RectShape(10, 1.5, 34, 4.5), [](double, double y) { return Scale(Rgb(200, 206, 214), 1.15 - 0.12 * y); });
    c.Fill(Polygon({{34, 1.5}, {39.5, 3}, {34, 4.5}}), Rgb(200, 44, 40));
    c.Fill(RectShape(22, 1.5, 24, 4.5), Rgb(226, 182, 46));
    return c;
}

}  // namespace

void AddBulletPictures(PictureBook& book)
{
    book["BulletSize8"] = ShellStrip(8);
    book["BulletSize16"] = ShellStrip(16);
    book["BulletSize24"] = ShellStrip(24);
    book["Mission"] = Strip({DrawMissile(0), DrawMissile(1)}, true);
}

}  // namespace vorlanex::assetgen
