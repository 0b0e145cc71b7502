#include "tools/paste_picture.h"

#include <QMouseEvent>
#include <QPainter>

#include "platform/bitmap.h"
#include "platform/pointer_event.h"

PastePicture::PastePicture(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Image7"));
    setCursor(Qt::PointingHandCursor);
    setAttribute(Qt::WA_OpaquePaintEvent);
    // Moves without a button held make it follow the pointer.
    setMouseTracking(true);
    hide();
}

void PastePicture::Show(const Bitmap& picture, int left, int top, bool visible) {
    picture_ = &picture;
    place_ = QPoint(left, top);
    Place();
    setVisible(visible && !picture.Empty());
    if (visible) raise();
    update();
}

void PastePicture::ViewChanged() {
    if (!picture_) return;
    Place();
    update();
}

void PastePicture::Place() {
    setGeometry(view_->ScreenRect(QRect(place_, QSize(picture_->Width(), picture_->Height()))));
}

// Painted in the paint surface's screen pixels, of which this widget covers a part.
void PastePicture::paintEvent(QPaintEvent* event) {
    if (!picture_ || picture_->Empty()) return;
    QPainter painter(this);
    painter.translate(-pos());
    renderer_.Paint(painter, *picture_, place_, *view_, event->rect().translated(pos()));
}

// The pointer as the paint surface reads it: the picture pixel under it, from this picture's
// top-left pixel.
QPoint PastePicture::PointerAt(const QMouseEvent& event) const {
    return view_->PixelAt(event.position() + pos()) - place_;
}

void PastePicture::mousePressEvent(QMouseEvent* event) {
    TMouseButton button;
    if (!ButtonOf(event->button(), &button) || !OnMouseDown) return;
    const QPoint p = PointerAt(*event);
    OnMouseDown(button, ShiftStateOf(*event), p.x(), p.y());
}

void PastePicture::mouseMoveEvent(QMouseEvent* event) {
    if (!OnMouseMove) return;
    const QPoint p = PointerAt(*event);
    OnMouseMove(ShiftStateOf(*event), p.x(), p.y());
}
