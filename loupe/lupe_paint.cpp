// Painting the magnifier: only the blocks that meet the area asked for, composed in the work
// bitmap and put on screen in one copy.
#include <QPaintEvent>
#include <QPainter>
#include <algorithm>

#include "loupe/lupe.h"
#include "platform/blit.h"

namespace {

QPen QtPenFor(const Pen& pen) {
    // Width 0 and 1 are both one-pixel lines.
    return QPen(ToQColor(pen.Color), pen.Width() <= 1 ? 0 : pen.Width());
}

}  // namespace

void TLupe::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    const QRect area = event->rect();
    // A shared picture may have changed its size since it was last announced.
    if (SourceSizeChanged()) SourceChanged();
    if (Bitmap().Empty()) {
        PaintEmpty(painter, area);
        return;
    }
    FillOutsideView(painter, area);
    // Each rectangle of the region on its own: a scroll along both axes and a change at the
    // tip leave three small pieces whose bounding rectangle is nearly the whole view.
    for (const QRect& piece : event->region()) {
        const QRect dest = SnapToBlocks(piece, power_, layout_.ViewWidth, layout_.ViewHeight);
        if (dest.isEmpty()) continue;
        ComposeWork(dest);
        PutOnScreen(painter, dest);
    }
    PaintBarCorner(painter, area);
}

// The composed blocks reach the screen in bands of a few dozen rows: the painter hands a
// taller image to worker threads, whose start costs more than drawing a few thousand pixels.
void TLupe::PutOnScreen(QPainter& painter, const QRect& dest) {
    constexpr int kBandRows = 48;
    for (int top = dest.top(); top <= dest.bottom(); top += kBandRows) {
        const int rows = std::min(kBandRows, dest.bottom() + 1 - top);
        // Only the composed part is handed over: a whole-view image would be converted whole.
        const QImage band(work_.ConstScanLine(top) + dest.left() * 3, dest.width(), rows,
                          work_.Stride(), QImage::Format_BGR888);
        painter.drawImage(QPoint(dest.left(), top), band);
    }
}

// Without a source the control shows its colour and, if wanted, an empty grid.
void TLupe::PaintEmpty(QPainter& painter, const QRect& area) {
    painter.fillRect(area, ToQColor(color_));
    if (!drawGrid_) return;
    bool result = true;
    if (OwnerDraws()) {
        const QRect sourceClip(layout_.ClipLeft, layout_.ClipTop,
                               layout_.ClipRight - layout_.ClipLeft,
                               layout_.ClipBottom - layout_.ClipTop);
        OnDrawLupe(this, painter, rect(), sourceClip, lodBeforeGrid, result);
    }
    if (!result) return;
    painter.setPen(QtPenFor(gridPen_));
    const int w = width(), h = height();
    painter.drawLine(0, 0, 0, h - 1);
    for (int i = 1; i <= ClipWidth(); ++i)
        painter.drawLine(i * power_ - 1, 0, i * power_ - 1, h - 1);
    painter.drawLine(0, 0, w - 1, 0);
    for (int j = 1; j <= ClipHeight(); ++j)
        painter.drawLine(0, j * power_ - 1, w - 1, j * power_ - 1);
}

// The bands of the client area beside and below the view take the control's colour; the
// view itself is left to the picture, so it never flickers.
void TLupe::FillOutsideView(QPainter& painter, const QRect& area) {
    const QRect client = ClientRect();
    const QColor colour = ToQColor(color_);
    const QRect below(0, layout_.ViewHeight, client.width(), client.height() - layout_.ViewHeight);
    const QRect beside(layout_.ViewWidth, 0, client.width() - layout_.ViewWidth,
                       layout_.ViewHeight);
    for (const QRect& band : {below, beside})
        if (band.intersects(area)) painter.fillRect(band & area, colour);
}

// The square between two bars belongs to neither, and the last blocks of the view, which
// reach under the bars, must not show through it.
void TLupe::PaintBarCorner(QPainter& painter, const QRect& area) {
    if (layout_.VertBarWidth == 0 || layout_.HorzBarHeight == 0) return;
    const QRect client = ClientRect();
    const QRect corner(client.width(), client.height(), layout_.VertBarWidth,
                       layout_.HorzBarHeight);
    if (corner.intersects(area)) painter.fillRect(corner, palette().color(QPalette::Window));
}

void TLupe::ComposeWork(const QRect& dest) {
    // The pixels around dest show the screen's origin, which may lag the layout's by a frame.
    const QRect source = SourceRectFor(dest, power_, screenClip_.x(), screenClip_.y());
    bool result = true;
    OwnerDrawStage(lodBeforePicture, dest, source, result);
    if (result) {
        StretchCopy(work_, dest, Bitmap(), source);
        shown_.Record(Bitmap(), source);
    }
    if (drawGrid_ && result) {
        OwnerDrawStage(lodBeforeGrid, dest, source, result);
        if (result) DrawLupeGrid(work_, dest, power_, gridPen_);
    }
    if (result) OwnerDrawStage(lodAfterGrid, dest, source, result);
}

void TLupe::OwnerDrawStage(TLupeOwnerDrawState state, const QRect& dest, const QRect& source,
                           bool& result) {
    if (!OwnerDraws()) return;
    QImage view = work_.View();
    QPainter painter(&view);
    OnDrawLupe(this, painter, dest, source, state, result);
}
