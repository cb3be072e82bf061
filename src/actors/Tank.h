#pragma once
// The base of every tank-like actor (player tanks, enemies, the boss, the help planes): heading, team, hit
// points, score, the timed states and the whole firing kit. Bullets and power-ups read and change these fields
// directly; the shell carries a player's values from one level to the next.

#include <cstdint>
#include <functional>
#include <vector>

#include "actors/Direction.h"
#include "framework/SpriteEngine.h"

namespace vorlanex {

class TBullet;

// TTank::State values. Scoped, so a tank state never compares with an input state (StateDown, ...); the
// enumerators are brought out by name for the rules that read them.
enum class TankState : std::int32_t
{
    StateAppearing = 0,
    StateActive = 1,
    StateSuper = 3,
    StateFrozen = 4,
};
using enum TankState;

// Teams of tanks and planes: bullets and power-ups never act within one team.
inline constexpr std::int32_t PlayersTeam = 0;
inline constexpr std::int32_t EnemiesTeam = 10;

// The battlefield's grid: cells of 32 x 32 pixels.
inline constexpr std::int32_t CellSize = 32;
// Trunc(v / 32) x 32: the start of the column (or row) that v lies in, as the tanks line up on the grid.
double GridStart(double v);

// A tank blinks in for this many Steps before it can drive, fire or be hit.
inline constexpr std::int32_t AppearingSteps = 60;

// The heading added to a bullet's angle for each direction: left 128, right 0, up 64, down 192.
std::int32_t DirectionAngle(Heading direction);
// The angle offset of bullet i of a fan: 0, +4, -4, +8, -8, +12, -12, ...
std::int32_t VolleyOffset(std::int32_t i);
// The player tank's picture for a direction.
const char* PlayerTankPicture(Heading direction);

class TTank : public TImageSprite
{
public:
    explicit TTank(TSprite* parent);
    ~TTank() override;
    void Step(std::int32_t MoveCount) override;
    const char* ClassName() const override { return "TTank"; }
    void Fields(FieldSink& out) const override;

    // Keeps the tank inside the display; true when a coordinate had to change.
    bool ClampToDisplay();

    TankState State = StateAppearing;
    std::int32_t Team = PlayersTeam;
    std::int32_t Age = 0;
    std::int32_t Score = 0;
    Heading Direction = Heading::Down;
    double Speed = 200;
    std::int32_t Life = 400;
    std::uint8_t AllPass = 0;
    std::int32_t FreezeTime = 0;
    std::int32_t HideTime = 0;
    std::int32_t SuperTime = 0;
    std::int32_t LiveBullets = 0;
    std::int32_t MaxBullets = 2;
    double BulletSpeed = 500;
    std::int32_t BulletPower = 100;
    std::int32_t BulletSize = 8;
    std::int32_t Spread = 0;
    std::int32_t ShotDelay = 30;
    std::int32_t LastShot = 0;
    std::uint8_t Clever = 0;

protected:
    // Pixels driven in one Step.
    double StepDistance(std::int32_t MoveCount) const { return Speed / 1000 * MoveCount; }
    void DriveAhead(double distance);
    // Frozen, hidden and Super run out for the computer's tanks; false when the Step ends here (a frozen tank
    // does nothing else).
    bool EndComputerTimedStates();
    bool ReadyToFire() const { return LiveBullets < MaxBullets && Age - LastShot >= ShotDelay; }
    // A fan of 2 x Spread + 1 bullets around the heading, centred on the tank (player and enemy tanks).
    void FireVolley();
    // Every shooter's volley: 2 x Spread + 1 shots of the given picture (see LaunchBullet), and aim sets shot i
    // on its way. LiveBullets grows by the whole volley at once, so a wide fan may take it past MaxBullets.
    void FireVolley(const char* picture, const std::function<void(TBullet&, std::int32_t)>& aim);
    // Shot i of a fan around the heading: its offset in the fan (with a spread) plus the heading's angle.
    void AimAlongHeading(TBullet& shot, std::int32_t i) const;
    // One bullet of this tank, centred on it, with its power and speed and the given picture (null keeps the
    // bullet's own). Every shooter builds its shots from this.
    TBullet* LaunchBullet(const char* picture);
    // The bullet picture for BulletSize: 16 and 24 have their own, anything else keeps the bullet's default.
    const char* BulletPicture() const;
    // Stops the tank at terrain: out of it along the heading, that coordinate snapped to the 32-pixel grid.
    void PushBackFrom(const TSprite& terrain);

private:
    friend class TBullet;
    // Bullets fired by this tank and still alive: a dying tank tells them, so none ever follows a freed owner.
    std::vector<TBullet*> firedBullets;
};

}  // namespace vorlanex
