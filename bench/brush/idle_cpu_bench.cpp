// Processor time of the main window's idle loop with nothing drawing, as a share of one core,
// before and after the rest: polling on every idle pass against resting until an event comes.
#include <benchmark/benchmark.h>

#include <QEventLoop>
#include <QTimer>
#include <ctime>

#include "app/headless_replay.h"

namespace {

double Seconds(clockid_t clock) {
    timespec t{};
    clock_gettime(clock, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

// Runs the event loop for the given wall time; returns the processor time it took.
double IdleCpuShare(int ms) {
    const double wall = Seconds(CLOCK_MONOTONIC);
    const double cpu = Seconds(CLOCK_PROCESS_CPUTIME_ID);
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
    return (Seconds(CLOCK_PROCESS_CPUTIME_ID) - cpu) / (Seconds(CLOCK_MONOTONIC) - wall);
}

void BM_IdleCpu(benchmark::State& state) {
    const bool rest = state.range(0) != 0;
    StrokeRecording nothing;
    HeadlessReplay replay(nothing);
    TDXTimer& timer = replay.Core().Timer1;
    if (!rest) timer.CanRest = nullptr;
    // The offscreen platform has no active window: tick as the focused program would.
    timer.SetActiveOnly(false);
    timer.SetEnabled(true);
    double share = 0;
    const long long ticksBefore = replay.Core().TickCount;
    for (auto _ : state) share = IdleCpuShare(500);
    state.counters["cpu_percent_of_a_core"] = 100.0 * share;
    state.counters["ticks"] = double(replay.Core().TickCount - ticksBefore);
    state.SetLabel(rest ? "resting until an event" : "polling every idle pass");
    timer.SetEnabled(false);
}
BENCHMARK(BM_IdleCpu)->Arg(0)->Arg(1)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
