#pragma once
// A screen that shows nothing: the main window's core runs headless behind it in benchmarks
// and in the command-line tools.
#include "app/main_screen.h"

class NullScreen : public MainScreen {
  public:
    void SetCaption(const QString&) override {}
    void SetStatusText(int, const QString&) override {}
    void SetPaintCursor(int) override {}
    void Beep() override {}
    void ErrorBox(const QString&) override {}
    void PaintSurfaceResized(int, int) override {}
    void RepaintPaintSurface(const QRect&) override {}
    void CopyToLoupe(const Bitmap&) override {}
    void SetToolPanelLeft(bool) override {}
    void MenuChecksChanged() override {}
    WindowPlacement Placement(WindowId) override { return {}; }
    void SetPlacement(WindowId, const WindowPlacement&) override {}
    bool WindowVisible(WindowId) override { return true; }
    void SetWindowVisible(WindowId, bool) override {}
    void CloseMainWindow() override {}
    void SetProgressRange(int, int) override {}
    void SetProgressPosition(int) override {}
    void ProcessMessages() override {}

    // ---- Brush settings ----
    void SetBrushSizeIndex(int) override {}

    // ---- Brush stroke ----
    void HighlightToolButton(ToolButton) override {}

    // ---- Editing ----
    int PaintCursor() override { return crDefault; }
    void ShowSelShape(const QRect&, bool) override {}
    void ShowFloatingPaste(const Bitmap&, int, int, bool) override {}
    void PutClipboardPicture(const Bitmap&) override {}
    bool TakeClipboardPicture(Bitmap&, int) override { return false; }
    void ShowUndoSteps(int, int, int) override {}
    bool AskUndoLevels(int&) override { return false; }

    // ---- Tools ----
    void SetSwatchColours(TColor, TColor) override {}
    std::optional<TColor> ChooseOtherColour(TColor) override { return std::nullopt; }
    bool RunTextDialog() override { return false; }
    QStringList TextDialogLines() override { return {}; }
    QFont TextDialogFont() override { return {}; }
    void SetTextDialogColours(TColor, TColor) override {}

    // ---- Filters ----
    // No dialog to show: the filters run with the values they were given.
    bool ContrastDialog(int&) override { return true; }
    bool ColourCorrectionDialog(ColourOffsets&) override { return true; }
    bool LevelDialog(int&) override { return true; }
    bool CustomFilterDialog(CustomFilterText&) override { return true; }

    // ---- Documents ----
    bool ShowNewPictureDialog(int&, int&) override { return false; }
    bool ShowOpenDialog(QString&, int&) override { return false; }
    bool ShowSaveDialog(QString&, int&) override { return false; }
    bool AskSaveChanges(const QString&) override { return false; }
    bool AskReplaceFile(const QString&) override { return false; }
    // Copies are left for a program that can ask.
    bool AskRestoreRecoveryCopy() override { return false; }
    bool ShowJpegQualityDialog(const Bitmap&, int&, bool&) override { return false; }
    void ShowMessage(const QString&) override {}

    // ---- Loupe ----
    QSize LoupeClipSize() override { return {}; }
    void SetLoupeClipTop(int) override {}
    void SetLoupeClipLeft(int) override {}
};
