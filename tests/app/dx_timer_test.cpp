// The idle-driven timer: lag counts, enabling and disabling, activation.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>

#include "app/dx_timer.h"

namespace {

// Runs the event loop for about ms milliseconds.
void Spin(int ms) {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

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
    TDXTimer t(nullptr, false);
    t.SetActiveOnly(false);
    t.SetInterval(20);
    int ticks = 0, lastLag = 0;
    t.OnTimer = [&](TDXTimer*, int lag) { ++ticks, lastLag = lag; };
    t.SetEnabled(true);
    t.IdlePass();
    EXPECT_EQ(ticks, 0);
    Spin(45);
    EXPECT_GE(ticks, 1);
    EXPECT_LE(ticks, 3);
    EXPECT_GE(lastLag, 1);
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
    Spin(30);
    EXPECT_GT(ticks, 5);
    t.SetEnabled(false);
    const int stopped = ticks;
    Spin(20);
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
    Spin(20);
    EXPECT_GT(ticks, 0);

    t.ApplicationDeactivated();
    EXPECT_EQ(deactivations, 1);
    EXPECT_TRUE(t.HookInstalled());
    const int before = ticks;
    Spin(20);
    EXPECT_EQ(ticks, before);

    t.ApplicationActivated();
    EXPECT_EQ(activations, 2);
    Spin(20);
    EXPECT_GT(ticks, before);
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
    Spin(10);
    EXPECT_GT(ticks, 1);
    idle = true;
    Spin(10);
    EXPECT_TRUE(t.Resting());
    EXPECT_FALSE(t.IdleRunning());
    const int atRest = ticks;
    Spin(30);
    EXPECT_EQ(ticks, atRest);
    // Any event to any object ends the rest; the next pass ticks again.
    QObject receiver;
    QCoreApplication::postEvent(&receiver, new QEvent(QEvent::User));
    Spin(10);
    EXPECT_GT(ticks, atRest);
    EXPECT_TRUE(t.HookInstalled());
}
