#pragma once
// Which tool is active and the progress of the selection, paste, text and undo operations.

struct ToolState {
    bool RetouchToolActive = false;
    bool RetouchDragging = false;
    bool FillToolActive = false;
    bool PickToolActive = false;
    bool Picking = false;
    bool TextToolActive = false;
    bool TextFloating = false;
    bool CutArmed = false;
    bool CutSelecting = false;
    bool CutSized = false;
    bool CopyArmed = false;
    bool CopySelecting = false;
    bool CopySized = false;
    bool PasteFollowing = false;
    bool PastePending = false;
    int UndoPhase = 0;
    int UndoLayer = 0;

    // Every tool button, Cut, Copy, Paste, New and Open end a selection in whatever stage it
    // stands, and a floating paste (without dropping it): one step, the same everywhere.
    void EndSelectionAndPaste() {
        CutArmed = CutSelecting = CutSized = false;
        CopyArmed = CopySelecting = CopySized = false;
        PasteFollowing = PastePending = false;
    }
    // The text tool is no longer chosen, and its text no longer floats.
    void EndText() { TextToolActive = TextFloating = false; }
};
