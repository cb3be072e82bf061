// Whole battle frames against the physical floor: one plain copy of a 1024 x 768 x 16-bit frame.

#include <benchmark/benchmark.h>

#include <cstring>
#include <random>
#include <vector>

#include "FullMap.h"
#include "actors/Bullet.h"
#include "actors/EnemyTank.h"
#include "actors/MyTank.h"

namespace vorlanex {
namespace {

using bench::FullMap;

void BM_FrameCopy(benchmark::State& state)
{
    std::vector<std::uint16_t> from(1024 * 768, 0x1234), to(1024 * 768);
    for (auto _ : state)
    {
        std::memcpy(to.data(), from.data(), from.size() * sizeof(std::uint16_t));
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(from.size() * 2));
}
BENCHMARK(BM_FrameCopy)->Unit(benchmark::kMicrosecond);

// The full map with both players, 20 enemies past their blink and 150 bullets in flight.
struct BusyBattle : FullMap
{
    BusyBattle()
    {
        GameState& game = form->Game;
        game.PlayerStart = {15, 20};
        game.Player1Tank = EnterPlayerTank(engine, 1);
        game.Player2Tank = EnterPlayerTank(engine, 2);
        game.Player1Alive = game.Player2Alive = 1;
        for (int i = 0; i < 20; ++i)
        {
            auto* enemy = new TEnemyTank(&engine);
            enemy->Team = EnemiesTeam;
            enemy->Kind = i % 4;
            enemy->X = 64 + (i % 10) * 96;
            enemy->Y = 64 + (i / 10) * 256;
            enemies.push_back(enemy);
        }
        // No spawns, planes or level end while measuring.
        game.EnemiesSpawned = game.LevelTotal();
        game.GemChance = 0;
        for (int i = 0; i < 62; ++i)
            form->BattleFrame();
    }

    int BulletsInFlight() const
    {
        int n = 0;
        for (const TEnemyTank* enemy : enemies)
            n += enemy->LiveBullets;
        return n + form->Game.Player1Tank->LiveBullets + form->Game.Player2Tank->LiveBullets;
    }

    // Puts back the bullets that hit something; the players never die, so every frame measures the same field.
    void TopUpBullets(int wanted)
    {
        form->Game.Player1Tank->Life = form->Game.Player2Tank->Life = 1500;
        for (int n = BulletsInFlight(); n < wanted; ++n)
        {
            TEnemyTank* owner = enemies[std::size_t(n) % enemies.size()];
            auto* bullet = new TBullet(&engine);
            bullet->SetOwner(owner);
            ++owner->LiveBullets;
            bullet->X = double(random() % 1000);
            bullet->Y = double(random() % 740);
            bullet->Angle = double(random() % 256);
        }
    }

    std::minstd_rand random{7};
    std::vector<TEnemyTank*> enemies;
};

void BM_BattleFrameBusy(benchmark::State& state)
{
    BusyBattle battle;
    for (auto _ : state)
    {
        state.PauseTiming();
        battle.TopUpBullets(150);
        state.ResumeTiming();
        battle.form->BattleFrame();
        benchmark::DoNotOptimize(battle.form->DXDraw.BackSurface.Bits());
    }
    state.counters["sprites"] = battle.engine.SpriteCount;
    state.counters["bullets"] = battle.BulletsInFlight();
}
BENCHMARK(BM_BattleFrameBusy)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace vorlanex
