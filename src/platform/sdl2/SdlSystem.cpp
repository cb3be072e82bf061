#include <SDL.h>

#include <cstdio>
#include <stdexcept>

#include "platform/sdl2/SdlPlatform.h"
#include "platform/sdl2/SdlVideo.h"

namespace vorlanex {

namespace {

class SdlClock final : public Clock
{
public:
    SdlClock()
    {
        if (SDL_InitSubSystem(SDL_INIT_TIMER) != 0)
            throw std::runtime_error(std::string("Cannot start the timer: ") + SDL_GetError());
    }
    ~SdlClock() override { SDL_QuitSubSystem(SDL_INIT_TIMER); }
    SdlClock(const SdlClock&) = delete;
    SdlClock& operator=(const SdlClock&) = delete;

    std::uint32_t NowMs() override { return SDL_GetTicks(); }
    void SleepMs(std::uint32_t ms) override { SDL_Delay(ms); }
};

class SdlSystem final : public System
{
public:
    explicit SdlSystem(Video* video) : video(dynamic_cast<SdlVideo*>(video)) {}

    // There is no portable speaker beep; the terminal bell is the nearest thing.
    void Beep() override
    {
        std::fputc('\a', stderr);
        std::fflush(stderr);
    }

    void ReportError(const std::string& utf8) override
    {
        std::fprintf(stderr, "%s\n", utf8.c_str());
        std::fflush(stderr);
        // A message box is modal, which suits an error; a run without a window must never wait for one.
        if (video && video->IsOpen() && !IsVirtualVideoDriver())
            SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, "Vorlanex", utf8.c_str(), video->Window());
    }

private:
    SdlVideo* video;
};

}  // namespace

std::unique_ptr<Clock> MakeSdlClock()
{
    return std::make_unique<SdlClock>();
}

std::unique_ptr<System> MakeSdlSystem(Video* video)
{
    return std::make_unique<SdlSystem>(video);
}

}  // namespace vorlanex
