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
    setGeometry(left, top, picture.Width(), picture.Height());
    setVisible(visible && !picture.Empty());
    if (visible) raise();
    update();
}

void PastePicture::paintEvent(QPaintEvent* event) {
    if (!picture_ || picture_->Empty()) return;
    QPainter painter(this);
    const QRect area = event->rect();
    if (picture_->IsLazyWhite())
        painter.fillRect(area, Qt::white);
    else
        painter.drawImage(area, picture_->ConstView(), area);
}

// The pointer as the paint surface reads it, in this widget's pixels.
void PastePicture::mousePressEvent(QMouseEvent* event) {
    TMouseButton button;
    if (!ButtonOf(event->button(), &button) || !OnMouseDown) return;
    const QPoint p = PointerPixel(event->position());
    OnMouseDown(button, ShiftStateOf(*event), p.x(), p.y());
}

void PastePicture::mouseMoveEvent(QMouseEvent* event) {
    if (!OnMouseMove) return;
    const QPoint p = PointerPixel(event->position());
    OnMouseMove(ShiftStateOf(*event), p.x(), p.y());
}
