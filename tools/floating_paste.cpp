#include "tools/floating_paste.h"

#include "platform/blit.h"
#include "platform/rounding.h"

void FloatingPaste::CentreOn(int x, int y) {
    Left = x - int(Round(Width() / 2.0));
    Top = y - int(Round(Height() / 2.0));
}

void FloatingPaste::DropInto(Bitmap& layer) const {
    if (!Picture.Empty()) DrawOpaque(layer, Picture, Left, Top);
}

void FloatingPaste::Discard() {
    Picture = Bitmap();
    Visible = false;
}
