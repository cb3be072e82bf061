#pragma once
// The scenes of the form's scene machine; the numbers are those the state dump shows.

#include <cstdint>

namespace vorlanex {

enum class Scene : std::uint8_t
{
    None = 0,   // as a pending scene: no change waiting
    Title = 1,
    Battle = 2,
    Result = 3,
    Menu = 4,
    Editor = 5,   // the map editor
};

}  // namespace vorlanex
