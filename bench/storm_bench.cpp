// The heaviest frames the game draws, against BM_FrameCopy of battle_bench.cpp: a battle at its busiest with
// the panel over it, and the result screen.

#include <benchmark/benchmark.h>

#include <memory>
#include <random>
#include <vector>

#include "FullMap.h"
#include "TextGame.h"
#include "actors/Bullet.h"
#include "actors/EnemyBoss.h"
#include "actors/EnemyTank.h"
#include "actors/Explosions.h"
#include "actors/GemSprite.h"
#include "actors/HelpPlane.h"
#include "actors/MyTank.h"
#include "platform/sdl2/SdlPlatform.h"

namespace vorlanex {
namespace {

using bench::FullMap;
using bench::TextGame;

// What the storm keeps on the field.
constexpr int StormEnemies = 20, StormPlanes = 20, StormGems = 30, StormExplosions = 30, StormBullets = 220;

struct FieldCount
{
    int enemies = 0, bosses = 0, planes = 0, gems = 0, explosions = 0, bullets = 0;
};

// The full map and snow with both players, 20 enemies, the boss, a squadron of each side firing missiles,
// power-ups lying about, explosions going off and bullets everywhere; the text drawn with real glyphs.
struct StormBattle : FullMap
{
    StormBattle()
    {
        form->DXDraw.BackSurface.SetTextEngine(text.get());
        GameState& game = form->Game;
        game.PlayerStart = {15, 20};
        game.Player1Tank = EnterPlayerTank(engine, 1);
        game.Player2Tank = EnterPlayerTank(engine, 2);
        game.Player1Alive = game.Player2Alive = 1;
        game.Player1Tank->Score = 123456;
        // The storm itself keeps the field full: no spawns of the battle's own while measuring.
        game.EnemiesSpawned = game.LevelTotal();
        game.GemChance = 0;
        Refill();
        for (int i = 0; i < 40; ++i)
        {
            form->BattleFrame();
            Refill();
        }
    }

    FieldCount Count() const
    {
        FieldCount n;
        for (int i = 0; i < engine.ChildCount(); ++i)
        {
            TSprite* s = engine.Child(i);
            if (s->IsDead)
                continue;
            n.bosses += dynamic_cast<TEnemyBoss*>(s) != nullptr;
            n.enemies += dynamic_cast<TEnemyTank*>(s) != nullptr;
            n.planes += dynamic_cast<THelpPlane*>(s) != nullptr;
            n.gems += dynamic_cast<TGemSprite*>(s) != nullptr;
            n.bullets += dynamic_cast<TBullet*>(s) != nullptr;
            n.explosions += dynamic_cast<TExplosion*>(s) != nullptr || dynamic_cast<TExplosionRed*>(s) != nullptr;
        }
        return n;
    }

    // Puts back whatever the last frame used up: destroyed tanks, planes that left, gems taken, explosions
    // burnt out, bullets spent. The players never die.
    void Refill()
    {
        GameState& game = form->Game;
        game.Player1Tank->Life = game.Player2Tank->Life = 1500;
        FieldCount n = Count();
        for (; n.enemies < StormEnemies; ++n.enemies)
            AddEnemy(new TEnemyTank(&engine));
        if (n.bosses == 0)
            AddEnemy(new TEnemyBoss(&engine));
        if (n.planes < StormPlanes - 5)
        {
            form->CallPlanes(EnemiesTeam, 10);
            form->CallPlanes(PlayersTeam, 10);
        }
        for (; n.gems < StormGems; ++n.gems)
            new TGemSprite(&engine);
        for (; n.explosions < StormExplosions; ++n.explosions)
        {
            TImageSprite* blast = n.explosions % 2 ? static_cast<TImageSprite*>(new TExplosion(&engine))
                                                   : new TExplosionRed(&engine);
            blast->X = double(random() % 1000);
            blast->Y = double(random() % 740);
            blast->SetZ(9);
        }
        AddBullets(StormBullets - n.bullets);
    }

    void AddEnemy(TTank* tank)
    {
        tank->Team = EnemiesTeam;
        tank->X = double(64 + random() % 900);
        tank->Y = double(64 + random() % 600);
        tank->SetZ(1);
        if (auto* enemy = dynamic_cast<TEnemyTank*>(tank))
            enemy->Kind = std::int32_t(random() % 4);
    }

    // Extra bullets belong to ordinary enemies still on the field.
    void AddBullets(int count)
    {
        std::vector<TEnemyTank*> shooters;
        for (int i = 0; i < engine.ChildCount(); ++i)
            if (auto* enemy = dynamic_cast<TEnemyTank*>(engine.Child(i)); enemy && !enemy->IsDead)
                shooters.push_back(enemy);
        for (int i = 0; i < count && !shooters.empty(); ++i)
            AddBullet(*shooters[random() % shooters.size()]);
    }

    void AddBullet(TEnemyTank& owner)
    {
        auto* bullet = new TBullet(&engine);
        bullet->SetOwner(&owner);
        ++owner.LiveBullets;
        bullet->X = double(random() % 1000);
        bullet->Y = double(random() % 740);
        bullet->Angle = double(random() % 256);
    }

    // One battle frame as the frame handler makes it, all but the present.
    void Frame()
    {
        form->BattleFrame();
        form->DrawStatusLine();
        form->DrawTicker();
        form->DrawStatusPanel();
        form->DrawCursor();
    }

    std::unique_ptr<Text> text = MakeSdlText();
    std::minstd_rand random{11};
};

void BM_BattleFrameStorm(benchmark::State& state)
{
    StormBattle battle;
    for (auto _ : state)
    {
        state.PauseTiming();
        battle.Refill();
        state.ResumeTiming();
        battle.Frame();
        benchmark::DoNotOptimize(battle.form->DXDraw.BackSurface.Bits());
    }
    const FieldCount n = battle.Count();
    state.counters["sprites"] = battle.engine.SpriteCount;
    state.counters["bullets"] = n.bullets;
    state.counters["enemies"] = n.enemies + n.bosses;
    state.counters["planes"] = n.planes;
    state.counters["explosions"] = n.explosions;
    state.counters["gems"] = n.gems;
}
BENCHMARK(BM_BattleFrameStorm)->Unit(benchmark::kMicrosecond);

// A whole frame of the won level's result screen: backdrop, logo, the turning picture, both score lines, then
// the status line, ticker and cursor and the present, as the frame handler draws it.
void BM_ResultFrame(benchmark::State& state)
{
    TextGame game;
    GameState& played = game.form.Game;
    played.LevelCleared = 1;
    played.Carry1.Score = 123456;
    played.Carry2.Score = 456789;
    game.form.ChangeScene(Scene::Result);
    for (auto _ : state)
        game.Frame();
    if (game.form.Scene != Scene::Result || !game.form.ReportedErrors().empty())
        state.SkipWithError(game.ErrorOr("the result screen was left"));
}
BENCHMARK(BM_ResultFrame)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace vorlanex
