// Small effects: snow flakes, the spawn blink, the mouse cursor, spawn markers and the ground texture.

#include <cmath>
#include <numbers>

#include "Pictures.h"

namespace vorlanex::assetgen {

namespace {

// A six-armed crystal; `branches` side twigs per arm, centred in a w x h box.
Canvas DrawFlake(int w, int h, double radius, int branches, double stroke)
{
    Canvas c(w, h);
    const double cx = w / 2.0, cy = h / 2.0;
    // Bright at the heart, cooler blue towards the tips.
    const Shader ice = [=](double x, double y) { return Mix(Rgb(250, 252, 255), Rgb(170, 205, 245), std::hypot(x - cx, y - cy) / radius); };
    for (int arm = 0; arm < 6; ++arm)
    {
        const double a = arm * std::numbers::pi / 3 + std::numbers::pi / 6;
        const double ex = cx + radius * std::cos(a), ey = cy + radius * std::sin(a);
        c.Fill(Capsule(cx, cy, ex, ey, stroke), ice);
        for (int b = 1; b <= branches; ++b)
        {
            const double t = 0.35 + 0.3 * b, bx = cx + radius * t * std::cos(a), by = cy + radius * t * std::sin(a);
            const double len = radius * (0.42 - 0.1 * b);
            for (double side : {-1.0, 1.0})
            {
                const double ba = a + side * std::numbers::pi / 3;
                c.Fill(Capsule(bx, by, bx + len * std::cos(ba), by + len * std::sin(ba), stroke * 0.8), ice);
            }
        }
    }
    c.Fill(Circle(cx, cy, stroke * 1.2), Rgb(250, 252, 255));
    c.Outline(Rgb(132, 162, 204));
    return c;
}

// The spawn blink: a star of light that opens and closes over three frames.
Canvas DrawBlink(int frame)
{
    Canvas c(32, 32);
    const double size[] = {7, 14, 10};
    const double s = size[frame];
    c.Fill(Ring(16, 16, s * 0.9, s * 0.9 + 1.6), Rgb(120, 200, 255), 0.8);
    for (int i = 0; i < 4; ++i)
    {
        const double a = i * std::numbers::pi / 2 + frame * std::numbers::pi / 8;
        const double x = 16 + (s + 1.5) * std::cos(a), y = 16 + (s + 1.5) * std::sin(a);
        const double nx = -std::sin(a) * s * 0.22, ny = std::cos(a) * s * 0.22;
        c.Fill(Polygon({{x, y}, {16 + nx, 16 + ny}, {16 - nx, 16 - ny}}), Rgb(200, 236, 255));
    }
    c.Fill(Circle(16, 16, s * 0.35), Rgb(255, 255, 240));
    return c;
}

// An arrow with its tip at the top-left corner, where the game places the mouse position.
Canvas DrawCursor(int frame)
{
    Canvas c(16, 16);
    const Colour glow[] = {Rgb(255, 226, 90), Rgb(255, 196, 70), Rgb(255, 160, 60), Rgb(255, 196, 70)};
    const Shape arrow = Polygon({{0.5, 0.5}, {0.5, 13}, {4, 9.5}, {7, 15}, {9, 14}, {6.2, 8.6}, {11, 8.6}});
    c.Fill(arrow, [&](double x, double y) { return Scale(glow[frame], 1.15 - 0.04 * (x + y)); });
    c.Fill(Polygon({{2, 3}, {2, 8}, {5, 6}}), Rgb(255, 250, 220), 0.8);
    c.Outline(kInk);
    return c;
}

// Corner brackets around a cell, two frames (wide and tight) for a pulse.
Canvas DrawMarker(Colour colour, int frame)
{
    Canvas c(32, 32);
    const double m = frame == 0 ? 2 : 5, len = 8;
    const Shader lit = [colour](double x, double y) { return Scale(colour, 1.3 - 0.6 * (x + y) / 64); };
    for (int corner = 0; corner < 4; ++corner)
    {
        const double x = corner % 2 ? 32 - m : m, y = corner / 2 ? 32 - m : m;
        const double dx = corner % 2 ? -len : len, dy = corner / 2 ? -len : len;
        c.Fill(Capsule(x, y, x + dx, y, 2.4), lit);
        c.Fill(Capsule(x, y, x, y + dy, 2.4), lit);
    }
    c.Fill(Circle(16, 16, 3.5), lit);
    c.Fill(Circle(15.3, 15.3, 1.4), Scale(colour, 1.6));
    c.Outline(kInk);
    return c;
}

Canvas DrawGround()
{
    Canvas c(48, 48);
    Dice dice(5);
    c.Paint([](double x, double y) {
        const double n = std::sin(x * 0.7) * std::cos(y * 0.55) + std::sin((x + y) * 0.31);
        return Rgb(104 + 10 * n, 86 + 8 * n, 60 + 5 * n);
    });
    for (int i = 0; i < 26; ++i)
    {
        const double x = dice.Range(2, 46), y = dice.Range(2, 46), r = dice.Range(0.6, 1.6);
        const double shade = dice.Range(0.7, 1.35);
        c.Fill(Circle(x, y, r), Scale(Rgb(120, 104, 84), shade));
    }
    for (int i = 0; i < 7; ++i)
    {
        const double x = dice.Range(4, 44), y = dice.Range(6, 46);
        for (int blade = -1; blade <= 1; ++blade)
            c.Fill(Capsule(x, y, x + blade * 1.8, y - 3.5, 0.9), Rgb(92, 130, 58));
    }
    return c;
}

}  // namespace

void AddEffectPictures(PictureBook& book)
{
    book["Snow0"] = DrawFlake(26, 24, 8.5, 1, 1.5);
    book["Snow1"] = DrawFlake(26, 24, 10.5, 2, 1.2);
    book["snow2"] = DrawFlake(23, 23, 6.5, 0, 2.0);
    book["Blink"] = Strip({DrawBlink(0), DrawBlink(1), DrawBlink(2)}, false);
    book["Cursor"] = Strip({DrawCursor(0), DrawCursor(1), DrawCursor(2), DrawCursor(3)}, true);
    book["EnemyPos"] = Strip({DrawMarker(Rgb(232, 60, 52), 0), DrawMarker(Rgb(232, 60, 52), 1)}, true);
    book["PlayerPos"] = Strip({DrawMarker(kPlayerGold, 0), DrawMarker(kPlayerGold, 1)}, true);
    book["Back0"] = DrawGround();
}

}  // namespace vorlanex::assetgen
