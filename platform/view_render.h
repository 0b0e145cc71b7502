#pragma once
// The screen pixels of a zoomed view. Enlarged, every picture pixel is a square of one colour
// (no smoothing, so pixels stay sharp for retouching). Reduced, every screen pixel is the
// average of the picture pixels its square covers, each channel rounded half up: a one-pixel
// line stays visible as a lighter one instead of vanishing or flickering as the view moves.
#include <QImage>
#include <QPoint>
#include <QRect>
#include <cstdint>
#include <vector>

#include "platform/view_transform.h"

class Bitmap;
class QPainter;

class ViewRenderer {
  public:
    // The screen pixels of area (screen pixels of the view) showing source, whose top-left
    // pixel lies at picture position origin. Only the part of area that shows source is
    // drawn; the result has the size of area. It is valid until the next call.
    QImage Render(const Bitmap& source, const QPoint& origin, const ViewTransform& view,
                  const QRect& area);

    // Paints the part of area that shows source with painter, in the view's screen pixels. At
    // 100 % the picture's own memory is drawn as it is; a white picture without memory is
    // filled.
    void Paint(QPainter& painter, const Bitmap& source, const QPoint& origin,
               const ViewTransform& view, const QRect& area);

  private:
    void Enlarge(const Bitmap& source, const QPoint& origin, int factor, const QRect& area);
    void Reduce(const Bitmap& source, const QPoint& origin, int factor, const QRect& area);
    std::uint8_t* Row(int y) { return pixels_.data() + std::size_t(y) * stride_; }

    std::vector<std::uint8_t> pixels_;
    int stride_ = 0;
    // Per source byte, the sum of the rows a screen row covers.
    std::vector<std::uint16_t> sums_;
};
