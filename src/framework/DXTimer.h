#pragma once
// The frame timer: one OnTimer call per Interval while the application is active.
// It keeps the tick rule of a polled clock but lets the caller sleep until the next tick is due.

#include <cstdint>
#include <functional>

#include "platform/Platform.h"

namespace vorlanex {

class TDXTimer
{
public:
    explicit TDXTimer(Clock& clock) : clock(clock) {}

    bool ActiveOnly = true;
    std::function<void(TDXTimer&, std::int32_t LagCount)> OnTimer;
    std::function<void(TDXTimer&)> OnActivate, OnDeactivate;

    bool Enabled() const { return enabled; }
    void SetEnabled(bool value);
    std::int32_t Interval() const { return interval; }
    void SetInterval(std::int32_t value);

    // The form has been loaded; appActive tells whether the application is active now.
    void Loaded(bool appActive);
    void AppActivated();
    void AppDeactivated();

    // One pass of idle processing: ticks when an Interval has passed. True when OnTimer was called.
    bool Idle();
    // A tick now, whatever the clock says (unpaced runs): LagCount 1. False when the timer is not running.
    bool TickNow();
    // Milliseconds until the next tick is due (0 when due now); -1 when the timer is not running.
    std::int64_t MsUntilNextTick();

    bool Running() const { return running; }
    std::int32_t FrameRate() const { return frameRate; }
    std::uint32_t LastTick() const { return lastTick; }

private:
    void Start();
    void Stop() { running = false; }

    Clock& clock;
    bool enabled = true;
    bool appActive = false;
    bool loaded = false;
    std::int32_t interval = 1000;
    std::int32_t minInterval = 1000;
    std::uint32_t lastTick = 0;
    std::uint32_t rateStart = 0;
    std::int32_t rateFrames = 0;
    std::int32_t frameRate = 0;
    bool running = false;
};

}  // namespace vorlanex
