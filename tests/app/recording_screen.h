#pragma once
// A stand-in for the main window's screen that records what the core asks of it.
#include <QStringList>
#include <array>
#include <map>
#include <new>
#include <optional>
#include <vector>

#include "app/main_screen.h"
#include "platform/bitmap.h"

class RecordingScreen : public MainScreen {
  public:
    void SetCaption(const QString& caption) override { Caption = caption; }
    void SetStatusText(int panel, const QString& text) override { Status[panel] = text; }
    void SetPaintCursor(int cursor) override { Cursor = cursor; }
    void Beep() override { ++Beeps; }
    void ErrorBox(const QString& text) override { Errors << text; }
    void PaintSurfaceResized(int width, int height) override {
        SurfaceWidth = width;
        SurfaceHeight = height;
    }
    void RepaintPaintSurface(const QRect& area) override {
        FailIfAsked(FailNextRepaint);
        ++Repaints;
        RepaintAreas.push_back(area);
    }
    void CopyToLoupe(const Bitmap&) override { ++LoupeCopies; }
    void SetToolPanelLeft(bool left) override { PanelLeft = left; }
    void MenuChecksChanged() override { ++CheckUpdates; }
    WindowPlacement Placement(WindowId window) override { return Placements[window]; }
    void SetPlacement(WindowId window, const WindowPlacement& p) override {
        Placements[window] = p;
    }
    bool WindowVisible(WindowId window) override { return Visible[window]; }
    void SetWindowVisible(WindowId window, bool visible) override { Visible[window] = visible; }
    void CloseMainWindow() override { ++CloseRequests; }
    void SetProgressRange(int minimum, int maximum) override {
        ProgressMin = minimum;
        ProgressMax = maximum;
    }
    void SetProgressPosition(int position) override { ProgressPosition = position; }
    void ProcessMessages() override {
        FailIfAsked(FailNextPump);
        ++MessagePumps;
    }
    // Memory running out in the middle of a command, once.
    static void FailIfAsked(bool& fail) {
        if (!fail) return;
        fail = false;
        throw std::bad_alloc();
    }

    // ---- Brush settings ----
    void SetBrushSizeIndex(int index) override { BrushSizeIndex = index; }

    // ---- Brush stroke ----
    void HighlightToolButton(ToolButton active) override { ActiveToolButton = active; }

    // ---- Editing ----
    int PaintCursor() override { return Cursor; }
    void ShowSelShape(const QRect& bounds, bool visible) override {
        SelShapeBounds = bounds;
        SelShapeVisible = visible;
    }
    void ShowFloatingPaste(const Bitmap& picture, int left, int top, bool visible) override {
        FloatingPicture = &picture;
        FloatingPlace = QPoint(left, top);
        FloatingVisible = visible;
    }
    void PutClipboardPicture(const Bitmap& picture) override {
        Clipboard.CopyFrom(picture);
        ClipboardHolds = true;
        ++ClipboardPuts;
    }
    bool TakeClipboardPicture(Bitmap& picture, int maxSide) override {
        if (!ClipboardHolds || Clipboard.Width() > maxSide || Clipboard.Height() > maxSide)
            return false;
        picture.CopyFrom(Clipboard);
        return true;
    }
    void ShowUndoSteps(int levels, int back, int forward) override {
        UndoSteps = {levels, back, forward};
    }
    bool AskUndoLevels(int& levels) override {
        UndoLevelsShownWith = levels;
        if (!UndoLevelsAnswer) return false;
        levels = *UndoLevelsAnswer;
        return true;
    }

    // ---- Tools ----
    void SetSwatchColours(TColor primary, TColor secondary) override {
        SwatchPrimary = primary;
        SwatchSecondary = secondary;
    }
    std::optional<TColor> ChooseOtherColour(TColor initial) override {
        DialogInitial = initial;
        return DialogAnswer;
    }
    bool RunTextDialog() override {
        ++TextDialogRuns;
        return TextDialogConfirms;
    }
    QStringList TextDialogLines() override { return TextLines; }
    QFont TextDialogFont() override { return TextFont; }
    void SetTextDialogColours(TColor text, TColor background) override {
        MemoText = text;
        MemoBackground = background;
    }

    // ---- Filters ----
    bool ContrastDialog(int& strength) override {
        return FilterDialogAnswer(strength, ContrastStrength);
    }
    bool ColourCorrectionDialog(ColourOffsets& offsets) override {
        return FilterDialogAnswer(offsets, Offsets);
    }
    bool LevelDialog(int& level) override { return FilterDialogAnswer(level, Level); }
    bool CustomFilterDialog(CustomFilterText& text) override {
        return FilterDialogAnswer(text, Custom);
    }
    template <typename T>
    bool FilterDialogAnswer(T& out, const T& value) {
        ++FilterDialogs;
        if (FilterDialogsAccept) out = value;
        return FilterDialogsAccept;
    }

    // ---- Documents ----
    bool ShowNewPictureDialog(int& width, int& height) override {
        NewDialogShownWith = {width, height};
        if (!NewDialogResult) return false;
        width = NewDialogResult->first;
        height = NewDialogResult->second;
        return true;
    }
    bool ShowOpenDialog(QString& fileName, int& filterIndex) override {
        return Choose(OpenDialogResults, fileName, filterIndex);
    }
    bool ShowSaveDialog(QString& fileName, int& filterIndex) override {
        SaveDialogShownWith << fileName;
        return Choose(SaveDialogResults, fileName, filterIndex);
    }
    bool AskSaveChanges(const QString& target) override {
        SaveQuestions << target;
        return AnswerYes;
    }
    bool AskReplaceFile(const QString& path) override {
        ReplaceQuestions << path;
        return AnswerReplace;
    }
    bool AskRestoreRecoveryCopy() override {
        ++RestoreQuestions;
        return AnswerRestore;
    }
    int RestoreQuestions = 0;
    bool AnswerRestore = true;
    bool ShowJpegQualityDialog(const Bitmap&, int& quality, bool& progressive) override {
        ++JpegDialogs;
        if (!JpegDialogResult) return false;
        quality = JpegDialogResult->first;
        progressive = JpegDialogResult->second;
        return true;
    }
    void ShowMessage(const QString& text) override { Messages << text; }
    // Each dialog answers with the next scripted (name, filter entry); none left: cancelled.
    static bool Choose(std::vector<std::pair<QString, int>>& results, QString& name, int& filter) {
        if (results.empty()) return false;
        name = results.front().first;
        filter = results.front().second;
        results.erase(results.begin());
        return true;
    }

    // ---- Loupe ----
    QSize LoupeClipSize() override { return LoupeClip; }
    void SetLoupeClipTop(int top) override { LoupeOrigin.setY(top); }
    void SetLoupeClipLeft(int left) override { LoupeOrigin.setX(left); }

    QString Caption;
    std::map<int, QString> Status;
    int Cursor = -1;
    int Beeps = 0;
    QStringList Errors;
    int SurfaceWidth = 0;
    int SurfaceHeight = 0;
    int Repaints = 0;
    int LoupeCopies = 0;
    bool PanelLeft = true;
    int CheckUpdates = 0;
    std::map<int, WindowPlacement> Placements;
    std::map<int, bool> Visible{{wiMain, true}, {wiLayer, true}, {wiLoupe, true}};
    int CloseRequests = 0;
    int ProgressMin = 0;
    int ProgressMax = 100;
    int ProgressPosition = 0;
    int MessagePumps = 0;
    bool FailNextRepaint = false;
    bool FailNextPump = false;

    // ---- Brush settings (recorded) ----
    int BrushSizeIndex = -1;

    // ---- Brush stroke (recorded) ----
    int ActiveToolButton = -1;
    // Every repainted area, in order; a null rectangle is the whole picture.
    std::vector<QRect> RepaintAreas;

    // ---- Editing (recorded) ----
    QRect SelShapeBounds;
    bool SelShapeVisible = false;
    const Bitmap* FloatingPicture = nullptr;
    QPoint FloatingPlace;
    bool FloatingVisible = false;
    Bitmap Clipboard;
    bool ClipboardHolds = false;
    int ClipboardPuts = 0;
    // Levels, steps back and steps forward as last shown.
    std::array<int, 3> UndoSteps{};
    std::optional<int> UndoLevelsAnswer;
    int UndoLevelsShownWith = 0;

    // ---- Tools (recorded) ----
    TColor SwatchPrimary = clBlack;
    TColor SwatchSecondary = clWhite;
    TColor DialogInitial = kNoColour;
    std::optional<TColor> DialogAnswer;
    int TextDialogRuns = 0;
    bool TextDialogConfirms = true;
    QStringList TextLines;
    QFont TextFont;
    TColor MemoText = kNoColour;
    TColor MemoBackground = kNoColour;

    // ---- Filters (recorded) ----
    // What the filter dialogs answer, and how often one was shown.
    bool FilterDialogsAccept = true;
    int ContrastStrength = 70;
    ColourOffsets Offsets;
    int Level = 5;
    CustomFilterText Custom;
    int FilterDialogs = 0;

    // ---- Documents (recorded) ----
    std::optional<std::pair<int, int>> NewDialogResult;
    std::pair<int, int> NewDialogShownWith;
    std::vector<std::pair<QString, int>> OpenDialogResults;
    std::vector<std::pair<QString, int>> SaveDialogResults;
    QStringList SaveDialogShownWith;
    bool AnswerYes = false;
    QStringList SaveQuestions;
    bool AnswerReplace = true;
    QStringList ReplaceQuestions;
    std::optional<std::pair<int, bool>> JpegDialogResult;
    int JpegDialogs = 0;
    QStringList Messages;

    // ---- Loupe (recorded) ----
    QSize LoupeClip{48, 44};
    // The last origin asked for on each axis.
    QPoint LoupeOrigin;
};
