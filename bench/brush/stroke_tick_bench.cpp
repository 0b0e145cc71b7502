// The brush's drawing tick, replayed from recorded strokes.
//
// A tick works on a square around the brush, so its cost must not grow with the picture:
// the heaviest tick (extra thick, dry brush at its ink cap, strong blur, bleed) is timed on a
// 400 x 400 and a 4000 x 3000 picture in the same run and reported as their ratio, with the
// paint-surface area each tick asks to repaint. Ticks per second are reported for the
// heaviest and the finest brush. A pen's tick, whose pressure is mapped but lays down the same
// pixels, is timed against the mouse's in the same run, for the plain line and the bristles.
#include <benchmark/benchmark.h>

#include <ctime>

#include "app/headless_replay.h"

namespace {

// Adds up the areas the core asks to repaint.
class AreaScreen : public NullScreen {
  public:
    void RepaintPaintSurface(const QRect& area) override {
        ++repaints;
        pixels += area.isNull() ? -1 : double(area.width()) * area.height();
    }
    long long repaints = 0;
    double pixels = 0;
};

double CpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

StrokeRecording Load(const char* name, int width, int height) {
    StrokeRecording r;
    QString error;
    if (!StrokeRecording::Load(QStringLiteral(KASUMIRO_STROKES_DIR "/%1.txt").arg(name), &r,
                               &error))
        qFatal("%s", qPrintable(error));
    r.width = width;
    r.height = height;
    return r;
}

// A replay whose recording keeps the button down: repeating it keeps every tick drawing, and
// the first run has already touched every buffer the stroke uses.
struct WarmReplay {
    WarmReplay(const char* name, int width, int height) : WarmReplay(Load(name, width, height)) {}
    explicit WarmReplay(StrokeRecording r) : recording(std::move(r)), replay(recording, &screen) {
        replay.Run();
    }
    // CPU seconds per tick of one more run of the events, and its ticks.
    double TimeRun(long long* ticks) {
        const double start = CpuSeconds();
        *ticks = replay.Run().ticksRun;
        return CpuSeconds() - start;
    }
    StrokeRecording recording;
    AreaScreen screen;
    HeadlessReplay replay;
};

void BM_HeaviestTickLargeOverSmall(benchmark::State& state) {
    WarmReplay small("heavy", 400, 400);
    WarmReplay large("heavy", 4000, 3000);
    double smallCpu = 0, largeCpu = 0;
    long long smallTicks = 0, largeTicks = 0;
    large.screen.repaints = 0;
    large.screen.pixels = 0;
    for (auto _ : state) {
        long long ticks = 0;
        smallCpu += small.TimeRun(&ticks);
        smallTicks += ticks;
        largeCpu += large.TimeRun(&ticks);
        largeTicks += ticks;
    }
    state.counters["small_us_per_tick"] = 1e6 * smallCpu / double(smallTicks);
    state.counters["large_us_per_tick"] = 1e6 * largeCpu / double(largeTicks);
    state.counters["large_over_small"] = (largeCpu / largeTicks) / (smallCpu / smallTicks);
    state.counters["repainted_px_per_tick"] = large.screen.pixels / double(largeTicks);
    state.counters["picture_px"] = 4000.0 * 3000.0;
    state.SetLabel("target: large_over_small <= 1.2");
}
BENCHMARK(BM_HeaviestTickLargeOverSmall)->Unit(benchmark::kMillisecond)->Iterations(20);

void BM_TicksPerSecond(benchmark::State& state, const char* name) {
    WarmReplay warm(name, 400, 400);
    double cpu = 0;
    long long ticks = 0;
    for (auto _ : state) {
        long long n = 0;
        cpu += warm.TimeRun(&n);
        ticks += n;
    }
    state.counters["ticks_per_cpu_second"] = double(ticks) / cpu;
}
BENCHMARK_CAPTURE(BM_TicksPerSecond, heaviest_extra_thick, "heavy")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_TicksPerSecond, finest_extra_fine, "fine")->Unit(benchmark::kMillisecond);

// The recording played by a pen at the given pressure, the option on.
StrokeRecording AsPen(StrokeRecording r, double pressure) {
    r.P1 = true;
    for (StrokeEvent& e : r.events) {
        if (e.kind == StrokeEvent::Tick) continue;
        e.pointer = ptPen;
        e.pressure = PressureLevel(pressure);
    }
    return r;
}

StrokeRecording Plain(StrokeRecording r) {
    r.H1 = false;
    return r;
}

// Ends the recording with a release where it is: a pen takes no second press while its tip is
// down, so both pointers lift before each run presses again.
StrokeRecording Lifted(StrokeRecording r) {
    StrokeEvent up =
        r.events.back().kind == StrokeEvent::Tick ? r.events[r.events.size() - 2] : r.events.back();
    up.kind = StrokeEvent::Up;
    up.button = mbLeft;
    up.shift = 0;
    r.events.push_back(up);
    return r;
}

// Pressure 0.999 scales the width and the inked bristles by 999 / 1000, rounded up: the same
// pixels as the mouse's stroke, with the mapping worked out on every tick.
void BM_PressureTickOverMouseTick(benchmark::State& state) {
    const StrokeRecording heavy = Lifted(Load("heavy", 400, 400));
    WarmReplay plainMouse(Plain(heavy)), plainPen(AsPen(Plain(heavy), 0.999));
    WarmReplay dryMouse(heavy), dryPen(AsPen(heavy, 0.999));
    double cpu[4] = {}, ticks[4] = {};
    WarmReplay* runs[4] = {&plainMouse, &plainPen, &dryMouse, &dryPen};
    for (auto _ : state) {
        for (int i = 0; i < 4; ++i) {
            long long n = 0;
            cpu[i] += runs[i]->TimeRun(&n);
            ticks[i] += double(n);
        }
    }
    const auto perTick = [&](int i) { return cpu[i] / ticks[i]; };
    state.counters["plain_mouse_us_per_tick"] = 1e6 * perTick(0);
    state.counters["plain_pen_over_mouse"] = perTick(1) / perTick(0);
    state.counters["dry_mouse_us_per_tick"] = 1e6 * perTick(2);
    state.counters["dry_pen_over_mouse"] = perTick(3) / perTick(2);
    state.SetLabel("target: pen_over_mouse <= 1.05");
}
BENCHMARK(BM_PressureTickOverMouseTick)->Unit(benchmark::kMillisecond)->Iterations(100);

}  // namespace
