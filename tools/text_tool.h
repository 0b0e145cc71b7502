#pragma once
// The text tool: lines in a font, in the primary colour on boxes of the secondary colour, that
// float over a clean copy of the layer until a release stamps them.
#include <QFont>
#include <QRect>
#include <QStringList>

#include "platform/bitmap.h"

struct TextStyle {
    QStringList lines;
    QFont font;
    TColor text = clBlack;
    TColor box = clWhite;
};

// The font's character height in pixels; a size in points is taken at 96 dots per inch.
int TextPixelHeight(const QFont& font);

// Writes every line with its top-left corner at (x - 8, y - 8 + n * height) for line n, each on
// an opaque box exactly as large as the line's text. Touches nothing outside the boxes; returns
// their union.
QRect DrawTextLines(Bitmap& target, int x, int y, const TextStyle& style);

// The floating text: its style as confirmed in the dialog and the clean copy of the layer it
// floats over.
class TextTool {
  public:
    TextStyle Style;
    Bitmap TextBackdrop;
    // The layer the backdrop was taken from, as index and serial; -1 before the first text.
    int BackdropLayer = -1;
    unsigned BackdropSerial = 0;

    void TakeBackdrop(const Bitmap& layer, int layerIndex, unsigned layerSerial) {
        TextBackdrop.CopyFrom(layer);
        BackdropLayer = layerIndex;
        BackdropSerial = layerSerial;
    }
    // The backdrop has the layer's size.
    bool BackdropFits(const Bitmap& layer) const {
        return layer.Width() == TextBackdrop.Width() && layer.Height() == TextBackdrop.Height();
    }
};
