#include "tools/colour_pick.h"

std::optional<TColor> LayerColourAt(const Bitmap& layer, int x, int y) {
    const TColor c = layer.Pixel(x, y);
    if (c == kNoColour) return std::nullopt;
    return c;
}

std::optional<TColor> PaletteColourAt(const Bitmap& palette, int x, int y) {
    if (x <= 0 || y <= 0 || x >= palette.Width() || y >= palette.Height()) return std::nullopt;
    return palette.Pixel(x, y);
}

Swatch SwatchFor(TShiftState shift) {
    if (LeftAlone(shift)) return Swatch::Primary;
    if (RightAlone(shift)) return Swatch::Secondary;
    return Swatch::None;
}
