#pragma once
// What the main window's headless core asks of the screen. The real window implements it;
// tests replace it with a recorder.
#include <QFont>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>
#include <optional>

#include "controls/ini_gt.h"
#include "platform/colour.h"
#include "tools/filter_settings.h"

class Bitmap;

class MainScreen {
  public:
    // The windows whose placement the settings keep.
    enum WindowId { wiMain, wiLayer, wiLoupe };
    // The paint surface's cursors: 0 is the default arrow, the others the program's own.
    enum CursorId {
        crDefault = 0,
        crPen = 23,
        crCatch = 24,
        crReta = 25,
        crDraw = 26,
        crText = 28
    };

    virtual ~MainScreen() = default;

    virtual void SetCaption(const QString& caption) = 0;
    virtual void SetStatusText(int panel, const QString& text) = 0;
    virtual void SetPaintCursor(int cursor) = 0;
    virtual void Beep() = 0;
    // The standard error box with a runtime error's text.
    virtual void ErrorBox(const QString& text) = 0;

    // The paint surface took a new size, or some of its pixels changed.
    virtual void PaintSurfaceResized(int width, int height) = 0;
    virtual void RepaintPaintSurface(const QRect& area) = 0;
    // The loupe's picture becomes a copy of picture.
    virtual void CopyToLoupe(const Bitmap& picture) = 0;

    virtual void SetToolPanelLeft(bool left) = 0;
    // The menu check marks changed; the window shows them again.
    virtual void MenuChecksChanged() = 0;

    virtual WindowPlacement Placement(WindowId window) = 0;
    virtual void SetPlacement(WindowId window, const WindowPlacement& placement) = 0;
    virtual bool WindowVisible(WindowId window) = 0;
    virtual void SetWindowVisible(WindowId window, bool visible) = 0;

    // Ends the program through the close sequence.
    virtual void CloseMainWindow() = 0;

    // The tool panel's progress bar (file operations and filters).
    virtual void SetProgressRange(int minimum, int maximum) = 0;
    virtual void SetProgressPosition(int position) = 0;
    // Lets the window system handle what is pending: repaints and the progress bar. The
    // user's input waits until the operation that pumps has ended.
    virtual void ProcessMessages() = 0;

    // ---- Brush settings ----
    // The size box shows row index (0 to 4) without running its change handler.
    virtual void SetBrushSizeIndex(int index) = 0;

    // ---- Brush stroke ----
    // The tool buttons: the active tool's button turns grey, the others take the button face.
    enum ToolButton { tbBrush, tbRetouch, tbText, tbFill, tbPick };
    virtual void HighlightToolButton(ToolButton active) = 0;

    // ---- Editing ----
    // The cursor of an armed cut or copy.
    static constexpr int crCross = -3;
    // The cursor the paint surface shows now.
    virtual int PaintCursor() = 0;
    // The selection rectangle over the paint surface, in picture coordinates.
    virtual void ShowSelShape(const QRect& bounds, bool visible) = 0;
    // The floating paste over the paint surface: picture is the core's own bitmap, shown with
    // its top-left corner at (left, top) in picture coordinates.
    virtual void ShowFloatingPaste(const Bitmap& picture, int left, int top, bool visible) = 0;
    // The system clipboard. Taking leaves picture alone and answers false when the clipboard
    // holds no picture (or one larger than maxSide on a side).
    virtual void PutClipboardPicture(const Bitmap& picture) = 0;
    virtual bool TakeClipboardPicture(Bitmap& picture, int maxSide) = 0;
    // How many undo levels are kept, and how many steps undo and redo can take now.
    virtual void ShowUndoSteps(int levels, int back, int forward) = 0;
    // The "元に戻す回数" dialog, modal, showing levels; false when cancelled, else the chosen
    // number comes back.
    virtual bool AskUndoLevels(int& levels) = 0;

    // ---- Tools ----
    // The swatches Panel4 and Panel5 show the primary and the secondary colour.
    virtual void SetSwatchColours(TColor primary, TColor secondary) = 0;
    // The colour dialog opened on initial; nothing when cancelled.
    virtual std::optional<TColor> ChooseOtherColour(TColor initial) = 0;
    // The text dialog, modal: true when confirmed with "決定".
    virtual bool RunTextDialog() = 0;
    // The dialog's memo lines and its font dialog's font.
    virtual QStringList TextDialogLines() = 0;
    virtual QFont TextDialogFont() = 0;
    // The memo shows its text in text on background the next time it opens.
    virtual void SetTextDialogColours(TColor text, TColor background) = 0;

    // ---- Filters ----
    // The filter dialogs, modal, each keeping its values from one use to the next. False when
    // the dialog was closed other than by its button "決定".
    virtual bool ContrastDialog(int& strength) = 0;
    virtual bool ColourCorrectionDialog(ColourOffsets& offsets) = 0;
    virtual bool LevelDialog(int& level) = 0;
    virtual bool CustomFilterDialog(CustomFilterText& text) = 0;

    // ---- Documents ----
    // The "新規作成" dialog, its fields filled with width and height; false when cancelled,
    // else the fields' values come back.
    virtual bool ShowNewPictureDialog(int& width, int& height) = 0;
    // The open ("開く") and save ("保存") dialogs, starting from fileName; false when
    // cancelled, else the chosen name and filter entry (1 BMP, 2 JPEG, 3 layered document,
    // 4 PNG).
    virtual bool ShowOpenDialog(QString& fileName, int& filterIndex) = 0;
    virtual bool ShowSaveDialog(QString& fileName, int& filterIndex) = 0;
    // "<target> への変更を保存しますか？" with Yes and No; true for Yes.
    virtual bool AskSaveChanges(const QString& target) = 0;
    // Whether the existing file that Save As is about to write may be replaced.
    virtual bool AskReplaceFile(const QString& path) = 0;
    // "確認": "前回保存されなかった作業があります。復元しますか？" with はい (the default) and
    // いいえ; true for はい.
    virtual bool AskRestoreRecoveryCopy() = 0;
    // The JPEG quality dialog previewing picture; true when confirmed with "決定", with the
    // chosen quality and progressive flag.
    virtual bool ShowJpegQualityDialog(const Bitmap& picture, int& quality, bool& progressive) = 0;
    // A plain message box under the application's title.
    virtual void ShowMessage(const QString& text) = 0;

    // ---- Loupe ----
    // The loupe's clip in picture pixels: its size, and its origin on each axis. An origin
    // outside the scrollable range is refused and the old one kept.
    virtual QSize LoupeClipSize() = 0;
    virtual void SetLoupeClipTop(int top) = 0;
    virtual void SetLoupeClipLeft(int left) = 0;
};
