#pragma once
// LayerStack: the layer window's model. It owns which layer indices are in use, their display
// order, the current layer and each layer's name, visibility mark, transparent colour and
// thumbnail. The pixels live with the main window (LayerCompositor::LayerImages).
//
// The stack never calls the main window. Its operations change its own state and raise
// LayersChanged (plus DeleteRequested / MergeRequested); the main window's timer tick consumes
// them with LayerCompositor::RebuildLayerCache. Everything the screen must do (beeps, message
// boxes, the colour dialog, redrawing rows and the status bar) goes through LayerStackHost.
#include <array>
#include <functional>
#include <optional>
#include <string>

#include <QString>

#include "platform/bitmap.h"
#include "platform/colour.h"

// Layer indices are 0..99; at most 99 of them are in use at once.
inline constexpr int kLayerSlots = 100;
inline constexpr int kMaxLayers = 99;
inline constexpr int kThumbnailSize = 38;
inline constexpr int kRowHeight = 40;

inline const QString kShownMark = QStringLiteral("○");
inline const QString kHiddenMark = QStringLiteral("×");

// Status bar panel 0: "$" and the colour value in eight upper-case hex digits, blue highest.
QString ColourText(TColor colour);
// Status bar panel 1: "表示順位" N "番目".
QString RankText(int rank);
// The default name of a layer index: "新規レイヤ" followed by index + 1.
QString DefaultLayerName(int index);

// What the stack needs from the screen. The layer window implements it; tests record it.
class LayerStackHost {
  public:
    virtual ~LayerStackHost() = default;
    virtual void Beep() = 0;
    // A plain message box with an OK button under the application's title.
    virtual void MessageBox(const QString& text) = 0;
    // The confirmation box "確認" with the single button "はい(&Y)".
    virtual void ConfirmLimit(const QString& text) = 0;
    // The colour dialog opened on initial (the colour it last returned, white at first);
    // nothing when cancelled.
    virtual std::optional<TColor> ChooseColour(TColor initial) = 0;
    // Rows were added, removed or reordered, or the current layer changed.
    virtual void RowsChanged() = 0;
    // One row's mark, colour, name or thumbnail changed.
    virtual void RowChanged(int index) = 0;
    // A status bar panel text changed.
    virtual void StatusChanged() = 0;
    // The standard error box with a runtime error's text.
    virtual void ErrorBox(const QString& text) = 0;
    // The row list should show its top (a new layer appears there).
    virtual void ScrollRowsToTop() = 0;
};

class LayerStack {
  public:
    // The start-up state: layer 0 alone, current, with all three hints.
    explicit LayerStack(LayerStackHost* host = nullptr);
    LayerStack(const LayerStack&) = delete;
    LayerStack& operator=(const LayerStack&) = delete;

    void SetHost(LayerStackHost* host) { host_ = host; }

    // Asked before a layer is created, with the number of layers there would be: false when
    // the picture's memory cannot take one more. The main window answers; unset, all fit.
    std::function<bool(int layers)> RoomForLayers;

    // Flags for the main window's tick; it clears them in the layer-cache rebuild.
    bool LayersChanged = false;
    bool DeleteRequested = false;
    int DeletedLayerIndex = -1;
    bool MergeRequested = false;

    // ---- Order ----
    // The layer index at a position, -1 when empty. Position -1 is the guard entry (always -1);
    // positions outside -1..99 read as empty too.
    int DisplayOrder(int position) const;
    // Number of layers: the first empty position.
    int LayerCount() const;
    // Position of a layer index, -1 when the index is free.
    int PositionOf(int index) const;
    bool InUse(int index) const { return PositionOf(index) >= 0; }
    int CurrentLayerIndex() const { return current_; }
    // Display rank of the current layer: 1 is the top layer.
    int CurrentRank() const { return LayerCount() - PositionOf(current_); }
    // Top of a row in the row list: the top layer's row is at 0.
    int RowTop(int index) const { return kRowHeight * (LayerCount() - 1 - PositionOf(index)); }

    // ---- Per layer index (0..99) ----
    // Names one life of a layer index: the index is given out again after a delete, a merge or
    // a reset, its serial never is.
    unsigned LayerSerial(int index) const { return At(index).serial; }
    // The layer index is in use and still in the life the serial names.
    bool Lives(int index, unsigned serial) const {
        return index >= 0 && index < kLayerSlots && InUse(index) && LayerSerial(index) == serial;
    }
    const QString& LayerName(int index) const { return At(index).name; }
    // The name's bytes as a document file held them, until the layer is renamed; none else.
    // A name that is no valid Shift-JIS goes back into the file unchanged.
    const std::string* LoadedNameBytes(int index) const {
        return At(index).loadedName ? &*At(index).loadedName : nullptr;
    }
    // "○" or "×" (loading may set any text; only "○" counts as shown).
    const QString& VisibilityMark(int index) const { return At(index).mark; }
    bool IsShown(int index) const { return At(index).mark == kShownMark; }
    TColor TransparentColour(int index) const { return At(index).colour; }
    const Bitmap& Thumbnail(int index) const { return At(index).thumbnail; }
    // The row's name box is highlighted (yellow) for the current layer.
    bool IsHighlighted(int index) const { return index == current_; }
    // Rows built by start-up and create carry all three hints; merge and reset build a row
    // whose name box and show/hide box carry none. The colour box always has its hint.
    bool HasNameHint(int index) const { return At(index).fullHints; }
    bool HasShowHint(int index) const { return At(index).fullHints; }
    bool HasColourHint(int) const { return true; }

    // Direct setters, as the name box edits and the loader use them. They notify the host but
    // raise no flag: loading is followed by a composite refresh of its own.
    void SetLayerName(int index, const QString& name);
    // The name read from a file, with the bytes it came from.
    void SetLoadedLayerName(int index, const QString& name, const std::string& bytes);
    void SetVisibilityMark(int index, const QString& mark);
    void SetTransparentColour(int index, TColor colour);
    // The thumbnail becomes a 38 x 38 stretched copy of the layer bitmap.
    void SetThumbnail(int index, const Bitmap& layerBitmap);

    // ---- Status bar ----
    const QString& ColourPanelText() const { return colourPanel_; }
    const QString& RankPanelText() const { return rankPanel_; }

    // ---- Operations of the layer window ----
    // "レイヤ作成": a white layer on top with the lowest free index; the current layer stays.
    // Refused with "ﾒﾓﾘ不足です" when RoomForLayers says no.
    void CreateLayer();
    // A click on a row panel or thumbnail.
    void SelectLayer(int index);
    // A click on a row's show/hide box.
    void ToggleVisibility(int index);
    // A click on a row's colour box: the colour dialog, opened on the colour it last returned.
    void ChooseTransparentColour(int index);
    // "上へ移動" / "下へ移動": the current layer one position up / down.
    void MoveUp();
    void MoveDown();
    // "削除": removes the current layer; its bitmap is whitened at the next rebuild.
    void DeleteLayer();
    // "結合": leaves layer 0 alone; the next rebuild copies the shown picture into it.
    void Merge();
    // The document reset of New and Open: layer 0 alone. Pending delete and merge requests
    // are dropped, so that a rebuild after loading cannot whiten or overwrite loaded layers.
    // The main window then resets the bitmaps (LayerCompositor::Reset).
    void ResetToOneLayer();

  private:
    struct Layer {
        QString name;
        std::optional<std::string> loadedName;
        QString mark;
        TColor colour = clWhite;
        Bitmap thumbnail;
        bool fullHints = true;
        unsigned serial = 0;
    };

    const Layer& At(int index) const;
    Layer& At(int index);
    void BuildRow(int index, bool fullHints);
    void StartWithLayerZero(bool fullHints);
    void SwapWithPosition(int p, int q);
    void SetColourPanel(int index);
    void SetRankPanel(int rank);

    void Beep();
    void NotifyRows();
    void NotifyRow(int index);
    void NotifyStatus();

    LayerStackHost* host_ = nullptr;
    // order_[0] is the guard entry (position -1); order_[p + 1] holds position p.
    std::array<int, kLayerSlots + 1> order_{};
    std::array<Layer, kLayerSlots> layers_;
    int current_ = 0;
    unsigned lastSerial_ = 0;
    TColor dialogColour_ = clWhite;
    QString colourPanel_;
    QString rankPanel_;
};
