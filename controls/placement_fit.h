#pragma once
// Keeping restored windows within reach. A stored placement may come from a larger screen, a
// screen that is gone, or a damaged settings file.
#include <QList>
#include <QRect>

// The rectangle between a placement's edges, computed without overflow. A width or height
// that is not positive is none: the rectangle is empty at (left, top). Coordinates and sizes
// beyond what any screen has are cut to kFarAway, which still lies off every screen.
QRect RectFromEdges(int left, int top, int right, int bottom);
inline constexpr int kFarAway = 1 << 24;

// The window's rectangle as it may be shown on screens (their usable areas). It is returned
// unchanged while a strip of its top, where the title bar is grabbed, lies on some screen
// (kGrabWidth wide or the whole width of a narrower window) and it fits within the largest
// screen. Otherwise it goes to the screen nearest to it, cut down to that screen's size.
QRect FitOnScreens(const QRect& window, const QList<QRect>& screens);

inline constexpr int kGrabWidth = 64;
inline constexpr int kGrabHeight = 24;
