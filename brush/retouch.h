#pragma once
// The retouch dab: one pass of a retouch kind over the square under the pointer, written into
// the current layer and, pixel for pixel, onto the paint surface.
#include <QRect>

#include "brush/menu_checks.h"
#include "platform/bitmap.h"

enum class RetouchKind {
    Soften,          // R1
    Brighten,        // R2: +2
    BrightenSoften,  // R6: +4, then soften
    Darken,          // R3: -2
    DarkenSoften,    // R7: -4, then soften
    Tint,            // R5: toward the chosen colour
    TintSoften,      // R8: tint, then soften
    Contrast,        // R4
};

// The kind whose menu mark is set, taking the menu's order when a damaged settings file left
// several marks (or none: then the first entry, soften).
RetouchKind RetouchKindOf(const MenuChecks& checks);

// Half the side of the dab square for a brush size: Round(size / 2), ties to even.
int RetouchHalfSide(int brushSize);

struct RetouchDabInput {
    int pointerX = 0;
    int pointerY = 0;
    int brushSize = 13;
    RetouchKind kind = RetouchKind::Soften;
    TColor chosen = 0;  // the tint colour
};

// Runs one dab. Reads come from layer; every write goes to layer and then to surface (either
// may be smaller than the square: outside pixels read as black and are never written).
// Returns the square, for the repaint.
QRect RetouchDabOn(Bitmap& layer, Bitmap& surface, const RetouchDabInput& in);
