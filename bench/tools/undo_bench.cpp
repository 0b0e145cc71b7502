// Undo and the snapshot pair of one stroke on a 4000 x 3000 picture, as ratios to one memcpy of
// the picture in the same run (counter "x_memcpy"). Both reuse their buffers, so after the first
// use they cost copies only, never the first touch of fresh memory.
#include <benchmark/benchmark.h>

#include <QTemporaryDir>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <memory>

#include "app/main_core.h"
#include "app/null_screen.h"
#include "platform/app_paths.h"

namespace {

constexpr int kWidth = 4000;
constexpr int kHeight = 3000;

// A 4000 x 3000 document with one drawn-on layer and an edit behind it, so that the layer,
// both snapshots and the paint surface hold pixels.
struct Document {
    Document() : core(screen) {
        AppPaths::OverrideExecutableDir(dir.path());
        core.FormCreate({}, dir.path());
        core.Timer1.SetEnabled(false);
        core.Image1.MakeWhite(kWidth, kHeight);
        core.Compositor.Reset(kWidth, kHeight);
        core.TakeBeforeSnapshot();
        core.Compositor.CurrentLayerImage().Fill(RgbColour(30, 60, 90));
        core.TakeAfterSnapshot();
        core.Compositor.CompositeRefresh();
        core.Button2Click();
        core.Button2Click();
    }
    QTemporaryDir dir;
    NullScreen screen;
    MainWindowCore core;
};

// The thread's processor time in seconds: the machine's other work does not count.
double ThreadSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

// Runs body and one memcpy of the picture in turns, so that both see the same conditions, and
// reports the body's time as a multiple of the memcpy's.
template <class Body>
void RunAgainstMemcpy(benchmark::State& state, const Bitmap& picture, Body body) {
    const std::size_t bytes = std::size_t(picture.Stride()) * picture.Height();
    std::unique_ptr<std::uint8_t[]> target(new std::uint8_t[bytes]);
    std::memset(target.get(), 0, bytes);
    double bodySeconds = 0;
    double memcpySeconds = 0;
    for (auto _ : state) {
        double t = ThreadSeconds();
        body();
        bodySeconds += ThreadSeconds() - t;
        t = ThreadSeconds();
        std::memcpy(target.get(), picture.ConstScanLine(0), bytes);
        benchmark::DoNotOptimize(target.get());
        memcpySeconds += ThreadSeconds() - t;
    }
    state.counters["x_memcpy"] = bodySeconds / memcpySeconds;
}

void BM_Undo(benchmark::State& state) {
    Document d;
    RunAgainstMemcpy(state, d.core.Image1, [&] { d.core.Button2Click(); });
}
BENCHMARK(BM_Undo)->Unit(benchmark::kMillisecond);

void BM_SnapshotPairOfOneStroke(benchmark::State& state) {
    Document d;
    RunAgainstMemcpy(state, d.core.Image1, [&] {
        d.core.TakeBeforeSnapshot();
        d.core.TakeAfterSnapshot();
    });
}
BENCHMARK(BM_SnapshotPairOfOneStroke)->Unit(benchmark::kMillisecond);

}  // namespace
