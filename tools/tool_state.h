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

    // Every tool button, New and Open end a selection in whatever stage it stands.
    void ClearCutAndCopy() {
        CutArmed = CutSelecting = CutSized = false;
        CopyArmed = CopySelecting = CopySized = false;
    }
};
