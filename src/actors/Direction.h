#pragma once
// Directions of tanks: one byte, 0 left, 1 right, 2 up, 3 down.

#include <cstdint>

namespace vorlanex {

// Swaps left with right and up with down. Any other value, right included, gives 0 (left): the wind flips
// between 0 and 1 through this too.
constexpr std::uint8_t OppositeDirection(std::uint8_t d)
{
    switch (d)
    {
    case 0:
        return 1;
    case 2:
        return 3;
    case 3:
        return 2;
    default:
        return 0;
    }
}

}  // namespace vorlanex
