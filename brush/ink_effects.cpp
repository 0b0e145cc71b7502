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

void Write(const InkSquare& sq, int x, int y, TColor colour, WrittenArea& area) {
    if (x < 0 || y < 0 || x >= sq.layer.Width() || y >= sq.layer.Height()) return;
    sq.layer.SetPixel(x, y, colour);
    sq.surface.SetPixel(x, y, colour);
    area.Add(x, y);
}

bool NearInk(const Bitmap& layer, int x, int y, int probe, TColor ink) {
    // The first match decides, in this order: above, left, below, right.
    return SameColour(layer.Pixel(x, y - probe), ink) ||
           SameColour(layer.Pixel(x - probe, y), ink) ||
           SameColour(layer.Pixel(x, y + probe), ink) || SameColour(layer.Pixel(x + probe, y), ink);
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
    explicit RowReader(const InkSquare& sq)
        : layer_(sq.layer),
          width_(std::min(sq.surface.Width(), sq.layer.Width())),
          height_(std::min(sq.surface.Height(), sq.layer.Height())) {}

    void Sample(int x, int y) {
        if (x > 0 && x < width_ && y > 0 && y < height_) {
            const std::uint8_t* p = layer_.ConstScanLine(y) + 3 * x;
            last_[0] = p[2], last_[1] = p[1], last_[2] = p[0];
        }
        for (int i = 0; i < 3; ++i) sum_[i] += last_[i];
    }
    void StartBlock() { sum_[0] = sum_[1] = sum_[2] = 0; }
    TColor Mean() const { return RgbColour(sum_[0] / 9, sum_[1] / 9, sum_[2] / 9); }

  private:
    const Bitmap& layer_;
    int width_;
    int height_;
    // Before any read, a skipped sample counts as paper white.
    int last_[3] = {255, 255, 255};
    int sum_[3] = {0, 0, 0};
};

// A blur pass: targets run from the pointer - dir * reach to the pointer + dir * reach, x
// outside and y inside; the block's columns and rows are first + k * dir for k = 0, 1, 2,
// with first the target + offset.
struct PassShape {
    int reach;
    int dir;
    int offset;
};

void BlurPass(const InkSquare& sq, const PassShape& shape, RowReader& reader, WrittenArea& area) {
    const int span = 2 * shape.reach + 1;
    const int x0 = sq.pointerX - shape.dir * shape.reach;
    const int y0 = sq.pointerY - shape.dir * shape.reach;
    for (int i = 0; i < span; ++i) {
        const int x = x0 + i * shape.dir;
        for (int j = 0; j < span; ++j) {
            const int y = y0 + j * shape.dir;
            reader.StartBlock();
            for (int c = 0; c < 3; ++c)
                for (int r = 0; r < 3; ++r)
                    reader.Sample(x + shape.offset + c * shape.dir,
                                  y + shape.offset + r * shape.dir);
            if (SameColour(sq.layer.Pixel(x, y), sq.ink)) Write(sq, x, y, reader.Mean(), area);
        }
    }
}

}  // namespace

QRect InkBleed(const InkSquare& sq) {
    const int radius = InkRadius(sq.brushSize);
    const int probe = BleedProbeDistance(sq.brushSize);
    const int inkR = RedOf(sq.ink), inkG = GreenOf(sq.ink), inkB = BlueOf(sq.ink);
    WrittenArea area;
    for (int x = sq.pointerX - radius; x <= sq.pointerX + radius; ++x) {
        for (int y = sq.pointerY - radius; y <= sq.pointerY + radius; ++y) {
            const TColor q = sq.layer.Pixel(x, y);
            if (SameColour(q, sq.ink) || !NearInk(sq.layer, x, y, probe, sq.ink)) continue;
            Write(sq, x, y,
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
    RowReader reader(sq);
    WrittenArea area;
    switch (level) {
        case blNone:
            break;
        case blWeak:
            BlurPass(sq, centred, reader, area);
            break;
        case blMedium:
            BlurPass(sq, forward, reader, area);
            break;
        case blStrong:
            BlurPass(sq, forward, reader, area);
            BlurPass(sq, backward, reader, area);
            break;
    }
    return area.Rect();
}
