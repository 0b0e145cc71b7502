#include "brush/retouch.h"

#include <algorithm>

#include "platform/rounding.h"

namespace {

struct Rgb {
    int r, g, b;
};

Rgb Channels(TColor c) {
    return {RedOf(c), GreenOf(c), BlueOf(c)};
}

// One square of pixels, visited x by x and, within each x, y by y; every write lands in the
// layer at once so that later reads see it.
class Dab {
  public:
    Dab(Bitmap& layer, Bitmap& surface, const QRect& square)
        : layer_(layer), surface_(surface), square_(square) {}

    template <typename Step>
    void ForEach(Step step) {
        for (int x = square_.left(); x <= square_.right(); ++x)
            for (int y = square_.top(); y <= square_.bottom(); ++y) step(x, y);
    }

    TColor Read(int x, int y) const { return layer_.Pixel(x, y); }
    void Write(int x, int y, const Rgb& c) {
        const TColor colour = RgbColour(c.r, c.g, c.b);
        layer_.SetPixel(x, y, colour);
        surface_.SetPixel(x, y, colour);
    }

    void Shift(int by) {
        const TColor stop = by > 0 ? clWhite : clBlack;
        ForEach([&](int x, int y) {
            const TColor c = Read(x, y);
            if (SameColour(c, stop)) return;
            const Rgb v = Channels(c);
            Write(x, y, {Limit(v.r + by), Limit(v.g + by), Limit(v.b + by)});
        });
    }

    void Tint(TColor chosen) {
        const Rgb p = Channels(chosen);
        ForEach([&](int x, int y) {
            const TColor c = Read(x, y);
            if (SameColour(c, chosen)) return;
            Rgb v = Channels(c);
            int* ch[3] = {&v.r, &v.g, &v.b};
            const int target[3] = {p.r, p.g, p.b};
            // Raised first, then lowered, each channel by an eightieth of its gap, rounded.
            for (int i = 0; i < 3; ++i)
                if (*ch[i] < target[i]) *ch[i] += int(Round((target[i] - *ch[i]) / 80.0));
            for (int i = 0; i < 3; ++i)
                if (*ch[i] > target[i]) *ch[i] -= int(Round((*ch[i] - target[i]) / 80.0));
            Write(x, y, v);
        });
    }

    void Contrast() {
        ForEach([&](int x, int y) {
            const Rgb v = Channels(Read(x, y));
            Write(x, y, {Stretch(v.r), Stretch(v.g), Stretch(v.b)});
        });
    }

    void Soften() {
        ForEach([&](int x, int y) {
            Rgb sum{0, 0, 0};
            for (int dx = -1; dx <= 1; ++dx)
                for (int dy = -1; dy <= 1; ++dy) {
                    const Rgb v = Channels(Read(x + dx, y + dy));
                    sum.r += v.r;
                    sum.g += v.g;
                    sum.b += v.b;
                }
            Write(x, y, {sum.r / 9, sum.g / 9, sum.b / 9});
        });
    }

  private:
    static int Limit(int v) { return std::clamp(v, 0, 255); }
    static int Stretch(int v) { return ClampChannel(v + (v - 127.5) * 0.02); }

    Bitmap& layer_;
    Bitmap& surface_;
    QRect square_;
};

}  // namespace

RetouchKind RetouchKindOf(const MenuChecks& c) {
    if (c.R1) return RetouchKind::Soften;
    if (c.R2) return RetouchKind::Brighten;
    if (c.R6) return RetouchKind::BrightenSoften;
    if (c.R3) return RetouchKind::Darken;
    if (c.R7) return RetouchKind::DarkenSoften;
    if (c.R5) return RetouchKind::Tint;
    if (c.R8) return RetouchKind::TintSoften;
    if (c.R4) return RetouchKind::Contrast;
    return RetouchKind::Soften;
}

int RetouchHalfSide(int brushSize) {
    return int(Round(brushSize / 2.0));
}

QRect RetouchDabOn(Bitmap& layer, Bitmap& surface, const RetouchDabInput& in) {
    const int h = RetouchHalfSide(in.brushSize);
    const QRect square(in.pointerX - h, in.pointerY - h, 2 * h + 1, 2 * h + 1);
    Dab dab(layer, surface, square);
    switch (in.kind) {
        case RetouchKind::Soften:
            break;
        case RetouchKind::Brighten:
            dab.Shift(2);
            break;
        case RetouchKind::BrightenSoften:
            dab.Shift(4);
            break;
        case RetouchKind::Darken:
            dab.Shift(-2);
            break;
        case RetouchKind::DarkenSoften:
            dab.Shift(-4);
            break;
        case RetouchKind::Tint:
        case RetouchKind::TintSoften:
            dab.Tint(in.chosen);
            break;
        case RetouchKind::Contrast:
            dab.Contrast();
            break;
    }
    switch (in.kind) {
        case RetouchKind::Soften:
        case RetouchKind::BrightenSoften:
        case RetouchKind::DarkenSoften:
        case RetouchKind::TintSoften:
            dab.Soften();
            break;
        default:
            break;
    }
    return square;
}
