#pragma once
// A small floating-point RGBA raster that every picture is painted on before it is quantised to a BMP.
// Shapes are sampled 4 x 4 times per pixel, so edges between shapes are smooth; pixels whose alpha ends
// below one half become the picture's colour key when the canvas is encoded.

#include <cstdint>
#include <functional>
#include <vector>

namespace vorlanex::assetgen {

struct Colour
{
    double r = 0, g = 0, b = 0;   // 0..255
};

constexpr Colour Rgb(double r, double g, double b) { return {r, g, b}; }
Colour Mix(Colour a, Colour b, double t);              // t = 0 gives a, 1 gives b
Colour Scale(Colour c, double factor);                 // darker below 1, lighter above (clamped)

struct Box
{
    double x0 = 0, y0 = 0, x1 = 0, y1 = 0;
};

struct Point
{
    double x = 0, y = 0;
};

// A region of the plane: a bounding box and a membership test at sample points.
struct Shape
{
    Box box;
    std::function<bool(double, double)> inside;
};

using Shader = std::function<Colour(double, double)>;

Shape RectShape(double x0, double y0, double x1, double y1);
Shape RoundRect(double x0, double y0, double x1, double y1, double radius);
Shape Ellipse(double cx, double cy, double rx, double ry);
Shape Circle(double cx, double cy, double radius);
Shape Ring(double cx, double cy, double inner, double outer);
Shape Polygon(std::vector<Point> points);              // even-odd rule
Shape Capsule(double x0, double y0, double x1, double y1, double width);   // a thick line with round ends
Shape Union(Shape a, Shape b);
Shape Subtract(Shape a, Shape b);

struct Pixel
{
    float r = 0, g = 0, b = 0, a = 0;
};

class Canvas
{
public:
    Canvas() = default;
    Canvas(int width, int height);

    int Width() const { return width; }
    int Height() const { return height; }
    const Pixel& At(int x, int y) const { return pixels[Index(x, y)]; }
    bool Opaque(int x, int y) const { return At(x, y).a >= 0.5f; }
    bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }

    // Composites colour c with coverage alpha over the pixel ("over" operator).
    void Blend(int x, int y, Colour c, double alpha);
    void Set(int x, int y, Colour c, double alpha = 1.0);
    void Erase(int x, int y) { if (Contains(x, y)) pixels[Index(x, y)] = {}; }

    void Fill(const Shape& shape, Colour colour, double alpha = 1.0);
    void Fill(const Shape& shape, const Shader& shader, double alpha = 1.0);
    // Fills the whole canvas, pixel centres only (fast path for large backdrops).
    void Paint(const Shader& shader);

    // Pixels next to (4-neighbourhood) an opaque pixel but transparent themselves get the colour.
    void Outline(Colour colour);
    // Multiplies the colour of opaque pixels by a per-pixel factor (lighting, scorch marks).
    void Tint(const std::function<double(int, int)>& factor);
    // Composites another canvas at an offset.
    void Draw(const Canvas& source, int dx, int dy);

    Canvas Rotated(int quarterTurnsClockwise) const;
    Canvas FlippedHorizontally() const;
    Canvas FlippedVertically() const;

private:
    std::size_t Index(int x, int y) const { return std::size_t(y) * std::size_t(width) + std::size_t(x); }

    int width = 0, height = 0;
    std::vector<Pixel> pixels;
};

// Lays equally sized frames side by side (horizontal) or one under another.
Canvas Strip(const std::vector<Canvas>& frames, bool horizontal);

// A deterministic generator for scattering stars, sparks and grit: same seed, same picture.
class Dice
{
public:
    explicit Dice(std::uint32_t seed) : state((seed * 2654435761u + 0x9E3779B9u) | 1u) {}
    std::uint32_t Next();
    double Unit() { return double(Next() >> 8) / double(1u << 24); }   // [0, 1)
    double Range(double lo, double hi) { return lo + (hi - lo) * Unit(); }
    int Below(int n) { return int(Next() % std::uint32_t(n)); }

private:
    std::uint32_t state;
};

}  // namespace vorlanex::assetgen
