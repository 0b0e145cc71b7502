// Brush strokes over a document of 10 layers of 4000 x 3000, every layer changed since the last
// recovery copy, drawn for as long as an automatic copy is being written, and as many without
// one, in one run. The copy must not be in the way: the longest tick may grow by at most 16 ms,
// and the memory the process holds during the copy by at most the layers changed.
//
// Counters: max_tick_ms (the longest tick), p999_tick_ms (the time that one tick in a thousand
// exceeds: the machine's own hiccups weigh less there), press_ms (the longest press: a layer the
// copy still reads is copied there), rss_growth_mb (the process's peak resident memory from the
// copy's start until it is done, above what it held before), layer_mb (one layer), strokes
// (drawn while one copy was written), copy_s (how long one copy took).
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <vector>

#include "app/main_core.h"
#include "app/null_screen.h"
#include "platform/app_paths.h"

namespace {

constexpr int kWidth = 4000;
constexpr int kHeight = 3000;
constexpr int kLayers = 10;
constexpr int kTicks = 150;

using Clock = std::chrono::steady_clock;

double Ms(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

// A field of /proc/self/status in megabytes ("VmRSS", or "VmHWM", the peak since the last reset).
double StatusMb(const QByteArray& field) {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith(field + ':'))
            return line.mid(field.size() + 1).trimmed().split(' ').first().toDouble() / 1024.0;
    return 0;
}

// The peak starts again from what the process holds now.
void ResetPeak() {
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly)) clear.write("5");
}

// Tick times as a histogram of 0.05 ms steps up to 200 ms: its memory is taken before the
// copy, so that the counting does not grow the process while it is measured.
struct Timings {
    static constexpr double kStepMs = 0.05;
    Timings() : counts(4000, 0) {}
    void Add(double ms) {
        ++counts[std::min(counts.size() - 1, std::size_t(ms / kStepMs))];
        ++total;
        max = std::max(max, ms);
    }
    // The time that one tick in a thousand exceeds.
    double P999() const {
        std::uint64_t seen = 0;
        for (std::size_t i = 0; i < counts.size(); ++i)
            if ((seen += counts[i]) * 1000 >= total * 999) return double(i + 1) * kStepMs;
        return max;
    }
    std::vector<std::uint64_t> counts;
    std::uint64_t total = 0;
    double max = 0;
    double press = 0;
};

// One stroke across the current layer at row y0, its tail included. False when the stroke did
// not end.
bool Stroke(MainWindowCore& core, int y0, Timings& timings) {
    const auto tick = [&] {
        const auto t = Clock::now();
        core.Timer1Timer(1);
        timings.Add(Ms(Clock::now() - t));
    };
    const auto t = Clock::now();
    core.Image1MouseDown(mbLeft, ssLeft, 100, y0);
    timings.press = std::max(timings.press, Ms(Clock::now() - t));
    for (int i = 0; i < kTicks; ++i) {
        core.Image1MouseMove(ssLeft, 100 + 20 * i, y0 + (i % 7) * 3);
        tick();
    }
    const int x1 = 100 + 20 * kTicks;
    core.Image1MouseUp(mbLeft, ssLeft, x1, y0);
    // The tail thins out as the pointer goes on moving, until the stroke ends.
    for (int i = 0; i < 5000 && (core.Stroke.StrokeActive || !core.TickIsIdle()); ++i) {
        core.Image1MouseMove(TShiftState{}, x1 + i % 40, y0 + i % 3);
        tick();
    }
    return !core.Stroke.StrokeActive;
}

// The settings and the recovery folder, in place before the core reads them. The copies'
// own timer never comes due here: the benchmark starts each copy itself.
struct Folders {
    Folders() {
        setenv("XDG_STATE_HOME", dir.path().toLocal8Bit().constData(), 1);
        AppPaths::OverrideExecutableDir(dir.path());
        QFile ini(dir.path() + QLatin1Char('/') + AppPaths::ExecutableBaseName() +
                  QStringLiteral(".ini"));
        ini.open(QIODevice::WriteOnly);
        ini.write("[Image]\nWidth=4000\nHeight=3000\n[autosave]\nInterval=1000000\n");
    }
    QTemporaryDir dir;
};

struct BigDocument : Folders {
    BigDocument() : core(screen) {
        core.FormCreate({}, dir.path());
        core.Timer1.SetEnabled(false);
        for (int i = 1; i < kLayers; ++i) core.Layers.CreateLayer();
        core.Timer1Timer(1);
        // Every layer painted: smooth colours with a little grain, so that the copy has both
        // to compress.
        std::uint32_t seed = 12345;
        for (int i = 0; i < kLayers; ++i) {
            Bitmap& layer = core.LayerImages()[std::size_t(i)];
            for (int y = 0; y < kHeight; ++y) {
                std::uint8_t* row = layer.ScanLine(y);
                for (int x = 0; x < kWidth * 3; ++x) {
                    seed = seed * 1103515245u + 12345u;
                    row[x] = std::uint8_t((x / 3 + y + 40 * i) / 24 + ((seed >> 16) & 3));
                }
            }
        }
        core.Layers.SelectLayer(kLayers - 1);
        core.Timer1Timer(1);
        core.Document.Modified = true;
        core.Button3Click();
        // The first stroke takes the undo snapshots' memory; that is no part of a copy.
        Timings first;
        Stroke(core, 100, first);
    }

    NullScreen screen;
    MainWindowCore core;
};

BigDocument& Document() {
    static BigDocument document;
    return document;
}

// With a copy, strokes follow one another until the copy is done; without, as many strokes
// are drawn as the copy lasted.
int g_strokesPerCopy = 0;

void BM_StrokeTicks(benchmark::State& state) {
    const bool withCopy = state.range(0) != 0;
    MainWindowCore& core = Document().core;
    Timings timings;
    double growth = 0, copySeconds = 0;
    int stroke = 0, strokes = 0;
    for (auto _ : state) {
        ResetPeak();
        const double before = StatusMb("VmRSS");
        const auto start = Clock::now();
        if (withCopy) core.RecoveryCopyDue();
        if (withCopy && !core.RecoveryCopyRunning()) state.SkipWithError("no copy was started");
        int drawn = 0;
        while (withCopy ? core.RecoveryCopyRunning() : drawn < g_strokesPerCopy) {
            if (!Stroke(core, 200 + 100 * (stroke++ % 25), timings))
                state.SkipWithError("the stroke did not end");
            ++drawn;
            // The copy's end is reported as an event.
            QCoreApplication::processEvents();
        }
        copySeconds = std::max(copySeconds, Ms(Clock::now() - start) / 1000);
        strokes = std::max(strokes, drawn);
        growth = std::max(growth, StatusMb("VmHWM") - before);
    }
    if (withCopy) g_strokesPerCopy = strokes;
    state.counters["max_tick_ms"] = timings.max;
    state.counters["p999_tick_ms"] = timings.P999();
    state.counters["press_ms"] = timings.press;
    state.counters["rss_growth_mb"] = growth;
    state.counters["layer_mb"] = double(kWidth) * 3 * kHeight / 1048576.0;
    state.counters["strokes"] = strokes;
    if (withCopy) state.counters["copy_s"] = copySeconds;
}
// The copy first: the run without one draws as many strokes.
BENCHMARK(BM_StrokeTicks)->Arg(1)->Arg(0)->Iterations(3)->Unit(benchmark::kMillisecond);

}  // namespace
