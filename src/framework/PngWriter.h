#pragma once
// Writes RGB565 frames as 8-bit RGB PNG pictures (screenshots of the automation interface).

#include <cstdint>
#include <string>
#include <vector>

namespace vorlanex {

// Encodes width x height pixels (pitch counted in pixels) as a PNG file image. Each 5- or 6-bit channel is
// widened by repeating its high bits, so full intensity stays 255 and black stays 0.
std::vector<std::uint8_t> EncodePng(const std::uint16_t* rgb565, int width, int height, int pitchPixels);

// Encodes and writes to `path`; throws std::runtime_error naming the file when it cannot be written.
void WritePng(const std::string& path, const std::uint16_t* rgb565, int width, int height, int pitchPixels);

}  // namespace vorlanex
