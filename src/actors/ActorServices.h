#pragma once
// How actors reach the game they belong to: through their engine's owning form. An engine without a form (a
// tool or a test) has no game: chance then always picks the first outcome, there is no wind, no picture is
// found and the screen is the engine's own view (1024 x 768 before it has a surface).

#include <cstdint>
#include <string>

namespace vorlanex {

class TMainForm;
class TPictureCollectionItem;
class TSprite;

TMainForm* OwnerForm(const TSprite& sprite);
// Random(n) of the game: 0 .. n-1.
std::int32_t GameRandom(const TSprite& sprite, std::int32_t n);
// The game's random number in [0, 1).
double GameRandomNumber(const TSprite& sprite);
std::uint8_t GameWind(const TSprite& sprite);
// A picture of the form's built-in catalogue, by name regardless of case; null when there is none.
TPictureCollectionItem* FindBuiltinPicture(const TSprite& sprite, const std::string& name);
// The display's size, as the game sees the screen.
std::int32_t ScreenWidth(const TSprite& sprite);
std::int32_t ScreenHeight(const TSprite& sprite);

}  // namespace vorlanex
