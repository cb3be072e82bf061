// The tanks: one design per side and kind, painted facing up and turned for the other directions.
// Each direction strip holds five looks, as the tanks animate them: 0 and 1 intact (the treads roll),
// 1 and 2 damaged (pattern 2 is scorched and smoking, so the damaged tank flickers between the two),
// 3 and 4 shielded.

#include <cmath>
#include <numbers>

#include "Pictures.h"

namespace vorlanex::assetgen {

namespace {

constexpr double kCentre = 16;

struct Painter
{
    Canvas& canvas;
    double s;   // pixels per design unit
    Shape Rect(double x0, double y0, double x1, double y1) const { return RectShape(x0 * s, y0 * s, x1 * s, y1 * s); }
    Shape Round(double x0, double y0, double x1, double y1, double r) const
    {
        return RoundRect(x0 * s, y0 * s, x1 * s, y1 * s, r * s);
    }
};

// Light comes from the top left: a gentle ramp across the whole tank.
Shader Lit(Colour base, double s)
{
    return [base, s](double x, double y) { return Scale(base, 1.25 - 0.45 * (x / s + y / s) / 64.0); };
}

void PaintTreads(const Painter& p, const TankDesign& d, int phase)
{
    const Colour rubber = Rgb(46, 46, 52), link = Rgb(96, 96, 104);
    for (int side : {-1, 1})
    {
        const double inner = kCentre + side * d.hullHalf;
        const double outer = inner + side * d.treadWidth;
        const double x0 = std::min(inner, outer), x1 = std::max(inner, outer);
        const double s = p.s;
        p.canvas.Fill(p.Round(x0, d.top, x1, d.bottom, 1.5), [=](double x, double y) {
            const int row = int(std::floor(y / s)) + phase * 2;
            const double edge = std::min(x / s - x0, x1 - x / s);
            const Colour c = (row % 4 == 0 || row % 4 == 1) && edge > 0.8 ? link : rubber;
            return edge < 0.8 ? Scale(c, 0.7) : c;
        });
    }
}

void PaintHull(const Painter& p, const TankDesign& d)
{
    const double x0 = kCentre - d.hullHalf - 0.5, x1 = kCentre + d.hullHalf + 0.5;
    const double y0 = d.top + 1.5, y1 = d.bottom - 1;
    if (d.wedgeNose)
        p.canvas.Fill(Polygon({{x0 * p.s, (y0 + 4) * p.s}, {(kCentre - 3) * p.s, (y0 - 1) * p.s},
                               {(kCentre + 3) * p.s, (y0 - 1) * p.s}, {x1 * p.s, (y0 + 4) * p.s},
                               {x1 * p.s, y1 * p.s}, {x0 * p.s, y1 * p.s}}),
                      Lit(Scale(d.body, 0.82), p.s));
    else
        p.canvas.Fill(p.Round(x0, y0, x1, y1, 2.5), Lit(Scale(d.body, 0.82), p.s));
    // Front glacis edge and the engine deck at the rear.
    p.canvas.Fill(p.Rect(x0 + 1, y0 + 3, x1 - 1, y0 + 3.8), Scale(d.body, 0.6));
    for (int i = 0; i < 3; ++i)
        p.canvas.Fill(p.Rect(kCentre - 4, y1 - 4.5 + i * 1.4, kCentre + 4, y1 - 4 + i * 1.4), Scale(d.body, 0.45));
    if (d.skirts)
        for (int side : {-1, 1})
        {
            const double a = kCentre + side * (d.hullHalf + 0.2), b = a + side * (d.treadWidth + 0.6);
            p.canvas.Fill(p.Round(std::min(a, b), d.top + 4, std::max(a, b), d.bottom - 4, 1), Lit(Scale(d.body, 0.85), p.s));
            p.canvas.Fill(p.Rect(std::min(a, b), kCentre - 0.3, std::max(a, b), kCentre + 0.5), Scale(d.body, 0.5));
        }
}

void PaintBarrels(const Painter& p, const TankDesign& d)
{
    const Colour steel = Mix(d.body, Rgb(150, 150, 150), 0.45);
    const Colour rim = Scale(d.body, 0.3);
    const double spacing = d.barrelWidth + 1.2;
    for (int i = 0; i < d.barrels; ++i)
    {
        const double cx = kCentre + (i - (d.barrels - 1) / 2.0) * spacing;
        const double w = d.barrelWidth / 2;
        const double s = p.s;
        p.canvas.Fill(p.Rect(cx - w - 0.7, d.barrelTop - 0.6, cx + w + 0.7, d.turretY), rim);
        p.canvas.Fill(p.Rect(cx - w, d.barrelTop + 1, cx + w, d.turretY), [=](double x, double) {
            const double t = (x / s - (cx - w)) / (2 * w);
            return Scale(steel, 0.75 + 0.6 * std::sin(t * std::numbers::pi) - 0.25 * t);
        });
        p.canvas.Fill(p.Rect(cx - w - 0.6, d.barrelTop, cx + w + 0.6, d.barrelTop + 2.2), Scale(steel, 0.7));
    }
}

Shape TurretShape(const Painter& p, const TankDesign& d, double dx, double dy, double grow = 0)
{
    const double cx = (kCentre + dx) * p.s, cy = (d.turretY + dy) * p.s, r = (d.turretRadius + grow) * p.s;
    if (d.turretSides == 0)
        return Circle(cx, cy, r);
    std::vector<Point> pts;
    for (int i = 0; i < d.turretSides; ++i)
    {
        const double a = (i + 0.5) * 2 * std::numbers::pi / d.turretSides;
        pts.push_back({cx + r * std::cos(a), cy + r * std::sin(a)});
    }
    return Polygon(std::move(pts));
}

void PaintTurret(const Painter& p, const TankDesign& d)
{
    p.canvas.Fill(TurretShape(p, d, 0.8, 1.0), Rgb(20, 20, 24), 0.5);
    p.canvas.Fill(TurretShape(p, d, 0, 0, 0.9), Scale(d.body, 0.3));
    const double s = p.s, cx = kCentre * s, cy = d.turretY * s, r = d.turretRadius * s;
    const Colour body = d.body;
    p.canvas.Fill(TurretShape(p, d, 0, 0), [=](double x, double y) {
        const double hx = x - (cx - r * 0.4), hy = y - (cy - r * 0.4);
        const double glow = std::max(0.0, 1.0 - std::sqrt(hx * hx + hy * hy) / (r * 1.5));
        return Scale(body, 0.85 + 0.5 * glow);
    });
    if (d.star)
    {
        std::vector<Point> star;
        for (int i = 0; i < 10; ++i)
        {
            const double a = -std::numbers::pi / 2 + i * std::numbers::pi / 5, rr = (i % 2 ? 1.2 : 2.8) * s;
            star.push_back({cx + rr * std::cos(a), cy + 0.5 * s + rr * std::sin(a)});
        }
        p.canvas.Fill(Polygon(std::move(star)), Rgb(200, 40, 36));
    }
    else
    {
        p.canvas.Fill(Circle(cx + 1.2 * s, cy + 1.5 * s, 1.9 * s), Scale(body, 0.55));
        p.canvas.Fill(Circle(cx + 0.9 * s, cy + 1.2 * s, 1.0 * s), Scale(body, 1.3));
    }
}

void PaintDamage(Canvas& canvas, double s, int seed)
{
    Dice dice{std::uint32_t(seed)};
    struct Blot { double x, y, r; };
    std::vector<Blot> blots;
    for (int i = 0; i < 4; ++i)
        blots.push_back({dice.Range(7, 25) * s, dice.Range(6, 27) * s, dice.Range(2.5, 4.5) * s});
    canvas.Tint([&](int x, int y) {
        double f = 1.0;
        for (const Blot& b : blots)
        {
            const double d = std::hypot(x + 0.5 - b.x, y + 0.5 - b.y) / b.r;
            f = std::min(f, d < 1 ? 0.35 + 0.65 * d * d : 1.0);
        }
        return f * 0.85;
    });
    canvas.Fill(Capsule(blots[0].x, blots[0].y, blots[0].x + 4 * s, blots[0].y + 3 * s, 0.9 * s), Rgb(24, 22, 22));
    canvas.Fill(Capsule(blots[1].x, blots[1].y, blots[1].x - 3 * s, blots[1].y + 4 * s, 0.9 * s), Rgb(24, 22, 22));
    canvas.Fill(Circle(blots[2].x, blots[2].y, 1.6 * s), Rgb(255, 150, 40));
    canvas.Fill(Circle(blots[2].x, blots[2].y - 0.4 * s, 0.8 * s), Rgb(255, 236, 140));
    // Smoke drifting off the engine deck.
    for (int i = 0; i < 3; ++i)
        canvas.Fill(Circle((12 + i * 4.5) * s, (25 - i * 1.5) * s, (2.6 + i * 0.5) * s), Rgb(70, 68, 66), 0.7);
}

void PaintShield(Canvas& canvas, double s, int phase)
{
    const double c = kCentre * s;
    canvas.Tint([](int, int) { return 1.12; });
    canvas.Fill(Ring(c, c, 13.4 * s, 15.8 * s), Rgb(90, 210, 255), phase == 0 ? 0.85 : 0.65);
    canvas.Fill(Ring(c, c, 14.2 * s, 15.0 * s), Rgb(200, 244, 255), phase == 0 ? 0.7 : 0.9);
    for (int i = 0; i < 6; ++i)
    {
        const double a = (i * 60 + phase * 30) * std::numbers::pi / 180;
        const double x = c + 14.6 * s * std::cos(a), y = c + 14.6 * s * std::sin(a);
        canvas.Fill(Circle(x, y, 1.5 * s), Rgb(240, 252, 255));
    }
}

Canvas DrawDirectionStrip(const TankDesign& design, int quarterTurns, bool horizontal)
{
    const TankLook looks[] = {TankLook::Intact, TankLook::Intact, TankLook::Damaged, TankLook::Shielded, TankLook::Shielded};
    const int phases[] = {0, 1, 0, 0, 1};
    std::vector<Canvas> frames;
    for (int i = 0; i < 5; ++i)
        frames.push_back(DrawTank(design, phases[i], looks[i]).Rotated(quarterTurns));
    return Strip(frames, horizontal);
}

void AddFourDirections(PictureBook& book, const TankDesign& design, const std::string& prefix, const char* upName)
{
    book[prefix + upName] = DrawDirectionStrip(design, 0, true);
    book[prefix + "Right"] = DrawDirectionStrip(design, 1, false);
    book[prefix + "Down"] = DrawDirectionStrip(design, 2, true);
    book[prefix + "Left"] = DrawDirectionStrip(design, 3, false);
}

}  // namespace

TankDesign PlayerTankDesign()
{
    TankDesign d;
    d.body = kPlayerGold;
    d.hullHalf = 8, d.treadWidth = 5, d.top = 2, d.bottom = 30;
    d.turretRadius = 6.5, d.turretY = 18, d.barrelWidth = 3, d.barrelTop = 0.5;
    d.star = true;
    return d;
}

Canvas DrawTank(const TankDesign& design, int phase, TankLook look, double scale)
{
    const int size = int(std::lround(32 * scale));
    Canvas canvas(size, size);
    const Painter p{canvas, scale};
    PaintTreads(p, design, phase);
    PaintHull(p, design);
    PaintBarrels(p, design);
    PaintTurret(p, design);
    if (look == TankLook::Damaged)
        PaintDamage(canvas, scale, int(design.body.r + design.body.g * 3 + design.body.b * 7));
    canvas.Outline(kInk);
    if (look == TankLook::Shielded)
        PaintShield(canvas, scale, phase);
    return canvas;
}

void AddTankPictures(PictureBook& book)
{
    AddFourDirections(book, PlayerTankDesign(), "MyTank", "Up");

    TankDesign basic;   // kind 0: the common line tank
    basic.body = Rgb(132, 146, 168);
    basic.top = 3, basic.bottom = 29, basic.barrelWidth = 2.6;
    AddFourDirections(book, basic, "Tank1", "UP");

    TankDesign fast;    // kind 1: light and quick, long thin gun
    fast.body = Rgb(196, 64, 48);
    fast.hullHalf = 6.5, fast.treadWidth = 4, fast.top = 3, fast.bottom = 29, fast.wedgeNose = true;
    fast.turretRadius = 5, fast.turretY = 19, fast.barrelWidth = 2, fast.barrelTop = 0.5;
    AddFourDirections(book, fast, "Tank2", "Up");

    TankDesign armoured;   // kind 2: skirted hull, angular turret, heavier shells
    armoured.body = Rgb(58, 150, 118);
    armoured.hullHalf = 8.5, armoured.treadWidth = 5, armoured.skirts = true;
    armoured.turretRadius = 7, armoured.turretSides = 6, armoured.barrelWidth = 4, armoured.barrelTop = 1;
    AddFourDirections(book, armoured, "Tank3", "Up");

    TankDesign heavy;   // kind 3: the slow giant with twin guns
    heavy.body = Rgb(140, 92, 176);
    heavy.hullHalf = 9.5, heavy.treadWidth = 5.5, heavy.top = 1.5, heavy.bottom = 30.5;
    heavy.turretRadius = 8.5, heavy.turretSides = 4, heavy.turretY = 18.5, heavy.barrelWidth = 2.6, heavy.barrels = 2;
    heavy.barrelTop = 0.5;
    AddFourDirections(book, heavy, "Tank4", "Up");
}

}  // namespace vorlanex::assetgen
