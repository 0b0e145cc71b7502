#pragma once
// TDXTimer: a timer that fires from the application's idle loop.
//
// While it runs, the event loop never sleeps: a zero-interval QTimer brings us back after
// every pass over pending events, and the handler runs whenever at least Interval ms have
// passed. With ActiveOnly it runs only while the application is the active one; the hook stays
// marked installed across deactivation, so ticks resume by themselves on activation.
//
// A painting program left alone must not hold a core busy: after a tick, when CanRest says
// that another tick would change nothing, the loop rests, and any event the application
// receives (input, a window shown or closed, a posted request, another timer) wakes it.
#include <QObject>
#include <QTimer>
#include <cstdint>
#include <functional>

class TDXTimer : public QObject {
    Q_OBJECT
  public:
    // A fresh timer is enabled with a 1000 ms interval, like a component dropped on a form;
    // pass false to create it disabled, as the main window does.
    explicit TDXTimer(QObject* parent = nullptr, bool enabled = true);
    ~TDXTimer() override;

    bool ActiveOnly() const { return activeOnly_; }
    void SetActiveOnly(bool value);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool value);
    int Interval() const { return interval_; }
    void SetInterval(int value);

    // The handler gets the whole intervals passed since the previous tick, at least 1.
    std::function<void(TDXTimer* sender, int lagCount)> OnTimer;
    std::function<void(TDXTimer* sender)> OnActivate;
    std::function<void(TDXTimer* sender)> OnDeactivate;
    // Asked after every tick: true when the next tick would provably change nothing.
    std::function<bool()> CanRest;

    // Resting until the next event, with the hook installed.
    bool Resting() const { return resting_; }
    // Ends a rest; the next idle pass ticks.
    void Wake();

    // Whether the hook is marked installed, and whether the idle callback actually runs.
    bool HookInstalled() const { return hooked_; }
    bool IdleRunning() const { return idle_.isActive(); }

    // The application's activation changes; connected to Qt's application state.
    void ApplicationActivated();
    void ApplicationDeactivated();
    // One pass of the idle loop.
    void IdlePass();

  private:
    void Enable();
    void Disable();
    void InstallIdle();
    static bool ApplicationActive();
    bool eventFilter(QObject* watched, QEvent* event) override;

    bool activeOnly_ = true;
    bool enabled_ = false;
    int interval_ = 1000;
    int divisor_ = 1000;
    bool hooked_ = false;
    bool resting_ = false;
    std::uint32_t previousTick_ = 0;
    QTimer idle_;
};
