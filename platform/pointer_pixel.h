#pragma once
// The pixel under a pointer position that Qt reports with fractions (scaled screens, tablets):
// the one whose square holds the position, as a whole-pixel pointer would report it. Rounding
// would move the pointer half a pixel and change what the integer divisions after it give.
#include <QPoint>
#include <QPointF>
#include <cmath>

inline QPoint PointerPixel(const QPointF& p) {
    return QPoint(int(std::floor(p.x())), int(std::floor(p.y())));
}
