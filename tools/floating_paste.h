#pragma once
// The floating paste (Image7): the pasted picture at its own size, placed in picture
// coordinates over the paint surface until a click drops it into the current layer.
#include "platform/bitmap.h"

class FloatingPaste {
  public:
    Bitmap Picture;
    int Left = 0;
    int Top = 0;
    bool Visible = false;

    int Width() const { return Picture.Width(); }
    int Height() const { return Picture.Height(); }

    // The picture's centre goes to the pointer: half the size, rounded half to even, to the
    // left and above it.
    void CentreOn(int x, int y);
    // Copies the picture opaquely into layer at its place, clipped to the layer.
    void DropInto(Bitmap& layer) const;
    // An empty picture, hidden; the place is kept.
    void Discard();
};
