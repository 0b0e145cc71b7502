#pragma once
// Writes recovery copies on a thread of its own, so that compressing and writing hundreds of
// megabytes never holds up a tick.
//
// The program runs on one thread; this is the one exception, and it is kept narrow: the thread
// is given a RecoveryContent that it alone owns from then on (plain values and pictures shared
// copy-on-write, which their owner never writes in place while shared) and a path, and it
// touches nothing else: no widget, no state of the program, no settings. What it did comes
// back to the user-interface thread as a queued call.
#include <QObject>
#include <atomic>
#include <functional>
#include <thread>

#include "document/recovery_copy.h"

class RecoveryWriter {
  public:
    RecoveryWriter() = default;
    RecoveryWriter(const RecoveryWriter&) = delete;
    RecoveryWriter& operator=(const RecoveryWriter&) = delete;
    // Cancels a copy still being written and waits for its thread.
    ~RecoveryWriter();

    bool Busy() const { return thread_.joinable(); }
    // Starts writing content to path. Must not be busy.
    void Start(const QString& path, RecoveryContent&& content);
    // Stops the copy being written (its temporary file goes, the previous copy stays) and
    // waits for the thread. OnFinished is not called for it.
    void Cancel();
    // Waits until the copy being written is done; OnFinished is called here, not later.
    void Wait();

    // On the user-interface thread, once a copy is done: written, or the error's text.
    std::function<void(bool written, const QString& error)> OnFinished;

    // What the thread did, read once it has ended.
    struct Outcome {
        bool written = false;
        bool cancelled = false;
        QString error;
    };

  private:
    void Join();

    QObject context_;
    Outcome outcome_;
    std::thread thread_;
    std::atomic<bool> cancel_{false};
    // Bumped by each start, Cancel and Wait, so that the queued report of a copy already
    // handled is dropped.
    unsigned job_ = 0;
};
