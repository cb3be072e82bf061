#pragma once
// Text drawn onto pictures without any font file: a stroke font (capitals, digits and the few Chinese
// characters the pictures need) that scales to any size, and a 3 x 5 pixel font for tiny labels.

#include <string>
#include <vector>

#include "Canvas.h"

namespace vorlanex::assetgen {

struct Stroke
{
    std::vector<Point> points;   // a polyline in glyph units
};

struct Glyph
{
    double width = 0;            // advance in glyph units, without spacing
    double height = 0;
    std::vector<Stroke> strokes;
};

// Latin capitals, digits, '+', '-', '!' and ' ' on a 4 x 6 grid; the Chinese characters 低中高难度胜利失败
// on a 16 x 16 grid. Throws std::runtime_error for a character the font lacks.
const Glyph& GlyphFor(char32_t ch);

struct TextStyle
{
    double unit = 4;          // pixels per glyph unit of a Latin glyph (Chinese glyphs use unit * 6 / 16)
    double stroke = 3;        // stroke width in pixels
    double spacing = 1.5;     // extra advance between glyphs, in glyph units
    double slant = 0;         // horizontal shear: x += slant * (glyph height - y)
};

// The strokes of a text as capsules, laid out from (x, y) as the top-left corner.
Shape TextShape(const std::u32string& text, double x, double y, const TextStyle& style);
double TextWidth(const std::u32string& text, const TextStyle& style);
double TextHeight(const std::u32string& text, const TextStyle& style);

// 3 x 5 pixel glyphs (capitals, digits, '+', '-'); scale repeats pixels. Returns the width drawn.
int DrawTinyText(Canvas& canvas, const std::string& text, int x, int y, Colour colour, int scale = 1);
int TinyTextWidth(const std::string& text, int scale = 1);

}  // namespace vorlanex::assetgen
