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
    previousTick_ = TimeGetTime();
    idle_.start();
}

void TDXTimer::Enable() {
    idle_.stop();
    if (!activeOnly_ || ApplicationActive()) InstallIdle();
    hooked_ = true;
}

void TDXTimer::Disable() {
    if (!hooked_) return;
    idle_.stop();
    hooked_ = false;
}

void TDXTimer::ApplicationActivated() {
    if (OnActivate) OnActivate(this);
    if (hooked_ && activeOnly_) InstallIdle();
}

void TDXTimer::ApplicationDeactivated() {
    if (OnDeactivate) OnDeactivate(this);
    if (hooked_ && activeOnly_) idle_.stop();
}

void TDXTimer::IdlePass() {
    const std::uint32_t now = TimeGetTime();
    const std::uint32_t elapsed = now - previousTick_;
    if (elapsed < static_cast<std::uint32_t>(interval_)) return;
    const int lag = std::max(static_cast<int>(elapsed / static_cast<std::uint32_t>(divisor_)), 1);
    previousTick_ = now;
    if (OnTimer) OnTimer(this, lag);
}
