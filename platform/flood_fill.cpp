#include "platform/flood_fill.h"

#include <cstdint>
#include <vector>

namespace {

struct Rgb {
    std::uint8_t b, g, r;
};

// Rows are compared and painted through raw pointers: the fill touches every pixel of a large
// area a few times, so a call per pixel would dominate.
class SpanFill {
  public:
    SpanFill(Bitmap& bitmap, TColor seed, TColor fill)
        : bitmap_(bitmap),
          width_(bitmap.Width()),
          seed_{std::uint8_t(BlueOf(seed)), std::uint8_t(GreenOf(seed)), std::uint8_t(RedOf(seed))},
          fill_{std::uint8_t(BlueOf(fill)), std::uint8_t(GreenOf(fill)),
                std::uint8_t(RedOf(fill))} {}

    QRect Run(int x, int y) {
        pending_.push_back({x, y});
        while (!pending_.empty()) {
            const Seed s = pending_.back();
            pending_.pop_back();
            FillSpanAt(s.x, s.y);
        }
        return painted_;
    }

  private:
    struct Seed {
        int x, y;
    };

    bool Matches(const std::uint8_t* row, int x) const {
        const std::uint8_t* p = row + 3 * x;
        return p[0] == seed_.b && p[1] == seed_.g && p[2] == seed_.r;
    }

    // Paints the seed-coloured run through (x, y) and queues one seed for every seed-coloured
    // run that touches it in the rows above and below. Each pixel is tested and painted in
    // one pass.
    void FillSpanAt(int x, int y) {
        std::uint8_t* row = bitmap_.ScanLine(y);
        if (!Matches(row, x)) return;  // painted meanwhile through another span
        int right = x;
        while (right < width_ && Matches(row, right)) Paint(row, right++);
        int left = x;
        while (left > 0 && Matches(row, left - 1)) Paint(row, --left);
        painted_ |= QRect(left, y, right - left, 1);
        if (y > 0) QueueRuns(y - 1, left, right - 1);
        if (y < bitmap_.Height() - 1) QueueRuns(y + 1, left, right - 1);
    }

    void Paint(std::uint8_t* row, int x) const {
        std::uint8_t* p = row + 3 * x;
        p[0] = fill_.b;
        p[1] = fill_.g;
        p[2] = fill_.r;
    }

    void QueueRuns(int y, int left, int right) {
        const std::uint8_t* row = bitmap_.ConstScanLine(y);
        bool inRun = false;
        for (int x = left; x <= right; ++x) {
            const bool m = Matches(row, x);
            if (m && !inRun) pending_.push_back({x, y});
            inRun = m;
        }
    }

    Bitmap& bitmap_;
    int width_;
    Rgb seed_;
    Rgb fill_;
    std::vector<Seed> pending_;
    QRect painted_;
};

}  // namespace

QRect FloodFillSurface(Bitmap& bitmap, int x, int y, TColor seed, TColor fill) {
    if (x < 0 || y < 0 || x >= bitmap.Width() || y >= bitmap.Height()) return QRect();
    if (!SameColour(bitmap.Pixel(x, y), seed)) return QRect();
    // Painting the seed colour with itself changes nothing and would never run out of seeds.
    if (SameColour(seed, fill)) return QRect();
    return SpanFill(bitmap, seed, fill).Run(x, y);
}
