// The ink bleed and the strongest blur of the largest brush at the pointer, on a small and a
// large picture in the same run. The work is bounded by the brush, so the ratio should be
// near 1.
//
// Counters: "large_over_small" is the processor time of one call on 4000 x 3000 divided by
// that on 400 x 400, the calls interleaved; "us_small" and "us_large" the mean microseconds
// of one call; "repaint_px" the area of the rectangle the calls report for repainting.
#include <benchmark/benchmark.h>

#include <time.h>

#include "brush/ink_effects.h"
#include "platform/canvas.h"

namespace {

// This thread's processor time: the machine is shared, and time spent waiting for a core
// says nothing about the work.
double ThreadSeconds() {
    timespec t;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

constexpr int kLargest = 25;
// Off-white, so that the pictures hold memory from the start.
constexpr TColor kPaper = RgbColour(254, 254, 254);

// A picture with every pixel touched (no lazily white memory), the brush at its centre.
struct Picture {
    Picture(int width, int height) : layer(width, height), surface(width, height) {
        layer.Fill(kPaper);
        surface.Fill(kPaper);
    }
    InkSquare Square() {
        return {layer, surface, layer.Width() / 2, layer.Height() / 2, kLargest, clBlack};
    }
    // Fresh ink through the pointer, as a drawing tick lays it down before bleed and blur.
    void Ink() {
        const InkSquare sq = Square();
        DrawLine(layer, sq.pointerX - 20, sq.pointerY, sq.pointerX + 20, sq.pointerY, sq.ink,
                 kLargest);
    }
    // Seconds for one ink, bleed and strong blur; the repainted area goes to area.
    double Call(long long& area) {
        Ink();
        const double start = ThreadSeconds();
        const QRect a = InkBleed(Square()) | InkBlur(Square(), blStrong);
        const double seconds = ThreadSeconds() - start;
        area = static_cast<long long>(a.width()) * a.height();
        return seconds;
    }
    Bitmap layer;
    Bitmap surface;
};

void BM_BleedAndStrongBlur(benchmark::State& state) {
    Picture small(400, 400);
    Picture large(4000, 3000);
    double smallSeconds = 0, largeSeconds = 0;
    long long area = 0;
    for (auto _ : state) {
        smallSeconds += small.Call(area);
        largeSeconds += large.Call(area);
        benchmark::DoNotOptimize(large.layer.ConstScanLine(0));
    }
    const double n = double(state.iterations());
    state.counters["large_over_small"] = largeSeconds / smallSeconds;
    state.counters["us_small"] = smallSeconds / n * 1e6;
    state.counters["us_large"] = largeSeconds / n * 1e6;
    state.counters["repaint_px"] = double(area);
}
BENCHMARK(BM_BleedAndStrongBlur)->Unit(benchmark::kMicrosecond)->UseRealTime();

}  // namespace
