#include "brush/stroke_steps.h"

#include "brush/brush_settings.h"

namespace {

enum Size { kExtraThick, kThick, kMedium };

void Widen(Pen& pen, int by) {
    pen.SetWidth(pen.Width() + by);
}

// Extra ink and width of one swelling step, by brush size and blur level. The medium blur
// of the largest brush widens twice: only then can it reach its full size before the ink cap.
void SwellingExtras(StrokeState& s, Pen& layer, const MenuChecks& m) {
    const bool dry = m.H1;
    const BlurLevel blur = BlurLevelOf(m);
    switch (SizeIndexOf(m)) {
        case kExtraThick:
            s.InkLevel += 5;
            if (blur == blMedium) {
                if (dry) s.InkLevel += 3;
                Widen(layer, 1);
            }
            if (blur == blStrong && dry) s.InkLevel += 3;
            if (blur == blWeak && dry) s.InkLevel += 2;
            break;
        case kThick:
            s.InkLevel += 3;
            if (blur == blMedium && dry) s.InkLevel += 1;
            if (blur == blStrong && dry) s.InkLevel += 2;
            if (blur == blWeak && dry) s.InkLevel += 1;
            break;
        case kMedium:
            if (blur == blStrong && dry) s.InkLevel += 1;
            break;
    }
}

void TailExtras(StrokeState& s, Pen& layer, const MenuChecks& m) {
    const bool dry = m.H1;
    const BlurLevel blur = BlurLevelOf(m);
    switch (SizeIndexOf(m)) {
        case kExtraThick:
            s.InkLevel -= 9;
            if (blur == blMedium) {
                if (dry) s.InkLevel -= 4;
                Widen(layer, -1);
            }
            if (blur == blStrong) {
                if (dry) s.InkLevel -= 3;
                Widen(layer, -1);
            }
            if (blur == blWeak && dry) s.InkLevel -= 2;
            break;
        case kThick:
            s.InkLevel -= 5;
            if (blur == blMedium && dry) s.InkLevel -= 1;
            if (blur == blStrong) {
                if (dry) s.InkLevel -= 2;
                Widen(layer, -1);
            }
            if (blur == blWeak && dry) s.InkLevel -= 2;
            break;
        case kMedium:
            if (blur == blStrong && dry) s.InkLevel -= 1;
            break;
    }
}

}  // namespace

void SwellingStep(StrokeState& s, StrokePens pens, const MenuChecks& checks) {
    Pen& layer = pens.layer.pen;
    // The ink cap is tested before the width: a stroke can stop widening below its size.
    if (s.InkLevel >= 10 * s.BrushSize) {
        s.InkLevel = 10 * s.BrushSize;
        return;
    }
    if (layer.Width() >= s.BrushSize) {
        layer.SetWidth(s.BrushSize);
        pens.surface.pen.SetWidth(s.BrushSize);
        return;
    }
    Widen(layer, 1);
    s.InkLevel += 10;
    SwellingExtras(s, layer, checks);
    pens.surface.pen.SetWidth(layer.Width());
}

bool TailStep(StrokeState& s, StrokePens pens, const MenuChecks& checks) {
    Pen& layer = pens.layer.pen;
    Widen(layer, -1);
    s.InkLevel -= 7;
    TailExtras(s, layer, checks);
    pens.surface.pen.SetWidth(layer.Width());
    return checks.H1 ? s.InkLevel <= 0 : layer.Width() <= 0;
}
