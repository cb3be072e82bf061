// The player tank: blink, states, steering one axis at a time, clamping, terrain contact and firing.

#include "actors/MyTank.h"

#include <cmath>

#include "actors/BattleContext.h"
#include "actors/GameState.h"
#include "actors/TerrSprite.h"
#include "framework/AssetNames.h"
#include "framework/DXInput.h"
#include "platform/VirtualKeys.h"

namespace vorlanex {

TMyTank::TMyTank(TSprite* parent) : TTank(parent)
{
    const GameState& game = Battle(*this).Game;
    GiveLife = 0;
    Life = 1500;
    Direction = Heading::Up;
    MaxBullets = 4;
    Speed = 300 + 50 * game.Difficulty;
    BulletPower = 200 + 50 * game.Difficulty;
    ApplyCheatIfHeld();
    Milestone = Score / MilestonePoints;
}

TMyTank::~TMyTank()
{
    if (BattleContext* battle = FindBattle(*this))
    {
        if (battle->Game.Player1Tank == this)
            battle->Game.Player1Tank = nullptr;
        if (battle->Game.Player2Tank == this)
            battle->Game.Player2Tank = nullptr;
    }
}

// F5+F6+F7 held while a tank is made: a tank of the test bench, and a long game for the rest of the run.
void TMyTank::ApplyCheatIfHeld()
{
    BattleContext& battle = Battle(*this);
    std::uint8_t keys[256] = {};
    battle.ReadKeyboard(keys);
    if (!(keys[vk::F5] & 0x80) || !(keys[vk::F6] & 0x80) || !(keys[vk::F7] & 0x80))
        return;
    Life = 15000;
    MaxBullets = 30;
    BulletSpeed = 1500;
    BulletPower = 500;
    BulletSize = 24;
    Spread = 2;
    ShotDelay = 2;
    battle.Game.BaseEnemyCount = 100;
    battle.Game.SpawnPeriod = 15;
}

void TMyTank::UsePlayer2Keys()
{
    const PlayerInputStates& states = kPlayerInputStates[1];
    FireKey = std::uint8_t(states.fire);
    UpKey = std::uint8_t(states.up);
    DownKey = std::uint8_t(states.down);
    LeftKey = std::uint8_t(states.left);
    RightKey = std::uint8_t(states.right);
    GiveKey = std::uint8_t(states.give);
    KeepKey = std::uint8_t(states.keep);
}

void TMyTank::Step(std::int32_t MoveCount)
{
    TTank::Step(MoveCount);
    ++Age;
    if (State == StateFrozen)
    {
        if (Age > FreezeTime)
        {
            FreezeTime = 0;
            State = StateActive;
        }
        return;
    }
    if (State != StateActive && State != StateSuper)
        return;
    if (State == StateSuper && Age > SuperTime)
    {
        State = StateActive;
        SuperTime = 0;
        Collidable = true;
        FrameStart = Life <= 400 ? 1 : 0;
    }
    if (!Visible && Age > HideTime)
    {
        HideTime = 0;
        Visible = true;
    }
    BattleContext& battle = Battle(*this);
    if (SteerAndDrive(MoveCount))
        battle.PlaySound(names::WaveHum, false);
    ClampToDisplay();
    CheckHits();
    ReadLifeOffer();
    if (battle.Input.State(FireKey) && ReadyToFire())
        FireVolley();
}

// The first held direction of up, down, left, right decides; the others wait. True when the tank moved.
bool TMyTank::SteerAndDrive(std::int32_t MoveCount)
{
    const TDXInput& input = Battle(*this).Input;
    const std::uint8_t keys[4] = {UpKey, DownKey, LeftKey, RightKey};
    const Heading headings[4] = {Heading::Up, Heading::Down, Heading::Left, Heading::Right};
    for (int i = 0; i < 4; ++i)
    {
        if (!input.State(keys[i]))
            continue;
        if (Direction != headings[i])
        {
            Direction = headings[i];
            Image = FindPicture(*this, PlayerTankPicture(Direction));
        }
        const double distance = StepDistance(MoveCount);
        DriveAhead(distance);
        return distance != 0;
    }
    return false;
}

// With both keys held the offer ends withdrawn.
void TMyTank::ReadLifeOffer()
{
    const TDXInput& input = Battle(*this).Input;
    if (input.State(GiveKey))
        GiveLife = 1;
    if (input.State(KeepKey))
        GiveLife = 0;
}

void TMyTank::OnHit(TSprite& other, bool& Done)
{
    auto* terrain = dynamic_cast<TTerrSprite*>(&other);
    if (other.IsDead || !terrain || AllPass == 1 || terrain->TanksPass())
        return;
    Done = false;
    PushBackFrom(*terrain);
    SlideAroundCorner(*terrain);
}

// A tank that meets terrain by only a few pixels of its width slides past the corner instead of sticking.
void TMyTank::SlideAroundCorner(const TSprite& terrain)
{
    const double tolerance = Battle(*this).Game.CornerTolerance;
    const bool vertical = IsVertical(Direction);
    double& pos = vertical ? X : Y;
    const double size = vertical ? Width : Height;
    const double terrainPos = vertical ? terrain.X : terrain.Y;
    const double terrainSize = vertical ? terrain.Width : terrain.Height;

    double d = std::trunc(terrainPos + terrainSize - pos);
    if (d >= 0 && d <= tolerance)
    {
        pos = GridStart(pos) + CellSize;
        return;
    }
    d = std::trunc(pos - terrainPos);
    if (d >= 0 && d <= tolerance)
    {
        pos = terrainPos;
        return;
    }
    if (tolerance > size + pos - terrainPos)
        pos = GridStart(pos);
}

void TMyTank::Fields(FieldSink& out) const
{
    TTank::Fields(out);
    out.Int("FireKey", FireKey);
    out.Int("UpKey", UpKey);
    out.Int("DownKey", DownKey);
    out.Int("LeftKey", LeftKey);
    out.Int("RightKey", RightKey);
    out.Int("KeepKey", KeepKey);
    out.Int("GiveKey", GiveKey);
    out.Int("GiveLife", GiveLife);
    out.Int("Milestone", Milestone);
}

TMyTank* EnterPlayerTank(TSpriteEngine& engine, int player)
{
    auto* tank = new TMyTank(&engine);
    if (player == 2)
        tank->UsePlayer2Keys();
    const GameState& game = Battle(*tank).Game;
    tank->Team = PlayersTeam;
    tank->X = double(game.PlayerStart.Column) * CellSize;
    tank->Y = double(game.PlayerStart.Row) * CellSize;
    tank->SetZ(1);
    tank->FrameCount = 2;
    tank->FrameLooped = true;
    tank->FrameSpeed = 0.01;
    return tank;
}

TMyTank* ReturnPlayerTank(TSpriteEngine& engine, int player, std::int32_t carriedScore)
{
    TMyTank* tank = EnterPlayerTank(engine, player);
    tank->Score += carriedScore;
    tank->Milestone = tank->Score / MilestonePoints;
    return tank;
}

}  // namespace vorlanex
