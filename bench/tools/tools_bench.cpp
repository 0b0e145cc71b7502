// The fill and the retouch dab, as ratios measured in one run.
//
// BM_FillHalfPicture, counter "x_memcpy": one fill of half of a 4000 x 3000 picture divided by
// one memcpy of the whole picture.
// BM_RetouchDab, counter "big_over_small": one 極太 soften dab on a 4000 x 3000 picture
// divided by the same dab on a 400 x 400 one (the dab must not depend on the picture size).
// Times are the thread's processor time.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstring>
#include <ctime>
#include <memory>

#include "brush/retouch.h"
#include "platform/flood_fill.h"

namespace {

// Thread CPU time: the machine is shared, and other processes must not count as ours.
double Now() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

constexpr int kBigWidth = 4000;
constexpr int kBigHeight = 3000;
constexpr TColor kWall = RgbColour(128, 128, 128);

template <class Body>
double BestSeconds(int rounds, Body body) {
    double best = 1e9;
    for (int i = 0; i < rounds; ++i) {
        const double start = Now();
        body();
        best = std::min(best, Now() - start);
    }
    return best;
}

double MemcpySeconds(const Bitmap& picture) {
    const std::size_t bytes = std::size_t(picture.Stride()) * picture.Height();
    std::unique_ptr<std::uint8_t[]> target(new std::uint8_t[bytes]);
    std::memset(target.get(), 0, bytes);
    return BestSeconds(5, [&] {
        std::memcpy(target.get(), picture.ConstScanLine(0), bytes);
        benchmark::DoNotOptimize(target.get());
    });
}

void BM_FillHalfPicture(benchmark::State& state) {
    // A wall down the middle; the left half is filled, back and forth between two colours so
    // that every round fills the same area.
    Bitmap picture(kBigWidth, kBigHeight);
    picture.Fill(clWhite);
    for (int y = 0; y < kBigHeight; ++y) picture.SetPixel(kBigWidth / 2, y, kWall);
    const double memcpySeconds = MemcpySeconds(picture);
    TColor from = clWhite, to = RgbColour(200, 30, 40);
    double total = 0;
    for (auto _ : state) {
        const double start = Now();
        benchmark::DoNotOptimize(FloodFillSurface(picture, 10, 10, from, to));
        total += Now() - start;
        std::swap(from, to);
    }
    state.counters["x_memcpy"] = total / double(state.iterations()) / memcpySeconds;
}
BENCHMARK(BM_FillHalfPicture)->Unit(benchmark::kMillisecond)->UseRealTime();

// Seconds per dab along a short diagonal drag, as the pointer moves a few pixels per event.
double DabSeconds(int width, int height) {
    Bitmap layer(width, height), surface(width, height);
    layer.Fill(RgbColour(120, 60, 200));
    surface.Fill(clWhite);
    RetouchDabInput in;
    in.brushSize = 25;
    in.kind = RetouchKind::Soften;
    constexpr int kDabs = 2000;
    const double seconds = BestSeconds(5, [&] {
        for (int i = 0; i < kDabs; ++i) {
            in.pointerX = 50 + (i * 3) % 300;
            in.pointerY = 50 + (i * 2) % 300;
            benchmark::DoNotOptimize(RetouchDabOn(layer, surface, in));
        }
    });
    return seconds / kDabs;
}

void BM_RetouchDab(benchmark::State& state) {
    double small = 0, big = 0;
    for (auto _ : state) {
        small = DabSeconds(400, 400);
        big = DabSeconds(kBigWidth, kBigHeight);
    }
    state.counters["small_us"] = small * 1e6;
    state.counters["big_us"] = big * 1e6;
    state.counters["big_over_small"] = big / small;
}
BENCHMARK(BM_RetouchDab)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
