#pragma once
// The program's own pictures: the tool cursors, the palette picture and the program icon.
#include <QCursor>
#include <QIcon>
#include <QImage>
#include <QPoint>

#include "platform/bitmap.h"

// The numbers under which the tool cursors are known to the program.
enum TKasumiroCursor {
    crPen = 23,    // brush
    crCatch = 24,  // colour picking
    crReta = 25,   // retouch
    crDraw = 26,   // fill
    crText = 28,   // text tool
};

constexpr int kCursorSize = 32;

// The tool cursor with the given number: a 32 x 32 two-colour cursor. Unknown numbers give
// the arrow.
QCursor KasumiroCursor(int number);

// The cursor's hot spot as the artwork defines it. The text cursor's hot spot lies on the
// corner just beyond its last pixel, (32, 32); the window system wants it inside the image,
// so the cursor itself carries (31, 31).
QPoint KasumiroCursorHotSpot(int number);

constexpr int kPaletteWidth = 63;
constexpr int kPaletteHeight = 90;

// The palette picture: nine vertical bands (grey, red, magenta, yellow, green, cyan, blue,
// violet, brown), each from white at the top through its full colour at mid-height to black.
Bitmap PalettePicture();

// The program icon: a brush stroke on paper, at the usual icon sizes.
QIcon ProgramIcon();
// The same drawn at one size, for the installed icons.
QImage ProgramIconImage(int size);
