#include "app/paint_surface.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

#include "platform/bitmap.h"
#include "platform/pointer_event.h"

PaintSurface::PaintSurface(const Bitmap* picture, QWidget* parent)
    : QWidget(parent), picture_(picture) {
    setObjectName(QStringLiteral("Image1"));
    // Every pixel is painted from the picture: no background erase under it.
    setAttribute(Qt::WA_OpaquePaintEvent);
    // Moves without a button draw the stroke's tail.
    setMouseTracking(true);
    SyncSize();
}

void PaintSurface::SyncSize() {
    setFixedSize(picture_->Width(), picture_->Height());
}

void PaintSurface::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    const QRect area = event->rect();
    if (picture_->IsLazyWhite()) {
        painter.fillRect(area, Qt::white);
        return;
    }
    // The view shares the picture's memory; only the exposed part is drawn.
    painter.drawImage(area, picture_->ConstView(), area);
}

TShiftState PaintSurface::ShiftOf(const QMouseEvent& event) {
    return ShiftStateOf(event);
}

QPoint PaintSurface::PixelOf(const QMouseEvent& event) {
    return PointerPixel(event.position());
}

void PaintSurface::Press(QMouseEvent* event, TShiftState extra) {
    TMouseButton button;
    if (!ButtonOf(event->button(), &button) || !OnMouseDown) return;
    const QPoint at = PixelOf(*event);
    OnMouseDown(button, ShiftOf(*event) | extra, at.x(), at.y());
}

void PaintSurface::mousePressEvent(QMouseEvent* event) {
    Press(event, 0);
}

// The second press of a double click carries the double-click mark, which matches neither
// button alone.
void PaintSurface::mouseDoubleClickEvent(QMouseEvent* event) {
    Press(event, ssDouble);
}

void PaintSurface::mouseMoveEvent(QMouseEvent* event) {
    if (!OnMouseMove) return;
    const QPoint at = PixelOf(*event);
    OnMouseMove(ShiftOf(*event), at.x(), at.y());
}

void PaintSurface::mouseReleaseEvent(QMouseEvent* event) {
    TMouseButton button;
    if (!ButtonOf(event->button(), &button) || !OnMouseUp) return;
    const QPoint at = PixelOf(*event);
    OnMouseUp(button, ShiftOf(*event), at.x(), at.y());
}
