// The eight filters on a 4000 x 3000 layer, as ratios to one memcpy of that picture in the same
// run, and what pumping the interface costs while one runs.
//
// Counter "x_memcpy": the best filter run divided by the best of five memcpys of the picture,
// with the wide loops (wide:1) and with the portable ones (wide:0).
// Counter "pump_share": the part of a filter run spent advancing a real progress bar and
// processing events.
#include <benchmark/benchmark.h>

#include <QApplication>

#include <QElapsedTimer>
#include <QProgressBar>
#include <algorithm>
#include <chrono>
#include <cstring>
#include <memory>

#include "tools/filter_rows_wide.h"
#include "tools/layer_filter.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kWidth = 4000;
constexpr int kHeight = 3000;

// A picture with gradients, noise and hard edges, so that no filter meets a uniform block.
const Bitmap& Picture() {
    static const Bitmap picture = [] {
        Bitmap b(kWidth, kHeight);
        std::uint32_t s = 12345;
        for (int y = 0; y < kHeight; ++y) {
            std::uint8_t* row = b.ScanLine(y);
            for (int x = 0; x < kWidth; ++x) {
                s = s * 1664525u + 1013904223u;
                const int noise = int(s >> 28);
                const bool stripe = ((x / 97) + (y / 61)) % 3 == 0;
                row[x * 3] = std::uint8_t(stripe ? 30 + noise : (x * 255 / kWidth) ^ noise);
                row[x * 3 + 1] = std::uint8_t((y * 255 / kHeight) + noise);
                row[x * 3 + 2] = std::uint8_t(stripe ? 220 - noise : (x + y) / 28 + noise);
            }
        }
        return b;
    }();
    return picture;
}

double MemcpySeconds() {
    const Bitmap& p = Picture();
    const std::size_t bytes = std::size_t(p.Stride()) * p.Height();
    std::unique_ptr<std::uint8_t[]> target(new std::uint8_t[bytes]);
    std::memset(target.get(), 0, bytes);
    double best = 1e9;
    for (int round = 0; round < 5; ++round) {
        const auto start = Clock::now();
        std::memcpy(target.get(), p.ConstScanLine(0), bytes);
        benchmark::DoNotOptimize(target.get());
        best = std::min(best, std::chrono::duration<double>(Clock::now() - start).count());
    }
    return best;
}

class NoProgress : public FilterProgress {
  public:
    void SetRange(int, int) override {}
    void SetPosition(int) override {}
    void Pump() override {}
};

// A real progress bar on the offscreen screen, repainted by each pump.
class TimedPump : public FilterProgress {
  public:
    TimedPump() {
        bar_.resize(81, 8);
        bar_.show();
    }
    void SetRange(int minimum, int maximum) override { bar_.setRange(minimum, maximum); }
    void SetPosition(int position) override {
        timer_.start();
        bar_.setValue(position);
        seconds_ += double(timer_.nsecsElapsed()) * 1e-9;
    }
    void Pump() override {
        timer_.start();
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        seconds_ += double(timer_.nsecsElapsed()) * 1e-9;
    }
    double seconds_ = 0;

  private:
    QProgressBar bar_;
    QElapsedTimer timer_;
};

FilterJob JobFor(FilterKind kind) {
    FilterJob job;
    job.Kind = kind;
    job.Offsets = {40, -20, 100};
    job.Custom.Kernel[0][1] = job.Custom.Kernel[1][0] = -1;
    job.Custom.Kernel[1][2] = job.Custom.Kernel[2][1] = -1;
    job.Custom.Kernel[1][1] = 4;
    return job;
}

// Argument "wide": 1 for the wide loops where the processor has them, 0 for the portable ones.
void BM_Filter(benchmark::State& state) {
    const FilterJob job = JobFor(FilterKind(state.range(0)));
    AllowWideRows(state.range(1) != 0);
    const double memcpySeconds = MemcpySeconds();
    Bitmap layer(Picture());
    NoProgress progress;
    double best = 1e9;
    for (auto _ : state) {
        layer.CopyFrom(Picture());
        const auto start = Clock::now();
        ApplyLayerFilter(layer, job, progress);
        best = std::min(best, std::chrono::duration<double>(Clock::now() - start).count());
    }
    // Best against best, so that other work on the machine weighs on neither.
    state.counters["x_memcpy"] = best / memcpySeconds;
    state.counters["memcpy_ms"] = memcpySeconds * 1e3;
    AllowWideRows(true);
}
BENCHMARK(BM_Filter)
    ->ArgNames({"kind", "wide"})
    ->ArgsProduct({benchmark::CreateDenseRange(fkSoft, fkCustom, 1), {1, 0}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(5);

// The cheapest filter, where pumping weighs most.
void BM_PumpShare(benchmark::State& state) {
    const FilterJob job = JobFor(FilterKind(state.range(0)));
    Bitmap layer(Picture());
    double total = 0;
    double pumping = 0;
    for (auto _ : state) {
        layer.CopyFrom(Picture());
        TimedPump progress;
        const auto start = Clock::now();
        ApplyLayerFilter(layer, job, progress);
        total += std::chrono::duration<double>(Clock::now() - start).count();
        pumping += progress.seconds_;
    }
    state.counters["pump_share"] = pumping / total;
}
BENCHMARK(BM_PumpShare)
    ->ArgName("kind")
    ->Arg(fkInvert)
    ->Arg(fkGammaPlus)
    ->Arg(fkValueExtraction)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(5);

}  // namespace
