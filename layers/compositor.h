#pragma once
// LayerCompositor: the main window's side of the layers. It owns the hundred layer bitmaps and
// the cache of the shown layers below the current one, and composes the picture of the paint
// surface (Image1, owned by the main window) from them.
//
// How the main window core drives it (it owns Image1, Image3, Image4, a LayerStack and this):
//   - construction resets the layers to Image1's size; New and Open: stack.ResetToOneLayer(),
//     then Reset(width, height) (Image1 keeps its own size and content), later
//     CompositeRefresh();
//   - every timer tick: if (stack.LayersChanged)
//         compositor.RebuildLayerCache({&Image3, &Image4, UndoLayer});
//   - the end of every editing step (stroke, retouch, fill, filter, undo, clear, paste, text):
//     CompositeRefresh();
//   - a press on the paint surface: StrokeStartRebuild() (it checks its own condition);
//   - undo: ShowOnPaintSurface(LayerImages[UndoLayer]),
//     stack.SetThumbnail(UndoLayer, LayerImages[UndoLayer]), then RebuildAfterUndo();
//   - loading a layered document: LayerImages[i] = bitmap; stack.SetThumbnail(i, bitmap).
// Edits go to CurrentLayerImage(). The current layer's thumbnail reaches the layer window by
// itself: LayerStack::SetThumbnail notifies the window.
#include <array>

#include "layers/layer_stack.h"
#include "platform/bitmap.h"

// What compositing asks of the main window.
class CompositorHost {
  public:
    virtual ~CompositorHost() = default;
    // Image1 changed as a whole.
    virtual void RepaintPaintSurface() = 0;
    // "ルーペ(&L)" (L1) has its check mark.
    virtual bool LoupeShown() const = 0;
    // The loupe's bitmap becomes a copy of picture.
    virtual void CopyToLoupe(const Bitmap& picture) = 0;
};

// The undo pair, as far as a deleted layer concerns it: both snapshots turn white when the layer
// they belong to has left the display order. Null snapshots are skipped.
struct UndoSnapshots {
    Bitmap* Image3 = nullptr;
    Bitmap* Image4 = nullptr;
    int UndoLayer = -1;
};

class LayerCompositor {
  public:
    // stack and image1 must outlive the compositor; host may be null (nothing is repainted).
    LayerCompositor(LayerStack& stack, Bitmap& image1, CompositorHost* host = nullptr);
    // Image1 keeps the picture it shows as pixels of its own.
    ~LayerCompositor();
    LayerCompositor(const LayerCompositor&) = delete;
    LayerCompositor& operator=(const LayerCompositor&) = delete;

    void SetHost(CompositorHost* host) { host_ = host; }

    // The layer bitmaps by layer index, always the picture size. A free index is white and
    // holds no memory.
    std::array<Bitmap, kLayerSlots> LayerImages;
    Bitmap& CurrentLayerImage() { return LayerImages[std::size_t(stack_.CurrentLayerIndex())]; }

    // State as of the last layer-cache rebuild.
    const Bitmap& BelowComposite() const { return below_; }
    int LayerCount() const { return layerCount_; }
    int CurrentLayerPosition() const { return currentPosition_; }
    bool LayersAboveCurrent() const { return above_; }
    bool LayersBelowCurrent() const { return belowFlag_; }

    // A hundred white layers of the given size, holding no memory; flags false, one layer.
    // Layer 0 keeps its buffer (it is drawn on or loaded next). Image1 is left alone, but for
    // a white Image1 without memory of that size: it shows layer 0 from then on.
    void Reset(int width, int height);

    // Rebuilds Image1 from the layers, repaints it, hands it to the loupe while L1 is checked
    // and renews the current layer's thumbnail. While the picture is a single shown layer
    // keyed on white, Image1 shows that layer's own pixels (see Bitmap::ShowPixelsOf): the
    // stroke's two pens then draw the same pixels into the same memory, and Image1 holds
    // memory of its own again at the first refresh that composes more than that layer.
    void CompositeRefresh();

    // The timer tick's step when stack.LayersChanged is set: applies a pending delete (the
    // deleted layer, and the undo snapshots when their layer is gone, turn white) and then a
    // pending merge (the picture shown now becomes layer 0), renews the counts, flags and below
    // cache, clears the stack's flags and runs CompositeRefresh.
    void RebuildLayerCache(const UndoSnapshots& undo = {});

    // The reduced rebuild that undo runs after restoring a layer: counts, flags, below cache
    // and CompositeRefresh, without applying merge or delete. A pending request keeps
    // LayersChanged raised so that the next tick still applies it.
    void RebuildAfterUndo();

    // At a press: shows the current layer above every other layer for the stroke's duration.
    // Does nothing (returns false) unless the current layer is shown and layers lie above it.
    bool StrokeStartRebuild();

    // Image1 takes the bitmap's size and a copy of its pixels (its size may change); nothing to
    // do when it shows that bitmap already.
    void ShowOnPaintSurface(const Bitmap& bitmap);

    // After layer index changed inside area only: Image1 is composed again there (and the
    // below cache, when that layer lies below the current one), the loupe is fed and the
    // layer's thumbnail renewed. The counts and flags of the last rebuild must still hold (no
    // LayersChanged pending). The caller repaints the area.
    void RefreshArea(const QRect& area, int index);

  private:
    void RecountLayers();
    void ApplyMerge();
    void ApplyDelete(const UndoSnapshots& undo);
    void WhitenFreeLayers();
    void DecideFlags();
    void BuildBelowCache();
    const Bitmap* BelowCache() const { return belowCached_ ? &below_ : nullptr; }
    void Repaint();
    void FeedLoupe();

    LayerStack& stack_;
    Bitmap& image1_;
    CompositorHost* host_;
    Bitmap below_;
    // False when there was no memory for the cache: the layers below are drawn each time.
    bool belowCached_ = true;
    int layerCount_ = 1;
    int currentPosition_ = 0;
    bool above_ = false;
    bool belowFlag_ = false;
};
