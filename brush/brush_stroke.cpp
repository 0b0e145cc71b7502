#include "brush/brush_stroke.h"

#include <algorithm>
#include <climits>

#include "brush/speed_effects.h"

namespace {

// No bristle lies further than this from the brush point.
constexpr int kBristleReach = 20;

// The pixels a line of the given width between two points may cover.
QRect LineArea(int x0, int y0, int x1, int y1, int width) {
    const int reach = width / 2 + 1;
    return QRect(QPoint(std::min(x0, x1) - reach, std::min(y0, y1) - reach),
                 QPoint(std::max(x0, x1) + reach, std::max(y0, y1) + reach));
}

}  // namespace

void BrushStroke::Press(TShiftState shift, TColor primary, TColor secondary, int x, int y,
                        int pressure) {
    TColor colour = 0;
    bool chosen = true;
    if (LeftAlone(shift))
        colour = primary;
    else if (RightAlone(shift))
        colour = secondary;
    else
        chosen = false;
    if (chosen) {
        layer_.pen.Color = colour;
        surface_.pen.Color = colour;
        s_.StrokeBaseColour = colour;
    }
    s_.StrokeActive = true;
    layer_.MoveTo(x, y);
    surface_.MoveTo(x, y);
    s_.StrokePhase = 1;
    pressure_.Press(pressure, checks_.P1);
}

bool BrushStroke::Move(int pressure) {
    pressure_.Feel(pressure);
    if (!s_.StrokeActive) return false;
    s_.TickDrawing = true;
    if (s_.StrokePhase == 1) SwellingStep(s_, Pens(), checks_);
    if (s_.StrokePhase == 2) return TailStep(s_, Pens(), checks_);
    return false;
}

void BrushStroke::ReleaseInside(int x, int y) {
    s_.StrokePhase = 2;
    layer_.MoveTo(x, y);
    surface_.MoveTo(x, y);
}

void BrushStroke::ReleaseOutside() {
    s_.StrokeActive = false;
    s_.TickDrawing = false;
    s_.StrokePhase = 2;
    layer_.pen.SetWidth(0);
    surface_.pen.SetWidth(0);
    s_.InkLevel = 0;
}

void BrushStroke::End() {
    s_.StrokeActive = false;
    s_.TickDrawing = false;
}

void BrushStroke::TickPoints() {
    s_.SegmentStartX = s_.SegmentEndX;
    s_.SegmentStartY = s_.SegmentEndY;
    s_.SegmentEndX = s_.PointerX;
    s_.SegmentEndY = s_.PointerY;
    // Worked out wide: a pointer far outside the picture must not overflow the speed.
    const long long dx = (long long)s_.SegmentStartX - s_.SegmentEndX;
    const long long dy = (long long)s_.SegmentStartY - s_.SegmentEndY;
    s_.SpeedSquared = int(std::min(dx * dx + dy * dy, (long long)INT_MAX));
}

void BrushStroke::WidthBySpeed() {
    // Saturates instead of wrapping: a long, wild stroke must not turn its ink positive.
    s_.InkLevel = int(std::max<long long>((long long)s_.InkLevel - s_.SpeedSquared / 6, INT_MIN));
    // A width that would fall below zero is not applied.
    layer_.pen.SetWidth(layer_.pen.Width() - s_.SpeedSquared / 24);
    surface_.pen.SetWidth(layer_.pen.Width());
}

QRect BrushStroke::PlainLine() {
    // Pressure narrows only the line laid down: the pens keep the stroke's width, which the
    // swelling and the tail go on from.
    const int layerWidth = layer_.pen.Width();
    const int surfaceWidth = surface_.pen.Width();
    pressure_.Settle(checks_.P1, layerWidth);
    const int laid = pressure_.Width(layerWidth);
    if (laid != layerWidth) {
        layer_.pen.SetWidth(laid);
        surface_.pen.SetWidth(laid);
    }
    // The layer gets its pixels too, but only the paint surface is repainted.
    const QRect area =
        LineArea(surface_.PenX(), surface_.PenY(), s_.PointerX, s_.PointerY, surface_.pen.Width());
    layer_.LineTo(s_.PointerX, s_.PointerY);
    surface_.LineTo(s_.PointerX, s_.PointerY);
    if (laid != layerWidth) {
        layer_.pen.SetWidth(layerWidth);
        surface_.pen.SetWidth(surfaceWidth);
    }
    return area;
}

void BrushStroke::DensityBySpeedStep() {
    const TColor colour = DensityBySpeed(layer_.pen.Color, s_.StrokeBaseColour, s_.SpeedSquared);
    layer_.pen.Color = colour;
    surface_.pen.Color = colour;
}

// One one-pixel line per inked bristle, parallel to the segment and shifted by the bristle's
// offset. No ink draws nothing: that is the dry brush's break.
QRect BrushStroke::BristleLines() {
    layer_.pen.SetWidth(1);
    surface_.pen.SetWidth(1);
    const int most = 5 * s_.BrushSize;
    s_.InkLevel = std::clamp(s_.InkLevel, 0, most - 1);
    // Pressure inks fewer bristles; the stroke keeps its ink. Five bristles in table order
    // spread the cloud by about one pixel.
    pressure_.Settle(checks_.P1, (s_.InkLevel + 4) / 5);
    const int inked = pressure_.Bristles(s_.InkLevel);
    for (int k = 0; k < inked; ++k) {
        const int dx = bristles_.BristleX[std::size_t(k)];
        const int dy = bristles_.BristleY[std::size_t(k)];
        layer_.MoveTo(s_.SegmentStartX + dx, s_.SegmentStartY + dy);
        surface_.MoveTo(s_.SegmentStartX + dx, s_.SegmentStartY + dy);
        layer_.LineTo(s_.SegmentEndX + dx, s_.SegmentEndY + dy);
        surface_.LineTo(s_.SegmentEndX + dx, s_.SegmentEndY + dy);
    }
    s_.BristleCursor = most + 1;
    QRect area;
    if (inked > 0)
        area = LineArea(s_.SegmentStartX, s_.SegmentStartY, s_.SegmentEndX, s_.SegmentEndY,
                        2 * kBristleReach);
    // With blur, the dry brush bleeds once more before the tick's own bleed.
    if (BlurLevelOf(checks_) != blNone) area |= Bleed();
    return area;
}

InkSquare BrushStroke::Square() const {
    return {*layer_.Target(), *surface_.Target(), s_.PointerX,
            s_.PointerY,      s_.BrushSize,       layer_.pen.Color};
}

QRect BrushStroke::Bleed() {
    return checks_.M1 ? InkBleed(Square()) : QRect();
}

QRect BrushStroke::Tick() {
    TickPoints();
    if (!s_.TickDrawing) return QRect();
    if (checks_.C2) DensityBySpeedStep();
    if (checks_.N8) WidthBySpeed();
    QRect area = checks_.H1 ? BristleLines() : PlainLine();
    area |= Bleed();
    area |= InkBlur(Square(), BlurLevelOf(checks_));
    return area;
}
