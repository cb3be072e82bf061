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
    for (PlayerSeat seat : Seats(Game))
    {
        if (seat.LifeDebt > seat.Lives && !seat.Alive)
            continue;
        TMyTank* tank = EnterPlayerTank(*SpriteEngine.Engine, seat.Player);
        seat.Tank = tank;
        if (Game.LevelCleared && seat.Alive)
            ApplyCarry(*tank, seat.Carry);
        tank->Milestone = tank->Score / MilestonePoints;
        seat.Alive = 1;
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
