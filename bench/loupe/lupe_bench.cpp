// The magnifier touches only what it shows: a repaint of the view and one scroll step cost the
// same whether the source is 400 x 400 or 4000 x 3000. The figure that matters is the
// large/small counter, measured on both sizes in turn within one run.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <memory>

#include <QApplication>
#include <QStyle>

#include "loupe/lupe.h"

namespace {

// A source of varied pixels, so no copy can be cheaper than the real one.
Bitmap Source(int w, int h) {
    Bitmap b(w, h);
    for (int y = 0; y < h; ++y) {
        std::uint8_t* row = b.ScanLine(y);
        for (int x = 0; x < w * 3; ++x) row[x] = static_cast<std::uint8_t>(x * 7 + y * 13);
    }
    return b;
}

// A shown magnifier at power 6 whose view area is 190 x 176 beside both bars, scrolled into
// the middle of the source.
std::unique_ptr<TLupe> ShownLupe(int sourceW, int sourceH) {
    auto lupe = std::make_unique<TLupe>();
    const int e = lupe->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, lupe.get());
    lupe->SetPower(6);
    lupe->resize(190 + e, 176 + e);
    lupe->SetBitmap(Source(sourceW, sourceH));
    lupe->show();
    QApplication::processEvents();
    lupe->SetClipLeft(sourceW / 2);
    lupe->SetClipTop(sourceH / 2);
    QApplication::processEvents();
    return lupe;
}

using Clock = std::chrono::steady_clock;

// Runs step on the small and on the large magnifier in turn, timing each, so that a busy spell
// on the shared machine falls on both alike. Reports both times and their ratio.
template <typename Step>
void Paired(benchmark::State& state, Step step) {
    auto small = ShownLupe(400, 400);
    auto large = ShownLupe(4000, 3000);
    Clock::duration smallTime{}, largeTime{};
    bool even = true;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        step(*small, even);
        const auto t1 = Clock::now();
        step(*large, even);
        even = !even;
        largeTime += Clock::now() - t1;
        smallTime += t1 - t0;
    }
    const double n = static_cast<double>(state.iterations());
    const auto us = [n](Clock::duration d) {
        return std::chrono::duration<double, std::micro>(d).count() / n;
    };
    state.counters["small_us"] = us(smallTime);
    state.counters["large_us"] = us(largeTime);
    state.counters["large/small"] = us(largeTime) / us(smallTime);
}

void BM_Repaint(benchmark::State& state) {
    Paired(state, [](TLupe& lupe, bool) { lupe.repaint(); });
}

void BM_ScrollStep(benchmark::State& state) {
    // Down and back up, so the view never reaches the end of the source.
    Paired(state, [](TLupe& lupe, bool even) {
        lupe.Scroll(Qt::Vertical, even ? scLineDown : scLineUp, 0);
    });
}

BENCHMARK(BM_Repaint)->MinTime(0.5)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_ScrollStep)->MinTime(0.5)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace
