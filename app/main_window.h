#pragma once
// TForm1: the main window. It builds the documented widgets, turns Qt events into the core's
// handler calls and shows what the core asks for.
#include <QMainWindow>
#include <QMap>

#include "app/main_core.h"

class QAction;
class QComboBox;
class QFrame;
class QLabel;
class QMenu;
class QProgressBar;
class QScrollArea;
class PaintSurface;
class PastePicture;
class TSelShape;
class TCuteButton;
class TForm11;
class TForm6;
class TForm7;
class TForm8;
class TForm9;

class TForm1 : public QMainWindow, public MainScreen {
    Q_OBJECT
  public:
    // Runs the start-up sequence; args are the program's arguments after its name.
    TForm1(const QStringList& args, const QString& startDir);
    ~TForm1() override;

    MainWindowCore& Core() { return core_; }
    // The layer and loupe windows, created after the main window.
    void SetToolWindows(QWidget* layerWindow, QWidget* loupeWindow);
    QAction* MenuItem(const QString& name) const { return items_.value(name); }

    // MainScreen
    void SetCaption(const QString& caption) override;
    void SetStatusText(int panel, const QString& text) override;
    void SetPaintCursor(int cursor) override;
    void Beep() override;
    void ErrorBox(const QString& text) override;
    void PaintSurfaceResized(int width, int height) override;
    void RepaintPaintSurface(const QRect& area) override;
    void CopyToLoupe(const Bitmap& picture) override;
    void SetToolPanelLeft(bool left) override;
    void MenuChecksChanged() override;
    WindowPlacement Placement(WindowId window) override;
    void SetPlacement(WindowId window, const WindowPlacement& placement) override;
    bool WindowVisible(WindowId window) override;
    void SetWindowVisible(WindowId window, bool visible) override;
    void CloseMainWindow() override;
    void SetProgressRange(int minimum, int maximum) override;
    void SetProgressPosition(int position) override;
    void ProcessMessages() override;

    // ---- Brush settings (screen) ----
    void SetBrushSizeIndex(int index) override;

    // ---- Brush stroke (screen) ----
    void HighlightToolButton(ToolButton active) override;

    // ---- Editing (screen) ----
    int PaintCursor() override { return paintCursor_; }
    void ShowSelShape(const QRect& bounds, bool visible) override;
    void ShowFloatingPaste(const Bitmap& picture, int left, int top, bool visible) override;
    void PutClipboardPicture(const Bitmap& picture) override;
    bool TakeClipboardPicture(Bitmap& picture, int maxSide) override;
    void ShowUndoSteps(int levels, int back, int forward) override;
    bool AskUndoLevels(int& levels) override;
    // The selection rectangle and the floating paste, children of the paint surface so that
    // their places are picture coordinates, also while the view scrolls.
    TSelShape* SelShape1 = nullptr;
    PastePicture* Image7 = nullptr;

    // ---- Tools (screen) ----
    void SetSwatchColours(TColor primary, TColor secondary) override;
    std::optional<TColor> ChooseOtherColour(TColor initial) override;
    bool RunTextDialog() override;
    QStringList TextDialogLines() override;
    QFont TextDialogFont() override;
    void SetTextDialogColours(TColor text, TColor background) override;

    // ---- Filters (screen) ----
    bool ContrastDialog(int& strength) override;
    bool ColourCorrectionDialog(ColourOffsets& offsets) override;
    bool LevelDialog(int& level) override;
    bool CustomFilterDialog(CustomFilterText& text) override;
    // The filter dialogs, made once at start-up after the main window.
    TForm6* Form6 = nullptr;
    TForm7* Form7 = nullptr;
    TForm8* Form8 = nullptr;
    TForm9* Form9 = nullptr;

    // ---- Documents (screen) ----
    // The new-picture and JPEG quality dialogs, created after the main window; each returns
    // its argument.
    QWidget* AdoptNewPictureDialog(class TOKBottomDlg* dialog);
    QWidget* AdoptJpegQualityDialog(class TForm5* dialog);
    bool ShowNewPictureDialog(int& width, int& height) override;
    bool ShowOpenDialog(QString& fileName, int& filterIndex) override;
    bool ShowSaveDialog(QString& fileName, int& filterIndex) override;
    bool AskSaveChanges(const QString& target) override;
    bool AskReplaceFile(const QString& path) override;
    bool AskRestoreRecoveryCopy() override;
    bool ShowJpegQualityDialog(const Bitmap& picture, int& quality, bool& progressive) override;
    void ShowMessage(const QString& text) override;

    // ---- Loupe (screen) ----
    QSize LoupeClipSize() override;
    void SetLoupeClipTop(int top) override;
    void SetLoupeClipLeft(int left) override;

    // The documented widgets.
    QWidget* Panel1 = nullptr;
    QComboBox* ComboBox1 = nullptr;
    TCuteButton* Button1 = nullptr;
    TCuteButton* Button2 = nullptr;
    TCuteButton* Button3 = nullptr;
    TCuteButton* Button4 = nullptr;
    TCuteButton* Button5 = nullptr;
    TCuteButton* Button6 = nullptr;
    TCuteButton* Button7 = nullptr;
    TCuteButton* Button8 = nullptr;
    TCuteButton* CuteButton4 = nullptr;
    QFrame* Panel4 = nullptr;
    QFrame* Panel5 = nullptr;
    QFrame* Panel6 = nullptr;
    QLabel* Image2 = nullptr;
    QProgressBar* ProgressBar1 = nullptr;
    QScrollArea* ScrollBox1 = nullptr;
    PaintSurface* Image1 = nullptr;
    QLabel* StatusPanel0 = nullptr;
    QLabel* StatusPanel1 = nullptr;
    // The zoom, beside the picture size.
    QLabel* ZoomPanel = nullptr;

  protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Files and pictures dropped from other programs (main_window_drop.cpp).
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    void BuildMenus();
    void BuildToolPanel();
    void BuildStatusBar();
    void PlaceProgressBar();
    QAction* AddItem(QMenu* menu, const QString& name, const QString& caption,
                     const QKeySequence& shortcut = QKeySequence());
    void BindChecks();
    // Each group of commands wires its menu items and widgets to the core.
    void ConnectBrushSettings();
    void ConnectBrush();
    void ConnectEditing();
    void ConnectTools();
    void ConnectFilters();
    void ConnectDocuments();
    // A handler run as one of the user's commands: running out of memory in it is reported,
    // not the end of the program.
    void Run(void (MainWindowCore::*handler)()) {
        core_.Guarded([&] { (core_.*handler)(); });
    }

    // ---- Brush settings (window) ----

    // ---- Brush stroke (window) ----
    TCuteButton* ToolButtonOf(ToolButton tool) const;

    // ---- Editing (window) ----
    int paintCursor_ = crDefault;
    void WatchSelShape1(QEvent* event);
    // The selection rectangle is being placed from the core's picture coordinates, which its
    // screen place does not give back exactly when zoomed.
    bool placingSelShape_ = false;
    // Passes SelShape1's events to WatchSelShape1; removed before the window goes, for the
    // rectangle still gets events while the window's children are destroyed.
    QObject* selShapeWatcher_ = nullptr;
    class TUndoLevelsDlg* undoLevelsDialog_ = nullptr;

    // ---- Tools (window) ----
    class TTextForm* TextForm() const;

    // ---- Filters (window) ----

    // ---- Documents (window) ----
    bool ShowFileDialog(bool save, QString& fileName, int& filterIndex);
    bool DropWanted(const class QMimeData* data) const;
    TOKBottomDlg* newPictureDialog_ = nullptr;
    TForm5* jpegDialog_ = nullptr;
    // The filter entry each file dialog shows next (1 BMP).
    int openFilter_ = 1;
    int saveFilter_ = 1;

    // ---- View: the zoom (main_window_view.cpp) ----
    void AddZoomItems(QMenu* view);
    void ConnectView();
    void ShowZoom();
    // Zooms to step keeping the picture point under anchor (a viewport position) in place.
    void ZoomTo(int step, const QPointF& anchor);
    void ZoomAroundCentre(int step);
    // Ctrl and the wheel zoom around the pointer; true when the event was taken.
    bool WheelZoom(class QWheelEvent* event);
    int wheelTurn_ = 0;

    // ---- Loupe (window) ----
    QWidget* Window(WindowId window);
    // The loupe window once it is there.
    TForm11* LoupeForm() const;

    MainWindowCore core_;
    QMap<QString, QAction*> items_;
    QMap<QString, bool MenuChecks::*> checkFields_;
    QWidget* layerWindow_ = nullptr;
    QWidget* loupeWindow_ = nullptr;
    bool closing_ = false;
};
