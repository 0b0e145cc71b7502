#pragma once
// Block transfers between bitmaps: opaque, colour-keyed and stretched.
#include <QRect>

#include "platform/bitmap.h"

// Copies source onto target with its top-left corner at (x, y), clipped to the target.
void DrawOpaque(Bitmap& target, const Bitmap& source, int x = 0, int y = 0);

// Draws source at (0, 0): every pixel equal to key in red, green and blue is left out,
// every other pixel replaces the target's.
void DrawKeyed(Bitmap& target, const Bitmap& source, TColor key);

// The same for one row of width pixels: target and source point to the rows' first pixels.
void DrawKeyedRow(std::uint8_t* target, const std::uint8_t* source, int width, TColor key);
// True when one of the width pixels of the row is key.
bool RowHasKey(const std::uint8_t* row, int width, TColor key);

// Stretches sourceRect of source onto targetRect of target, nearest pixel, clipped to both.
void StretchCopy(Bitmap& target, const QRect& targetRect, const Bitmap& source,
                 const QRect& sourceRect);
