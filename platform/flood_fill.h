#pragma once
// Surface flood fill: the area of one colour around a point takes a new colour.
#include <QRect>

#include "platform/bitmap.h"

// Paints with fill every pixel that is 4-connected to (x, y) through pixels of exactly the
// colour seed. Nothing happens when (x, y) lies outside the bitmap or is not of the seed colour.
// Works with an explicit list of spans, so no area shape can exhaust the call stack. Returns
// the rectangle of the pixels it painted (empty when none).
QRect FloodFillSurface(Bitmap& bitmap, int x, int y, TColor seed, TColor fill);
