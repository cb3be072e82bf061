// Soak: random two-player play on every shipped map, through the real message loop, with focus changes,
// clicks and function keys thrown in. Run under the sanitizers by the test script, it must finish with no
// report, no handler error, and a sprite tree that stays bounded, with every kind of actor having taken part.

#include <algorithm>
#include <iterator>
#include <cstdlib>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "GameFixture.h"
#include "shell/automation/GameLoop.h"
#include "shell/automation/InputScript.h"
#include "shell/automation/OverlayEvents.h"

namespace vorlanex::testing {
namespace {

// Frames per map; SOAK_FRAMES stretches a run by hand.
std::int64_t SoakFrames()
{
    const char* frames = std::getenv("SOAK_FRAMES");
    return frames ? std::max(100L, std::atol(frames)) : 5000;
}

// A random game as an input script: keys toggled, function keys tapped (F3 twice, or the game stays frozen),
// clicks, mouse moves and short focus losses.
std::vector<ScriptEvent> RandomPlay(std::uint32_t seed, std::int64_t frames)
{
    static const char* playKeys[] = {"Up", "Down", "Left", "Right", "Keypad 8", "Keypad 2", "Keypad 4",
                                     "Keypad 6", "W", "Z", "A", "S", "Space", "Left Shift", "Return", "Tab",
                                     "P", "Escape"};
    static const char* functionKeys[] = {"F1", "F3", "F5", "F6", "F7", "F8", "F9", "F10", "F11", "F12"};
    std::mt19937 rng(seed);
    auto pick = [&rng](int n) { return int(rng() % unsigned(n)); };
    std::string script = "5 press Space\n";
    auto line = [&script](std::int64_t frame, const std::string& what) {
        script += std::to_string(frame) + " " + what + "\n";
    };
    std::vector<bool> held(std::size(playKeys), false);
    for (std::int64_t f = 10; f < frames; f += 1 + pick(4))
    {
        const int roll = pick(100);
        if (roll < 78)
        {
            const int k = pick(int(std::size(playKeys)));
            line(f, std::string(held[std::size_t(k)] ? "up " : "down ") + playKeys[k]);
            held[std::size_t(k)] = !held[std::size_t(k)];
        }
        else if (roll < 88)
        {
            const std::string key = functionKeys[pick(int(std::size(functionKeys)))];
            line(f, "down " + key);
            line(f + 1 + pick(5), "up " + key);
            if (key == "F3")
                line(f + 8, "press F3");
        }
        else if (roll < 95)
            line(f, std::string(pick(3) == 0 ? "click right " : "click left ") + std::to_string(pick(1024)) + " " +
                        std::to_string(pick(768)));
        else if (roll < 98)
            line(f, "move " + std::to_string(pick(1024)) + " " + std::to_string(pick(768)));
        else
        {
            line(f, "focus lost");
            line(f + 1 + pick(10), "focus gained");
        }
    }
    return ParseInputScript(script, "soak script").events;
}

class Soak : public GameFixture, public ::testing::WithParamInterface<int>
{
};

TEST_P(Soak, RandomTwoPlayerPlayStaysSoundAndBounded)
{
    CopyGameData();
    platform = MakeNullPlatform(&parts);
    auto overlay = std::make_unique<OverlayEvents>(std::move(platform.events));
    OverlayEvents* events = overlay.get();
    platform.events = std::move(overlay);
    platform.makeAudio = [clock = parts.clock] { return MakeNullAudioDevice(*clock); };
    GameConfig config;
    config.appDir = folder.string() + "/";
    config.seed = std::uint64_t(GetParam());
    config.unpaced = true;
    config.builtinAssets = BuiltinAssetArchive();
    form = std::make_unique<TMainForm>(platform, config);
    form->FormCreate();
    form->Game.MapFileName = LevelMapFileName(form->Game.AppDir, GetParam());

    const std::int64_t frames = SoakFrames();
    RunOptions run;
    run.frames = frames;
    run.unpaced = true;
    run.script = RandomPlay(std::uint32_t(GetParam()) * 7919u, frames);
    std::int32_t mostSprites = 0;
    int battleFrames = 0;
    std::set<std::string> seen;
    run.afterUnpacedFrame = [&] {
        parts.clock->SleepMs(33);
        mostSprites = std::max(mostSprites, form->SpriteEngine.Engine->SpriteCount);
        if (form->Scene != Scene::Battle)
            return;
        ++battleFrames;
        // The squadrons are timed half a battle and more apart: each battle skips ahead to just before them.
        if (form->FrameCounter == 300)
            form->FrameCounter = 17900;
        else if (form->FrameCounter == 18300)
            form->FrameCounter = 26900;
        TSpriteEngine& engine = *form->SpriteEngine.Engine;
        for (int i = 0; i < engine.ChildCount(); ++i)
            seen.insert(engine.Child(i)->ClassName());
    };
    GameLoop loop(*form, events, run);
    loop.Run();

    EXPECT_EQ(form->FrameCalls, frames);
    EXPECT_TRUE(form->ReportedErrors().empty()) << form->ReportedErrors().front();
    EXPECT_GT(battleFrames, frames / 4) << "the random play hardly reached the battle";
    // Terrain, snow, the tanks of a level and what they fire: far from a runaway.
    EXPECT_LT(mostSprites, 4000);
    for (const char* actor : {"TGemSprite", "THelpPlane", "TEnemyBoss", "TEnemyTank", "TBullet"})
        EXPECT_TRUE(seen.count(actor)) << actor << " never took part";
    std::string cast;
    for (const std::string& name : seen)
        cast += " " + name;
    RecordProperty("actors", cast);
}

INSTANTIATE_TEST_SUITE_P(ShippedMaps, Soak, ::testing::Range(1, 13),
                         [](const auto& info) { return "MAP" + std::to_string(info.param); });

}  // namespace
}  // namespace vorlanex::testing
