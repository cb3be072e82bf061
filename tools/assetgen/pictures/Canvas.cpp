#include "Canvas.h"

#include <algorithm>
#include <cmath>

namespace vorlanex::assetgen {

Colour Mix(Colour a, Colour b, double t)
{
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

Colour Scale(Colour c, double factor)
{
    auto clamp = [](double v) { return std::clamp(v, 0.0, 255.0); };
    return {clamp(c.r * factor), clamp(c.g * factor), clamp(c.b * factor)};
}

Shape RectShape(double x0, double y0, double x1, double y1)
{
    return {{x0, y0, x1, y1}, [=](double x, double y) { return x >= x0 && x < x1 && y >= y0 && y < y1; }};
}

Shape RoundRect(double x0, double y0, double x1, double y1, double radius)
{
    return {{x0, y0, x1, y1}, [=](double x, double y) {
                if (x < x0 || x >= x1 || y < y0 || y >= y1)
                    return false;
                const double cx = std::clamp(x, x0 + radius, x1 - radius);
                const double cy = std::clamp(y, y0 + radius, y1 - radius);
                return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= radius * radius;
            }};
}

Shape Ellipse(double cx, double cy, double rx, double ry)
{
    return {{cx - rx, cy - ry, cx + rx, cy + ry}, [=](double x, double y) {
                const double u = (x - cx) / rx, v = (y - cy) / ry;
                return u * u + v * v <= 1.0;
            }};
}

Shape Circle(double cx, double cy, double radius) { return Ellipse(cx, cy, radius, radius); }

Shape Ring(double cx, double cy, double inner, double outer)
{
    return {{cx - outer, cy - outer, cx + outer, cy + outer}, [=](double x, double y) {
                const double d2 = (x - cx) * (x - cx) + (y - cy) * (y - cy);
                return d2 <= outer * outer && d2 >= inner * inner;
            }};
}

Shape Polygon(std::vector<Point> points)
{
    Box box{1e9, 1e9, -1e9, -1e9};
    for (const Point& p : points)
        box = {std::min(box.x0, p.x), std::min(box.y0, p.y), std::max(box.x1, p.x), std::max(box.y1, p.y)};
    return {box, [pts = std::move(points)](double x, double y) {
                bool in = false;
                for (std::size_t i = 0, j = pts.size() - 1; i < pts.size(); j = i++)
                {
                    const Point& a = pts[i];
                    const Point& b = pts[j];
                    if ((a.y > y) != (b.y > y) && x < (b.x - a.x) * (y - a.y) / (b.y - a.y) + a.x)
                        in = !in;
                }
                return in;
            }};
}

Shape Capsule(double x0, double y0, double x1, double y1, double width)
{
    const double r = width / 2;
    const Box box{std::min(x0, x1) - r, std::min(y0, y1) - r, std::max(x0, x1) + r, std::max(y0, y1) + r};
    return {box, [=](double x, double y) {
                const double dx = x1 - x0, dy = y1 - y0;
                const double len2 = dx * dx + dy * dy;
                double t = len2 > 0 ? ((x - x0) * dx + (y - y0) * dy) / len2 : 0;
                t = std::clamp(t, 0.0, 1.0);
                const double px = x0 + t * dx - x, py = y0 + t * dy - y;
                return px * px + py * py <= r * r;
            }};
}

Shape Union(Shape a, Shape b)
{
    const Box box{std::min(a.box.x0, b.box.x0), std::min(a.box.y0, b.box.y0), std::max(a.box.x1, b.box.x1),
                  std::max(a.box.y1, b.box.y1)};
    return {box, [a = std::move(a.inside), b = std::move(b.inside)](double x, double y) { return a(x, y) || b(x, y); }};
}

Shape Subtract(Shape a, Shape b)
{
    return {a.box, [a = std::move(a.inside), b = std::move(b.inside)](double x, double y) { return a(x, y) && !b(x, y); }};
}

Canvas::Canvas(int width, int height) : width(width), height(height), pixels(std::size_t(width) * std::size_t(height))
{
}

void Canvas::Blend(int x, int y, Colour c, double alpha)
{
    if (!Contains(x, y) || alpha <= 0)
        return;
    Pixel& p = pixels[Index(x, y)];
    const float a = float(std::min(alpha, 1.0));
    const float outA = a + p.a * (1 - a);
    if (outA <= 0)
        return;
    const float keep = p.a * (1 - a);
    p.r = (float(c.r) * a + p.r * keep) / outA;
    p.g = (float(c.g) * a + p.g * keep) / outA;
    p.b = (float(c.b) * a + p.b * keep) / outA;
    p.a = outA;
}

void Canvas::Set(int x, int y, Colour c, double alpha)
{
    if (Contains(x, y))
        pixels[Index(x, y)] = {float(c.r), float(c.g), float(c.b), float(alpha)};
}

void Canvas::Fill(const Shape& shape, Colour colour, double alpha)
{
    Fill(shape, [colour](double, double) { return colour; }, alpha);
}

void Canvas::Fill(const Shape& shape, const Shader& shader, double alpha)
{
    constexpr int kSamples = 4;
    const int xs = std::max(0, int(std::floor(shape.box.x0)));
    const int ys = std::max(0, int(std::floor(shape.box.y0)));
    const int xe = std::min(width - 1, int(std::ceil(shape.box.x1)));
    const int ye = std::min(height - 1, int(std::ceil(shape.box.y1)));
    for (int y = ys; y <= ye; ++y)
        for (int x = xs; x <= xe; ++x)
        {
            int hits = 0;
            for (int sy = 0; sy < kSamples; ++sy)
                for (int sx = 0; sx < kSamples; ++sx)
                    hits += shape.inside(x + (sx + 0.5) / kSamples, y + (sy + 0.5) / kSamples) ? 1 : 0;
            if (hits > 0)
                Blend(x, y, shader(x + 0.5, y + 0.5), alpha * hits / (kSamples * kSamples));
        }
}

void Canvas::Paint(const Shader& shader)
{
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            Set(x, y, shader(x + 0.5, y + 0.5));
}

void Canvas::Outline(Colour colour)
{
    std::vector<std::uint8_t> mark(pixels.size(), 0);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
        {
            if (Opaque(x, y))
                continue;
            const bool touches = (x > 0 && Opaque(x - 1, y)) || (x + 1 < width && Opaque(x + 1, y)) ||
                                 (y > 0 && Opaque(x, y - 1)) || (y + 1 < height && Opaque(x, y + 1));
            mark[Index(x, y)] = touches ? 1 : 0;
        }
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (mark[Index(x, y)])
                Set(x, y, colour);
}

void Canvas::Tint(const std::function<double(int, int)>& factor)
{
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
        {
            Pixel& p = pixels[Index(x, y)];
            if (p.a <= 0)
                continue;
            const Colour c = Scale({p.r, p.g, p.b}, factor(x, y));
            p.r = float(c.r);
            p.g = float(c.g);
            p.b = float(c.b);
        }
}

void Canvas::Draw(const Canvas& source, int dx, int dy)
{
    for (int y = 0; y < source.height; ++y)
        for (int x = 0; x < source.width; ++x)
        {
            const Pixel& p = source.At(x, y);
            Blend(x + dx, y + dy, {p.r, p.g, p.b}, p.a);
        }
}

Canvas Canvas::Rotated(int quarterTurnsClockwise) const
{
    const int turns = ((quarterTurnsClockwise % 4) + 4) % 4;
    const bool swap = turns % 2 == 1;
    Canvas out(swap ? height : width, swap ? width : height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
        {
            int nx = x, ny = y;
            if (turns == 1)
                nx = height - 1 - y, ny = x;
            else if (turns == 2)
                nx = width - 1 - x, ny = height - 1 - y;
            else if (turns == 3)
                nx = y, ny = width - 1 - x;
            out.pixels[out.Index(nx, ny)] = At(x, y);
        }
    return out;
}

Canvas Canvas::FlippedHorizontally() const
{
    Canvas out(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            out.pixels[out.Index(width - 1 - x, y)] = At(x, y);
    return out;
}

Canvas Canvas::FlippedVertically() const
{
    Canvas out(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            out.pixels[out.Index(x, height - 1 - y)] = At(x, y);
    return out;
}

Canvas Strip(const std::vector<Canvas>& frames, bool horizontal)
{
    if (frames.empty())
        return {};
    const int fw = frames[0].Width(), fh = frames[0].Height();
    const int n = int(frames.size());
    Canvas out(horizontal ? fw * n : fw, horizontal ? fh : fh * n);
    for (int i = 0; i < n; ++i)
        out.Draw(frames[std::size_t(i)], horizontal ? i * fw : 0, horizontal ? 0 : i * fh);
    return out;
}

std::uint32_t Dice::Next()
{
    // xorshift32: plenty for scattering decorations, and identical on every machine.
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return state;
}

}  // namespace vorlanex::assetgen
