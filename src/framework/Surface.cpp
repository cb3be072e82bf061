#include "framework/Surface.h"

#include <algorithm>

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
    std::fill(p, p + std::size_t(surface.Width()) * std::size_t(surface.Height()), std::uint16_t(value));
}

TDirectDrawSurfaceCanvas& SurfaceCanvas(TDirectDrawSurface& surface)
{
    TDirectDrawSurfaceCanvas& canvas = surface.Canvas();
    canvas.Acquire();
    return canvas;
}

void ReleaseCanvas(TDirectDrawSurfaceCanvas& canvas) { canvas.Release(); }

}  // namespace vorlanex
