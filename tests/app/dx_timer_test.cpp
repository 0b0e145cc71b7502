// The idle-driven timer: lag counts, enabling and disabling, activation.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <functional>

#include "app/dx_timer.h"
#include "platform/clock.h"

namespace {

// Runs the event loop pass by pass, as often as given or until the condition holds; true when
// it holds. Counted in passes, not in time: the idle timer works by passes.
bool RunPasses(int passes, const std::function<bool()>& until = {}) {
    for (int i = 0; i < passes; ++i) {
        if (until && until()) return true;
        QCoreApplication::processEvents();
    }
    return until && until();
}

// A clock that stands still until a test moves it.
std::uint32_t fakeNow = 1000;
std::uint32_t FakeClock() {
    return fakeNow;
}
struct FakeClockInUse {
    FakeClockInUse() { OverrideTimeGetTime(&FakeClock); }
    ~FakeClockInUse() { OverrideTimeGetTime(nullptr); }
};

}  // namespace

TEST(TDXTimer, FreshTimerHasTheComponentDefaults) {
    TDXTimer t;
    EXPECT_TRUE(t.Enabled());
    EXPECT_TRUE(t.ActiveOnly());
    EXPECT_EQ(t.Interval(), 1000);
    EXPECT_TRUE(t.HookInstalled());
}

TEST(TDXTimer, IntervalIsNeverNegative) {
    TDXTimer t(nullptr, false);
    t.SetInterval(-5);
    EXPECT_EQ(t.Interval(), 0);
}

TEST(TDXTimer, LagCountIsAtLeastOneEvenWithinTheSameMillisecond) {
    TDXTimer t(nullptr, false);
    t.SetInterval(0);
    std::vector<int> lags;
    t.OnTimer = [&](TDXTimer*, int lag) { lags.push_back(lag); };
    t.SetEnabled(true);
    for (int i = 0; i < 50; ++i) t.IdlePass();
    ASSERT_EQ(lags.size(), 50u);
    for (int lag : lags) EXPECT_GE(lag, 1);
}

TEST(TDXTimer, IntervalHoldsTicksBackAndLagCountsWholeIntervals) {
    const FakeClockInUse clock;
    TDXTimer t(nullptr, false);
    t.SetActiveOnly(false);
    t.SetInterval(20);
    int ticks = 0, lastLag = 0;
    t.OnTimer = [&](TDXTimer*, int lag) { ++ticks, lastLag = lag; };
    t.SetEnabled(true);
    t.IdlePass();
    fakeNow += 19;
    t.IdlePass();
    EXPECT_EQ(ticks, 0);
    fakeNow += 1;
    t.IdlePass();
    EXPECT_EQ(ticks, 1);
    EXPECT_EQ(lastLag, 1);
    fakeNow += 45;  // two whole intervals and a part
    t.IdlePass();
    EXPECT_EQ(ticks, 2);
    EXPECT_EQ(lastLag, 2);
    t.IdlePass();  // no time has passed since
    EXPECT_EQ(ticks, 2);
}

TEST(TDXTimer, DisablingTwiceDoesNothingMore) {
    TDXTimer t(nullptr, false);
    t.SetActiveOnly(false);
    t.SetEnabled(true);
    EXPECT_TRUE(t.IdleRunning());
    t.SetEnabled(false);
    EXPECT_FALSE(t.HookInstalled());
    t.SetEnabled(false);
    EXPECT_FALSE(t.HookInstalled());
    EXPECT_FALSE(t.IdleRunning());
}

TEST(TDXTimer, RunsOnEveryIdlePassWhileEnabled) {
    TDXTimer t(nullptr, false);
    t.SetActiveOnly(false);
    t.SetInterval(0);
    int ticks = 0;
    t.OnTimer = [&](TDXTimer*, int) { ++ticks; };
    t.SetEnabled(true);
    EXPECT_TRUE(RunPasses(1000, [&] { return ticks > 5; }));
    t.SetEnabled(false);
    const int stopped = ticks;
    RunPasses(100);
    EXPECT_EQ(ticks, stopped);
}

TEST(TDXTimer, DeactivationStopsAndActivationResumesTicks) {
    TDXTimer t(nullptr, false);
    t.SetInterval(0);
    int ticks = 0, activations = 0, deactivations = 0;
    t.OnTimer = [&](TDXTimer*, int) { ++ticks; };
    t.OnActivate = [&](TDXTimer*) { ++activations; };
    t.OnDeactivate = [&](TDXTimer*) { ++deactivations; };
    t.SetEnabled(true);
    t.ApplicationActivated();
    EXPECT_TRUE(RunPasses(1000, [&] { return ticks > 0; }));

    t.ApplicationDeactivated();
    EXPECT_EQ(deactivations, 1);
    EXPECT_TRUE(t.HookInstalled());
    const int before = ticks;
    RunPasses(100);
    EXPECT_EQ(ticks, before);

    t.ApplicationActivated();
    EXPECT_EQ(activations, 2);
    EXPECT_TRUE(RunPasses(1000, [&] { return ticks > before; }));
}

TEST(TDXTimer, WithoutActiveOnlyDeactivationDoesNotStopIt) {
    TDXTimer t(nullptr, false);
    t.SetActiveOnly(false);
    t.SetInterval(0);
    t.SetEnabled(true);
    t.ApplicationDeactivated();
    EXPECT_TRUE(t.IdleRunning());
}

TEST(TDXTimer, DisabledTimerIgnoresActivation) {
    TDXTimer t(nullptr, false);
    t.ApplicationActivated();
    EXPECT_FALSE(t.IdleRunning());
}

// The loop rests after a tick that says nothing is left to do, and any event wakes it.
TEST(TDXTimer, RestsWhenNothingIsLeftAndWakesOnAnyEvent) {
    TDXTimer t(nullptr, false);
    t.SetActiveOnly(false);
    t.SetInterval(0);
    int ticks = 0;
    bool idle = false;
    t.OnTimer = [&](TDXTimer*, int) { ++ticks; };
    t.CanRest = [&] { return idle; };
    t.SetEnabled(true);
    EXPECT_TRUE(RunPasses(1000, [&] { return ticks > 1; }));
    idle = true;
    EXPECT_TRUE(RunPasses(1000, [&] { return t.Resting(); }));
    EXPECT_FALSE(t.IdleRunning());
    const int atRest = ticks;
    RunPasses(100);
    EXPECT_EQ(ticks, atRest);
    // Any event to any object ends the rest; the next pass ticks again.
    QObject receiver;
    QCoreApplication::postEvent(&receiver, new QEvent(QEvent::User));
    EXPECT_TRUE(RunPasses(1000, [&] { return ticks > atRest; }));
    EXPECT_TRUE(t.HookInstalled());
}
