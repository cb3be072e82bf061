#include <gtest/gtest.h>

#include <vector>

#include "framework/DXTimer.h"
#include "platform/null/NullPlatform.h"

using namespace vorlanex;

namespace {

struct TimerRig
{
    ManualClock clock;
    TDXTimer timer{clock};
    std::vector<std::int32_t> lags;

    explicit TimerRig(int interval = 33, bool active = true)
    {
        timer.SetInterval(interval);
        timer.OnTimer = [this](TDXTimer&, std::int32_t lag) { lags.push_back(lag); };
        timer.Loaded(active);
    }
    bool At(std::uint32_t ms)
    {
        clock.now = ms;
        return timer.Idle();
    }
};

}  // namespace

TEST(FrameTimer, TicksOnceAnIntervalHasPassedMeasuredFromTheLastTick)
{
    TimerRig rig;
    EXPECT_FALSE(rig.At(32));
    EXPECT_TRUE(rig.At(33));
    EXPECT_FALSE(rig.At(65));          // 32 ms after the tick at 33
    EXPECT_TRUE(rig.At(33 + 70));      // late: lag 2, no catching up
    EXPECT_TRUE(rig.At(103 + 33));
    EXPECT_EQ(rig.lags, (std::vector<std::int32_t>{1, 2, 1}));
    EXPECT_EQ(rig.timer.MsUntilNextTick(), 33);
}

TEST(FrameTimer, ZeroIntervalTicksEveryIdlePassWithLagAtLeastOne)
{
    TimerRig rig(0);
    EXPECT_TRUE(rig.At(0));
    EXPECT_TRUE(rig.At(0));
    EXPECT_TRUE(rig.At(5));
    EXPECT_EQ(rig.lags, (std::vector<std::int32_t>{1, 1, 5}));
}

TEST(FrameTimer, ClockWrapAroundIsHarmless)
{
    TimerRig rig;
    rig.At(0xFFFFFFF0u);
    rig.timer.SetEnabled(false);
    rig.timer.SetEnabled(true);   // restarts from the current time stamp
    EXPECT_FALSE(rig.At(0xFFFFFFF0u + 20));
    EXPECT_TRUE(rig.At(0xFFFFFFF0u + 40));   // wrapped past zero
    EXPECT_EQ(rig.lags.back(), 1);
}

TEST(FrameTimer, PausesWhileInactiveAndResumesAWholeIntervalAfterReactivation)
{
    TimerRig rig;
    int activations = 0, deactivations = 0;
    rig.timer.OnActivate = [&](TDXTimer&) { ++activations; };
    rig.timer.OnDeactivate = [&](TDXTimer&) { ++deactivations; };
    rig.At(33);
    rig.timer.AppDeactivated();
    EXPECT_FALSE(rig.timer.Running());
    EXPECT_FALSE(rig.At(5000));
    EXPECT_EQ(rig.timer.MsUntilNextTick(), -1);
    rig.clock.now = 10033;
    rig.timer.AppActivated();
    EXPECT_FALSE(rig.At(10033 + 32));
    EXPECT_TRUE(rig.At(10033 + 33));
    EXPECT_EQ(rig.lags.back(), 1);
    EXPECT_EQ(activations, 1);
    EXPECT_EQ(deactivations, 1);
}

TEST(FrameTimer, NotActiveOnlyKeepsTickingInTheBackground)
{
    TimerRig rig;
    rig.timer.ActiveOnly = false;
    rig.timer.AppDeactivated();
    EXPECT_TRUE(rig.At(33));
}

TEST(FrameTimer, StartsOnlyWhenLoadedActiveAndEnabled)
{
    TimerRig inactive(33, false);
    EXPECT_FALSE(inactive.timer.Running());
    inactive.timer.AppActivated();
    EXPECT_TRUE(inactive.timer.Running());

    TimerRig rig;
    rig.timer.SetEnabled(false);
    EXPECT_FALSE(rig.At(100));
    rig.clock.now = 100;
    rig.timer.SetEnabled(true);
    EXPECT_FALSE(rig.At(132));
    EXPECT_TRUE(rig.At(133));
}

TEST(FrameTimer, IntervalSetterClampsAndTickNowForcesOneFrame)
{
    TimerRig rig;
    rig.timer.SetInterval(-5);
    EXPECT_EQ(rig.timer.Interval(), 0);
    EXPECT_TRUE(rig.timer.TickNow());
    EXPECT_EQ(rig.lags.back(), 1);
    rig.timer.SetEnabled(false);
    EXPECT_FALSE(rig.timer.TickNow());
}

TEST(FrameTimer, FrameRateIsMeasuredOverWindowsOfASecond)
{
    TimerRig rig(100);
    for (std::uint32_t t = 100; t <= 1000; t += 100)
        rig.At(t);
    EXPECT_EQ(rig.timer.FrameRate(), 10);
}
