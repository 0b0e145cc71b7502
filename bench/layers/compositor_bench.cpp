// Composing the paint surface, as ratios to plain memcpy of the same pixels in the same run.
//
// Counter "x_memcpy": time of one composite refresh divided by the time of copying the same
// layers with memcpy (ten layers for the ten-layer refresh, one for the fast path).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <string>

#include "layers/compositor.h"
#include "platform/random_source.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kBigWidth = 4000;
constexpr int kBigHeight = 3000;
constexpr int kTenLayers = 10;

enum Content { kStrokes, kDense, kSpeckled };

// One layer's pixels: strokes are runs of colour over the white key covering about a quarter
// of each row; dense layers have no key pixel at all; speckled ones alternate at random, pixel
// by pixel (the worst case for keyed drawing).
void Paint(Bitmap& layer, Content content, unsigned seed) {
    std::uint32_t s = seed * 2654435761u + 1;
    auto next = [&s] { return s = s * 1664525u + 1013904223u; };
    for (int y = 0; y < layer.Height(); ++y) {
        std::uint8_t* row = layer.ScanLine(y);
        for (int x = 0; x < layer.Width();) {
            const std::uint32_t r = next();
            int run = content == kSpeckled ? 1 : 40 + int(r % 400);
            run = std::min(run, layer.Width() - x);
            const bool key = content == kDense      ? false
                             : content == kSpeckled ? (r >> 16) & 1
                                                    : (r >> 16) % 4 != 0;
            const std::uint8_t b = key ? 255 : std::uint8_t(r >> 8);
            const std::uint8_t g = key ? 255 : std::uint8_t(y + seed * 40);
            const std::uint8_t red = key ? 255 : std::uint8_t(x);
            for (int i = 0; i < run; ++i, ++x) {
                row[x * 3] = b;
                row[x * 3 + 1] = g;
                row[x * 3 + 2] = red;
            }
        }
    }
}

struct Document {
    Document(int width, int height, int layers, Content content)
        : image1(width, height), compositor(stack, image1) {
        for (int i = 1; i < layers; ++i) stack.CreateLayer();
        for (int i = 0; i < layers; ++i) Paint(compositor.LayerImages[i], content, unsigned(i));
        compositor.RebuildLayerCache();
    }
    LayerStack stack;
    Bitmap image1;
    LayerCompositor compositor;
};

// Seconds for one memcpy of every given layer into one picture-sized buffer (best of five).
double MemcpySeconds(const Document& d, int layers) {
    const std::size_t bytes = std::size_t(d.image1.Stride()) * d.image1.Height();
    std::unique_ptr<std::uint8_t[]> target(new std::uint8_t[bytes]);
    std::memset(target.get(), 0, bytes);
    double best = 1e9;
    for (int round = 0; round < 5; ++round) {
        const auto start = Clock::now();
        for (int i = 0; i < layers; ++i)
            std::memcpy(target.get(), d.compositor.LayerImages[i].ConstScanLine(0), bytes);
        benchmark::DoNotOptimize(target.get());
        best = std::min(best, std::chrono::duration<double>(Clock::now() - start).count());
    }
    return best;
}

// Runs body per iteration and reports its mean time as a multiple of the memcpy time.
template <class Body>
void RunAgainstMemcpy(benchmark::State& state, double memcpySeconds, Body body) {
    double total = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        body();
        total += std::chrono::duration<double>(Clock::now() - start).count();
    }
    state.counters["x_memcpy"] = total / double(state.iterations()) / memcpySeconds;
}

void BM_CompositeRefreshTenLayers(benchmark::State& state) {
    Document d(kBigWidth, kBigHeight, kTenLayers, Content(state.range(0)));
    // The bottom layer is current: no cache helps, every layer is drawn keyed.
    d.stack.SelectLayer(0);
    d.compositor.RebuildLayerCache();
    const double memcpySeconds = MemcpySeconds(d, kTenLayers);
    RunAgainstMemcpy(state, memcpySeconds, [&] { d.compositor.CompositeRefresh(); });
}
BENCHMARK(BM_CompositeRefreshTenLayers)
    ->ArgName("strokes0_dense1_speckled2")
    ->Arg(kStrokes)
    ->Arg(kDense)
    ->Arg(kSpeckled)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

void BM_CompositeRefreshTopOfTen(benchmark::State& state) {
    Document d(kBigWidth, kBigHeight, kTenLayers, kStrokes);
    d.stack.SelectLayer(kTenLayers - 1);
    d.compositor.RebuildLayerCache();
    const double memcpySeconds = MemcpySeconds(d, kTenLayers);
    RunAgainstMemcpy(state, memcpySeconds, [&] { d.compositor.CompositeRefresh(); });
}
BENCHMARK(BM_CompositeRefreshTopOfTen)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_FastPath(benchmark::State& state) {
    Document d(int(state.range(0)), int(state.range(1)), 1, kStrokes);
    const double memcpySeconds = MemcpySeconds(d, 1);
    RunAgainstMemcpy(state, memcpySeconds, [&] { d.compositor.CompositeRefresh(); });
}
BENCHMARK(BM_FastPath)
    ->Args({400, 400})
    ->Args({kBigWidth, kBigHeight})
    ->Unit(benchmark::kMicrosecond)
    ->UseRealTime();

long ResidentKilobytes() {
    std::ifstream status("/proc/self/status");
    std::string key;
    long value = 0;
    while (status >> key) {
        if (key == "VmRSS:") {
            status >> value;
            return value;
        }
        status.ignore(256, '\n');
    }
    return 0;
}

// Seconds for one memcpy of a picture-sized buffer into another, both already in memory (best
// of five).
double PictureMemcpySeconds(const Bitmap& picture) {
    const std::size_t bytes = std::size_t(picture.Stride()) * picture.Height();
    std::unique_ptr<std::uint8_t[]> from(new std::uint8_t[bytes]);
    std::unique_ptr<std::uint8_t[]> to(new std::uint8_t[bytes]);
    std::memset(from.get(), 1, bytes);
    std::memset(to.get(), 2, bytes);
    double best = 1e9;
    for (int round = 0; round < 5; ++round) {
        const auto start = Clock::now();
        std::memcpy(to.get(), from.get(), bytes);
        benchmark::DoNotOptimize(to.get());
        best = std::min(best, std::chrono::duration<double>(Clock::now() - start).count());
    }
    return best;
}

// The resident memory a 4000 x 3000 document with one layer adds: after its first refresh, and
// after a first dot is drawn. "first_dot_x_memcpy" is the time of that dot and its refresh (the
// first stroke's extra cost: the picture's memory) against one memcpy of the picture.
void BM_StartUpMemoryOneLayer(benchmark::State& state) {
    for (auto _ : state) {
        const long before = ResidentKilobytes();
        LayerStack stack;
        Bitmap image1(kBigWidth, kBigHeight);
        LayerCompositor compositor(stack, image1);
        compositor.CompositeRefresh();
        state.counters["added_MB"] = double(ResidentKilobytes() - before) / 1024.0;
        // A first dot on the layer: the layer and the paint surface now hold pixels, the other
        // ninety-nine layers still do not.
        const auto start = Clock::now();
        compositor.CurrentLayerImage().SetPixel(0, 0, clBlack);
        compositor.CompositeRefresh();
        const double dot = std::chrono::duration<double>(Clock::now() - start).count();
        state.counters["after_dot_MB"] = double(ResidentKilobytes() - before) / 1024.0;
        state.counters["first_dot_x_memcpy"] = dot / PictureMemcpySeconds(image1);
    }
}
BENCHMARK(BM_StartUpMemoryOneLayer)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
