// The main window's tools: retouch, fill, colour picking, the palette and the text tool.
#include "app/main_core.h"
#include "brush/retouch.h"
#include "platform/flood_fill.h"

// ---- Paint surface hooks ----

void MainWindowCore::PickPress(TMouseButton, TShiftState shift, int x, int y) {
    if (auto colour = LayerColourAt(Compositor.CurrentLayerImage(), x, y))
        SetSwatch(SwatchFor(shift), *colour);
    Tools.Picking = true;
}

void MainWindowCore::PickMove(TShiftState shift, int x, int y) {
    if (!Tools.Picking) return;
    if (auto colour = LayerColourAt(Compositor.CurrentLayerImage(), x, y))
        SetSwatch(SwatchFor(shift), *colour);
}

void MainWindowCore::FillPress(TMouseButton, TShiftState shift, int x, int y) {
    TakeBeforeSnapshot();
    Document.Modified = true;
    switch (SwatchFor(shift)) {
        case Swatch::Primary:
            Colours.LayerBrushColour = PrimaryColour;
            break;
        case Swatch::Secondary:
            Colours.LayerBrushColour = SecondaryColour;
            break;
        case Swatch::None:
            break;
    }
    Bitmap& layer = Compositor.CurrentLayerImage();
    FloodFillSurface(layer, x, y, layer.Pixel(x, y), Colours.LayerBrushColour);
    TakeAfterSnapshot();
    Compositor.CompositeRefresh();
}

void MainWindowCore::RetouchDab(int x, int y) {
    RetouchDabInput in;
    in.pointerX = x;
    in.pointerY = y;
    in.brushSize = Stroke.BrushSize;
    in.kind = RetouchKindOf(Checks);
    in.chosen = LayerCanvas.pen.Color;  // chosen by the press
    const QRect square = RetouchDabOn(Compositor.CurrentLayerImage(), Image1, in);
    const QRect shown = square & QRect(0, 0, Image1.Width(), Image1.Height());
    History.Mark(shown);
    if (!shown.isEmpty()) screen_.RepaintPaintSurface(shown);
}

void MainWindowCore::TextPreviewAt(int x, int y) {
    if (!Tools.TextFloating) return;
    Bitmap* layer = TextLayer();
    if (!layer) return;
    layer->CopyFrom(Text.TextBackdrop);
    DrawTextLines(*layer, x, y, Text.Style);
    Compositor.CompositeRefresh();
}

void MainWindowCore::StampText(int x, int y) {
    if (!Tools.TextFloating) return;
    Bitmap* layer = TextLayer();
    if (!layer) return;
    layer->CopyFrom(Text.TextBackdrop);
    // The before-snapshot holds the layer without the text.
    TakeBeforeSnapshot();
    DrawTextLines(*layer, x, y, Text.Style);
    Compositor.CompositeRefresh();
    Tools.TextFloating = false;
    TakeAfterSnapshot();
}

// ---- Tool buttons ----

void MainWindowCore::Button4Click() {
    screen_.HighlightToolButton(MainScreen::tbRetouch);
    screen_.SetPaintCursor(MainScreen::crReta);
    Tools.EndSelectionAndPaste();
    Tools.EndText();
    Tools.PickToolActive = Tools.FillToolActive = false;
    Tools.RetouchToolActive = true;
}

void MainWindowCore::Button5Click() {
    if (Tools.PastePending) CommitFloatingPaste();
    screen_.SetPaintCursor(MainScreen::crDraw);
    screen_.HighlightToolButton(MainScreen::tbFill);
    Tools.EndSelectionAndPaste();
    Tools.EndText();
    Tools.PickToolActive = Tools.Picking = Tools.RetouchToolActive = false;
    Tools.FillToolActive = true;
}

void MainWindowCore::Button6Click() {
    screen_.SetPaintCursor(MainScreen::crCatch);
    screen_.HighlightToolButton(MainScreen::tbPick);
    Tools.EndSelectionAndPaste();
    Tools.EndText();
    Tools.RetouchToolActive = false;
    // The fill flag stays: a press tests the pick first.
    Tools.PickToolActive = true;
}

void MainWindowCore::Button8Click() {
    if (!screen_.RunTextDialog()) return;
    screen_.HighlightToolButton(MainScreen::tbText);
    Tools.RetouchToolActive = false;
    screen_.SetPaintCursor(MainScreen::crText);
    Tools.EndSelectionAndPaste();
    Tools.PickToolActive = Tools.FillToolActive = false;
    screen_.SetTextDialogColours(PrimaryColour, SecondaryColour);
    Colours.LayerBrushColour = SecondaryColour;
    // The lines are taken now, so that a later cancelled dialog changes nothing.
    Text.Style = {screen_.TextDialogLines(), screen_.TextDialogFont(), PrimaryColour,
                  SecondaryColour};
    // The backdrop comes first: a text may float only over a clean copy of its own layer.
    CheckRoomToCopy(Compositor.CurrentLayerImage(), Text.TextBackdrop);
    const int layer = Layers.CurrentLayerIndex();
    Text.TakeBackdrop(Compositor.CurrentLayerImage(), layer, Layers.LayerSerial(layer));
    Tools.TextToolActive = Tools.TextFloating = true;
}

// ---- Colours ----

void MainWindowCore::Button7Click() {
    const std::optional<TColor> chosen = screen_.ChooseOtherColour(Colours.DialogColour);
    if (!chosen) return;
    Colours.DialogColour = *chosen;
    SurfaceCanvas.pen.Color = *chosen;
    SetSwatch(Swatch::Primary, *chosen);
}

void MainWindowCore::CuteButton4Click() {
    const TColor transparent = Layers.TransparentColour(Layers.CurrentLayerIndex());
    LayerCanvas.pen.Color = transparent;
    SetSwatch(Swatch::Primary, transparent);
}

void MainWindowCore::Image2MouseDown(TShiftState shift, int x, int y) {
    if (auto colour = PaletteColourAt(PaletteImage, x, y)) SetSwatch(SwatchFor(shift), *colour);
    Tools.Picking = true;
}

void MainWindowCore::Image2MouseMove(TShiftState shift, int x, int y) {
    if (auto colour = PaletteColourAt(PaletteImage, x, y)) SetSwatch(SwatchFor(shift), *colour);
}

void MainWindowCore::Image2MouseUp() {
    Tools.Picking = false;
}

void MainWindowCore::Panel4MouseDown(TShiftState shift) {
    if (RightAlone(shift)) SetSwatch(Swatch::Secondary, PrimaryColour);
}

void MainWindowCore::Panel5MouseDown(TShiftState shift) {
    if (LeftAlone(shift)) SetSwatch(Swatch::Primary, SecondaryColour);
}

void MainWindowCore::RetouchKindClick(bool MenuChecks::*item) {
    for (bool MenuChecks::*kind :
         {&MenuChecks::R1, &MenuChecks::R2, &MenuChecks::R3, &MenuChecks::R4, &MenuChecks::R5,
          &MenuChecks::R6, &MenuChecks::R7, &MenuChecks::R8})
        Checks.*kind = false;
    Checks.*item = true;
    screen_.MenuChecksChanged();
}

// ---- Helpers ----

void MainWindowCore::SetSwatch(Swatch swatch, TColor colour) {
    if (swatch == Swatch::None) return;
    (swatch == Swatch::Primary ? PrimaryColour : SecondaryColour) = colour;
    screen_.SetSwatchColours(PrimaryColour, SecondaryColour);
}

Bitmap* MainWindowCore::TextLayer() {
    const int from = Text.BackdropLayer;
    if (!Layers.Lives(from, Text.BackdropSerial)) {
        // The layer the backdrop came from was deleted, merged away or reset: the backdrop
        // belongs to no layer now, and the float ends as another tool would end it, the text
        // staying where it was last drawn.
        Tools.TextFloating = false;
        return nullptr;
    }
    Bitmap& layer = Compositor.CurrentLayerImage();
    const int index = Layers.CurrentLayerIndex();
    if (index == from && Text.BackdropFits(layer)) return &layer;
    // The current layer changed while the text floated: the layer it left gets its clean copy
    // back, and the text goes on over the layer now current.
    Bitmap& left = LayerImages()[std::size_t(from)];
    if (Text.BackdropFits(left)) left.CopyFrom(Text.TextBackdrop);
    Text.TakeBackdrop(layer, index, Layers.LayerSerial(index));
    return &layer;
}
