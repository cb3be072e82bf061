#include "platform/null/NullPlatform.h"

#include <iostream>
#include <thread>

namespace vorlanex {

std::uint32_t SteadyClock::NowMs()
{
    const auto elapsed = std::chrono::steady_clock::now() - start;
    return std::uint32_t(std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count());
}

void SteadyClock::SleepMs(std::uint32_t ms)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

void RecordingSystem::ReportError(const std::string& utf8)
{
    errors.push_back(utf8);
    if (errors.size() > ErrorsKept)
        errors.pop_front();
    if (echo)
        std::cerr << utf8 << '\n';
}

Platform MakeNullPlatform(NullPlatformParts* parts)
{
    auto video = std::make_unique<MemoryVideo>();
    auto events = std::make_unique<ScriptedEvents>();
    auto clock = std::make_unique<ManualClock>();
    auto text = std::make_unique<NullText>();
    auto system = std::make_unique<RecordingSystem>();
    if (parts)
        *parts = {video.get(), events.get(), clock.get(), text.get(), system.get()};
    Platform platform;
    platform.video = std::move(video);
    platform.events = std::move(events);
    platform.clock = std::move(clock);
    platform.text = std::move(text);
    platform.system = std::move(system);
    return platform;
}

}  // namespace vorlanex
