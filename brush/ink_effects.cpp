#include "brush/ink_effects.h"

#include <algorithm>
#include <cstdint>

// Coordinates are plain ints: the squares can reach past the picture, and there they simply
// read nothing and write nothing, even at the far edge of the largest picture.
namespace {

// The bounding box of the pixels written.
class WrittenArea {
  public:
    void Add(int x, int y) {
        left_ = std::min(left_, x);
        top_ = std::min(top_, y);
        right_ = std::max(right_, x);
        bottom_ = std::max(bottom_, y);
    }
    QRect Rect() const {
        return left_ > right_ ? QRect() : QRect(QPoint(left_, top_), QPoint(right_, bottom_));
    }

  private:
    int left_ = INT32_MAX, top_ = INT32_MAX, right_ = INT32_MIN, bottom_ = INT32_MIN;
};

// The layer's pixels as the canvas reads them, straight from its rows: the effects make
// thousands of reads per tick. Outside the bitmap a read reports no valid colour.
class CanvasReader {
  public:
    explicit CanvasReader(const Bitmap& layer) : layer_(layer) { Refresh(); }

    TColor At(int x, int y) const {
        if (x < 0 || y < 0 || x >= width_ || y >= height_) return kNoColour;
        const std::uint8_t* p = rows_ + std::size_t(y) * stride_ + 3 * std::size_t(x);
        return RgbColour(p[2], p[1], p[0]);
    }
    // A lazily white layer reads one shared white row until its first write gives it memory.
    void Refresh() {
        lazy_ = layer_.IsLazyWhite();
        rows_ = layer_.ConstScanLine(0);
        stride_ = lazy_ ? 0 : std::size_t(layer_.Stride());
        width_ = layer_.Width();
        height_ = layer_.Height();
    }
    bool Lazy() const { return lazy_; }

  private:
    const Bitmap& layer_;
    const std::uint8_t* rows_ = nullptr;
    std::size_t stride_ = 0;
    int width_ = 0;
    int height_ = 0;
    bool lazy_ = false;
};

void Write(const InkSquare& sq, CanvasReader& canvas, int x, int y, TColor colour,
           WrittenArea& area) {
    if (x < 0 || y < 0 || x >= sq.layer.Width() || y >= sq.layer.Height()) return;
    // Rewriting a colour a pixel already has is no change: a brush resting on settled ink
    // then reports nothing to repaint.
    if (!SameColour(canvas.At(x, y), colour) || !SameColour(sq.surface.Pixel(x, y), colour))
        area.Add(x, y);
    sq.layer.SetPixel(x, y, colour);
    sq.surface.SetPixel(x, y, colour);
    if (canvas.Lazy()) canvas.Refresh();
}

bool NearInk(const CanvasReader& canvas, int x, int y, int probe, TColor ink) {
    // The first match decides, in this order: above, left, below, right.
    return SameColour(canvas.At(x, y - probe), ink) || SameColour(canvas.At(x - probe, y), ink) ||
           SameColour(canvas.At(x, y + probe), ink) || SameColour(canvas.At(x + probe, y), ink);
}

// One twentieth of the way toward the ink, rounded toward zero: a channel within 19 stays.
int Seep(int channel, int ink) {
    if (channel < ink) return channel + (ink - channel) / 20;
    if (channel > ink) return channel - (channel - ink) / 20;
    return channel;
}

// Reads pixels from the layer's rows. A read is made only strictly inside the picture
// (column 0 and row 0 excluded); a skipped read repeats the last one made in this blur.
class RowReader {
  public:
    RowReader(const InkSquare& sq, const CanvasReader& canvas)
        : canvas_(canvas),
          width_(std::min(sq.surface.Width(), sq.layer.Width())),
          height_(std::min(sq.surface.Height(), sq.layer.Height())) {}

    // The mean of the block whose columns and rows are first + k * dir (k = 0, 1, 2), read
    // column by column.
    TColor Mean(int firstX, int firstY, int dir) {
        int sum[3] = {0, 0, 0};
        for (int c = 0; c < 3; ++c)
            for (int r = 0; r < 3; ++r) {
                Read(firstX + c * dir, firstY + r * dir);
                for (int i = 0; i < 3; ++i) sum[i] += last_[i];
            }
        return RgbColour(sum[0] / 9, sum[1] / 9, sum[2] / 9);
    }
    // The same reads without the sums: only the last read made matters afterwards.
    void Skip(int firstX, int firstY, int dir) {
        for (int c = 2; c >= 0; --c)
            for (int r = 2; r >= 0; --r)
                if (Read(firstX + c * dir, firstY + r * dir)) return;
    }

  private:
    const CanvasReader& canvas_;
    int width_;
    int height_;
    // Before any read, a skipped sample counts as paper white.
    int last_[3] = {255, 255, 255};

    bool Read(int x, int y) {
        if (x <= 0 || x >= width_ || y <= 0 || y >= height_) return false;
        const TColor c = canvas_.At(x, y);
        last_[0] = RedOf(c), last_[1] = GreenOf(c), last_[2] = BlueOf(c);
        return true;
    }
};

// A blur pass: targets run from the pointer - dir * reach to the pointer + dir * reach, x
// outside and y inside; the block's columns and rows are first + k * dir for k = 0, 1, 2,
// with first the target + offset.
struct PassShape {
    int reach;
    int dir;
    int offset;
};

void BlurPass(const InkSquare& sq, const PassShape& shape, CanvasReader& canvas, RowReader& reader,
              WrittenArea& area) {
    const int span = 2 * shape.reach + 1;
    const int x0 = sq.pointerX - shape.dir * shape.reach;
    const int y0 = sq.pointerY - shape.dir * shape.reach;
    for (int i = 0; i < span; ++i) {
        const int x = x0 + i * shape.dir;
        for (int j = 0; j < span; ++j) {
            const int y = y0 + j * shape.dir;
            const int firstX = x + shape.offset;
            const int firstY = y + shape.offset;
            if (SameColour(canvas.At(x, y), sq.ink))
                Write(sq, canvas, x, y, reader.Mean(firstX, firstY, shape.dir), area);
            else
                reader.Skip(firstX, firstY, shape.dir);
        }
    }
}

}  // namespace

QRect InkBleed(const InkSquare& sq) {
    const int radius = InkRadius(sq.brushSize);
    const int probe = BleedProbeDistance(sq.brushSize);
    const int inkR = RedOf(sq.ink), inkG = GreenOf(sq.ink), inkB = BlueOf(sq.ink);
    CanvasReader canvas(sq.layer);
    WrittenArea area;
    for (int x = sq.pointerX - radius; x <= sq.pointerX + radius; ++x) {
        for (int y = sq.pointerY - radius; y <= sq.pointerY + radius; ++y) {
            const TColor q = canvas.At(x, y);
            if (SameColour(q, sq.ink) || !NearInk(canvas, x, y, probe, sq.ink)) continue;
            Write(sq, canvas, x, y,
                  RgbColour(Seep(RedOf(q), inkR), Seep(GreenOf(q), inkG), Seep(BlueOf(q), inkB)),
                  area);
        }
    }
    return area.Rect();
}

QRect InkBlur(const InkSquare& sq, BlurLevel level) {
    const int radius = InkRadius(sq.brushSize);
    const PassShape forward{radius + 1, +1, 0};
    const PassShape backward{radius + 1, -1, 0};
    const PassShape centred{radius, +1, -1};
    CanvasReader canvas(sq.layer);
    RowReader reader(sq, canvas);
    WrittenArea area;
    switch (level) {
        case blNone:
            break;
        case blWeak:
            BlurPass(sq, centred, canvas, reader, area);
            break;
        case blMedium:
            BlurPass(sq, forward, canvas, reader, area);
            break;
        case blStrong:
            BlurPass(sq, forward, canvas, reader, area);
            BlurPass(sq, backward, canvas, reader, area);
            break;
    }
    return area.Rect();
}
