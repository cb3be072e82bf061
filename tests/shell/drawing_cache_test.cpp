// The kept ground and cover pictures and the hit index are speed-ups only: a battle drawn with them must look
// exactly like one drawn by filling the screen and drawing every sprite, frame for frame, while bricks break,
// tanks die, gems appear, planes cross and the panel comes and goes.

#include <cstring>
#include <memory>

#include "GameFixture.h"
#include "actors/TerrSprite.h"

namespace vorlanex::testing {
namespace {

constexpr int VK_SPACE = 0x20, VK_UP = 0x26, VK_LEFT = 0x25, VK_RIGHT = 0x27, VK_F5 = 0x74, VK_F6 = 0x75,
              VK_F7 = 0x76;

struct Game
{
    explicit Game(const std::filesystem::path& folder, bool keepGround)
    {
        platform = MakeNullPlatform(&parts);
        platform.makeAudio = [clock = parts.clock] { return MakeNullAudioDevice(*clock); };
        GameConfig config;
        config.appDir = folder.string() + "/";
        config.seed = 5;
        config.unpaced = true;
        config.builtinAssets = BuiltinAssetArchive();
        form = std::make_unique<TMainForm>(platform, config);
        // Without the kept ground, nothing is kept: every frame is filled and drawn sprite by sprite.
        if (!keepGround)
            form->SpriteEngine.Engine->Ground.GroundZ = INT32_MIN;
        form->FormCreate();
    }
    void Frame()
    {
        parts.clock->now += 33;
        form->DXTimer.Idle();
    }
    void Key(int vk, bool down) { down ? parts.events->PressKey(vk) : parts.events->ReleaseKey(vk); }
    TSpriteEngine& Engine() { return *form->SpriteEngine.Engine; }
    bool SameFrame(const Game& other) const
    {
        const TDirectDrawSurface& a = form->DXDraw.BackSurface;
        const TDirectDrawSurface& b = other.form->DXDraw.BackSurface;
        return std::memcmp(a.Bits(), b.Bits(), std::size_t(a.Width()) * std::size_t(a.Height()) * 2) == 0;
    }

    NullPlatformParts parts;
    Platform platform;
    std::unique_ptr<TMainForm> form;
};

class DrawingCache : public GameFixture
{
};

// Starts the battle with the cheat tank firing, as the player would.
void StartFiring(Game& g)
{
    for (int vk : {VK_F5, VK_F6, VK_F7, VK_SPACE})
        g.Key(vk, true);
    g.Frame();
    for (int vk : {VK_F5, VK_F6, VK_F7, VK_SPACE})
        g.Key(vk, false);
}

// Drives up, left and right in turn, firing every other frame.
void DriveAndFire(Game& g, int frame)
{
    const int heading = frame / 60 % 3 == 0 ? VK_UP : frame / 60 % 3 == 1 ? VK_LEFT : VK_RIGHT;
    for (int vk : {VK_UP, VK_LEFT, VK_RIGHT})
        g.Key(vk, vk == heading && frame > 70);
    g.Key(VK_SPACE, frame > 70 && frame % 2 == 0);
    g.Frame();
}

int CountOf(TSpriteEngine& engine, const char* className)
{
    int n = 0;
    for (int i = 0; i < engine.ChildCount(); ++i)
        n += std::strcmp(engine.Child(i)->ClassName(), className) == 0;
    return n;
}

TEST_F(DrawingCache, KeptGroundDrawsTheSameBattleAsAFullRedraw)
{
    CopyGameData();
    Game kept(folder, true), plain(folder, false);
    auto both = [&](auto&& action) {
        action(kept);
        action(plain);
    };
    // The cheat tank shoots its way through the bricks, so the ground changes often.
    both([](Game& g) {
        StartFiring(g);
        // Bring the bricks down to the ground layer, so that what breaks is part of the kept picture.
        TSpriteEngine& engine = *g.form->SpriteEngine.Engine;
        for (int i = 0; i < engine.ChildCount(); ++i)
            if (auto* terrain = dynamic_cast<TTerrSprite*>(engine.Child(i)); terrain && terrain->Z == 3)
                terrain->SetZ(0);
    });
    int differing = 0, brickFrames = 0;
    std::size_t terrainBefore = 0;
    for (int frame = 0; frame < 900; ++frame)
    {
        both([&](Game& g) { DriveAndFire(g, frame); });
        differing += !kept.SameFrame(plain);
        const std::size_t terrain = kept.form->SpriteEngine.Engine->ChildCount();
        brickFrames += terrain < terrainBefore;
        terrainBefore = terrain;
    }
    EXPECT_EQ(differing, 0);
    EXPECT_GT(brickFrames, 5) << "too little happened on the field to prove anything";
    EXPECT_EQ(kept.form->Scene, Scene::Battle);
}

// The bricks break in the cover layer and, every other one brought down, in the ground beneath it; gems are
// dropped often, squadrons fly over and the panel is switched on and off.
TEST_F(DrawingCache, KeptCoverDrawsTheSameBattleAsAFullRedraw)
{
    CopyGameData();
    Game kept(folder, true), plain(folder, false);
    auto both = [&](auto&& action) {
        action(kept);
        action(plain);
    };
    both([](Game& g) {
        StartFiring(g);
        g.form->Game.GemChance = 0.05;
        TSpriteEngine& engine = g.Engine();
        int brick = 0;
        for (int i = 0; i < engine.ChildCount(); ++i)
            if (auto* terrain = dynamic_cast<TTerrSprite*>(engine.Child(i)); terrain && terrain->Z == 3 && brick++ % 2)
                terrain->SetZ(0);
    });
    ASSERT_GT(CountOf(kept.Engine(), "TTerrSprite"), 0);
    int differing = 0, coverBroken = 0, groundBroken = 0, gemFrames = 0, planeFrames = 0, panelFrames = 0;
    auto terrainAt = [](TSpriteEngine& engine, std::int32_t z) {
        int n = 0;
        for (int i = 0; i < engine.ChildCount(); ++i)
            n += engine.Child(i)->Z == z && dynamic_cast<TTerrSprite*>(engine.Child(i)) != nullptr;
        return n;
    };
    int coverBefore = terrainAt(kept.Engine(), 3), groundBefore = terrainAt(kept.Engine(), 0);
    for (int frame = 0; frame < 900; ++frame)
    {
        both([&](Game& g) {
            if (frame % 150 == 100)
                g.form->CallPlanes(frame % 300 == 100 ? 1 : 2, 5);
            g.form->Game.PanelOn = frame / 200 % 2;
            DriveAndFire(g, frame);
        });
        differing += !kept.SameFrame(plain);
        TSpriteEngine& engine = kept.Engine();
        const int cover = terrainAt(engine, 3), ground = terrainAt(engine, 0);
        coverBroken += cover < coverBefore;
        groundBroken += ground < groundBefore;
        coverBefore = cover;
        groundBefore = ground;
        gemFrames += CountOf(engine, "TGemSprite") > 0;
        planeFrames += CountOf(engine, "THelpPlane") > 0;
        panelFrames += kept.form->Game.PanelOn != 0;
    }
    EXPECT_EQ(differing, 0);
    EXPECT_GT(coverBroken, 3) << "too few bricks of the cover broke to prove anything";
    EXPECT_GT(groundBroken, 3) << "too few bricks of the ground broke to prove anything";
    EXPECT_GT(gemFrames, 50);
    EXPECT_GT(planeFrames, 50);
    EXPECT_GT(panelFrames, 50);
    EXPECT_LT(panelFrames, 850);
    EXPECT_EQ(kept.form->Scene, Scene::Battle);
}

}  // namespace
}  // namespace vorlanex::testing
