#pragma once
// Turns a painted canvas into BMP file bytes: transparent pixels become exactly the colour key, and no
// visible pixel may land on the key's 16-bit value (the game keys on RGB565, so a near-key colour would
// punch a hole into the sprite).

#include <cstdint>
#include <optional>
#include <vector>

#include "framework/Types.h"
#include "Canvas.h"

namespace vorlanex::assetgen {

// The colour a visible pixel is stored as: rounded, and moved off the key when it would collide with it.
TColor VisibleColour(const Pixel& pixel, std::optional<TColor> key);

// 8 bits per pixel with a colour table of at most 256 entries (median-cut quantisation when needed).
std::vector<std::uint8_t> EncodeIndexed(const Canvas& canvas, std::optional<TColor> key);
// 24 bits per pixel.
std::vector<std::uint8_t> EncodeTrueColor(const Canvas& canvas, std::optional<TColor> key);

// Reduces colours to at most maxColours representatives; returns the representative of each input colour
// (same order). Deterministic: ties are broken by colour value.
std::vector<TColor> MedianCut(const std::vector<TColor>& colours, const std::vector<std::uint32_t>& counts,
                              std::size_t maxColours);

}  // namespace vorlanex::assetgen
