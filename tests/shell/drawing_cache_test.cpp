// The kept ground picture and the hit index are speed-ups only: a battle drawn with them must look exactly like
// one drawn by filling the screen and drawing every sprite, frame for frame, while bricks break and tanks die.

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

    NullPlatformParts parts;
    Platform platform;
    std::unique_ptr<TMainForm> form;
};

class DrawingCache : public GameFixture
{
};

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
        for (int vk : {VK_F5, VK_F6, VK_F7, VK_SPACE})
            g.Key(vk, true);
        g.Frame();
        for (int vk : {VK_F5, VK_F6, VK_F7, VK_SPACE})
            g.Key(vk, false);
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
        const int heading = frame / 60 % 3 == 0 ? VK_UP : frame / 60 % 3 == 1 ? VK_LEFT : VK_RIGHT;
        both([&](Game& g) {
            for (int vk : {VK_UP, VK_LEFT, VK_RIGHT})
                g.Key(vk, vk == heading && frame > 70);
            g.Key(VK_SPACE, frame > 70 && frame % 2 == 0);
            g.Frame();
        });
        const TDirectDrawSurface& a = kept.form->DXDraw.BackSurface;
        const TDirectDrawSurface& b = plain.form->DXDraw.BackSurface;
        differing += std::memcmp(a.Bits(), b.Bits(), std::size_t(a.Width()) * std::size_t(a.Height()) * 2) != 0;
        const std::size_t terrain = kept.form->SpriteEngine.Engine->ChildCount();
        brickFrames += terrain < terrainBefore;
        terrainBefore = terrain;
    }
    EXPECT_EQ(differing, 0);
    EXPECT_GT(brickFrames, 5) << "too little happened on the field to prove anything";
    EXPECT_EQ(kept.form->Scene, Scene::Battle);
}

}  // namespace
}  // namespace vorlanex::testing
