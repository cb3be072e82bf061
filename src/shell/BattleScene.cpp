// The battle's rule book: what one battle frame does, who enters the field and when, and the battle services
// the actors call.

#include "actors/Bullet.h"
#include "actors/Direction.h"
#include "actors/EnemyBoss.h"
#include "actors/EnemyTank.h"
#include "actors/GemSprite.h"
#include "actors/MyTank.h"
#include "framework/AssetNames.h"
#include "framework/PictureCollection.h"
#include "shell/FormBattleContext.h"
#include "shell/MainForm.h"

namespace vorlanex {

namespace {

// Battle frames between two squadrons of each side: about 9.9 and 14.9 minutes.
constexpr std::int32_t EnemyPlanesPeriod = 18000, PlayerPlanesPeriod = 27000;
constexpr std::int32_t MaxGemsPerLevel = 100;

}  // namespace

void TMainForm::BattleFrame()
{
    SpriteEngine.Move(16);
    SpriteEngine.FreeKilled();
    // While a scene change is pending the battle still moves, but is not drawn.
    if (PendingScene != Scene::None || !SpriteEngine.DrawOnFilled(0))
        FillSurface(DXDraw.BackSurface, 0);
    if (Game.RandomNumber() < 0.005)
        Game.Wind = std::uint8_t(OppositeDirection(Heading(Game.Wind)));
    CallTimedPlanes();
    if (Game.RandomNumber() < Game.GemChance && Game.GemsSpawned < MaxGemsPerLevel)
        SpawnGem();
    SpawnEnemies();
    ReviveByPartner();
}

void TMainForm::CallTimedPlanes()
{
    if (FrameCounter % EnemyPlanesPeriod == EnemyPlanesPeriod - 1)
    {
        CallPlanes(EnemiesTeam, 7);
        PlaySound(names::WavePlanes, false);
    }
    if (FrameCounter % PlayerPlanesPeriod == PlayerPlanesPeriod - 1)
    {
        CallPlanes(PlayersTeam, 9);
        PlaySound(names::WavePlanes, false);
    }
}

// The gem picks its own kind and cell.
void TMainForm::SpawnGem()
{
    new TGemSprite(SpriteEngine.Engine);
    ++Game.GemsSpawned;
}

// One ordinary enemy every SpawnPeriod frames up to the level total less one, then the boss; the total is read
// afresh each frame, so a difficulty change counts at once.
void TMainForm::SpawnEnemies()
{
    if (Game.SpawnPeriod <= 0 || FrameCounter % Game.SpawnPeriod != Game.SpawnPeriod - 1)
        return;
    if (Game.EnemiesSpawned < Game.LevelTotal() - 1)
    {
        auto* enemy = new TEnemyTank(SpriteEngine.Engine);
        PlaceEnemy(*enemy, true);
        ++Game.EnemiesSpawned;
        enemy->Kind = Game.Random(4);
    }
    if (Game.LevelTotal() == Game.EnemiesSpawned + 1)
    {
        auto* boss = new TEnemyBoss(SpriteEngine.Engine);
        PlaceEnemy(*boss, true);
        ++Game.EnemiesSpawned;
    }
}

// The first three stand on their spawn cells; later ones enter half a picture right of and below the corner
// of a random one.
void TMainForm::PlaceEnemy(TTank& tank, bool atRandomPoint)
{
    tank.Team = EnemiesTeam;
    if (atRandomPoint)
    {
        const TCellPoint& cell = Game.EnemySpawnPoints[std::size_t(Game.Random(3))];
        const std::int32_t dx = tank.Image ? tank.Image->PatternWidth() / 2 : 0;
        const std::int32_t dy = tank.Image ? tank.Image->PatternHeight() / 2 : 0;
        tank.X = double(cell.Column) * CellSize + dx;
        tank.Y = double(cell.Row) * CellSize + dy;
    }
    tank.SetZ(1);
    tank.FrameCount = tank.Image ? tank.Image->PatternCount() : 0;
    tank.FrameLooped = true;
    tank.FrameSpeed = atRandomPoint ? 0.01 : 0.015;
}

// A player out of lives comes back when the partner offers one of theirs.
void TMainForm::ReviveByPartner()
{
    if (Game.PlayerLosses > Game.Lives1 + Game.Lives2 + 1)
        return;
    if (!Game.Player1Tank && Game.Player2Tank && Game.Player2Tank->GiveLife)
    {
        Game.Player2Tank->GiveLife = 0;
        ++Game.LifeDebt2;   // player 2 pays the life
        Game.Player1Tank = ReturnPlayerTank(*SpriteEngine.Engine, 1, Game.Carry1.Score);
        Game.Player1Alive = 1;
    }
    if (!Game.Player2Tank && Game.Player1Tank && Game.Player1Tank->GiveLife)
    {
        Game.Player1Tank->GiveLife = 0;
        ++Game.LifeDebt1;
        Game.Player2Tank = ReturnPlayerTank(*SpriteEngine.Engine, 2, Game.Carry2.Score);
        Game.Player2Alive = 1;
    }
}

void TMainForm::KillBulletsOf(const TTank& Tank) { Context->KillBulletsOf(Tank); }

void TMainForm::FreezeOtherTeams(std::int32_t Team) { Context->FreezeOtherTeams(Team); }

void TMainForm::CallPlanes(std::int32_t Team, std::int32_t Count) { Context->CallPlanes(Team, Count); }

}  // namespace vorlanex
