#pragma once
// A drawing surface: a plain RGB565 buffer with an optional colour key and a text canvas.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "framework/Types.h"
#include "platform/Platform.h"

namespace vorlanex {

class TDirectDrawSurface;

enum class TBrushStyle { bsSolid, bsClear };

struct TCanvasFont
{
    std::string Name = "宋体";
    int Size = 12;   // points at 96 dpi
    TColor Color = clBlack;
};

struct TCanvasBrush
{
    TColor Color = clWhite;
    TBrushStyle Style = TBrushStyle::bsSolid;
};

struct TCanvasPen
{
    TColor Color = clBlack;
};

// Text and box drawing bound to one surface. Taken with SurfaceCanvas, given back with ReleaseCanvas.
class TDirectDrawSurfaceCanvas
{
public:
    explicit TDirectDrawSurfaceCanvas(TDirectDrawSurface& surface) : surface(surface) {}

    TCanvasFont Font;
    TCanvasBrush Brush;
    TCanvasPen Pen;

    void TextOut(int x, int y, const std::string& utf8);
    int TextWidth(const std::string& utf8);
    int TextHeight(const std::string& utf8);
    // Fills the rectangle with the brush colour (Right and Bottom exclusive).
    void FillRect(const TRect& r);
    // A pen-coloured outline, filled with the brush unless the brush is clear.
    void Rectangle(int left, int top, int right, int bottom);

    bool Acquired() const { return acquired; }
    void Acquire() { acquired = true; }
    void Release() { acquired = false; }

private:
    Text* TextEngine() const;
    void ApplyFont();

    TDirectDrawSurface& surface;
    bool acquired = false;
};

class TDirectDrawSurface
{
public:
    TDirectDrawSurface() = default;
    TDirectDrawSurface(int width, int height) { SetSize(width, height); }
    TDirectDrawSurface(const TDirectDrawSurface&) = delete;
    TDirectDrawSurface& operator=(const TDirectDrawSurface&) = delete;

    // Reallocates to width x height, all black; a size of 0 in either direction makes an empty surface.
    void SetSize(int width, int height);
    int Width() const { return width; }
    int Height() const { return height; }
    int Pitch() const { return width; }   // in pixels
    TRect ClientRect() const { return {0, 0, width, height}; }

    std::uint16_t* Bits() { return pixels.data(); }
    const std::uint16_t* Bits() const { return pixels.data(); }
    std::uint16_t* Row(int y) { return pixels.data() + std::size_t(y) * std::size_t(width); }
    const std::uint16_t* Row(int y) const { return pixels.data() + std::size_t(y) * std::size_t(width); }
    std::uint16_t Pixel(int x, int y) const { return Row(y)[x]; }
    void SetPixel(int x, int y, std::uint16_t v) { Row(y)[x] = v; }
    PixelView View() { return {pixels.data(), width, height, width}; }

    // Colour key: pixels of this value are skipped by keyed copies.
    bool HasColorKey() const { return hasColorKey; }
    std::uint16_t ColorKey() const { return colorKey; }
    void SetColorKey(std::uint16_t key) { colorKey = key; hasColorKey = true; }
    void ClearColorKey() { hasColorKey = false; }

    // A lost surface keeps its size but must be restored (and re-filled by its owner) before use.
    bool IsLost() const { return lost; }
    void MarkLost() { lost = true; }
    void Restore() { lost = false; }

    // The text engine that the canvas draws with; not owned.
    void SetTextEngine(Text* text) { textEngine = text; }
    Text* TextEngine() const { return textEngine; }

    TDirectDrawSurfaceCanvas& Canvas();

private:
    std::vector<std::uint16_t> pixels;
    int width = 0, height = 0;
    bool hasColorKey = false;
    std::uint16_t colorKey = 0;
    bool lost = false;
    Text* textEngine = nullptr;
    std::unique_ptr<TDirectDrawSurfaceCanvas> canvas;
};

// Fills the whole surface with a raw pixel value (the game always passes 0).
void FillSurface(TDirectDrawSurface& surface, std::uint32_t value);
// The surface's canvas, created on first use and kept by the surface.
TDirectDrawSurfaceCanvas& SurfaceCanvas(TDirectDrawSurface& surface);
void ReleaseCanvas(TDirectDrawSurfaceCanvas& canvas);

}  // namespace vorlanex
