#pragma once
// What a Qt tablet event says in the program's own terms: which end of the pen, which of its
// buttons are held, the pixel under it and how hard it presses.
#include <QPoint>

#include "platform/shift_state.h"

class QTabletEvent;

// Pressure in thousandths of the pen's range. The mouse, and a pen that reports no pressure,
// give kNoPressure.
constexpr int kFullPressure = 1000;
constexpr int kNoPressure = -1;

// A pressure from 0 to 1 as Qt reports it, in thousandths; anything outside, or not a number,
// is held to the range.
int PressureLevel(double pressure);

enum TPointerType { ptMouse, ptPen, ptEraser };

struct PenEvent {
    enum Kind { Press, Move, Release } kind = Move;
    TPointerType pointer = ptPen;
    // Of a press or release: the tip (left) or a barrel button (middle, right).
    TMouseButton button = mbLeft;
    // Held: L the tip, M and R the barrel buttons; and the modifier keys.
    TShiftState shift = 0;
    int x = 0;
    int y = 0;
    int pressure = kNoPressure;
};

// The pen event of a tablet press, move or release at the given picture pixel. False for what
// the paint surface leaves to Qt's mouse events: pointers other than a pen's two ends, and
// buttons that are no part of a button set.
bool PenEventOf(const QTabletEvent& event, QPoint pixel, PenEvent* out);
