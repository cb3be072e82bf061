#pragma once
// Parts shared by the power-up pictures: the bevelled plate, shadowed symbols and small shapes.

#include <functional>

#include "Pictures.h"

namespace vorlanex::assetgen {

inline constexpr Colour kWeapon = Rgb(206, 122, 36);
inline constexpr Colour kSpeed = Rgb(48, 112, 206);
inline constexpr Colour kTank = Rgb(52, 152, 72);
inline constexpr Colour kSpecial = Rgb(136, 64, 178);
inline constexpr Colour kPenalty = Rgb(112, 112, 124);
inline constexpr Colour kSign = Rgb(246, 244, 236);

using ShapeAt = std::function<Shape(double dx, double dy)>;

// A 32 x 32 rounded plate whose colour tells the gem's family.
Canvas Plate(Colour c);
// A symbol with a soft drop shadow, so it reads on every plate colour.
void Sign(Canvas& canvas, const ShapeAt& shape, Colour plate, Colour ink = kSign);
// A shell pointing along angle a (radians, 0 = right, screen y down), its tip at (x, y).
Shape Shell(double x, double y, double a, double length, double width);
Shape PlusSign(double x, double y, double size);

// The gems of passing, planes, bullet sizes, freezing and cleverness.
void AddMoreGemPictures(PictureBook& book);

}  // namespace vorlanex::assetgen
