#pragma once
// The ink's look around the brush: bleeding into the paper and blurring at the stroke's edge.
// Both work on a square around the pointer in the current layer and write every changed pixel
// into the layer and then onto the paint surface, so the stroke shows without a composite.
#include <QRect>

#include "brush/brush_settings.h"
#include "platform/bitmap.h"

struct InkSquare {
    Bitmap& layer;
    Bitmap& surface;
    int pointerX;
    int pointerY;
    int brushSize;
    TColor ink;
};

// Pulls pixels near the ink a twentieth of the way toward it. Each returns the rectangle of
// the pixels whose colour it changed in the layer or on the surface (empty when none), so
// that only that part of the screen is repainted and a tick that changed nothing is known.
QRect InkBleed(const InkSquare& square);
// Replaces pixels of exactly the ink colour with the mean of a 3 x 3 block, by the passes of
// the blur level.
QRect InkBlur(const InkSquare& square, BlurLevel level);
