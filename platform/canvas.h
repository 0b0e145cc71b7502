#pragma once
// Pens and lines on a bitmap, with the line rules the brush relies on.
#include "platform/bitmap.h"

class Pen {
  public:
    TColor Color = clBlack;

    int Width() const { return width_; }
    // A negative width is ignored, so a width counted down by one stops at 0.
    void SetWidth(int width) {
        if (width >= 0) width_ = width;
    }

  private:
    int width_ = 1;
};

// A drawing surface over one bitmap: a pen and its current position.
class Canvas {
  public:
    explicit Canvas(Bitmap* target = nullptr) : target_(target) {}

    void SetTarget(Bitmap* target) { target_ = target; }
    Bitmap* Target() const { return target_; }

    Pen pen;
    int PenX() const { return penX_; }
    int PenY() const { return penY_; }

    void MoveTo(int x, int y) {
        penX_ = x;
        penY_ = y;
    }
    // Draws from the pen position to (x, y) and moves the position there.
    void LineTo(int x, int y);

  private:
    Bitmap* target_;
    int penX_ = 0;
    int penY_ = 0;
};

// Width 0 and 1: a one-pixel line that leaves out its end point. Wider: a solid line with
// round ends, every pixel whose centre lies within width / 2 of the segment, as wide as the
// width. For an even width the segment runs half a pixel up and left of the points given.
void DrawLine(Bitmap& target, int x0, int y0, int x1, int y1, TColor colour, int width);
