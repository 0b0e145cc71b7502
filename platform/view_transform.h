#pragma once
// How the paint surface shows the picture: at one of seven zoom steps, each a power of two
// from 12.5 % to 800 %. Screen positions are the surface's own pixels; picture positions are
// pixels of the layers. Every tool works in picture pixels, so this is the one place where the
// two meet: a pointer's screen position becomes the picture pixel under it, and a picture
// rectangle becomes the screen pixels that show it.
#include <QPoint>
#include <QPointF>
#include <QRect>
#include <QSize>
#include <QString>

class ViewTransform {
  public:
    static constexpr int kSteps = 7;
    // 100 %: one screen pixel for each picture pixel.
    static constexpr int kActualSize = 3;

    int Step() const { return step_; }
    // Steps outside 0 to kSteps - 1 are brought to the nearest end.
    void SetStep(int step);
    bool ActualSize() const { return step_ == kActualSize; }
    // Enlarged: each picture pixel is a square of Factor() screen pixels on a side. Reduced:
    // each screen pixel shows a square of Factor() picture pixels on a side.
    bool Enlarged() const { return step_ > kActualSize; }
    bool Reduced() const { return step_ < kActualSize; }
    int Factor() const { return 1 << (Enlarged() ? step_ - kActualSize : kActualSize - step_); }
    // Screen pixels per picture pixel.
    double Scale() const;
    // "12.5%" to "800%".
    QString PercentText() const;

    // The picture pixel whose square holds a screen position (a fraction belongs to the pixel
    // it lies in).
    QPoint PixelAt(const QPointF& screen) const;
    // The exact picture position of a screen position, and back.
    QPointF PictureAt(const QPointF& screen) const;
    QPointF ScreenAt(const QPointF& picture) const;
    // The screen pixels that show any part of a picture rectangle, and the picture pixels that
    // any part of a screen rectangle shows: both grow to whole pixels, never shrink.
    QRect ScreenRect(const QRect& picture) const;
    QRect PictureRect(const QRect& screen) const;
    // The surface's size for a picture of this size: a partly covered last pixel counts.
    QSize ScreenSize(const QSize& picture) const;

    // The largest step at which the whole picture fits in room; the smallest when none does.
    static int FitStep(const QSize& picture, const QSize& room);

  private:
    // A screen edge of a picture edge, and a picture edge of a screen edge; up rounds a
    // partly covered pixel outward past the edge, down inward before it.
    int ScreenEdge(int picture, bool up) const;
    int PictureEdge(int screen, bool up) const;

    int step_ = kActualSize;
};
