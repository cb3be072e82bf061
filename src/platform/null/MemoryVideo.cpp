#include <stdexcept>

#include "platform/null/NullPlatform.h"

namespace vorlanex {

void MemoryVideo::Open(int width, int height, bool openWindowed)
{
    if (failOpen)
        throw std::runtime_error("Cannot open the display: no display is available");
    if (width <= 0 || height <= 0)
        throw std::invalid_argument("Cannot open the display: invalid size");
    open = true;
    windowed = openWindowed;
    openWidth = width;
    openHeight = height;
}

void MemoryVideo::Close()
{
    open = false;
}

// A closed display shows nothing, like a window that is gone; the last frame stays for inspection.
void MemoryVideo::Present(const std::uint16_t* pixels, int width, int height, int pitch)
{
    if (!pixels || width <= 0 || height <= 0 || pitch < width)
        throw std::invalid_argument("Present: invalid frame");
    if (!open)
        return;
    frame.resize(std::size_t(width) * std::size_t(height));
    for (int y = 0; y < height; ++y)
    {
        const std::uint16_t* row = pixels + std::size_t(y) * std::size_t(pitch);
        std::copy(row, row + width, frame.begin() + std::ptrdiff_t(y) * width);
    }
    frameWidth = width;
    frameHeight = height;
    ++presents;
}

std::uint16_t MemoryVideo::FramePixel(int x, int y) const
{
    if (x < 0 || y < 0 || x >= frameWidth || y >= frameHeight)
        return 0;
    return frame[std::size_t(y) * std::size_t(frameWidth) + std::size_t(x)];
}

}  // namespace vorlanex
