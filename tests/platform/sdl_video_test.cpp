#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>

#include "platform/sdl2/SdlPlatform.h"

namespace vorlanex {
namespace {

// The SDL tests run on the virtual video driver; ctest sets it too, this covers running the binary by hand.
class SdlVideoTest : public testing::Test
{
protected:
    void SetUp() override { setenv("SDL_VIDEODRIVER", "dummy", 0); }
};

TEST_F(SdlVideoTest, OpensPresentsTogglesAndReopens)
{
    auto video = MakeSdlVideo();
    EXPECT_FALSE(video->IsOpen());
    video->Open(1024, 768, true);
    ASSERT_TRUE(video->IsOpen());
    EXPECT_TRUE(video->IsWindowed());
    video->SetCaption("Vorlanex");
    std::vector<std::uint16_t> frame(1024 * 768, 0xFFE0);
    video->Present(frame.data(), 1024, 768, 1024);
    video->Present(frame.data(), 640, 480, 1024);   // a smaller frame fills what it covers
    EXPECT_THROW(video->Present(frame.data(), 1024, 768, 512), std::invalid_argument);
    video->ToggleFullscreen();
    video->Close();
    EXPECT_FALSE(video->IsOpen());
    video->Present(frame.data(), 1024, 768, 1024);   // closed: nothing happens
    video->Open(1024, 768, false);
    EXPECT_TRUE(video->IsOpen());
    EXPECT_FALSE(video->IsWindowed());
}

TEST_F(SdlVideoTest, InputWithAVirtualWindowCountsAsFocusedAndIdle)
{
    auto video = MakeSdlVideo();
    video->Open(1024, 768, true);
    auto events = MakeSdlEvents(video.get());
    InputEvent event;
    while (events->Poll(event))
        EXPECT_NE(event.kind, EventKind::Quit);
    EXPECT_TRUE(events->HasFocus());
    std::uint8_t keys[256];
    std::fill(keys, keys + 256, std::uint8_t(0xFF));
    events->ReadKeyboard(keys);
    EXPECT_TRUE(std::all_of(keys, keys + 256, [](std::uint8_t k) { return k == 0; }));
    int x = -1, y = -1;
    events->MousePosition(x, y);
    EXPECT_TRUE(x >= 0 && x <= 1024 && y >= 0 && y <= 768) << x << "," << y;
}

TEST_F(SdlVideoTest, TerminationSignalArrivesAsQuit)
{
    auto events = MakeSdlEvents(nullptr);
    EXPECT_TRUE(events->HasFocus());
    std::raise(SIGTERM);
    InputEvent event;
    bool quit = false;
    while (events->Poll(event))
        quit = quit || event.kind == EventKind::Quit;
    EXPECT_TRUE(quit);
}

TEST_F(SdlVideoTest, MissingDisplayIsAnErrorNotACrash)
{
    const char* saved = std::getenv("SDL_VIDEODRIVER");
    const std::string previous = saved ? saved : "";
    setenv("SDL_VIDEODRIVER", "no-such-driver", 1);
    auto video = MakeSdlVideo();
    EXPECT_THROW(video->Open(1024, 768, true), std::runtime_error);
    EXPECT_FALSE(video->IsOpen());
    setenv("SDL_VIDEODRIVER", previous.empty() ? "dummy" : previous.c_str(), 1);
}

TEST_F(SdlVideoTest, SystemReportsToStderrWithoutBlocking)
{
    auto video = MakeSdlVideo();
    video->Open(1024, 768, true);
    auto system = MakeSdlSystem(video.get());
    testing::internal::CaptureStderr();
    system->ReportError("Wave 'Fire' not found");
    system->Beep();
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Wave 'Fire' not found\n\a");
}

TEST(SdlClock, AdvancesAtLeastBySleeps)
{
    auto clock = MakeSdlClock();
    const std::uint32_t start = clock->NowMs();
    clock->SleepMs(15);
    EXPECT_GE(clock->NowMs() - start, 15u);
}

}  // namespace
}  // namespace vorlanex
