#include "framework/Surface.h"

#include <algorithm>
#include <cstring>

namespace vorlanex {

void TDirectDrawSurface::SetSize(int w, int h)
{
    if (w <= 0 || h <= 0)
        w = h = 0;
    width = w;
    height = h;
    pixels.assign(std::size_t(w) * std::size_t(h), 0);
}

TDirectDrawSurfaceCanvas& TDirectDrawSurface::Canvas()
{
    if (!canvas)
        canvas = std::make_unique<TDirectDrawSurfaceCanvas>(*this);
    return *canvas;
}

void FillSurface(TDirectDrawSurface& surface, std::uint32_t value)
{
    std::uint16_t* p = surface.Bits();
    const std::size_t count = std::size_t(surface.Width()) * std::size_t(surface.Height());
    const auto pixel = std::uint16_t(value);
    // Black, the usual case, is a plain memset; other colours are written four pixels at a time.
    if ((pixel & 0xFF) == (pixel >> 8))
    {
        std::memset(p, pixel & 0xFF, count * sizeof(std::uint16_t));
        return;
    }
    const std::uint64_t four = std::uint64_t(pixel) * 0x0001000100010001ull;
    std::size_t i = 0;
    for (; i + 4 <= count; i += 4)
        std::memcpy(p + i, &four, sizeof four);
    std::fill(p + i, p + count, pixel);
}

TDirectDrawSurfaceCanvas& SurfaceCanvas(TDirectDrawSurface& surface)
{
    TDirectDrawSurfaceCanvas& canvas = surface.Canvas();
    canvas.Acquire();
    return canvas;
}

void ReleaseCanvas(TDirectDrawSurfaceCanvas& canvas) { canvas.Release(); }

}  // namespace vorlanex
