#pragma once
// The set of held pointer buttons and modifier keys that comes with a pointer event, and the
// button that a press or release is about.

enum TShiftFlag : unsigned {
    ssShift = 1u << 0,
    ssAlt = 1u << 1,
    ssCtrl = 1u << 2,
    ssLeft = 1u << 3,
    ssRight = 1u << 4,
    ssMiddle = 1u << 5,
    ssDouble = 1u << 6,
};
using TShiftState = unsigned;

enum TMouseButton { mbLeft, mbRight, mbMiddle };

// Exactly the left button alone, or exactly the right button alone: a modifier key, the middle
// button or a double click matches neither.
inline bool LeftAlone(TShiftState shift) { return shift == ssLeft; }
inline bool RightAlone(TShiftState shift) { return shift == ssRight; }
