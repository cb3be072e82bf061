#pragma once
// The families of built-in pictures. Each family paints its pictures at their stored size and files them
// in the book under their catalogue names; the "builtin-pictures" step encodes them in catalogue order.

#include <map>
#include <string>

#include "Canvas.h"

namespace vorlanex::assetgen {

using PictureBook = std::map<std::string, Canvas>;

void AddTankPictures(PictureBook& book);        // MyTank*, Tank1..Tank4 in four directions
void AddBossAndPlanePictures(PictureBook& book);
void AddExplosionPictures(PictureBook& book);
void AddGemPictures(PictureBook& book);
void AddBulletPictures(PictureBook& book);      // bullets and the plane's missile
void AddEffectPictures(PictureBook& book);      // snow, spawn blink, cursor, spawn markers, ground texture
void AddMenuPictures(PictureBook& book);        // difficulty buttons and the panel's life icons

PictureBook AllBuiltinPictures();

// The five pictures of the game folder.
Canvas DrawBackdrop();
Canvas DrawTitleLogo();
Canvas DrawVictoryBanner();
Canvas DrawDefeatBanner();
Canvas DrawMenuFrame();

// Shared palette of the art: dark outlines stay clear of the black key's 16-bit value.
inline constexpr Colour kInk = Rgb(18, 18, 22);
inline constexpr Colour kPlayerGold = Rgb(226, 182, 46);
inline constexpr Colour kOfferGreen = Rgb(80, 210, 120);

// A tank seen from above facing up, 32 x 32 (also used for the small life icons and the title emblem).
struct TankDesign
{
    Colour body;
    double hullHalf = 8, treadWidth = 5, top = 2, bottom = 30;
    double turretRadius = 6, turretY = 18;
    int turretSides = 0;          // 0 round, else a regular polygon
    double barrelWidth = 3, barrelTop = 1;
    int barrels = 1;
    bool wedgeNose = false, skirts = false, star = false;
};

enum class TankLook { Intact, Damaged, Shielded };

Canvas DrawTank(const TankDesign& design, int phase, TankLook look, double scale = 1.0);
TankDesign PlayerTankDesign();

}  // namespace vorlanex::assetgen
