#include "tools/pointer_relay.h"

#include <QMouseEvent>
#include <QWidget>

#include "platform/pointer_event.h"

PointerRelay::PointerRelay(QWidget* widget) : QObject(widget) {
    widget->installEventFilter(this);
}

TShiftState PointerRelay::ShiftOf(const QMouseEvent& event) {
    const TShiftState held = ShiftStateOf(event);
    return event.type() == QEvent::MouseButtonDblClick ? held | ssDouble : held;
}

bool PointerRelay::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonDblClick &&
        type != QEvent::MouseMove && type != QEvent::MouseButtonRelease)
        return QObject::eventFilter(watched, event);
    const auto* mouse = static_cast<QMouseEvent*>(event);
    // The pixel the pointer is in, never a rounded neighbour.
    const QPoint at = PointerPixel(mouse->position());
    const int x = at.x(), y = at.y();
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
