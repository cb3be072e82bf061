#pragma once
// An actor test context over a bare sprite engine: its own game state, small pictures of the game's pattern
// sizes, input states a test can hold, a record of the sounds played and a keyboard for the start-up cheat.

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "actors/BattleContext.h"
#include "actors/GameState.h"
#include "actors/GemSprite.h"
#include "actors/TerrSprite.h"
#include "framework/Bitmap.h"
#include "framework/DXInput.h"
#include "framework/PictureCollection.h"
#include "platform/null/NullPlatform.h"

namespace vorlanex::testing {

class TestBattle final : public BattleContext
{
public:
    TestBattle() : BattleContext(game, pictures, input, engine), input(&events)
    {
        const char* tanks[] = {"Blink", "MyTankLeft", "MyTankRight", "MyTankUP", "MyTankDown", "EnemyBoss", "HelpPlane"};
        for (const char* name : tanks)
            AddPicture(name, 32, 32, 2);
        for (const char* kind : {"Tank1", "Tank2", "Tank3", "Tank4"})
            for (const char* heading : {"Left", "Right", "UP", "Down"})
                AddPicture(std::string(kind) + heading, 32, 32, 5);
        AddPicture("Mission", 40, 6, 2);
        AddPicture("BulletSize8", 8, 8, 1);
        AddPicture("BulletSize16", 16, 16, 1);
        AddPicture("BulletSize24", 24, 24, 1);
        AddPicture("Explosion", 32, 32, 4);
        AddPicture("ExplosionRed", 32, 32, 5);
        AddPicture("BigExplosion", 64, 64, 6);
        for (std::uint8_t kind = 0; kind < GemKindCount; ++kind)
            AddPicture(GemPicture(kind), 32, 32, 1);
        game.Rng.Seed(1);
        engine.Owner = this;
    }
    ~TestBattle() override
    {
        engine.Clear();
        engine.FreeKilled();
    }

    void PlaySound(const std::string& name, bool) override { sounds.push_back(name); }
    void ReadKeyboard(std::uint8_t keys[256]) override { std::memcpy(keys, keyboard, 256); }
    std::int32_t DisplayWidth() const override { return 1024; }
    std::int32_t DisplayHeight() const override { return 768; }

    void Hold(int state) { input.InputStates.Include(state); }
    void Release(int state) { input.InputStates.Exclude(state); }
    int SoundCount(const std::string& name) const
    {
        int n = 0;
        for (const std::string& s : sounds)
            n += s == name;
        return n;
    }

    // One battle frame: every sprite steps with a count of 16, then the dead are freed.
    void Frame()
    {
        engine.Move(16);
        engine.FreeKilled();
    }

    // A 32 x 32 terrain cell at a given cell with given flags and durability.
    TTerrSprite* PutTerrain(int column, int row, std::uint8_t flags, std::int32_t durability = 1000)
    {
        auto* terrain = new TTerrSprite(&engine);
        terrain->X = column * 32.0;
        terrain->Y = row * 32.0;
        terrain->Width = 32;
        terrain->Height = 32;
        terrain->Flags = flags;
        terrain->Durability = durability;
        return terrain;
    }
    TTerrSprite* PutBrick(int column, int row, std::int32_t durability = 1000)
    {
        return PutTerrain(column, row, 0, durability);
    }

    template <class T>
    int CountOf() const
    {
        int n = 0;
        for (int i = 0; i < engine.ChildCount(); ++i)
            n += dynamic_cast<T*>(engine.Child(i)) && !engine.Child(i)->IsDead;
        return n;
    }

    GameState game;
    TPictureCollection pictures;
    ScriptedEvents events;
    TDXInput input;
    std::uint8_t keyboard[256] = {};
    std::vector<std::string> sounds;
    TSpriteEngine engine;

private:
    void AddPicture(const std::string& name, int w, int h, int frames)
    {
        TPictureCollectionItem& item = pictures.Add();
        item.SetName(name);
        item.Picture = TBitmap::TrueColor(w * frames, h, std::vector<TColor>(std::size_t(w * frames * h), clWhite));
        item.SetPatternWidth(w);
        item.SetPatternHeight(h);
    }
};

}  // namespace vorlanex::testing
