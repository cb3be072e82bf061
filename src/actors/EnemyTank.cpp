// Enemy tanks: kinds, the blink, driving with turn pressure, terrain contact and firing.

#include "actors/EnemyTank.h"

#include <array>
#include <cmath>

#include "actors/BattleContext.h"
#include "actors/GameState.h"
#include "actors/TerrSprite.h"
#include "framework/AssetNames.h"
#include "framework/PictureCollection.h"

namespace vorlanex {

namespace {


// Stats at Difficulty D: base + PerLevel x D. A BulletSize of 0 keeps the tank's own.
struct EnemyKind
{
    std::array<const char*, 4> pictures;   // left, right, up, down
    std::int32_t life;
    double speed;
    std::int32_t bulletPower;
    double bulletSpeed;
    std::int32_t bulletSize;
};

constexpr std::int32_t LifePerLevel = 50, SpeedPerLevel = 50, PowerPerLevel = 50, BulletSpeedPerLevel = 100;

constexpr std::array<EnemyKind, 4> EnemyKinds = {{
    {{"Tank1Left", "Tank1Right", "Tank1UP", "Tank1Down"}, 300, 300, 100, 500, 0},
    {{"Tank2Left", "Tank2Right", "Tank2UP", "Tank2Down"}, 200, 600, 150, 800, 0},
    {{"Tank3Left", "Tank3Right", "Tank3UP", "Tank3Down"}, 300, 400, 200, 500, 16},
    {{"Tank4Left", "Tank4Right", "Tank4UP", "Tank4Down"}, 600, 200, 300, 300, 24},
}};

bool KnownKind(std::int32_t kind) { return kind >= 0 && kind < std::int32_t(EnemyKinds.size()); }

}  // namespace

TEnemyTank::TEnemyTank(TSprite* parent) : TTank(parent)
{
    // The tank base has shown the blink picture at its size; an enemy also blinks through all its patterns.
    if (Image)
        FrameCount = Image->PatternCount();
    PixelExact = false;
    FrameLooped = true;
    FrameSpeed = 0.015;
    Speed = 200;
    Life = 400;
    TurnPatience = 50;
}

void TEnemyTank::SetKind(std::int32_t kind)
{
    if (!KnownKind(kind))
        return;
    Kind = kind;
    UpdatePicture();
    const EnemyKind& k = EnemyKinds[std::size_t(kind)];
    const std::int32_t d = Battle(*this).Game.Difficulty;
    Life = k.life + LifePerLevel * d;
    Speed = k.speed + SpeedPerLevel * d;
    BulletPower = k.bulletPower + PowerPerLevel * d;
    BulletSpeed = k.bulletSpeed + BulletSpeedPerLevel * d;
    if (k.bulletSize != 0)
        BulletSize = k.bulletSize;
}

void TEnemyTank::UpdatePicture()
{
    const std::size_t heading = std::size_t(Direction);
    if (KnownKind(Kind) && heading < 4)
        Image = FindPicture(*this, EnemyKinds[std::size_t(Kind)].pictures[heading]);
}

void TEnemyTank::PickNewDirection()
{
    std::int32_t next;
    do
        next = GameRandom(*this, 4);
    while (Heading(next) == Direction);
    Direction = Heading(next);
}

void TEnemyTank::Step(std::int32_t MoveCount)
{
    TTank::Step(MoveCount);
    ++Age;
    if (State == StateAppearing && Age > AppearingSteps)
    {
        State = StateActive;
        SetKind(Kind);
        FrameStart = 0;
        FrameCount = 2;
        Collidable = true;
        return;
    }
    if (!EndComputerTimedStates())
        return;
    if (State != StateActive && State != StateSuper)
        return;
    BattleContext& battle = Battle(*this);
    // A forced turn only happens if something holds the tank back in this Step (see BuildTurnPressure).
    if (battle.Game.RandomNumber() < battle.Game.EnemyTurnChance)
        TurnPressure = TurnPatience * 4;
    Collidable = true;
    DriveAhead(StepDistance(MoveCount));
    const bool clamped = ClampToDisplay();
    const int hits = CheckHits();
    BuildTurnPressure(hits, clamped);
    if (TurnPressure >= TurnPatience)
    {
        TurnPressure = 0;
        PickNewDirection();
        UpdatePicture();
    }
    if (ReadyToFire())
        FireVolley();
}

// Any contact builds pressure, not only terrain: another tank, a power-up, even its own new bullet. A tank that
// passes through terrain builds it only at the display edge.
void TEnemyTank::BuildTurnPressure(int hits, bool clamped)
{
    if (hits > 0 && AllPass == 0)
        TurnPressure += hits;
    else if (clamped)
        TurnPressure += 10;
    else
        TurnPressure = 0;
}

void TEnemyTank::OnHit(TSprite& other, bool& Done)
{
    auto* terrain = dynamic_cast<TTerrSprite*>(&other);
    if (other.IsDead || !terrain || AllPass == 1)
        return;
    if (terrain->TanksPass())
    {
        --TurnPressure;   // cancels the contact that BuildTurnPressure counts
        return;
    }
    Done = false;
    PushBackFrom(*terrain);
    AlignAcross();
}

// Unlike a player tank, an enemy always ends a terrain contact on the grid on both axes.
void TEnemyTank::AlignAcross()
{
    const double tolerance = Battle(*this).Game.CornerTolerance;
    double& pos = IsVertical(Direction) ? X : Y;
    const double start = GridStart(pos);
    pos = pos - start < tolerance ? start : start + CellSize;
}

void TEnemyTank::Fields(FieldSink& out) const
{
    TTank::Fields(out);
    out.Int("TurnPressure", TurnPressure);
    out.Int("TurnPatience", TurnPatience);
    out.Int("Kind", Kind);
}

}  // namespace vorlanex
