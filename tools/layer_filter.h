#pragma once
// Runs one of the eight filters over a layer bitmap, headless.
//
// The result equals computing every output column by column into a white buffer (the picture's
// size, or two pixels smaller for the three 3 x 3 filters, enlarged with white afterwards) and
// copying that back; it is computed row by row in place, which gives the same pixels.
#include "platform/bitmap.h"
#include "tools/filter_settings.h"

// The progress bar and the message pump as a running filter sees them.
class FilterProgress {
  public:
    virtual ~FilterProgress() = default;
    virtual void SetRange(int minimum, int maximum) = 0;
    virtual void SetPosition(int position) = 0;
    // Lets the user interface catch up: repaints, the bar itself.
    virtual void Pump() = 0;
};

// The bar's range while a filter runs on a picture width pixels wide, and where it starts:
// one step per output column.
struct ProgressSpan {
    int Minimum = 0;
    int Maximum = 0;
    int Start = 0;
};
ProgressSpan FilterProgressSpan(FilterKind kind, int width);

// A screen refresh: the bar advances and the interface is pumped at most this often, and never
// sooner than nine times the last pump's own time after it, so that pumping costs at most a
// tenth of the filter's time however large the picture or slow the repaint.
constexpr unsigned kFilterPumpIntervalMs = 16;

// Filters the layer in place. The bar shows the share of the work done on the span above;
// it is left at the span's start value, for the caller to reset.
void ApplyLayerFilter(Bitmap& layer, const FilterJob& job, FilterProgress& progress,
                      unsigned pumpIntervalMs = kFilterPumpIntervalMs);
