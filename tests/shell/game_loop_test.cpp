// The message loop on the null platform: host events and scripted input, recordings and their replays.

#include <functional>
#include <map>

#include "shell/GameFixture.h"
#include "shell/automation/GameLoop.h"
#include "shell/automation/OverlayEvents.h"
#include "shell/automation/StateDump.h"

using namespace vorlanex;
using vorlanex::testing::GameFixture;

namespace {

constexpr int VK_SPACE = 0x20, VK_UP = 0x26, VK_RIGHT = 0x27, VK_SHIFT = 0x10, VK_F8 = 0x77;

std::string ReadText(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class LoopFixture : public GameFixture
{
protected:
    void SetUp() override
    {
        GameFixture::SetUp();
        CopyGameData();
    }
    void TearDown() override
    {
        loop.reset();
        GameFixture::TearDown();
    }

    // A game whose event source is the null host with a script laid over it, as the program entry builds it.
    void StartLoop(InputScript script, InputRecorder* recorder = nullptr)
    {
        platform = MakeNullPlatform(&parts);
        overlay = new OverlayEvents(std::move(platform.events));
        platform.events.reset(overlay);
        GameConfig config;
        config.appDir = folder.string() + "/";
        config.seed = script.seed.value_or(1);
        config.unpaced = true;
        config.builtinAssets = BuiltinAssetArchive();
        form = std::make_unique<TMainForm>(platform, config);
        form->FormCreate();
        RunOptions run;
        run.unpaced = true;
        run.script = std::move(script.events);
        run.recorder = recorder;
        run.afterUnpacedFrame = [this] { parts.clock->now += 33; };
        loop = std::make_unique<GameLoop>(*form, overlay, std::move(run));
    }

    // Runs passes until `frames` calls of the frame handler have been made; before each call, `host`
    // may feed events of that frame into the null host.
    void RunTo(std::int64_t frames, const std::function<void(std::int64_t)>& host = {})
    {
        while (form->FrameCalls < frames && !form->QuitRequested)
        {
            if (host)
                host(form->FrameCalls + 1);
            loop->Pass();
        }
    }

    // A key as the host reports it: the keyboard state and the event together.
    void HostKey(int vk, bool down)
    {
        down ? parts.events->PressKey(vk) : parts.events->ReleaseKey(vk);
        InputEvent e;
        e.kind = down ? EventKind::KeyDown : EventKind::KeyUp;
        e.key = vk;
        parts.events->Push(e);
    }
    void HostTap(int vk)
    {
        HostKey(vk, true);
        HostKey(vk, false);
    }
    void HostClick(MouseButton button, int x, int y)
    {
        InputEvent e;
        e.kind = EventKind::MouseDown;
        e.button = button;
        e.x = x;
        e.y = y;
        parts.events->Push(e);
    }

    OverlayEvents* overlay = nullptr;
    std::unique_ptr<GameLoop> loop;
};

}  // namespace

TEST_F(LoopFixture, ScriptedTapWithinOneFrameStartsTheBattle)
{
    StartLoop(ParseInputScript("4 down Space\n4 up Space\n", "tap"));
    RunTo(3);
    EXPECT_EQ(form->Scene, Scene::Title);
    RunTo(4);
    EXPECT_EQ(form->Scene, Scene::Battle);
}

TEST_F(LoopFixture, HostTapBetweenFramesIsHeldForOneFrame)
{
    StartLoop({});
    RunTo(3);
    ASSERT_EQ(form->Scene, Scene::Title);
    RunTo(4, [&](std::int64_t) { HostTap(VK_SPACE); });
    EXPECT_EQ(form->Scene, Scene::Battle);
    RunTo(10, [&](std::int64_t frame) {
        if (frame == 8)
            HostTap(VK_SHIFT);
    });
    EXPECT_FALSE(form->DXInput.State(StateButton6));
    EXPECT_FALSE(form->DXInput.Keyboard.Tapped[VK_SHIFT]);
}

// Two players on one keyboard, a menu visit and a pause, recorded and replayed into a fresh game.
TEST_F(LoopFixture, RecordedTwoPlayerSessionReplaysToTheSameState)
{
    const auto recordPath = folder / "session.txt";
    std::string played;
    {
        InputRecorder recorder(recordPath.string(), 99);
        StartLoop(ParseInputScript("seed 99\n", "seed"), &recorder);
        const std::map<std::int64_t, std::function<void()>> session = {
            {3, [&] { HostTap(VK_SPACE); }},
            {12, [&] { HostKey(VK_UP, true); HostKey('W', true); }},
            {20, [&] { HostKey(VK_SPACE, true); HostKey(VK_SHIFT, true); }},
            {26, [&] { HostKey(VK_UP, false); HostKey(VK_RIGHT, true); HostKey('W', false); HostKey('S', true); }},
            {30, [&] { HostKey(VK_SPACE, false); HostKey(VK_SHIFT, false); HostTap(VK_F8); }},
            {40, [&] { HostClick(MouseButton::Right, 5, 5); }},
            {44, [&] { HostClick(MouseButton::Left, 512, 440); }},
            {50, [&] { HostKey(VK_RIGHT, false); HostKey('S', false); }},
        };
        RunTo(70, [&](std::int64_t frame) {
            if (const auto it = session.find(frame); it != session.end())
                it->second();
        });
        EXPECT_EQ(form->Game.Difficulty, 3);
        played = DumpState(*form).dump();
        loop.reset();
        form.reset();
    }
    const InputScript recorded = LoadInputScript(recordPath.string());
    ASSERT_EQ(recorded.seed, 99u);
    EXPECT_NE(ReadText(recordPath).find("30 down F8\n30 up F8\n"), std::string::npos) << ReadText(recordPath);
    EXPECT_NE(ReadText(recordPath).find("44 click left 512 440\n"), std::string::npos);

    StartLoop(recorded);
    RunTo(70);
    EXPECT_EQ(DumpState(*form).dump(), played);
}

TEST_F(LoopFixture, ScriptedQuitEndsTheRunBeforeItsFrame)
{
    StartLoop(ParseInputScript("6 quit\n", "quit"));
    RunTo(100);
    EXPECT_TRUE(form->QuitRequested);
    EXPECT_EQ(form->FrameCalls, 5);
}

// Two pads through the null host: each drives its player's states, Start leaves the title, unplugging lets go.
TEST_F(LoopFixture, TwoScriptedPadsDriveBothPlayersStatesAndLetGoWhenUnplugged)
{
    StartLoop(ParseInputScript("3 pad 1 down start\n4 pad 1 up start\n"
                               "8 pad 1 down a\n8 pad 1 axis lefty -20000\n"
                               "8 pad 2 down dpleft\n8 pad 2 down b\n8 pad 2 axis leftx 5000\n"
                               "12 pad 1 up a\n12 pad 2 down start\n",
                               "pads"));
    RunTo(3);
    EXPECT_EQ(form->Scene, Scene::Battle) << "Start on the title acts as player 1's fire";
    RunTo(8);
    EXPECT_TRUE(form->DXInput.State(StateButton1));
    EXPECT_TRUE(form->DXInput.State(StateUp));
    EXPECT_TRUE(form->DXInput.State(StateButton4));   // player 2 left
    EXPECT_TRUE(form->DXInput.State(StateButton7));   // player 2 offers a life
    EXPECT_FALSE(form->DXInput.State(StateButton5)) << "a stick inside the dead zone drives nowhere";
    RunTo(12);
    EXPECT_FALSE(form->DXInput.State(StateButton1)) << "A is up, and Start in battle is not fire";

    InputEvent unplug;
    unplug.kind = EventKind::PadRemoved;
    unplug.pad = 1;
    parts.events->Push(unplug);
    RunTo(13);
    EXPECT_TRUE(form->DXInput.State(StateUp));
    EXPECT_FALSE(form->DXInput.State(StateButton4));
    EXPECT_FALSE(form->DXInput.State(StateButton7));
}

TEST_F(LoopFixture, PadTapWithinOneFrameIsHeldOnce)
{
    StartLoop(ParseInputScript("2 press Space\n9 pad 2 down a\n9 pad 2 up a\n", "tap"));
    RunTo(9);
    EXPECT_TRUE(form->DXInput.State(StateButton6));
    RunTo(10);
    EXPECT_FALSE(form->DXInput.State(StateButton6));
}
