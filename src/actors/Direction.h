#pragma once
// Headings of tanks and planes, stored in one byte as the state dump shows them: 0 left, 1 right, 2 up, 3 down.

#include <cstdint>

namespace vorlanex {

enum class Heading : std::uint8_t
{
    Left = 0,
    Right = 1,
    Up = 2,
    Down = 3,
};

constexpr bool IsVertical(Heading h) { return h == Heading::Up || h == Heading::Down; }

// Swaps left with right and up with down. Any other value, right included, gives left: the wind flips
// between 0 and 1 through this too.
constexpr Heading OppositeDirection(Heading d)
{
    switch (d)
    {
    case Heading::Left:
        return Heading::Right;
    case Heading::Up:
        return Heading::Down;
    case Heading::Down:
        return Heading::Up;
    default:
        return Heading::Left;
    }
}

}  // namespace vorlanex
