#include "app/dx_timer.h"

#include <QGuiApplication>
#include <algorithm>

#include "platform/clock.h"

TDXTimer::TDXTimer(QObject* parent, bool enabled) : QObject(parent) {
    idle_.setInterval(0);
    connect(&idle_, &QTimer::timeout, this, &TDXTimer::IdlePass);
    if (auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        connect(app, &QGuiApplication::applicationStateChanged, this,
                [this](Qt::ApplicationState state) {
                    if (state == Qt::ApplicationActive)
                        ApplicationActivated();
                    else
                        ApplicationDeactivated();
                });
    }
    if (QCoreApplication* app = QCoreApplication::instance()) app->installEventFilter(this);
    SetEnabled(enabled);
}

TDXTimer::~TDXTimer() {
    Disable();
}

bool TDXTimer::ApplicationActive() {
    auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
    return app && QGuiApplication::applicationState() == Qt::ApplicationActive;
}

void TDXTimer::SetEnabled(bool value) {
    if (value == enabled_) return;
    enabled_ = value;
    if (enabled_)
        Enable();
    else
        Disable();
}

void TDXTimer::SetInterval(int value) {
    interval_ = std::max(value, 0);
    divisor_ = std::max(value, 1);
}

void TDXTimer::SetActiveOnly(bool value) {
    activeOnly_ = value;
    if (!hooked_) return;
    // Run exactly when the new setting allows it; an active application keeps its ticks.
    if (activeOnly_ && !ApplicationActive())
        idle_.stop();
    else if (!idle_.isActive())
        InstallIdle();
}

void TDXTimer::InstallIdle() {
    resting_ = false;
    previousTick_ = TimeGetTime();
    idle_.start();
}

// The previous tick's time is kept, so the lag after a rest counts the time rested.
void TDXTimer::Wake() {
    if (!resting_) return;
    resting_ = false;
    if (hooked_ && (!activeOnly_ || ApplicationActive())) idle_.start();
}

bool TDXTimer::eventFilter(QObject* watched, QEvent*) {
    if (resting_ && watched != &idle_) Wake();
    return false;
}

void TDXTimer::Enable() {
    idle_.stop();
    if (!activeOnly_ || ApplicationActive()) InstallIdle();
    hooked_ = true;
}

void TDXTimer::Disable() {
    if (!hooked_) return;
    idle_.stop();
    resting_ = false;
    hooked_ = false;
}

void TDXTimer::ApplicationActivated() {
    if (OnActivate) OnActivate(this);
    if (hooked_ && activeOnly_) InstallIdle();
}

void TDXTimer::ApplicationDeactivated() {
    if (OnDeactivate) OnDeactivate(this);
    if (hooked_ && activeOnly_) {
        idle_.stop();
        resting_ = false;
    }
}

void TDXTimer::IdlePass() {
    const std::uint32_t now = TimeGetTime();
    const std::uint32_t elapsed = now - previousTick_;
    if (elapsed < static_cast<std::uint32_t>(interval_)) return;
    const int lag = std::max(static_cast<int>(elapsed / static_cast<std::uint32_t>(divisor_)), 1);
    previousTick_ = now;
    if (OnTimer) OnTimer(this, lag);
    if (CanRest && hooked_ && idle_.isActive() && CanRest()) {
        idle_.stop();
        resting_ = true;
    }
}
