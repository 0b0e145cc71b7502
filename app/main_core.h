#pragma once
// The main window's headless core: the state the tools, the brush and the file commands work
// on, and the main window's handlers under their own names. It never touches widgets; what it
// needs from the screen it asks of MainScreen.
#include <QStringList>
#include <cstdint>
#include <memory>
#include <new>

#include "app/dx_timer.h"
#include "app/main_screen.h"
#include "brush/bristle_set.h"
#include "brush/brush_settings.h"
#include "brush/brush_stroke.h"
#include "brush/menu_checks.h"
#include "brush/stroke_state.h"
#include "controls/ini_gt.h"
#include "document/document_memory.h"
#include "document/document_state.h"
#include "document/picture_files.h"
#include "document/recovery_copy.h"
#include "layers/compositor.h"
#include "layers/layer_stack.h"
#include "loupe/loupe_host.h"
#include "platform/bitmap.h"
#include "platform/canvas.h"
#include "platform/pen_event.h"
#include "platform/random_source.h"
#include "platform/shift_state.h"
#include "resources/artwork.h"
#include "tools/colour_pick.h"
#include "tools/filter_settings.h"
#include "tools/floating_paste.h"
#include "tools/selection_band.h"
#include "tools/text_tool.h"
#include "tools/tool_state.h"
#include "tools/undo_history.h"

class RecoveryLock;

class MainWindowCore : public LoupeHost, private CompositorHost {
  public:
    // Pictures are kept within what 16-bit coordinates address.
    static constexpr int kMaxPictureSide = 32767;
    static constexpr int kDefaultPictureSide = 400;

    explicit MainWindowCore(MainScreen& screen);

    // Start-up: settings, state, the white picture. args are the program's arguments without
    // the program name; a relative file name is resolved against startDir, the folder the
    // program was started from.
    void FormCreate(const QStringList& args, const QString& startDir);
    // Enables the timer once every window of the start-up is up and shown. Enabled earlier, a
    // message box's event loop during start-up would tick while the tool windows are hidden.
    void StartUpFinished();
    // Shut-down: writes every setting. The close itself is never refused.
    void FormClose();

    // "終了(&X)": the settings without the picture size and the panel side, then the close.
    void N6Click();
    // Double-click on the tool panel: it changes sides.
    void Panel1DblClick();
    // "レイヤ(&R)" and "ルーペ(&L)" in the View menu.
    void R9Click();
    void L1Click();

    // One idle tick.
    void Timer1Timer(int lagCount);

    // The loupe window reads its options from the settings when it is created and shown.
    void ReadLoupeMagnification() override;
    void ReadLoupeShowOptions() override;

    // The undo pair's two snapshot steps, shared by every operation that changes pixels:
    // the before-snapshot (UndoPhase 1) and the after-snapshot (UndoPhase 0) of the current
    // layer, both recording it as UndoLayer. The before-snapshot first makes sure of the memory
    // the edit ends with (OutOfMemoryError, changing nothing, when it cannot be had).
    void TakeBeforeSnapshot();
    void TakeAfterSnapshot();

    // ---- Running out of memory ----
    // Runs one of the user's commands. When memory runs out in it (std::bad_alloc, or a
    // refusal counted beforehand) the layer it was changing is put back from the
    // before-snapshot, a stroke in progress stops, "ﾒﾓﾘ不足です" is shown and the program goes
    // on.
    template <typename Command>
    void Guarded(Command&& command) {
        const long long snapshots = beforeSnapshots_;
        try {
            command();
        } catch (const std::bad_alloc&) {
            RecoverFromOutOfMemory(snapshots);
        } catch (const OutOfMemoryError&) {
            RecoverFromOutOfMemory(snapshots);
        }
    }
    // What the picture-sized buffers of the open document hold now.
    std::uint64_t HeldDocumentBytes() const;
    // Whether the window could hold a document of this shape once it is used, in place of the
    // open one.
    bool DocumentFits(const DocumentShape& shape) const;

    // ---- Brush settings: bristles, size, brush kind ----
    BristleSet Bristles;
    // A new bristle cloud from the random source, with BristleCursor from 0; both segment
    // points move to the pointer, so a new stroke never draws from an old position.
    void RegenerateBristles();
    // The size box: its row index selects the size (other indices change nothing).
    void ComboBox1Change(int index);
    // The hidden size menu: extra thick to extra fine.
    void S1Click();
    void S2Click();
    void S3Click();
    void S4Click();
    void S5Click();
    // Blur level (one of four): none, weak, medium, strong.
    void K1Click();
    void K4Click();
    void K3Click();
    void K2Click();
    // Toggles: bleed, dry brush, width by speed, density by speed.
    void M1Click();
    void H1Click();
    void N8Click();
    void C2Click();
    // Toggle: the pen's pressure shapes the stroke.
    void P1Click();
    BlurLevel Blur() const { return BlurLevelOf(Checks); }

    // ---- Brush stroke: stroke input, the drawing tick ----
    // The paint surface's pointer handlers, the single entry of every tool that works on the
    // picture. x and y are picture pixels; shift is the exact set of held buttons and keys.
    void Image1MouseDown(TMouseButton button, TShiftState shift, int x, int y);
    void Image1MouseMove(TShiftState shift, int x, int y);
    void Image1MouseUp(TMouseButton button, TShiftState shift, int x, int y);
    // A pen on the paint surface, handed on to the three above. The tip presses as the left
    // button, or as the right one when it is the eraser end or a barrel button is held; a
    // barrel button does not press by itself. How hard a touching pen presses goes to the
    // brush; a hovering pen leaves that as it was.
    void Image1Pen(const PenEvent& event);
    // The pen left the tablet's reach: a touching pen is released where it was last, and a
    // stroke's tail, which no move can sweep on now, is spent there and the stroke ends.
    void Image1PenAway();
    // "筆": the brush becomes the tool.
    void Button3Click();
    // True when a tick now would change nothing, so the idle loop may rest until input.
    bool TickIsIdle();
    // The layer pen: it draws on whichever layer is current when the stroke draws.
    Canvas LayerCanvas;
    BrushStroke Brush{Stroke, LayerCanvas, SurfaceCanvas, Bristles, Checks};

    // ---- Editing: undo, clear, selection and clipboard ----
    // Called by the paint surface's handlers.
    void StartCutRectangle(int x, int y);
    void StartCopyRectangle(int x, int y);
    void DragSelection(int x, int y);
    void FinishCut();
    void FinishCopy();
    void MoveFloatingPaste(int x, int y);
    // Drops a pending floating paste into the current layer (Paste, Cut, Copy, the brush
    // button, New and Open call it).
    void CommitFloatingPaste();
    // "元に戻す": restores the layer of the last change; pressed again, brings the change back.
    void Button2Click();
    void Undo1Click() { Button2Click(); }
    // With more than one undo level: "やり直し" brings back the step undo took back last.
    void Redo1Click();
    // "元に戻す回数": how many steps undo can take back (1 to 100), asked in a dialog and kept
    // in the settings. One level is the undo that toggles.
    void UndoLevels1Click();
    void SetUndoLevels(int levels);
    // The steps of more than one level, and the edit being made.
    UndoHistory History;
    // "クリア": the current layer becomes its transparent colour, shown or not.
    void Button1Click();
    void C1Click() { Button1Click(); }
    // Cut and Copy arm the rubber band; Paste floats the clipboard's picture.
    void Cut1Click();
    void Copy1Click();
    void Paste1Click();
    // The floating paste's pointer events, in its own coordinates.
    void Image7MouseDown(TMouseButton button, TShiftState shift, int x, int y);
    void Image7MouseMove(TShiftState shift, int x, int y);
    // The selection rectangle was moved or resized by its own dragging.
    void SelShape1Changed(const QRect& bounds);
    // The pointer came onto the selection rectangle.
    void SelShape1MouseEnter();
    // The rubber band, the clipboard's staging picture, the floating paste and the cursor
    // the paint surface had before a selection or paste began.
    SelectionBand SelShape1;
    Bitmap Image6;
    FloatingPaste Image7;
    int SavedCursor = MainScreen::crDefault;

    // ---- Tools: retouch, fill, colour picking, palette, text ----
    // Called by the paint surface's handlers.
    void PickPress(TMouseButton button, TShiftState shift, int x, int y);
    void PickMove(TShiftState shift, int x, int y);
    void FillPress(TMouseButton button, TShiftState shift, int x, int y);
    void RetouchDab(int x, int y);
    void TextPreviewAt(int x, int y);
    void StampText(int x, int y);
    // The tool buttons "レタッチ", "塗りつぶす", "色の取得", "テキスト", and "他の色", "透明色".
    void Button4Click();
    void Button5Click();
    void Button6Click();
    void Button8Click();
    void Button7Click();
    void CuteButton4Click();
    // "レタッチの種類(&R)": the clicked kind takes the one mark of the group.
    void R1Click() { RetouchKindClick(&MenuChecks::R1); }
    void R2Click() { RetouchKindClick(&MenuChecks::R2); }
    void R3Click() { RetouchKindClick(&MenuChecks::R3); }
    void R4Click() { RetouchKindClick(&MenuChecks::R4); }
    void R5Click() { RetouchKindClick(&MenuChecks::R5); }
    void R6Click() { RetouchKindClick(&MenuChecks::R6); }
    void R7Click() { RetouchKindClick(&MenuChecks::R7); }
    void R8Click() { RetouchKindClick(&MenuChecks::R8); }
    // The palette picture Image2 (palette pixels) and the swatches Panel4 and Panel5.
    void Image2MouseDown(TShiftState shift, int x, int y);
    void Image2MouseMove(TShiftState shift, int x, int y);
    void Image2MouseUp();
    void Panel4MouseDown(TShiftState shift);
    void Panel5MouseDown(TShiftState shift);
    Bitmap PaletteImage = PalettePicture();
    ColourToolState Colours;
    TextTool Text;

    // ---- Filters ----
    // "フィルタ(&I)": soft, invert, contrast, gamma plus and minus, colour correction, value
    // extraction and the custom kernel, each over the current layer as one undoable step.
    void I1Click();
    void I2Click();
    void I3Click();
    void I4Click();
    void I5Click();
    void I6Click();
    void I7Click();
    void I8Click();
    // While a filter runs the interface is pumped, so commands could arrive: the window holds
    // the user's input back, the timer rests, and a close waits for the filter's end.
    bool FilterRunning() const { return filterRunning_; }
    void CloseAfterFilter() { closeAfterFilter_ = true; }
    // How often a running filter advances the bar and pumps (a screen refresh).
    unsigned FilterPumpIntervalMs = 16;

    // ---- Documents: new, open, save ----
    // The file named on the command line, opened by the first tick.
    void OpenStartupFile();
    // The File menu: "新規作成", "開く", "上書き保存", "名前をつけて保存".
    void N2Click();
    void N3Click();
    void Save1Click();
    void N1Click();
    // While Modified: "<name> への変更を保存しますか？"; Yes runs Save As. The asking command
    // goes on whatever happens. True when the user chose to save (it may still have failed).
    bool AskToSaveChanges();
    // Files dropped on the window: the first opens as Open would, after the save question; a
    // name of no type we read gets "このファイルには対応していません。" and nothing else.
    void DropFiles(const QStringList& paths);
    // A picture dropped without a file floats as a pasted one does.
    void DropPicture(Bitmap picture);

    // ---- Recovery copies ----
    // Start-up, before the first tick: each copy no running program owns is offered with
    // "前回保存されなかった作業があります。復元しますか？"; yes restores it as the modified
    // document (its Save writes the file it came from), no removes it.
    void OfferRecoveryCopies();
    // A copy of the unsaved document, written now on this thread (the program is about to end
    // by a signal or the desktop's logout). False when there was none to write or it failed.
    bool WriteRecoveryCopyNow();
    // The desktop is logging out: the save question (when it may be asked); declined, our
    // copy goes, else a copy of what is still unsaved is written.
    void CommitDataRequest(bool mayAsk);
    // "[autosave] Interval" is above 0.
    bool RecoveryCopiesOn() const;
    // The periodic copy's turn, as its timer gives it; a copy under way is waited for.
    void RecoveryCopyDue();
    void WaitForRecoveryCopy();
    bool RecoveryCopyRunning() const;
    // This program's copy; empty until its first copy.
    QString RecoveryCopyPath() const;

    // ---- Loupe ----
    // The drawing tick's last step: the loupe follows the brush tip.
    void LoupeFollowTip();
    // The loupe window's magnification items, "2倍(&T)" to "14倍(&I)", as item 0 to 6.
    static int LoupeFactor(int item);
    // The magnification the checked items give: the last checked one wins; with none checked
    // it stays current.
    int LoupeMagnification(int current) const override;
    // A magnification item chosen: it becomes the only checked one. Returns its factor.
    int LoupeMagnificationClick(int item) override;
    LoupeOptions& LoupeSettings() override { return Loupe; }
    const Bitmap* LoupePicture() const override { return Checks.L1 ? &Image1 : nullptr; }

    QString SizeText() const;
    int PictureWidth() const { return Image1.Width(); }
    int PictureHeight() const { return Image1.Height(); }

    MainScreen& Screen() { return screen_; }

    // Settings store and idle timer (disabled until the end of start-up, every idle pass).
    TIniGT IniGT1;
    TDXTimer Timer1;
    RandomSource Random;

    MenuChecks Checks;
    LoupeOptions Loupe;
    StrokeState Stroke;
    ToolState Tools;
    DocumentState Document;

    // The paint surface's picture and the two undo snapshots.
    Bitmap Image1;
    Bitmap Image3;
    Bitmap Image4;

    // The layer window's model (order, current layer, marks, colours, names) and the layer
    // bitmaps with the compositing that shows them on Image1.
    LayerStack Layers;
    LayerCompositor Compositor;
    std::array<Bitmap, kLayerSlots>& LayerImages() { return Compositor.LayerImages; }
    const Bitmap& BelowComposite() const { return Compositor.BelowComposite(); }
    int LayerCount() const { return Compositor.LayerCount(); }
    int CurrentLayerPosition() const { return Compositor.CurrentLayerPosition(); }
    bool LayersAboveCurrent() const { return Compositor.LayersAboveCurrent(); }
    bool LayersBelowCurrent() const { return Compositor.LayersBelowCurrent(); }
    // The paint surface's pen (primary colour) and brush (secondary colour).
    Canvas SurfaceCanvas;
    TColor SurfaceBrushColour = clWhite;

    // The two swatches: primary (left button) and secondary (right button).
    TColor PrimaryColour = clBlack;
    TColor SecondaryColour = clWhite;

    bool ToolPanelLeft = true;
    // Ticks run so far.
    long long TickCount = 0;

  private:
    // ---- Brush settings (private) ----
    // Start-up: the first bristle cloud and the medium size.
    void StartBrushSettings();
    void SelectSizeFromMenu(int index);
    void SetBlurLevel(BlurLevel level);
    void ToggleCheck(bool MenuChecks::*mark);

    // ---- Brush stroke (private) ----
    void BrushPress(TShiftState shift, int x, int y);
    void BrushRelease(int x, int y);
    void StrokeEnd();
    // The tick's drawing steps; true when the stroke drew this tick.
    bool StrokeTick();
    void ShowPointerPosition(int x, int y);
    bool OutsidePicture(int x, int y) const;
    bool CurrentLayerHidden() const;
    // The pen's contact: whether the tip touches, the button it presses as, its latest pressure
    // and place.
    struct PenContact {
        bool touching = false;
        TMouseButton button = mbLeft;
        int pressure = kNoPressure;
        int x = 0;
        int y = 0;
    } pen_;
    void PenRelease(TShiftState keys, int x, int y);
    // The pressure of the pointer event being handled: kNoPressure but while a pen event is.
    int penPressure_ = kNoPressure;

    // ---- Editing (private) ----
    void StartPaste();
    void FloatPaste();
    void ArmSelection(bool cut);
    void ResetSelectionAndPaste();
    void DropFloatingPaste();
    void FinishSelection(bool cut);
    void ShowSelShape();
    void ShowFloatingPaste();

    // ---- Undo history (private) ----
    bool DeepUndo() const { return History.Levels() > 1; }
    void ReadUndoSettings();
    void HandLastStepToPair();
    void HandPairToHistory();
    // The after-snapshot of a new or opened document: a copy of layer. With more levels the
    // history keeps what changed, and the after-snapshot is white without memory.
    void ResetAfterSnapshot(const Bitmap& layer);
    // Undo or redo of one step of the history.
    void WalkHistory(bool back);
    // Before the history is walked or handed over: a stroke or retouch drag still drawing ends
    // as a step.
    void EndRunningEdit();
    // The edit of a stroke or retouch drag becomes a step now (a release outside the picture,
    // which takes no after-snapshot).
    void EndMarkedEdit();
    // The open edit becomes a step (when it changed anything) and ends.
    void RecordEdit();
    // A tick about to draw belongs to an edit of the current layer.
    void KeepStrokeInEdit();
    void FollowLayerChanges();
    void ShowUndoSteps();

    // ---- Tools (private) ----
    void RetouchKindClick(bool MenuChecks::*item);
    void SetSwatch(Swatch swatch, TColor colour);
    // The layer the text floats on: the current one, with a backdrop taken from it. Null when
    // the float has ended because its backdrop's layer is gone.
    Bitmap* TextLayer();

    // ---- Filters (private) ----
    void RunFilter(FilterKind kind);
    bool ReadFilterDialog(FilterJob& job);
    bool filterRunning_ = false;
    bool closeAfterFilter_ = false;

    // ---- Documents (private) ----
    // Loads a file of the given type and makes it the document; false (the message shown and
    // the document untouched) when it cannot be loaded.
    bool OpenDocumentFile(const QString& path, FileType type);
    // The tool state, layers and bitmaps of an empty document.
    void ResetDocument();
    // Writes the document as the given type; false (the message shown) when it failed.
    bool WriteDocumentFile(const QString& path, FileType type, int quality, bool progressive);
    // The title "<name> - Kasumiro" and the picture size in the status bar.
    void ShowDocumentTitle(const QString& name);
    // Shows a failed file operation's message.
    void ReportFileError(const UserError& error);

    // ---- Recovery copies (private) ----
    struct RecoveryState;
    void StartRecoveryCopies();
    void RecoveryTimeout();
    // A stroke, a moving tail, a retouch, a filter or a float is under way: the layers are
    // half done.
    bool DrawingNow() const;
    // Changes whenever anything a copy holds changes.
    QByteArray RecoveryKeyNow() const;
    RecoveryContent RecoveryContentNow() const;
    bool ClaimRecoveryName();
    bool RestoreRecoveryCopy(const RecoveryLock& copy);
    // Removes our copy: the document was saved, or another took its place.
    void DiscardRecoveryCopy();
    // The program ends: our copy goes with our lock, or, with keep, is brought up to date and
    // stays for the next start.
    void EndRecoveryCopies(bool keep);
    // Before an edit writes a layer the copy being written still reads: without room for the
    // layer's own copy, the recovery copy stops.
    void GiveWayToEdit(const Bitmap& layer);
    struct RecoveryStateDeleter {
        void operator()(RecoveryState* state) const;
    };
    std::unique_ptr<RecoveryState, RecoveryStateDeleter> recovery_;

    // ---- Running out of memory (private) ----
    // snapshots: the before-snapshots taken when the failing command began.
    void RecoverFromOutOfMemory(long long snapshots);
    // The current layer takes its before-snapshot back; the after-snapshot becomes the same,
    // so that undo finds nothing to undo.
    void PutBackBeforeSnapshot();
    void ReserveEditBuffers();
    // Throws OutOfMemoryError when copying from into into would need memory that is not there.
    void CheckRoomToCopy(const Bitmap& from, const Bitmap& into) const;
    // Throws OutOfMemoryError when the file, as its header describes it, cannot be opened
    // beside the open document.
    void CheckRoomToOpen(const QString& path, FileType type) const;
    // The paint surface and undo pair of a document of another size, made before the open
    // document is touched; a buffer stays empty where the window's own already has the size.
    struct WindowBuffers {
        Bitmap Surface;
        Bitmap Before;
        Bitmap After;
    };
    std::uint64_t WindowBuffersBytes(int width, int height) const;
    WindowBuffers MakeWindowBuffers(int width, int height) const;
    void TakeWindowBuffers(WindowBuffers&& buffers);
    long long beforeSnapshots_ = 0;
    // Modified as it was when the last before-snapshot was taken.
    bool modifiedBeforeEdit_ = false;

    // ---- Loupe (private) ----

    void ReadSettings();
    // Writes the settings in their documented order; false when a write was refused (the
    // error box has been shown and the rest skipped).
    bool WriteSettings(bool withPictureAndPanel);
    void WindowBookkeeping();

    // CompositorHost
    void RepaintPaintSurface() override;
    bool LoupeShown() const override { return Checks.L1; }
    void CopyToLoupe(const Bitmap& picture) override { screen_.CopyToLoupe(picture); }

    MainScreen& screen_;
};
