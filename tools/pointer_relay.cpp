#include "tools/pointer_relay.h"

#include <QMouseEvent>
#include <QWidget>
#include <cmath>

PointerRelay::PointerRelay(QWidget* widget) : QObject(widget) {
    widget->installEventFilter(this);
}

TShiftState PointerRelay::ShiftOf(const QMouseEvent& event) {
    TShiftState shift = 0;
    const Qt::KeyboardModifiers keys = event.modifiers();
    if (keys & Qt::ShiftModifier) shift |= ssShift;
    if (keys & Qt::ControlModifier) shift |= ssCtrl;
    if (keys & Qt::AltModifier) shift |= ssAlt;
    const Qt::MouseButtons held = event.buttons();
    if (held & Qt::LeftButton) shift |= ssLeft;
    if (held & Qt::RightButton) shift |= ssRight;
    if (held & Qt::MiddleButton) shift |= ssMiddle;
    if (event.type() == QEvent::MouseButtonDblClick) shift |= ssDouble;
    return shift;
}

bool PointerRelay::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonDblClick &&
        type != QEvent::MouseMove && type != QEvent::MouseButtonRelease)
        return QObject::eventFilter(watched, event);
    const auto* mouse = static_cast<QMouseEvent*>(event);
    // The pixel the pointer is in, never a rounded neighbour.
    const int x = int(std::floor(mouse->position().x()));
    const int y = int(std::floor(mouse->position().y()));
    switch (type) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
            if (OnPress) OnPress(ShiftOf(*mouse), x, y);
            break;
        case QEvent::MouseMove:
            if (OnMove) OnMove(ShiftOf(*mouse), x, y);
            break;
        default:
            if (OnRelease) OnRelease();
            break;
    }
    return true;
}
