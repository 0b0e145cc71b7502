// The paint surface's pointer handlers and the brush tool: which tool a press, move or release
// goes to, and the brush stroke's part of the tick.
#include "app/main_core.h"

bool MainWindowCore::CurrentLayerHidden() const {
    return !Layers.IsShown(Layers.CurrentLayerIndex());
}

// Column 0 and row 0 count as outside, like everything past the last column and row.
bool MainWindowCore::OutsidePicture(int x, int y) const {
    return x >= Image1.Width() || y >= Image1.Height() || x <= 0 || y <= 0;
}

void MainWindowCore::ShowPointerPosition(int x, int y) {
    screen_.SetStatusText(0, QStringLiteral("位置( %1 , %2 )").arg(x).arg(y));
}

void MainWindowCore::Image1MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (CurrentLayerHidden()) return;
    Compositor.StrokeStartRebuild();
    Stroke.PointerX = x;
    Stroke.PointerY = y;
    Stroke.SegmentStartX = Stroke.SegmentEndX;
    Stroke.SegmentStartY = Stroke.SegmentEndY;
    Stroke.SegmentEndX = x;
    Stroke.SegmentEndY = y;
    if (Tools.CutArmed) return StartCutRectangle(x, y);
    if (Tools.CopyArmed) return StartCopyRectangle(x, y);
    if (!Stroke.SnapshotTaken) {
        // Marked once taken: a snapshot refused for want of memory belongs to no stroke.
        TakeBeforeSnapshot();
        Stroke.SnapshotTaken = true;
    }
    if (Tools.PickToolActive) return PickPress(button, shift, x, y);
    if (Tools.RetouchToolActive) Tools.RetouchDragging = true;
    if (Tools.FillToolActive) return FillPress(button, shift, x, y);
    BrushPress(shift, x, y);
}

// The retouch tool passes here too: its tints use the colour chosen by this press.
void MainWindowCore::BrushPress(TShiftState shift, int x, int y) {
    LayerCanvas.SetTarget(&Compositor.CurrentLayerImage());
    Brush.Press(shift, PrimaryColour, SecondaryColour, x, y, penPressure_);
    Document.Modified = true;
    Tools.UndoLayer = Layers.CurrentLayerIndex();
    History.Mark(QRect());
}

void MainWindowCore::Image1MouseMove(TShiftState shift, int x, int y) {
    Stroke.PointerX = x;
    Stroke.PointerY = y;
    if (!CurrentLayerHidden()) {
        if (Tools.RetouchDragging) return RetouchDab(x, y);
        if (Tools.PasteFollowing) {
            ShowPointerPosition(x, y);
            MoveFloatingPaste(x, y);
        }
        if (Tools.TextToolActive) {
            if (Tools.TextFloating) TextPreviewAt(x, y);
            return;
        }
        if (Tools.CutSelecting || Tools.CopySelecting) return DragSelection(x, y);
        ShowPointerPosition(x, y);
        LayerCanvas.SetTarget(&Compositor.CurrentLayerImage());
        if (Brush.Move(penPressure_)) StrokeEnd();
    }
    if (Tools.Picking) PickMove(shift, x, y);
}

void MainWindowCore::Image1MouseUp(TMouseButton, TShiftState, int x, int y) {
    if (CurrentLayerHidden()) return;
    if (Tools.RetouchToolActive) {
        TakeAfterSnapshot();
        Tools.RetouchDragging = false;
    }
    if (OutsidePicture(x, y)) {
        // No tail and no after-snapshot: the stroke stops where the pointer left.
        Compositor.CompositeRefresh();
        Stroke.SnapshotTaken = false;
        Brush.ReleaseOutside();
        EndMarkedEdit();
    }
    if (Tools.TextToolActive && Tools.TextFloating) StampText(x, y);
    if (Tools.CutSized) return FinishCut();
    if (Tools.CopySized) return FinishCopy();
    BrushRelease(x, y);
}

void MainWindowCore::BrushRelease(int x, int y) {
    Stroke.SnapshotTaken = false;
    Brush.ReleaseInside(x, y);
    Tools.UndoLayer = Layers.CurrentLayerIndex();
}

void MainWindowCore::StrokeEnd() {
    Brush.End();
    Compositor.CompositeRefresh();
    TakeAfterSnapshot();
    RegenerateBristles();
}

void MainWindowCore::Button3Click() {
    if (Tools.PastePending) CommitFloatingPaste();
    screen_.SetPaintCursor(MainScreen::crPen);
    screen_.HighlightToolButton(MainScreen::tbBrush);
    Tools.EndSelectionAndPaste();
    Tools.EndText();
    Tools.PickToolActive = false;
    Tools.Picking = false;
    Tools.FillToolActive = false;
    Tools.RetouchToolActive = false;
}

bool MainWindowCore::StrokeTick() {
    LayerCanvas.SetTarget(&Compositor.CurrentLayerImage());
    KeepStrokeInEdit();
    const QRect area = Brush.Tick();
    if (!Stroke.TickDrawing) return false;
    History.Mark(area);
    if (!area.isEmpty()) screen_.RepaintPaintSurface(area);
    return true;
}

bool MainWindowCore::TickIsIdle() {
    const StrokeState& s = Stroke;
    const bool pointsSettled = s.SegmentStartX == s.PointerX && s.SegmentEndX == s.PointerX &&
                               s.SegmentStartY == s.PointerY && s.SegmentEndY == s.PointerY &&
                               s.SpeedSquared == 0;
    const bool windowsInStep = Checks.R9 == screen_.WindowVisible(MainScreen::wiLayer) &&
                               Checks.L1 == screen_.WindowVisible(MainScreen::wiLoupe);
    return pointsSettled && windowsInStep && !s.TickDrawing && !Layers.LayersChanged &&
           !Document.OpenAtFirstTick;
}
