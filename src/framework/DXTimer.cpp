#include "framework/DXTimer.h"

#include <algorithm>
#include <cmath>

namespace vorlanex {

void TDXTimer::SetEnabled(bool value)
{
    if (value == enabled)
        return;
    enabled = value;
    Stop();
    if (enabled && loaded && (!ActiveOnly || appActive))
        Start();
}

void TDXTimer::SetInterval(std::int32_t value)
{
    interval = std::max(value, 0);
    minInterval = std::max(value, 1);
}

void TDXTimer::Loaded(bool active)
{
    loaded = true;
    appActive = active;
    if (enabled && (!ActiveOnly || appActive))
        Start();
}

void TDXTimer::Start()
{
    lastTick = rateStart = clock.NowMs();
    running = true;
}

void TDXTimer::AppActivated()
{
    appActive = true;
    if (OnActivate)
        OnActivate(*this);
    // Both time stamps restart, so the first tick after a pause comes a whole interval later with lag 1.
    if (enabled && ActiveOnly && loaded)
        Start();
}

void TDXTimer::AppDeactivated()
{
    appActive = false;
    if (OnDeactivate)
        OnDeactivate(*this);
    if (enabled && ActiveOnly)
        Stop();
}

bool TDXTimer::Idle()
{
    if (!running)
        return false;
    const std::uint32_t now = clock.NowMs();
    const std::uint32_t elapsed = now - lastTick;   // unsigned: the clock's wrap-around is harmless
    if (elapsed < std::uint32_t(interval))
        return false;
    lastTick = now;
    const std::int32_t lagCount = std::int32_t(std::max<std::uint32_t>(elapsed / std::uint32_t(minInterval), 1));
    ++rateFrames;
    const std::uint32_t window = std::max<std::uint32_t>(now - rateStart, 1);
    if (window >= 1000)
    {
        frameRate = std::int32_t(std::lround(double(rateFrames) * 1000.0 / double(window)));
        rateFrames = 0;
        rateStart = now;
    }
    if (OnTimer)
        OnTimer(*this, lagCount);
    return true;
}

bool TDXTimer::TickNow()
{
    if (!running)
        return false;
    lastTick = clock.NowMs();
    ++rateFrames;
    if (OnTimer)
        OnTimer(*this, 1);
    return true;
}

std::int64_t TDXTimer::MsUntilNextTick()
{
    if (!running)
        return -1;
    const std::uint32_t elapsed = clock.NowMs() - lastTick;
    if (elapsed >= std::uint32_t(interval))
        return 0;
    return std::int64_t(std::uint32_t(interval) - elapsed);
}

}  // namespace vorlanex
