#include "tools/paste_picture.h"

#include <QMouseEvent>
#include <QPainter>

#include "platform/bitmap.h"

namespace {

TShiftState ShiftOf(const QMouseEvent* event) {
    TShiftState shift = 0;
    const Qt::KeyboardModifiers keys = event->modifiers();
    if (keys & Qt::ShiftModifier) shift |= ssShift;
    if (keys & Qt::AltModifier) shift |= ssAlt;
    if (keys & Qt::ControlModifier) shift |= ssCtrl;
    const Qt::MouseButtons buttons = event->buttons();
    if (buttons & Qt::LeftButton) shift |= ssLeft;
    if (buttons & Qt::RightButton) shift |= ssRight;
    if (buttons & Qt::MiddleButton) shift |= ssMiddle;
    return shift;
}

TMouseButton ButtonOf(const QMouseEvent* event) {
    switch (event->button()) {
        case Qt::RightButton:
            return mbRight;
        case Qt::MiddleButton:
            return mbMiddle;
        default:
            return mbLeft;
    }
}

}  // namespace

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

void PastePicture::mousePressEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    if (OnMouseDown) OnMouseDown(ButtonOf(event), ShiftOf(event), p.x(), p.y());
}

void PastePicture::mouseMoveEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    if (OnMouseMove) OnMouseMove(ShiftOf(event), p.x(), p.y());
}
