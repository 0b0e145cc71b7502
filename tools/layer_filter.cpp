#include "tools/layer_filter.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/clock.h"
#include "tools/filter_rows.h"

namespace {

// Advances the bar by rows done and pumps when the wait has passed. The wait is the interval,
// or nine times what the last pump took, so that a slow repaint keeps to a tenth of the time.
class RowProgress {
  public:
    RowProgress(FilterProgress& progress, ProgressSpan span, int rows, unsigned intervalMs)
        : progress_(progress),
          span_(span),
          rows_(rows),
          intervalMs_(intervalMs),
          waitMs_(intervalMs),
          last_(TimeGetTime()) {
        progress_.SetRange(span.Minimum, span.Maximum);
        progress_.SetPosition(span.Start);
    }

    void RowDone(int done) {
        const std::uint32_t now = TimeGetTime();
        if (now - last_ < waitMs_) return;
        const long long steps = span_.Maximum - span_.Start;
        progress_.SetPosition(span_.Start + int(steps * done / (rows_ > 0 ? rows_ : 1)));
        progress_.Pump();
        last_ = TimeGetTime();
        waitMs_ = std::max(intervalMs_, 9 * (last_ - now));
    }

  private:
    FilterProgress& progress_;
    ProgressSpan span_;
    int rows_;
    std::uint32_t intervalMs_;
    std::uint32_t waitMs_;
    std::uint32_t last_;
};

void WhitenColumns(Bitmap& layer, int y, int from, int to) {
    if (from < to) std::memset(layer.ScanLine(y) + from * 3, 0xFF, std::size_t(to - from) * 3);
}

void WhitenRows(Bitmap& layer, int from, int to) {
    for (int y = from; y < to; ++y) WhitenColumns(layer, y, 0, layer.Width());
}

void PerPixel(Bitmap& layer, const FilterJob& job, RowProgress& bar) {
    const PixelMap map(job);
    for (int y = 0; y < layer.Height(); ++y) {
        if (job.Kind == fkInvert)
            InvertRow(layer.ScanLine(y), layer.Width());
        else
            map.MapRow(layer.ScanLine(y), layer.Width());
        bar.RowDone(y + 1);
    }
}

// Soft and value extraction: output (x, y) comes from the block whose top-left corner is
// (x, y). Row y is no longer read once its outputs are made, so it takes them in place.
void TopLeftBlock(Bitmap& layer, const FilterJob& job, RowProgress& bar) {
    const int w = layer.Width();
    const int outW = w - 2;
    const int outH = layer.Height() - 2;
    std::vector<std::uint16_t> sums;
    std::vector<std::uint32_t> packed;
    if (job.Kind == fkSoft)
        sums.resize(std::size_t(w) * 3);
    else
        packed.resize(std::size_t(w) * 3);
    auto ring = [&](int y) { return packed.data() + std::size_t(y % 3) * std::size_t(w); };
    if (job.Kind != fkSoft)
        for (int y = 0; y < 2; ++y) PackRow(layer.ConstScanLine(y), w, ring(y));
    for (int y = 0; y < outH; ++y) {
        std::uint8_t* out = layer.ScanLine(y);
        if (job.Kind == fkSoft) {
            SoftRow(out, layer.ConstScanLine(y + 1), layer.ConstScanLine(y + 2), outW, sums.data(),
                    out);
        } else {
            PackRow(layer.ConstScanLine(y + 2), w, ring(y + 2));
            RankRow(job.Level, ring(y), ring(y + 1), ring(y + 2), outW, out);
        }
        WhitenColumns(layer, y, outW, w);
        bar.RowDone(y + 1);
    }
    WhitenRows(layer, outH, layer.Height());
}

// The custom kernel: output (x, y) is centred on (x, y). The original rows above and on it are
// kept packed, since the outputs overwrite them.
void CentredBlock(Bitmap& layer, const FilterJob& job, RowProgress& bar) {
    const int w = layer.Width();
    const int outEnd = w - 2;
    const int outH = layer.Height() - 2;
    std::vector<std::uint32_t> packed(std::size_t(w) * 3);
    auto ring = [&](int y) { return packed.data() + std::size_t(y % 3) * std::size_t(w); };
    for (int y = 0; y < 2; ++y) PackRow(layer.ConstScanLine(y), w, ring(y));
    for (int y = 1; y < outH; ++y) {
        PackRow(layer.ConstScanLine(y + 1), w, ring(y + 1));
        std::uint8_t* out = layer.ScanLine(y);
        CustomRow(job.Custom, ring(y - 1), ring(y), ring(y + 1), outEnd, out);
        WhitenColumns(layer, y, 0, 1);
        WhitenColumns(layer, y, outEnd, w);
        bar.RowDone(y);
    }
    WhitenRows(layer, 0, 1);
    WhitenRows(layer, outH, layer.Height());
}

bool IsBlockFilter(FilterKind kind) {
    return kind == fkSoft || kind == fkValueExtraction || kind == fkCustom;
}

}  // namespace

ProgressSpan FilterProgressSpan(FilterKind kind, int width) {
    if (kind == fkCustom) return {1, width - 1, 1};
    if (IsBlockFilter(kind)) return {0, width - 2, 0};
    return {0, width, 0};
}

void ApplyLayerFilter(Bitmap& layer, const FilterJob& job, FilterProgress& progress,
                      unsigned pumpIntervalMs) {
    if (layer.Empty()) return;
    const bool block = IsBlockFilter(job.Kind);
    const int rows = block ? layer.Height() - 2 : layer.Height();
    RowProgress bar(progress, FilterProgressSpan(job.Kind, layer.Width()), rows, pumpIntervalMs);
    if (block && (layer.Width() < 3 || layer.Height() < 3)) {
        // The buffer has no pixels: all that is left is its white enlargement.
        layer.Fill(clWhite);
        return;
    }
    if (!block)
        PerPixel(layer, job, bar);
    else if (job.Kind == fkCustom)
        CentredBlock(layer, job, bar);
    else
        TopLeftBlock(layer, job, bar);
}
