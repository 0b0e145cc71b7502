#pragma once
// What a Qt pointer event says in the program's own terms: the exact set of held buttons and
// modifier keys, and the pixel under the pointer.
#include <QMouseEvent>

#include "platform/pointer_pixel.h"
#include "platform/shift_state.h"

// Held buttons and Shift, Ctrl, Alt (of a mouse or a tablet event); a double click is marked by
// the caller that sees one.
inline TShiftState ShiftStateOf(const QSinglePointEvent& event) {
    TShiftState shift = 0;
    const Qt::KeyboardModifiers keys = event.modifiers();
    if (keys & Qt::ShiftModifier) shift |= ssShift;
    if (keys & Qt::ControlModifier) shift |= ssCtrl;
    if (keys & Qt::AltModifier) shift |= ssAlt;
    const Qt::MouseButtons held = event.buttons();
    if (held & Qt::LeftButton) shift |= ssLeft;
    if (held & Qt::RightButton) shift |= ssRight;
    if (held & Qt::MiddleButton) shift |= ssMiddle;
    return shift;
}

// The button a press or release is about; false for buttons that are no part of a button set
// (only left, right and middle are).
inline bool ButtonOf(Qt::MouseButton qt, TMouseButton* button) {
    switch (qt) {
        case Qt::LeftButton:
            *button = mbLeft;
            return true;
        case Qt::RightButton:
            *button = mbRight;
            return true;
        case Qt::MiddleButton:
            *button = mbMiddle;
            return true;
        default:
            return false;
    }
}
