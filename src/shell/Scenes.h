#pragma once
// The scenes of the form's scene machine; the numbers are those the state dump shows.

#include <cstdint>

namespace vorlanex {

inline constexpr std::uint8_t SceneNone = 0;
inline constexpr std::uint8_t SceneTitle = 1;
inline constexpr std::uint8_t SceneBattle = 2;
inline constexpr std::uint8_t SceneResult = 3;
inline constexpr std::uint8_t SceneMenu = 4;

}  // namespace vorlanex
