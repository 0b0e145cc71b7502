// The main window's editing commands: undo, clear, the selection rectangle and the clipboard.
#include "app/main_core.h"
#include "tools/picture_edit.h"

// ---- Undo and clear ----

void MainWindowCore::Button2Click() {
    if (DeepUndo()) return WalkHistory(true);
    const int layer = Tools.UndoLayer;
    if (!RestoreUndoSnapshot(Layers, LayerImages(), Image3, Image4, Tools)) return;
    // The rebuild's composite refresh redraws the whole paint surface, so the restored layer
    // is not first shown on it by itself.
    Layers.SetThumbnail(layer, LayerImages()[std::size_t(layer)]);
    Compositor.RebuildAfterUndo();
}

void MainWindowCore::Button1Click() {
    TakeBeforeSnapshot();
    Document.Modified = true;
    // The layer's own buffer is refilled: no new picture.
    Compositor.CurrentLayerImage().Fill(Layers.TransparentColour(Layers.CurrentLayerIndex()));
    TakeAfterSnapshot();
    Compositor.CompositeRefresh();
}

// ---- Cut and copy ----

void MainWindowCore::Cut1Click() {
    ArmSelection(true);
}

void MainWindowCore::Copy1Click() {
    ArmSelection(false);
}

void MainWindowCore::ArmSelection(bool cut) {
    CommitFloatingPaste();
    ResetSelectionAndPaste();
    (cut ? Tools.CutArmed : Tools.CopyArmed) = true;
    SavedCursor = screen_.PaintCursor();
    screen_.SetPaintCursor(MainScreen::crCross);
}

// Clears every selection and paste mode. A band or floating picture that a cleared mode
// leaves behind is hidden, so that it cannot stand over the picture catching the pointer.
void MainWindowCore::ResetSelectionAndPaste() {
    Tools.EndSelectionAndPaste();
    Tools.EndText();
    if (SelShape1.Visible) {
        SelShape1.Reset();
        ShowSelShape();
    }
    if (Image7.Visible) {
        Image7.Discard();
        ShowFloatingPaste();
    }
}

void MainWindowCore::StartCutRectangle(int x, int y) {
    SelShape1.Start(x, y);
    Tools.CutArmed = false;
    Tools.CutSelecting = true;
    ShowSelShape();
}

void MainWindowCore::StartCopyRectangle(int x, int y) {
    SelShape1.Start(x, y);
    Tools.CopyArmed = false;
    Tools.CopySelecting = true;
    ShowSelShape();
}

void MainWindowCore::DragSelection(int x, int y) {
    const bool cut = Tools.CutSelecting;
    if (!cut && !Tools.CopySelecting) return;
    screen_.SetStatusText(0, PointerStatusText(x, y));
    if (!SelShape1.Follow(x, y)) return;
    (cut ? Tools.CutSized : Tools.CopySized) = true;
    screen_.SetStatusText(0, SelShape1.StatusText(x, y));
    ShowSelShape();
}

void MainWindowCore::FinishCut() {
    if (!Tools.CutSized) return;
    TakeBeforeSnapshot();
    FinishSelection(true);
    // Cut leaves white, whatever the layer's transparent colour.
    FillRectangle(Compositor.CurrentLayerImage(), SelShape1.Rect(), clWhite);
    SelShape1.Reset();
    ShowSelShape();
    TakeAfterSnapshot();
    Compositor.CompositeRefresh();
}

void MainWindowCore::FinishCopy() {
    if (!Tools.CopySized) return;
    FinishSelection(false);
    SelShape1.Reset();
    ShowSelShape();
}

// What Cut and Copy share: the band's pixels go to the clipboard and the band hides. A band
// without width or height, or lying off the picture, leaves the clipboard as it was.
void MainWindowCore::FinishSelection(bool cut) {
    Document.Modified = true;
    screen_.SetPaintCursor(SavedCursor);
    if (cut)
        Tools.CutSelecting = Tools.CutSized = false;
    else
        Tools.CopySelecting = Tools.CopySized = false;
    SelShape1.Visible = false;
    ShowSelShape();
    const QRect area = SelShape1.OnPicture(Image1.Width(), Image1.Height());
    if (area.isEmpty()) return;
    CopyRectangle(Compositor.CurrentLayerImage(), area, Image6);
    screen_.PutClipboardPicture(Image6);
}

void MainWindowCore::SelShape1Changed(const QRect& bounds) {
    SelShape1.Left = bounds.left();
    SelShape1.Top = bounds.top();
    SelShape1.Width = bounds.width();
    SelShape1.Height = bounds.height();
}

void MainWindowCore::SelShape1MouseEnter() {
    // A band whose selection another tool abandoned goes away rather than block the picture.
    if (SelShape1.Visible && !Tools.CutSelecting && !Tools.CopySelecting) {
        SelShape1.Reset();
        ShowSelShape();
    }
}

void MainWindowCore::ShowSelShape() {
    screen_.ShowSelShape(SelShape1.Rect(), SelShape1.Visible);
}

// ---- Paste ----

void MainWindowCore::Paste1Click() {
    StartPaste();
    if (!screen_.TakeClipboardPicture(Image7.Picture, kMaxPictureSide)) return;
    FloatPaste();
}

// Before a picture is taken to float: a pending one goes down, a selection goes.
void MainWindowCore::StartPaste() {
    CommitFloatingPaste();
    ResetSelectionAndPaste();
    SavedCursor = screen_.PaintCursor();
}

// Image7 holds the picture taken: it follows the pointer until a click drops it.
void MainWindowCore::FloatPaste() {
    Tools.PasteFollowing = Tools.PastePending = true;
    Image7.Visible = true;
    ShowFloatingPaste();
}

void MainWindowCore::MoveFloatingPaste(int x, int y) {
    if (!Tools.PasteFollowing) return;
    screen_.SetStatusText(0, PointerStatusText(x, y));
    Image7.CentreOn(x, y);
    ShowFloatingPaste();
}

void MainWindowCore::Image7MouseMove(TShiftState, int x, int y) {
    x += Image7.Left;
    y += Image7.Top;
    Stroke.PointerX = x;
    Stroke.PointerY = y;
    if (Tools.PasteFollowing) {
        MoveFloatingPaste(x, y);
    } else if (!Tools.PastePending && Image7.Visible) {
        // Another tool cancelled this paste: the picture goes without being dropped.
        Image7.Discard();
        ShowFloatingPaste();
    }
}

void MainWindowCore::Image7MouseDown(TMouseButton, TShiftState, int, int) {
    if (Tools.PastePending) {
        DropFloatingPaste();
        screen_.SetPaintCursor(SavedCursor);
    } else if (Image7.Visible) {
        Image7.Discard();
        ShowFloatingPaste();
    }
}

void MainWindowCore::CommitFloatingPaste() {
    if (!Tools.PastePending) return;
    DropFloatingPaste();
    Tools.EndText();
}

// The drop shared by a click on the floating picture and by the commands that commit it
// first: opaque, clipped to the layer, with its own undo step.
void MainWindowCore::DropFloatingPaste() {
    TakeBeforeSnapshot();
    Document.Modified = true;
    Tools.PasteFollowing = Tools.PastePending = false;
    Image7.DropInto(Compositor.CurrentLayerImage());
    Compositor.CompositeRefresh();
    Image7.Discard();
    ShowFloatingPaste();
    TakeAfterSnapshot();
}

void MainWindowCore::ShowFloatingPaste() {
    screen_.ShowFloatingPaste(Image7.Picture, Image7.Left, Image7.Top, Image7.Visible);
}
