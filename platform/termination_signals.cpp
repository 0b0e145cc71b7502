#include "platform/termination_signals.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <cerrno>
#include <cstdlib>

namespace {

int g_pipe[2] = {-1, -1};
// A second signal while the first is still being handled ends the program at once: the
// user-interface thread may be stuck.
volatile sig_atomic_t g_pending = 0;

extern "C" void OnSignal(int signal) {
    if (g_pending) {
        ::signal(signal, SIG_DFL);
        raise(signal);
        return;
    }
    g_pending = 1;
    const int saved = errno;
    const unsigned char byte = static_cast<unsigned char>(signal);
    [[maybe_unused]] const ssize_t written = write(g_pipe[1], &byte, 1);
    errno = saved;
}

const int kSignals[] = {SIGTERM, SIGHUP};

}  // namespace

TerminationSignals::TerminationSignals(std::function<void(int)> handler)
    : handler_(std::move(handler)) {
    if (pipe2(g_pipe, O_CLOEXEC | O_NONBLOCK) != 0) return;
    notifier_ = new QSocketNotifier(g_pipe[0], QSocketNotifier::Read);
    QObject::connect(notifier_, &QSocketNotifier::activated, [this] { Read(); });
    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signal : kSignals) sigaction(signal, &action, nullptr);
}

TerminationSignals::~TerminationSignals() {
    for (int signal : kSignals) ::signal(signal, SIG_DFL);
    delete notifier_;
    for (int& fd : g_pipe) {
        if (fd >= 0) close(fd);
        fd = -1;
    }
    g_pending = 0;
}

void TerminationSignals::Read() {
    unsigned char byte = 0;
    if (read(g_pipe[0], &byte, 1) != 1) return;
    if (handler_) handler_(byte);
}

void TerminationSignals::EndAs(int signal) {
    ::signal(signal, SIG_DFL);
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, signal);
    sigprocmask(SIG_UNBLOCK, &set, nullptr);
    raise(signal);
    // Not reached for the signals we take; should one be ignored, we still end.
    std::_Exit(128 + signal);
}
