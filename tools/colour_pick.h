#pragma once
// Where the colour tools take a colour from: a layer's own pixel, or the palette picture.
#include <optional>

#include "platform/bitmap.h"
#include "platform/shift_state.h"

// The layer's pixel at (x, y); nothing outside the layer.
std::optional<TColor> LayerColourAt(const Bitmap& layer, int x, int y);

// The palette's pixel at (x, y), taken only strictly inside: its first row and column and
// anything outside give nothing.
std::optional<TColor> PaletteColourAt(const Bitmap& palette, int x, int y);

// Which swatch a pointer event with this button set sets: the primary one for the left button
// alone, the secondary one for the right button alone, neither otherwise.
enum class Swatch { None, Primary, Secondary };
Swatch SwatchFor(TShiftState shift);

// The colours the colour tools keep besides the swatches.
struct ColourToolState {
    // The current layer canvas's brush: what a fill paints with.
    TColor LayerBrushColour = clWhite;
    // The colour dialog opens with the colour it last returned.
    TColor DialogColour = clBlack;
};
