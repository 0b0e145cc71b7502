#pragma once
// BrushStroke: a brush stroke's life between pointer events and ticks. The pointer handlers
// press, move and release it; the tick lays down the piece of stroke since the previous tick.
// It draws with two pens at once, into the current layer and onto the paint surface, so the
// stroke shows without recomposing the picture.
#include <QRect>

#include "brush/bristle_set.h"
#include "brush/ink_effects.h"
#include "brush/menu_checks.h"
#include "brush/pen_pressure.h"
#include "brush/stroke_state.h"
#include "brush/stroke_steps.h"
#include "platform/canvas.h"
#include "platform/shift_state.h"

class BrushStroke {
  public:
    BrushStroke(StrokeState& stroke, Canvas& layerPen, Canvas& surfacePen,
                const BristleSet& bristles, const MenuChecks& checks)
        : s_(stroke),
          layer_(layerPen),
          surface_(surfacePen),
          bristles_(bristles),
          checks_(checks) {}

    // The press on the paint surface: the button set chooses the colour (anything but the
    // left or the right button alone keeps the previous stroke's colour), the pens go to the
    // point and the swelling starts. It puts no ink down. pressure: the pen's, in thousandths,
    // or kNoPressure.
    void Press(TShiftState shift, TColor primary, TColor secondary, int x, int y,
               int pressure = kNoPressure);
    // A pointer move while the stroke runs: the swelling or the tail step. True when the
    // tail is used up and the stroke must end.
    bool Move(int pressure = kNoPressure);
    // Release inside the picture: the tail starts at the release point.
    void ReleaseInside(int x, int y);
    // Release outside the picture: the stroke stops at once with no ink and no width.
    void ReleaseOutside();
    // The stroke end's own part: no more drawing until the next press.
    void End();

    // The tick's stroke part: the tick points and the speed every tick, then, while the
    // stroke draws, the speed effects, the segment, the bleed and the blur. Both pens must
    // have their targets. Returns the area of the paint surface it may have changed (empty
    // when it drew nothing).
    QRect Tick();

    const PenPressure& Pressure() const { return pressure_; }

  private:
    StrokePens Pens() { return {layer_, surface_}; }
    void TickPoints();
    void DensityBySpeedStep();
    void WidthBySpeed();
    QRect PlainLine();
    QRect BristleLines();
    QRect Bleed();
    InkSquare Square() const;

    StrokeState& s_;
    Canvas& layer_;
    Canvas& surface_;
    const BristleSet& bristles_;
    const MenuChecks& checks_;
    PenPressure pressure_;
};
