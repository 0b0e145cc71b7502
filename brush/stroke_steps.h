#pragma once
// The per-move steps of a brush stroke: the swelling while the button is held and the tail
// after the release. They set the pens' width and the ink level; the tick does the drawing.
#include "brush/menu_checks.h"
#include "brush/stroke_state.h"
#include "platform/canvas.h"

// The two pens of a stroke: one on the current layer, one on the paint surface. They carry
// the same colour and width.
struct StrokePens {
    Canvas& layer;
    Canvas& surface;
};

// One pointer move while the button is held.
void SwellingStep(StrokeState& stroke, StrokePens pens, const MenuChecks& checks);

// One pointer move after the release. Returns true when the width or the ink is used up and
// the stroke must end.
bool TailStep(StrokeState& stroke, StrokePens pens, const MenuChecks& checks);
