#include <gtest/gtest.h>

#include "platform/null/NullPlatform.h"

namespace vorlanex {
namespace {

TEST(NullPlatform, FactoryHandsOutWorkingPartsWithoutAudio)
{
    NullPlatformParts parts;
    Platform platform = MakeNullPlatform(&parts);
    ASSERT_TRUE(platform.video && platform.events && platform.clock && platform.text && platform.system);
    EXPECT_FALSE(platform.makeAudio);
    EXPECT_EQ(parts.video, platform.video.get());
    EXPECT_EQ(parts.clock, platform.clock.get());
    platform.clock->SleepMs(33);
    EXPECT_EQ(parts.clock->now, 33u);
    platform.system->Beep();
    platform.system->ReportError("Wave 'x' not found");
    EXPECT_EQ(parts.system->BeepCount(), 1);
    ASSERT_EQ(parts.system->Errors().size(), 1u);
    EXPECT_EQ(parts.system->Errors().front(), "Wave 'x' not found");
}

TEST(MemoryVideo, KeepsTheLastPresentedFrameOnlyWhileOpen)
{
    MemoryVideo video;
    std::vector<std::uint16_t> frame(4 * 3, 0);
    frame[1 * 4 + 2] = 0xF800;
    video.Present(frame.data(), 3, 3, 4);
    EXPECT_EQ(video.PresentCount(), 0);   // closed: nothing shown

    video.SetCaption("Vorlanex");
    video.Open(1024, 768, true);
    EXPECT_TRUE(video.IsOpen() && video.IsWindowed());
    video.Present(frame.data(), 3, 3, 4);   // pitch wider than the frame
    EXPECT_EQ(video.PresentCount(), 1);
    EXPECT_EQ(video.FrameWidth(), 3);
    EXPECT_EQ(video.LastFrame().size(), 9u);
    EXPECT_EQ(video.FramePixel(2, 1), 0xF800);
    EXPECT_EQ(video.FramePixel(3, 1), 0);   // outside the frame
    frame[1 * 4 + 2] = 0;                   // the kept frame is a copy
    EXPECT_EQ(video.FramePixel(2, 1), 0xF800);
    video.ToggleFullscreen();
    EXPECT_FALSE(video.IsWindowed());
    EXPECT_EQ(video.Caption(), "Vorlanex");
    EXPECT_THROW(video.Present(frame.data(), 5, 3, 4), std::invalid_argument);
}

TEST(MemoryVideo, CanPretendThereIsNoDisplay)
{
    MemoryVideo video;
    video.SetFailOpen(true);
    EXPECT_THROW(video.Open(1024, 768, false), std::runtime_error);
    EXPECT_FALSE(video.IsOpen());
    video.SetFailOpen(false);
    video.Open(1024, 768, false);
    EXPECT_TRUE(video.IsOpen());
    video.Close();
    EXPECT_FALSE(video.IsOpen());
}

TEST(ScriptedEvents, QueueKeyboardMouseAndFocus)
{
    ScriptedEvents events;
    InputEvent in;
    in.kind = EventKind::KeyDown;
    in.key = 0x70;
    events.Push(in);
    in.kind = EventKind::Quit;
    events.Push(in);
    InputEvent out;
    ASSERT_TRUE(events.Poll(out));
    EXPECT_EQ(out.kind, EventKind::KeyDown);
    EXPECT_EQ(out.key, 0x70);
    ASSERT_TRUE(events.Poll(out));
    EXPECT_EQ(out.kind, EventKind::Quit);
    EXPECT_FALSE(events.Poll(out));

    events.SetMousePosition(448, 344);
    int x = 0, y = 0;
    events.MousePosition(x, y);
    EXPECT_EQ(std::make_pair(x, y), std::make_pair(448, 344));
    EXPECT_TRUE(events.HasFocus());
    events.SetFocus(false);
    EXPECT_FALSE(events.HasFocus());
}

TEST(ScriptedEvents, SidedModifiersKeepTheGenericCodeWhileEitherSideIsDown)
{
    ScriptedEvents events;
    std::uint8_t keys[256];
    events.PressKey(0xA0);   // left Shift
    events.PressKey(0xA1);   // right Shift
    events.PressKey(0x20);
    events.PressKey(0);      // ignored
    events.PressKey(300);    // ignored
    events.ReleaseKey(0xA0);
    events.ReadKeyboard(keys);
    EXPECT_EQ(keys[0x10], 0x80);
    EXPECT_EQ(keys[0xA0], 0);
    EXPECT_EQ(keys[0x20], 0x80);
    events.ReleaseKey(0xA1);
    events.ReadKeyboard(keys);
    EXPECT_EQ(keys[0x10], 0);
    int down = 0;
    for (int vk = 0; vk < 256; ++vk)
        down += keys[vk] != 0;
    EXPECT_EQ(down, 1);
    events.ReleaseAllKeys();
    EXPECT_FALSE(events.IsKeyDown(0x20));
}

// Glyph boxes land where the fixed metrics say, in the text colour, and stop at the target's edges.
TEST(NullText, MetricsAndBoxesArePredictable)
{
    NullText text;
    text.SetFont("宋体", 12);
    EXPECT_EQ(text.Family(), "宋体");
    int w = 0, h = 0;
    text.Measure("F1：关", w, h);
    EXPECT_EQ(w, 8 + 8 + 16 + 16);
    EXPECT_EQ(h, 16);

    std::vector<std::uint16_t> pixels(40 * 20, 0);
    const PixelView view{pixels.data(), 40, 20, 40};
    text.Draw(view, 30, 10, "a 敌", 255, 255, 0);
    const std::uint16_t yellow = 0xFFE0;
    auto at = [&](int x, int y) { return pixels[std::size_t(y) * 40 + std::size_t(x)]; };
    EXPECT_EQ(at(31, 12), yellow);   // 'a' box starts at (+1, +2)
    EXPECT_EQ(at(36, 19), yellow);
    EXPECT_EQ(at(30, 12), 0);
    EXPECT_EQ(at(37, 12), 0);
    int painted = 0;
    for (std::uint16_t p : pixels)
        painted += p == yellow;
    EXPECT_EQ(painted, 6 * 8);   // the wide glyph lies past the right edge; the 'a' is cut at the bottom
    text.Draw(view, -1000000, 5, "far away", 255, 0, 0);
    text.Draw(PixelView{}, 0, 0, "no target", 255, 0, 0);
    EXPECT_EQ(text.Drawn().size(), 3u);
}

}  // namespace
}  // namespace vorlanex
