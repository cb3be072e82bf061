#pragma once
// The built-in picture catalogues: name, pattern geometry, stored size and transparency of every item,
// in catalogue order. The asset generator draws pictures of exactly these sizes; the form loads them.

#include <array>

#include "framework/Types.h"

namespace vorlanex {

struct PictureDef
{
    const char* name;
    int patternWidth, patternHeight;   // 0 = the picture's own size
    int width, height;                 // stored picture size; 0 x 0 = replaced from a file at start-up
    int bitCount;                      // 8 (with a colour table) or 24; 0 for pictures from files
    bool transparent;
    TColor transparentColor;
    bool systemMemory;
    const char* fileName;              // start-up picture file, or "" for pictures stored in the program
};

inline constexpr std::array<PictureDef, 63> kImageListDefs{{
    {"Star", 1024, 768, 0, 0, 0, false, RGBColor(255, 255, 253), false, "背景1.BMP"},
    {"Blink", 32, 32, 32, 96, 8, true, clBlack, false, ""},
    {"Logo", 0, 0, 0, 0, 0, true, clBlack, true, "标题.BMP"},
    {"Snow0", 0, 0, 26, 24, 8, true, clBlack, false, ""},
    {"Snow1", 0, 0, 26, 24, 8, true, clBlack, false, ""},
    {"snow2", 0, 0, 23, 23, 8, true, clBlack, false, ""},
    {"Mission", 40, 6, 80, 6, 8, true, clBlack, false, ""},
    {"Explosion", 32, 32, 128, 32, 8, true, clBlack, false, ""},
    {"HelpPlane", 48, 32, 192, 32, 8, true, clBlack, false, ""},
    {"EnemyBoss", 32, 32, 160, 32, 8, true, clWhite, false, ""},
    {"BigExplosion", 64, 64, 64, 384, 8, true, clBlack, false, ""},
    {"ExplosionRed", 32, 32, 32, 160, 8, true, clBlack, false, ""},
    {"MyTankUp", 32, 32, 160, 32, 8, true, clBlack, false, ""},
    {"MyTankLeft", 32, 32, 32, 160, 8, true, clBlack, false, ""},
    {"MyTankRight", 32, 32, 32, 160, 8, true, clBlack, false, ""},
    {"MyTankDown", 32, 32, 160, 32, 8, true, clBlack, false, ""},
    {"ScanBullet1", 32, 32, 32, 32, 8, true, clBlack, false, ""},
    {"ScanBullet3", 32, 32, 32, 32, 8, true, clBlack, false, ""},
    {"ScanBullet5", 32, 32, 32, 32, 8, true, clBlack, false, ""},
    {"BulletSize8", 8, 8, 16, 8, 8, true, clBlack, false, ""},
    {"BulletSize16", 16, 16, 32, 16, 8, true, clBlack, false, ""},
    {"BulletSize24", 24, 24, 48, 24, 8, true, clBlack, false, ""},
    {"AddBulletSpeed", 32, 32, 32, 32, 8, true, clBlack, false, ""},
    {"SubBulletSpeed", 32, 32, 32, 32, 8, true, clBlack, false, ""},
    {"AddShotSpeed", 0, 0, 32, 32, 8, true, clBlack, false, ""},
    {"AddBulletPower", 32, 32, 32, 32, 8, true, clBlack, false, ""},
    {"AddBullets", 0, 0, 32, 32, 8, true, clBlack, false, ""},
    {"AddTankLife", 0, 0, 32, 32, 8, true, clBlack, false, ""},
    {"AddTankSpeed", 0, 0, 32, 32, 8, true, clBlack, false, ""},
    {"HideTank", 0, 0, 32, 32, 8, true, clBlack, false, ""},
    {"SuperTank", 0, 0, 32, 32, 8, true, clBlack, false, ""},
    {"StopTank", 0, 0, 32, 32, 8, true, clRed, false, ""},
    {"AllPass", 32, 32, 32, 32, 8, true, clBlack, false, ""},
    {"Plane", 32, 32, 32, 32, 8, true, clBlack, false, ""},
    {"GemBulletSize8", 32, 32, 32, 32, 8, true, clBlack, false, ""},
    {"GemBulletSize16", 32, 32, 32, 32, 8, true, clBlack, false, ""},
    {"GemBulletSize24", 32, 32, 32, 32, 8, true, clBlack, false, ""},
    {"Tank1UP", 32, 32, 160, 32, 8, true, clBlack, false, ""},
    {"Tank1Down", 32, 32, 160, 32, 8, true, clBlack, false, ""},
    {"Tank1Left", 32, 32, 32, 160, 8, true, clBlack, false, ""},
    {"Tank1Right", 32, 32, 32, 160, 8, true, clBlack, false, ""},
    {"Tank2Up", 32, 32, 160, 32, 8, true, clBlack, false, ""},
    {"Tank2Down", 32, 32, 160, 32, 8, true, clBlack, false, ""},
    {"Tank2Left", 32, 32, 32, 160, 8, true, clBlack, false, ""},
    {"Tank2Right", 32, 32, 32, 160, 8, true, clBlack, false, ""},
    {"Tank3Up", 32, 32, 160, 32, 8, true, clBlack, false, ""},
    {"Tank3Down", 32, 32, 160, 32, 8, true, clBlack, false, ""},
    {"Tank3Left", 32, 32, 32, 160, 8, true, clBlack, false, ""},
    {"Tank3Right", 32, 32, 32, 160, 8, true, clBlack, false, ""},
    {"Tank4Up", 32, 32, 160, 32, 24, true, clBlack, false, ""},
    {"Tank4Down", 32, 32, 160, 32, 8, true, clBlack, false, ""},
    {"Tank4Left", 32, 32, 32, 160, 8, true, clBlack, false, ""},
    {"Tank4Right", 32, 32, 32, 160, 8, true, clBlack, false, ""},
    {"胜利", 0, 0, 0, 0, 0, true, clBlack, false, "胜利.BMP"},
    {"失败", 0, 0, 0, 0, 0, true, clBlack, false, "失败.BMP"},
    {"边框", 0, 0, 0, 0, 0, true, clBlack, false, "边框1.BMP"},
    {"Cursor", 16, 16, 64, 16, 8, true, clBlack, false, ""},
    {"GemClever", 32, 32, 32, 32, 8, true, clBlack, false, ""},
    {"CFGLow", 128, 32, 128, 32, 8, true, clBlack, false, ""},
    {"CFGMed", 128, 32, 128, 32, 8, true, clBlack, false, ""},
    {"CFGHigh", 128, 32, 128, 32, 8, true, clBlack, false, ""},
    {"SmallTank1", 16, 16, 16, 16, 8, true, clBlack, false, ""},
    {"SmallTank2", 16, 16, 16, 16, 8, true, clBlack, false, ""},
}};

inline constexpr std::array<PictureDef, 3> kDXImageListDefs{{
    {"EnemyPos", 32, 32, 64, 32, 8, true, clBlack, false, ""},
    {"PlayerPos", 32, 32, 64, 32, 8, true, clBlack, false, ""},
    {"Back0", 0, 0, 48, 48, 8, true, clNavy, false, ""},
}};

}  // namespace vorlanex
