// A brush stroke over a document of 10 layers of 4000 x 3000, every layer changed since the last
// recovery copy, with and without an automatic copy being written meanwhile, in one run. The
// copy must not be in the way: the longest tick may grow by at most 16 ms, and the memory the
// process holds during the copy by at most the layers changed.
//
// Counters: max_tick_ms (the longest tick of the stroke), press_ms (the press: a layer the copy
// still reads is copied there), rss_growth_mb (the most the process held above what it held
// before the stroke, sampled after every tick), layer_mb (one layer), copy_outlasted_stroke
// (1 when the copy was still being written when the stroke ended).
#include <benchmark/benchmark.h>

#include <unistd.h>
#include <QFile>
#include <QTemporaryDir>
#include <chrono>
#include <cstdlib>

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

double ResidentMb() {
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly)) return 0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toDouble() * double(sysconf(_SC_PAGESIZE)) / 1048576.0 : 0;
}

// The settings and the recovery folder, in place before the core reads them.
struct Folders {
    Folders() {
        setenv("XDG_STATE_HOME", dir.path().toLocal8Bit().constData(), 1);
        AppPaths::OverrideExecutableDir(dir.path());
        QFile ini(dir.path() + QLatin1Char('/') + AppPaths::ExecutableBaseName() +
                  QStringLiteral(".ini"));
        ini.open(QIODevice::WriteOnly);
        ini.write("[Image]\nWidth=4000\nHeight=3000\n[autosave]\nInterval=60\n");
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
    }

    NullScreen screen;
    MainWindowCore core;
};

BigDocument& Document() {
    static BigDocument document;
    return document;
}

void BM_StrokeTicks(benchmark::State& state) {
    const bool withCopy = state.range(0) != 0;
    BigDocument& d = Document();
    MainWindowCore& core = d.core;
    double maxTick = 0, press = 0, growth = 0, outlasted = 0;
    int stroke = 0;
    for (auto _ : state) {
        const int y0 = 200 + 100 * (stroke++ % 25);
        const double before = ResidentMb();
        if (withCopy) core.RecoveryCopyDue();
        if (withCopy && !core.RecoveryCopyRunning()) state.SkipWithError("no copy was started");
        auto t = Clock::now();
        core.Image1MouseDown(mbLeft, ssLeft, 100, y0);
        press = std::max(press, Ms(Clock::now() - t));
        for (int i = 0; i < kTicks; ++i) {
            core.Image1MouseMove(ssLeft, 100 + 20 * i, y0 + (i % 7) * 3);
            t = Clock::now();
            core.Timer1Timer(1);
            maxTick = std::max(maxTick, Ms(Clock::now() - t));
            growth = std::max(growth, ResidentMb() - before);
        }
        const int x1 = 100 + 20 * kTicks;
        core.Image1MouseUp(mbLeft, ssLeft, x1, y0);
        // The tail thins out as the pointer goes on moving, until the stroke ends.
        for (int i = 0; i < 5000 && (core.Stroke.StrokeActive || !core.TickIsIdle()); ++i) {
            core.Image1MouseMove(TShiftState{}, x1 + i % 40, y0 + i % 3);
            t = Clock::now();
            core.Timer1Timer(1);
            maxTick = std::max(maxTick, Ms(Clock::now() - t));
        }
        if (core.Stroke.StrokeActive) state.SkipWithError("the stroke did not end");
        t = Clock::now();
        core.WaitForRecoveryCopy();
        if (Ms(Clock::now() - t) > 1) outlasted = 1;
    }
    state.counters["max_tick_ms"] = maxTick;
    state.counters["press_ms"] = press;
    state.counters["rss_growth_mb"] = growth;
    state.counters["layer_mb"] = double(kWidth) * 3 * kHeight / 1048576.0;
    state.counters["copy_outlasted_stroke"] = outlasted;
}
BENCHMARK(BM_StrokeTicks)->Arg(0)->Arg(1)->Iterations(4)->Unit(benchmark::kMillisecond);

}  // namespace
