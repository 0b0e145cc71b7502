#pragma once
// How the brush takes a pen's pressure. It does not change the stroke's own width and ink,
// which the swelling, the tail and the speed effects count on; it scales what a tick lays
// down: the plain line's width and the number of inked bristles, both rounded up. The scale
// runs from a quarter at the lightest touch to the whole at full pressure, in a straight line,
// and a tick moves it toward the pen's pressure by no more than one pixel of the brush's
// breadth, so the line never jumps. Without pressure (the mouse, a pen that reports none, the
// option off) the scale is whole and the stroke is the same as ever.
#include "platform/pen_event.h"

class PenPressure {
  public:
    // The scale in thousandths at the lightest touch and at full pressure.
    static constexpr int kLightest = 250;
    static constexpr int kWhole = kFullPressure;

    // The scale a pressure asks for; kNoPressure asks for the whole.
    static int ScaleOf(int pressure);

    // A press: the brush takes the pen's pressure at once. used: the pressure option is on.
    void Press(int pressure, bool used);
    // A pen move: the pressure the brush moves toward.
    void Feel(int pressure) { pressure_ = pressure; }
    // Once per drawing tick, before the tick lays down: the scale moves toward the pressure's,
    // by at most one pixel of breadth, the width of the line or of the bristles' spread.
    void Settle(bool used, int breadth);

    int Scale() const { return scale_; }
    // What the tick lays down: the line's width, the inked bristles.
    int Width(int width) const { return Scaled(width); }
    int Bristles(int inked) const { return Scaled(inked); }

  private:
    int Scaled(int n) const;

    int pressure_ = kNoPressure;
    int scale_ = kWhole;
};
