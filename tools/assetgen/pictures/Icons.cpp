// The application icon: a green tank seen from above, turret and barrel pointing up, on a dark tile.
// Written at the sizes a desktop asks for, beside the game folder, for the install step.

#include <algorithm>
#include <cmath>

#include "../Assetgen.h"
#include "Canvas.h"
#include "framework/PngWriter.h"

namespace vorlanex::assetgen {

namespace {

constexpr int kIconSizes[] = {32, 64, 128, 256};

// Drawn in a 256-unit square scaled to the icon's size, so every size shows the same picture.
Canvas DrawIcon(int size)
{
    Canvas canvas(size, size);
    const double u = size / 256.0;
    auto box = [u](double x0, double y0, double x1, double y1, double r) {
        return RoundRect(x0 * u, y0 * u, x1 * u, y1 * u, r * u);
    };
    canvas.Fill(box(8, 8, 248, 248, 40), Rgb(28, 40, 34));
    const Colour tread = Rgb(52, 52, 48), body = Rgb(70, 150, 60), turret = Rgb(96, 184, 80);
    canvas.Fill(box(48, 56, 92, 220, 10), tread);
    canvas.Fill(box(164, 56, 208, 220, 10), tread);
    for (int link = 0; link < 8; ++link)
    {
        const double y = 64 + link * 20;
        canvas.Fill(box(52, y, 88, y + 8, 2), Rgb(92, 92, 84));
        canvas.Fill(box(168, y, 204, y + 8, 2), Rgb(92, 92, 84));
    }
    canvas.Fill(box(80, 76, 176, 204, 14), body);
    canvas.Fill(box(116, 20, 140, 120, 6), Rgb(60, 120, 52));
    canvas.Fill(Circle(128 * u, 140 * u, 38 * u), turret);
    canvas.Fill(Circle(128 * u, 140 * u, 14 * u), Scale(turret, 0.75));
    return canvas;
}

// Flattens the icon onto black (its corners stay black) as RGB565.
std::vector<std::uint16_t> ToRgb565(const Canvas& canvas)
{
    std::vector<std::uint16_t> pixels(std::size_t(canvas.Width() * canvas.Height()));
    for (int y = 0; y < canvas.Height(); ++y)
        for (int x = 0; x < canvas.Width(); ++x)
        {
            const Pixel& p = canvas.At(x, y);
            auto channel = [&p](float c, int bits) {
                const double v = std::clamp(double(c) * p.a, 0.0, 255.0) / 255.0;
                return unsigned(std::lround(v * ((1 << bits) - 1)));
            };
            pixels[std::size_t(y * canvas.Width() + x)] =
                std::uint16_t(channel(p.r, 5) << 11 | channel(p.g, 6) << 5 | channel(p.b, 5));
        }
    return pixels;
}

void WriteIcons(const Context& ctx, std::vector<AssetEntry>&)
{
    for (int size : kIconSizes)
    {
        const Canvas icon = DrawIcon(size);
        const auto pixels = ToRgb565(icon);
        const std::string folder = std::to_string(size) + "x" + std::to_string(size);
        WriteFileIfChanged(ctx.outDir / "icons" / "hicolor" / folder / "apps" / "vorlanex.png",
                           EncodePng(pixels.data(), size, size, size));
    }
}

const RegisterStep registered(90, "icons", WriteIcons);

}  // namespace

}  // namespace vorlanex::assetgen
