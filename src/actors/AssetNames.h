#pragma once
// The names of the built-in pictures and sounds the actors use: one spelling each, so a typo cannot silently
// find nothing.

namespace vorlanex::names {

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

inline constexpr const char* WaveHum = "Hum";
inline constexpr const char* WaveHit = "kan!!";
inline constexpr const char* WavePlanes = "飞机声";
inline constexpr const char* WaveSceneMove = "SceneMov";
inline constexpr const char* WaveGemBorn = "GemBorn";
inline constexpr const char* WaveGemTaken = "吃宝";
inline constexpr const char* WaveShortBlast = "短爆炸声0";

}  // namespace vorlanex::names
