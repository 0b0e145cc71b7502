#pragma once
// SIGTERM and SIGHUP, handled on the user-interface thread. The handler itself only writes the
// signal's number into a pipe (which is all a signal handler may safely do); a notifier on the
// pipe's other end runs the program's own handling between events, where the document is whole.
#include <QObject>
#include <functional>

class QSocketNotifier;

class TerminationSignals {
  public:
    // Catches both signals until destroyed. Only one instance at a time.
    explicit TerminationSignals(std::function<void(int signal)> handler);
    TerminationSignals(const TerminationSignals&) = delete;
    TerminationSignals& operator=(const TerminationSignals&) = delete;
    ~TerminationSignals();

    // Ends the process as the signal would have ended it without a handler.
    [[noreturn]] static void EndAs(int signal);

  private:
    void Read();

    std::function<void(int)> handler_;
    QSocketNotifier* notifier_ = nullptr;
};
