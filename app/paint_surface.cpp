#include "app/paint_surface.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QTabletEvent>

#include "platform/bitmap.h"
#include "platform/pointer_event.h"

namespace {

// A mouse event that Qt made from a pen's event: the pen's own event has been taken already.
bool FromPen(const QMouseEvent& event) {
    const QPointingDevice::PointerType type = event.pointerType();
    return type == QPointingDevice::PointerType::Pen ||
           type == QPointingDevice::PointerType::Eraser;
}

}  // namespace

PaintSurface::PaintSurface(const Bitmap* picture, QWidget* parent)
    : QWidget(parent), picture_(picture) {
    setObjectName(QStringLiteral("Image1"));
    // Every pixel is painted from the picture: no background erase under it.
    setAttribute(Qt::WA_OpaquePaintEvent);
    // Moves without a button draw the stroke's tail, the mouse's and the hovering pen's.
    setMouseTracking(true);
    setTabletTracking(true);
    QCoreApplication::instance()->installEventFilter(this);
    SyncSize();
}

void PaintSurface::SyncSize() {
    setFixedSize(view_.ScreenSize(QSize(picture_->Width(), picture_->Height())));
}

void PaintSurface::SetZoomStep(int step) {
    view_.SetStep(step);
    SyncSize();
    update();
}

void PaintSurface::RepaintPicture(const QRect& area) {
    if (area.isNull())
        update();
    else
        update(view_.ScreenRect(area));
}

// Only the exposed parts are drawn: a tick's repaint is its own small rectangle at any zoom.
void PaintSurface::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    for (const QRect& area : event->region())
        renderer_.Paint(painter, *picture_, QPoint(0, 0), view_, area);
}

TShiftState PaintSurface::ShiftOf(const QMouseEvent& event) {
    return ShiftStateOf(event);
}

QPoint PaintSurface::PixelOf(const QSinglePointEvent& event, const ViewTransform& view) {
    return view.PixelAt(event.position());
}

void PaintSurface::Press(QMouseEvent* event, TShiftState extra) {
    TMouseButton button;
    if (FromPen(*event) || !ButtonOf(event->button(), &button) || !OnMouseDown) return;
    const QPoint at = PixelOf(*event, view_);
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
    if (FromPen(*event) || !OnMouseMove) return;
    const QPoint at = PixelOf(*event, view_);
    OnMouseMove(ShiftOf(*event), at.x(), at.y());
}

void PaintSurface::mouseReleaseEvent(QMouseEvent* event) {
    TMouseButton button;
    if (FromPen(*event) || !ButtonOf(event->button(), &button) || !OnMouseUp) return;
    const QPoint at = PixelOf(*event, view_);
    OnMouseUp(button, ShiftOf(*event), at.x(), at.y());
}

// A taken pen event is accepted, so Qt makes no mouse event of it. What the surface does not
// take is left to Qt, whose mouse events then go where the mouse's would: a pen that comes
// down on the selection rectangle or the floating paste drags it, as the mouse does.
void PaintSurface::tabletEvent(QTabletEvent* event) {
    PenEvent pen;
    if (!PenEventOf(*event, PixelOf(*event, view_), &pen)) return event->ignore();
    const bool onChild = childAt(event->position().toPoint()) != nullptr;
    bool take = false;
    switch (pen.kind) {
        case PenEvent::Press:
            take = !onChild;
            break;
        case PenEvent::Move:
            take = penDown_ || (!(pen.shift & ssLeft) && !onChild);
            break;
        case PenEvent::Release:
            take = penDown_;
            break;
    }
    if (!take) return event->ignore();
    event->accept();
    if (pen.kind == PenEvent::Press && pen.button == mbLeft) penDown_ = true;
    if (!(pen.shift & ssLeft)) penDown_ = false;
    if (OnPen) OnPen(pen);
}

void PaintSurface::PenAway() {
    penDown_ = false;
    if (OnPenAway) OnPenAway();
}

bool PaintSurface::event(QEvent* event) {
    if (event->type() == QEvent::TabletLeaveProximity) PenAway();
    return QWidget::event(event);
}

bool PaintSurface::eventFilter(QObject* watched, QEvent* event) {
    if (watched == QCoreApplication::instance() && event->type() == QEvent::TabletLeaveProximity)
        PenAway();
    return QWidget::eventFilter(watched, event);
}
