#include "platform/pen_event.h"

#include <QTabletEvent>
#include <algorithm>

#include "platform/pointer_event.h"
#include "platform/rounding.h"

int PressureLevel(double pressure) {
    if (!(pressure > 0.0)) return 0;
    return int(Round(std::min(pressure, 1.0) * kFullPressure));
}

bool PenEventOf(const QTabletEvent& event, QPoint pixel, PenEvent* out) {
    PenEvent e;
    switch (event.pointerType()) {
        case QPointingDevice::PointerType::Pen:
            e.pointer = ptPen;
            break;
        case QPointingDevice::PointerType::Eraser:
            e.pointer = ptEraser;
            break;
        default:
            return false;
    }
    switch (event.type()) {
        case QEvent::TabletPress:
            e.kind = PenEvent::Press;
            break;
        case QEvent::TabletMove:
            e.kind = PenEvent::Move;
            break;
        case QEvent::TabletRelease:
            e.kind = PenEvent::Release;
            break;
        default:
            return false;
    }
    if (e.kind != PenEvent::Move && !ButtonOf(event.button(), &e.button)) return false;
    e.shift = ShiftStateOf(event);
    e.x = pixel.x();
    e.y = pixel.y();
    const QPointingDevice* device = event.pointingDevice();
    if (device && device->capabilities().testFlag(QInputDevice::Capability::Pressure))
        e.pressure = PressureLevel(event.pressure());
    *out = e;
    return true;
}
