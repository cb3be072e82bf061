// Who enters the field when a level is built: the players' tanks with their carried values, and three enemies.

#include "actors/EnemyTank.h"
#include "actors/MyTank.h"
#include "shell/MainForm.h"

namespace vorlanex {

namespace {

// A player whose tank was in play when the last level was cleared keeps score, speed, weapons and terrain
// pass, with 200 extra life.
void ApplyCarry(TMyTank& tank, const TCarry& carry)
{
    carry.ApplyTo(tank);
    tank.Life += 200;
}

}  // namespace

void TMainForm::CreatePlayers()
{
    struct Seat
    {
        int player;
        std::int32_t lifeDebt, lives;
        std::uint8_t& alive;
        TMyTank*& tank;
        const TCarry& carry;
    };
    Seat seats[2] = {
        {1, Game.LifeDebt1, Game.Lives1, Game.Player1Alive, Game.Player1Tank, Game.Carry1},
        {2, Game.LifeDebt2, Game.Lives2, Game.Player2Alive, Game.Player2Tank, Game.Carry2},
    };
    for (Seat& seat : seats)
    {
        if (seat.lifeDebt > seat.lives && !seat.alive)
            continue;
        TMyTank* tank = EnterPlayerTank(*SpriteEngine.Engine, seat.player);
        seat.tank = tank;
        if (Game.LevelCleared && seat.alive)
            ApplyCarry(*tank, seat.carry);
        tank->Milestone = tank->Score / MilestonePoints;
        seat.alive = 1;
    }
    for (const TCellPoint& cell : Game.EnemySpawnPoints)
    {
        auto* enemy = new TEnemyTank(SpriteEngine.Engine);
        enemy->X = double(cell.Column) * CellSize;
        enemy->Y = double(cell.Row) * CellSize;
        PlaceEnemy(*enemy, false);
        ++Game.EnemiesSpawned;
    }
}

}  // namespace vorlanex
