#include "document/recovery_writer.h"

#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <new>
#include <utility>

#include "platform/runtime_errors.h"

namespace {

// A thread's own niceness (Linux gives each thread one).
constexpr int kWriterNiceness = 10;

RecoveryWriter::Outcome WriteCopy(const QString& path, const RecoveryContent& content,
                                  const std::atomic<bool>& cancel) {
    RecoveryWriter::Outcome outcome;
    try {
        WriteRecoveryCopy(path, content, &cancel);
        outcome.written = true;
    } catch (const RecoveryCopyCancelled&) {
        outcome.cancelled = true;
    } catch (const UserError& e) {
        outcome.error = e.Text();
    } catch (const std::bad_alloc&) {
        outcome.error = OutOfMemoryError().Text();
    }
    return outcome;
}

}  // namespace

RecoveryWriter::~RecoveryWriter() {
    Cancel();
}

void RecoveryWriter::Start(const QString& path, RecoveryContent&& content) {
    cancel_ = false;
    const unsigned job = ++job_;
    thread_ = std::thread([this, job, path, content = std::move(content)]() mutable {
        // Behind the user-interface thread when both want the processor.
        setpriority(PRIO_PROCESS, id_t(syscall(SYS_gettid)), kWriterNiceness);
        outcome_ = WriteCopy(path, content, cancel_);
        // The pictures go back to their owner before it hears of the end: a write to a layer
        // after that needs no copy.
        content = RecoveryContent();
        QMetaObject::invokeMethod(
            &context_,
            [this, job] {
                if (job == job_) Join();
            },
            Qt::QueuedConnection);
    });
}

void RecoveryWriter::Cancel() {
    if (!thread_.joinable()) return;
    cancel_ = true;
    ++job_;
    thread_.join();
}

void RecoveryWriter::Wait() {
    if (!thread_.joinable()) return;
    ++job_;
    Join();
}

void RecoveryWriter::Join() {
    thread_.join();
    if (!outcome_.cancelled && OnFinished) OnFinished(outcome_.written, outcome_.error);
}
