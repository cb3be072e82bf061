#pragma once
// The names of the pictures and sounds the game asks for by name: one spelling each, so a typo cannot silently
// find nothing. The lists at the end say which catalogue must hold each name (checked by the tests).

namespace vorlanex::names {

// Pictures of the form's picture list (ImageList).
inline constexpr const char* Star = "Star";
inline constexpr const char* Logo = "Logo";
inline constexpr const char* Victory = "胜利";
inline constexpr const char* Defeat = "失败";
inline constexpr const char* Frame = "边框";
inline constexpr const char* Cursor = "Cursor";
inline constexpr const char* SmallTank1 = "SmallTank1";
inline constexpr const char* SmallTank2 = "SmallTank2";
inline constexpr const char* CfgLow = "CFGLow";
inline constexpr const char* CfgMed = "CFGMed";
inline constexpr const char* CfgHigh = "CFGHigh";
inline constexpr const char* Blink = "Blink";
inline constexpr const char* MyTankLeft = "MyTankLeft";
inline constexpr const char* MyTankRight = "MyTankRight";
inline constexpr const char* MyTankUp = "MyTankUP";
inline constexpr const char* MyTankDown = "MyTankDown";
inline constexpr const char* EnemyBoss = "EnemyBoss";
inline constexpr const char* HelpPlane = "HelpPlane";
inline constexpr const char* Mission = "Mission";
inline constexpr const char* BulletSize8 = "BulletSize8";
inline constexpr const char* BulletSize16 = "BulletSize16";
inline constexpr const char* BulletSize24 = "BulletSize24";
inline constexpr const char* Explosion = "Explosion";
inline constexpr const char* ExplosionRed = "ExplosionRed";
inline constexpr const char* BigExplosion = "BigExplosion";
inline constexpr const char* Snow0 = "Snow0";
inline constexpr const char* Snow1 = "Snow1";
inline constexpr const char* Snow2 = "Snow2";

// Pictures of the level's picture list (DXImageList).
inline constexpr const char* EnemyPos = "EnemyPos";
inline constexpr const char* PlayerPos = "PlayerPos";
inline constexpr const char* PlainBackground = "Back0";
// The level's background, named when a level is built (not stored in the program).
inline constexpr const char* LevelBackground = "Lowerest";

// Waves of the sound list.
inline constexpr const char* WaveHum = "Hum";
inline constexpr const char* WaveHit = "kan!!";
inline constexpr const char* WavePlanes = "飞机声";
inline constexpr const char* WaveSceneMove = "SceneMov";
inline constexpr const char* WaveGemBorn = "GemBorn";
inline constexpr const char* WaveGemTaken = "吃宝";
inline constexpr const char* WaveShortBlast = "短爆炸声0";
// The music, loaded from the game folder at start-up (not stored in the program).
inline constexpr const char* WaveMusic = "背景音乐";

inline constexpr const char* kImageListNames[] = {
    Star,   Logo,        Victory,      Defeat,     Frame,        Cursor,    SmallTank1,  SmallTank2,
    CfgLow, CfgMed,      CfgHigh,      Blink,      MyTankLeft,   MyTankRight, MyTankUp,  MyTankDown,
    EnemyBoss, HelpPlane, Mission,     BulletSize8, BulletSize16, BulletSize24, Explosion, ExplosionRed,
    BigExplosion, Snow0, Snow1,        Snow2,
};
inline constexpr const char* kDXImageListNames[] = {PlainBackground};
inline constexpr const char* kWaveNames[] = {
    WaveHum, WaveHit, WavePlanes, WaveSceneMove, WaveGemBorn, WaveGemTaken, WaveShortBlast,
};

}  // namespace vorlanex::names
