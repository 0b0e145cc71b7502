// The zoomed view's cost, as ratios measured in one run.
//
// A tick repaints only its own rectangle, mapped to the screen: the heaviest brush's tick on a
// 4000 x 3000 picture, with the paint surface's drawing of every area the tick asks to repaint,
// is timed at 25 % against 100 %. A reduced view averages only what it shows, reading each
// picture byte once: the whole 4000 x 3000 picture drawn at 12.5 % is timed against one memcpy
// of the picture.
#include <benchmark/benchmark.h>

#include <QPainter>
#include <cstring>
#include <ctime>
#include <vector>

#include "app/headless_replay.h"
#include "platform/view_render.h"

namespace {

double CpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

// Paints every area the core asks to repaint as the paint surface would, onto an image of the
// screen's format.
class PaintingScreen : public NullScreen {
  public:
    explicit PaintingScreen(int step) {
        view.SetStep(step);
        screen = QImage(view.ScreenSize({4000, 3000}), QImage::Format_RGB32);
        screen.fill(Qt::gray);
    }
    void RepaintPaintSurface(const QRect& area) override {
        if (!picture) return;
        const QRect shown = area.isNull() ? screen.rect() : view.ScreenRect(area);
        QPainter painter(&screen);
        renderer.Paint(painter, *picture, QPoint(0, 0), view, shown);
        pixels += double(shown.width()) * shown.height();
    }
    const Bitmap* picture = nullptr;
    ViewTransform view;
    ViewRenderer renderer;
    QImage screen;
    double pixels = 0;
};

StrokeRecording Heavy() {
    StrokeRecording r;
    QString error;
    if (!StrokeRecording::Load(QStringLiteral(KASUMIRO_STROKES_DIR "/heavy.txt"), &r, &error))
        qFatal("%s", qPrintable(error));
    r.width = 4000;
    r.height = 3000;
    return r;
}

// The recording keeps the button down, so every tick of a repeated run draws; the first run
// has touched every buffer.
struct ZoomedReplay {
    explicit ZoomedReplay(int step) : screen(step), replay(recording, &screen) {
        screen.picture = &replay.Core().Image1;
        replay.Run();
        screen.pixels = 0;
    }
    double TimeRun(long long* ticks) {
        const double start = CpuSeconds();
        *ticks = replay.Run().ticksRun;
        return CpuSeconds() - start;
    }
    StrokeRecording recording = Heavy();
    PaintingScreen screen;
    HeadlessReplay replay;
};

void BM_TickAtQuarterOverActualSize(benchmark::State& state) {
    ZoomedReplay actual(ViewTransform::kActualSize), quarter(ViewTransform::kActualSize - 2);
    double cpu[2] = {}, ticks[2] = {};
    for (auto _ : state) {
        int i = 0;
        for (ZoomedReplay* run : {&actual, &quarter}) {
            long long n = 0;
            cpu[i] += run->TimeRun(&n);
            ticks[i++] += double(n);
        }
    }
    state.counters["actual_us_per_tick"] = 1e6 * cpu[0] / ticks[0];
    state.counters["quarter_us_per_tick"] = 1e6 * cpu[1] / ticks[1];
    state.counters["quarter_over_actual"] = (cpu[1] / ticks[1]) / (cpu[0] / ticks[0]);
    state.counters["actual_painted_px_per_tick"] = actual.screen.pixels / ticks[0];
    state.counters["quarter_painted_px_per_tick"] = quarter.screen.pixels / ticks[1];
    state.SetLabel("target: quarter_over_actual <= 1.2");
}
BENCHMARK(BM_TickAtQuarterOverActualSize)->Unit(benchmark::kMillisecond)->Iterations(20);

// A picture with something on every row, so that no part of it is white without memory.
Bitmap Drawn() {
    Bitmap picture(4000, 3000);
    for (int y = 0; y < picture.Height(); ++y) {
        std::uint8_t* row = picture.ScanLine(y);
        for (int i = 0; i < picture.Width() * 3; ++i) row[i] = std::uint8_t(i * 7 + y * 13);
    }
    return picture;
}

void BM_WholeViewAtEighthOverMemcpy(benchmark::State& state) {
    const Bitmap picture = Drawn();
    const std::size_t bytes = std::size_t(picture.Stride()) * std::size_t(picture.Height());
    std::vector<std::uint8_t> copy(bytes, 1);
    ViewTransform view;
    view.SetStep(0);
    QImage screen(view.ScreenSize({4000, 3000}), QImage::Format_RGB32);
    ViewRenderer renderer;
    double copyCpu = 0, viewCpu = 0;
    for (auto _ : state) {
        double start = CpuSeconds();
        std::memcpy(copy.data(), picture.ConstScanLine(0), bytes);
        benchmark::ClobberMemory();
        copyCpu += CpuSeconds() - start;
        start = CpuSeconds();
        QPainter painter(&screen);
        renderer.Paint(painter, picture, QPoint(0, 0), view, screen.rect());
        painter.end();
        benchmark::ClobberMemory();
        viewCpu += CpuSeconds() - start;
    }
    const double runs = double(state.iterations());
    state.counters["memcpy_ms"] = 1e3 * copyCpu / runs;
    state.counters["view_ms"] = 1e3 * viewCpu / runs;
    state.counters["view_over_memcpy"] = viewCpu / copyCpu;
    state.SetLabel("target: view_over_memcpy <= 2");
}
BENCHMARK(BM_WholeViewAtEighthOverMemcpy)->Unit(benchmark::kMillisecond)->Iterations(30);

}  // namespace
