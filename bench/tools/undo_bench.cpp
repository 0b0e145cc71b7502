// Undo and the snapshot pair of one stroke on a 4000 x 3000 picture, as ratios to one memcpy of
// the picture in the same run (counter "x_memcpy"). Both reuse their buffers, so after the first
// use they cost copies only, never the first touch of fresh memory. With more undo levels: the
// undo of one stroke, the step of a whole-layer change beside the pair it replaces, and the
// memory a hundred small strokes add to the history.
#include <benchmark/benchmark.h>
#include <malloc.h>

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
// both snapshots and the paint surface hold pixels; then the undo levels given.
struct Document {
    explicit Document(int levels = 1) : core(screen) {
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
        core.SetUndoLevels(levels);
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

// Sums the processor time of the parts of an iteration that count.
struct Stopwatch {
    double seconds = 0;
    template <class Part>
    void Time(Part part) {
        const double t = ThreadSeconds();
        part();
        seconds += ThreadSeconds() - t;
    }
};

// Runs body (which times its own parts) and one memcpy of the picture in turns, so that both
// see the same conditions, and reports the timed parts as a multiple of the memcpy.
template <class Body>
void RunAgainstMemcpy(benchmark::State& state, const Bitmap& picture, Body body) {
    const std::size_t bytes = std::size_t(picture.Stride()) * picture.Height();
    std::unique_ptr<std::uint8_t[]> target(new std::uint8_t[bytes]);
    std::memset(target.get(), 0, bytes);
    Stopwatch bodyTime;
    Stopwatch memcpyTime;
    for (auto _ : state) {
        body(bodyTime);
        memcpyTime.Time([&] {
            std::memcpy(target.get(), picture.ConstScanLine(0), bytes);
            benchmark::DoNotOptimize(target.get());
        });
    }
    state.counters["x_memcpy"] = bodyTime.seconds / memcpyTime.seconds;
}

// A horizontal brush stroke of the given length, its tail run out, as the pointer draws it. The
// solid pen draws the whole length (the dry brush's ink would give out sooner), with the bleed
// and the blur around it.
void DrawStroke(MainWindowCore& core, int x, int y, int length) {
    core.Checks.H1 = false;
    core.Image1MouseDown(mbLeft, ssLeft, x, y);
    for (int d = 4; d <= length; d += 4) {
        core.Image1MouseMove(ssLeft, x + d, y);
        core.Timer1Timer(1);
    }
    core.Image1MouseUp(mbLeft, 0, x + length, y);
    for (int k = 1; k <= 400 && core.Stroke.StrokeActive; ++k) {
        core.Image1MouseMove(0, x + length + k, y);
        core.Timer1Timer(1);
    }
}

// Every byte of the current layer turns over: a whole-layer change like a filter's.
void InvertLayer(MainWindowCore& core) {
    Bitmap& layer = core.Compositor.CurrentLayerImage();
    for (int y = 0; y < layer.Height(); ++y) {
        std::uint8_t* row = layer.ScanLine(y);
        for (int x = 0; x < layer.Width() * 3; ++x) row[x] = std::uint8_t(~row[x]);
    }
}

// What the heap holds now, small blocks and mapped ones.
double HeapMegabytes() {
    const struct mallinfo2 info = mallinfo2();
    return double(info.uordblks + info.hblkhd) / double(1 << 20);
}

void BM_Undo(benchmark::State& state) {
    Document d;
    RunAgainstMemcpy(state, d.core.Image1,
                     [&](Stopwatch& w) { w.Time([&] { d.core.Button2Click(); }); });
}
BENCHMARK(BM_Undo)->Unit(benchmark::kMillisecond);

void BM_SnapshotPairOfOneStroke(benchmark::State& state) {
    Document d;
    RunAgainstMemcpy(state, d.core.Image1, [&](Stopwatch& w) {
        w.Time([&] {
            d.core.TakeBeforeSnapshot();
            d.core.TakeAfterSnapshot();
        });
    });
}
BENCHMARK(BM_SnapshotPairOfOneStroke)->Unit(benchmark::kMillisecond);

// With a hundred levels: undo of a 200-pixel stroke (the redo between is not timed).
void BM_UndoOfAStrokeInTheHistory(benchmark::State& state) {
    Document d(100);
    DrawStroke(d.core, 1000, 1000, 200);
    RunAgainstMemcpy(state, d.core.Image1, [&](Stopwatch& w) {
        w.Time([&] { d.core.Button2Click(); });
        d.core.Redo1Click();
    });
    state.counters["step_KB"] = double(d.core.History.Bytes()) / 1024.0;
}
BENCHMARK(BM_UndoOfAStrokeInTheHistory)->Unit(benchmark::kMillisecond);

// The undo frame around a change of every pixel (the change itself is not timed): the pair of
// snapshots with one level, a step of the history with a hundred. The history has filled its
// budget first, so that each step lets the oldest go as it will in use.
void BM_WholeLayerStep(benchmark::State& state) {
    Document d(int(state.range(0)));
    const auto step = [&](Stopwatch* w) {
        const auto part = [&](auto f) { w ? w->Time(f) : f(); };
        part([&] { d.core.TakeBeforeSnapshot(); });
        InvertLayer(d.core);
        part([&] { d.core.TakeAfterSnapshot(); });
    };
    for (int i = 0; i < int(state.range(1)); ++i) step(nullptr);
    RunAgainstMemcpy(state, d.core.Image1, [&](Stopwatch& w) { step(&w); });
    state.counters["steps"] = d.core.History.Back();
}
BENCHMARK(BM_WholeLayerStep)
    ->Args({1, 20})
    ->Args({100, 20})
    ->Args({100, 0})
    ->Iterations(10)
    ->Unit(benchmark::kMillisecond);

// The heap's growth over a hundred 100-pixel strokes with a hundred levels, after one stroke
// has made every buffer of the edit hold memory.
void BM_MemoryOfAHundredStrokes(benchmark::State& state) {
    Document d(100);
    DrawStroke(d.core, 100, 100, 100);
    double grown = 0;
    for (auto _ : state) {
        const double before = HeapMegabytes();
        for (int i = 0; i < 100; ++i)
            DrawStroke(d.core, 100 + (i % 10) * 350, 300 + (i / 10) * 250, 100);
        grown = HeapMegabytes() - before;
    }
    state.counters["grown_MB"] = grown;
    state.counters["history_MB"] = double(d.core.History.Bytes()) / double(1 << 20);
    state.counters["steps"] = d.core.History.Back();
}
BENCHMARK(BM_MemoryOfAHundredStrokes)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
