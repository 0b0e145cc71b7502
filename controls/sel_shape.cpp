#include "controls/sel_shape.h"

#include <algorithm>

#include <QCursor>
#include <QMouseEvent>
#include <QPainter>

#include "platform/pointer_pixel.h"

TSelShape::TSelShape(QWidget* parent) : QWidget(parent) {
    // Hover must classify the zone, so moves arrive without a button held.
    setMouseTracking(true);
    setCursor(Qt::ArrowCursor);
}

void TSelShape::SetPen(const QPen& pen) {
    pen_ = pen;
    update();
}

void TSelShape::paintEvent(QPaintEvent*) {
    // Outline only: the inside stays transparent over the parent.
    QPainter painter(this);
    painter.setPen(pen_);
    painter.setBrush(Qt::NoBrush);
    const int w = pen_.width();
    if (w <= 1) {
        painter.drawRect(QRect(0, 0, width() - 1, height() - 1));
        return;
    }
    // A wide pen keeps its whole stroke inside the control.
    painter.drawRect(QRectF(w / 2.0, w / 2.0, width() - w, height() - w));
}

QSize TSelShape::ParentClient() const {
    return parentWidget() ? parentWidget()->size() : QSize();
}

QRect TSelShape::ParentOnScreen() const {
    if (!parentWidget()) return QRect();
    return QRect(parentWidget()->mapToGlobal(QPoint(0, 0)), parentWidget()->size());
}

// There is no system-wide pointer clip: while dragging, a pointer that leaves the parent is
// put back on its edge, and the drag uses the position it was put back to.
QPoint TSelShape::Confined(QMouseEvent* event) const {
    QPoint local = PointerPixel(event->position());
    if (!logic_.Dragging || confinement_.isEmpty()) return local;
    const QPoint global = PointerPixel(event->globalPosition());
    const QPoint clamped(std::clamp(global.x(), confinement_.left(), confinement_.right()),
                         std::clamp(global.y(), confinement_.top(), confinement_.bottom()));
    if (clamped == global) return local;
    QCursor::setPos(clamped);
    return local + (clamped - global);
}

void TSelShape::ApplyZoneCursor() {
    const Qt::CursorShape shape = CursorForSelZone(logic_.HitZone);
    if (cursor().shape() != shape) setCursor(shape);
}

void TSelShape::mousePressEvent(QMouseEvent* event) {
    const QPoint p = PointerPixel(event->position());
    if (OnMouseDown)
        OnMouseDown(this, event->button(), event->buttons(), event->modifiers(), p.x(), p.y());
    logic_.Press(p.x(), p.y(), SelBounds{x(), y(), width(), height()});
    confinement_ = ParentOnScreen();
    ApplyZoneCursor();
}

void TSelShape::mouseMoveEvent(QMouseEvent* event) {
    const QPoint p = PointerPixel(event->position());
    if (OnMouseMove) OnMouseMove(this, event->buttons(), event->modifiers(), p.x(), p.y());
    const QPoint local = Confined(event);
    SelBounds b{x(), y(), width(), height()};
    logic_.Move(local.x(), local.y(), b, ParentClient());
    if (b.Left != x() || b.Top != y() || b.Width != width() || b.Height != height())
        setGeometry(b.Left, b.Top, b.Width, b.Height);
    ApplyZoneCursor();
}

void TSelShape::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint p = PointerPixel(event->position());
    if (OnMouseUp)
        OnMouseUp(this, event->button(), event->buttons(), event->modifiers(), p.x(), p.y());
    logic_.Release();
    confinement_ = QRect();
}
