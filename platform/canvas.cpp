#include "platform/canvas.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

void ThinLine(Bitmap& target, int x0, int y0, int x1, int y1, TColor colour) {
    const int dx = std::abs(x1 - x0);
    const int dy = -std::abs(y1 - y0);
    const int sx = x0 < x1 ? 1 : -1;
    const int sy = y0 < y1 ? 1 : -1;
    int err = dx + dy;
    int x = x0;
    int y = y0;
    while (x != x1 || y != y1) {
        target.SetPixel(x, y, colour);
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y += sy;
        }
    }
}

// An odd width centres the line on the pixels the points name. An even width cannot: its
// centre runs along the pixel corners up and left of them, so that w whole pixels lie across
// it rather than w - 1 plus the two halves that a centre on the pixels would take in full.
void WideLine(Bitmap& target, int x0, int y0, int x1, int y1, TColor colour, int width) {
    const double r = width / 2.0;
    const double r2 = r * r;
    const double shift = width % 2 == 0 ? 0.5 : 0.0;
    const double cx = x0 - shift;
    const double cy = y0 - shift;
    const int reach = static_cast<int>(std::ceil(r));
    const int left = std::max(std::min(x0, x1) - reach, 0);
    const int right = std::min(std::max(x0, x1) + reach, target.Width() - 1);
    const int top = std::max(std::min(y0, y1) - reach, 0);
    const int bottom = std::min(std::max(y0, y1) + reach, target.Height() - 1);
    if (left > right || top > bottom) return;

    const double vx = x1 - x0;
    const double vy = y1 - y0;
    const double len2 = vx * vx + vy * vy;
    const std::uint8_t b = static_cast<std::uint8_t>(BlueOf(colour));
    const std::uint8_t g = static_cast<std::uint8_t>(GreenOf(colour));
    const std::uint8_t rr = static_cast<std::uint8_t>(RedOf(colour));
    for (int y = top; y <= bottom; ++y) {
        std::uint8_t* row = nullptr;
        for (int x = left; x <= right; ++x) {
            double t = 0.0;
            if (len2 > 0) t = std::clamp(((x - cx) * vx + (y - cy) * vy) / len2, 0.0, 1.0);
            const double ex = x - (cx + t * vx);
            const double ey = y - (cy + t * vy);
            if (ex * ex + ey * ey > r2) continue;
            if (!row) row = target.ScanLine(y);
            row[x * 3] = b;
            row[x * 3 + 1] = g;
            row[x * 3 + 2] = rr;
        }
    }
}

}  // namespace

void DrawLine(Bitmap& target, int x0, int y0, int x1, int y1, TColor colour, int width) {
    if (target.Empty()) return;
    if (width <= 1)
        ThinLine(target, x0, y0, x1, y1, colour);
    else
        WideLine(target, x0, y0, x1, y1, colour, width);
}

void Canvas::LineTo(int x, int y) {
    if (target_) DrawLine(*target_, penX_, penY_, x, y, pen.Color, pen.Width());
    penX_ = x;
    penY_ = y;
}
