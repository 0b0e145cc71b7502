#include "layers/compositor.h"

#include <new>
#include <utility>

#include "platform/blit.h"

namespace {

// A target that starts as a white sheet. A layer keyed on white drawn first onto white looks
// exactly like the layer itself, so it is copied instead of filling and keying: one pass over
// the picture instead of two.
class WhiteGround {
  public:
    WhiteGround(Bitmap& target, int width, int height)
        : target_(target), width_(width), height_(height) {}
    ~WhiteGround() { Settle(); }

    // An opaque picture of the target's size covers everything drawn so far.
    void Cover(const Bitmap& picture) {
        target_.CopyFrom(picture);
        pending_ = false;
    }

    void Draw(const Bitmap& layer, TColor key) {
        const bool whiteKey = SameColour(key, clWhite);
        if (pending_ && whiteKey && layer.Width() == width_ && layer.Height() == height_) {
            // An untouched layer leaves the sheet white; anything else replaces it.
            if (!layer.IsLazyWhite()) Cover(layer);
            return;
        }
        Settle();
        DrawKeyed(target_, layer, key);
    }

    // Makes the white sheet real if nothing has covered it yet.
    void Settle() {
        if (!pending_) return;
        target_.MakeWhite(width_, height_);
        pending_ = false;
    }

  private:
    Bitmap& target_;
    int width_;
    int height_;
    bool pending_ = true;
};

// White at the given size. Without keepBuffer the bitmap gives its memory back.
void Whiten(Bitmap& bitmap, int width, int height, bool keepBuffer) {
    if (bitmap.Width() != width || bitmap.Height() != height)
        bitmap.MakeWhite(width, height);
    else if (keepBuffer)
        bitmap.Fill(clWhite);
    else
        bitmap.ReleaseToWhite();
}

void DrawShownLayers(WhiteGround& ground, const LayerStack& stack,
                     const std::array<Bitmap, kLayerSlots>& layers, int first, int last) {
    for (int p = first; p <= last; ++p) {
        const int index = stack.DisplayOrder(p);
        // Between a change in the layer window and the next rebuild the positions may be
        // stale; an emptied position is simply skipped.
        if (index < 0 || !stack.IsShown(index)) continue;
        ground.Draw(layers[std::size_t(index)], stack.TransparentColour(index));
    }
}

// The shown layers below position: the cache when there is one, else the layers themselves.
void DrawBelow(WhiteGround& ground, const Bitmap* cache, const LayerStack& stack,
               const std::array<Bitmap, kLayerSlots>& layers, int position) {
    if (cache)
        ground.Cover(*cache);
    else
        DrawShownLayers(ground, stack, layers, 0, position - 1);
}

}  // namespace

LayerCompositor::LayerCompositor(LayerStack& stack, Bitmap& image1, CompositorHost* host)
    : stack_(stack), image1_(image1), host_(host) {
    Reset(image1.Width(), image1.Height());
}

void LayerCompositor::Reset(int width, int height) {
    for (int i = 0; i < kLayerSlots; ++i)
        Whiten(LayerImages[std::size_t(i)], width, height, i == 0);
    if (below_.Width() != width || below_.Height() != height) below_.MakeWhite(width, height);
    layerCount_ = 1;
    currentPosition_ = 0;
    above_ = false;
    belowFlag_ = false;
}

void LayerCompositor::ShowOnPaintSurface(const Bitmap& bitmap) {
    image1_.CopyFrom(bitmap);
}

void LayerCompositor::CompositeRefresh() {
    const int current = stack_.CurrentLayerIndex();
    const Bitmap& layer = LayerImages[std::size_t(current)];
    const bool shown = stack_.IsShown(current);
    const TColor key = stack_.TransparentColour(current);
    if (shown && !above_ && !belowFlag_ && SameColour(key, clWhite)) {
        // A lone layer keyed on white over the white ground is the layer itself.
        ShowOnPaintSurface(layer);
    } else {
        WhiteGround ground(image1_, image1_.Width(), image1_.Height());
        if (belowFlag_) DrawBelow(ground, BelowCache(), stack_, LayerImages, currentPosition_);
        if (shown) ground.Draw(layer, key);
        if (above_)
            DrawShownLayers(ground, stack_, LayerImages, currentPosition_ + 1, layerCount_ - 1);
    }
    Repaint();
    FeedLoupe();
    stack_.SetThumbnail(current, layer);
}

void LayerCompositor::RebuildLayerCache(const UndoSnapshots& undo) {
    above_ = false;
    belowFlag_ = false;
    stack_.LayersChanged = false;
    RecountLayers();
    // A pending delete is settled before a pending merge: the merge writes the shown picture
    // into layer 0, and whitening a deleted layer 0 afterwards would throw that picture away.
    if (stack_.DeleteRequested) ApplyDelete(undo);
    if (stack_.MergeRequested) ApplyMerge();
    WhitenFreeLayers();
    DecideFlags();
    CompositeRefresh();
}

void LayerCompositor::RebuildAfterUndo() {
    above_ = false;
    belowFlag_ = false;
    stack_.LayersChanged = stack_.DeleteRequested || stack_.MergeRequested;
    RecountLayers();
    DecideFlags();
    CompositeRefresh();
}

bool LayerCompositor::StrokeStartRebuild() {
    const int current = stack_.CurrentLayerIndex();
    if (!stack_.IsShown(current) || !above_) return false;
    {
        WhiteGround ground(image1_, image1_.Width(), image1_.Height());
        if (belowFlag_) DrawBelow(ground, BelowCache(), stack_, LayerImages, currentPosition_);
        DrawShownLayers(ground, stack_, LayerImages, currentPosition_ + 1, layerCount_ - 1);
        // The current layer last, so that the stroke shows on top while it is drawn.
        ground.Draw(LayerImages[std::size_t(current)], stack_.TransparentColour(current));
    }
    Repaint();
    return true;
}

void LayerCompositor::RecountLayers() {
    layerCount_ = stack_.LayerCount();
    currentPosition_ = stack_.PositionOf(stack_.CurrentLayerIndex());
}

void LayerCompositor::ApplyMerge() {
    // The merge asks for no memory: a layer 0 without a buffer takes that of a layer the merge
    // frees. With none to take, every layer was untouched and the picture is white.
    Bitmap& base = LayerImages[0];
    for (int i = 1; i < kLayerSlots && base.IsLazyWhite(); ++i) {
        Bitmap& freed = LayerImages[std::size_t(i)];
        if (freed.AllocatedBytes() > 0 && freed.Width() == base.Width() &&
            freed.Height() == base.Height())
            std::swap(base, freed);
    }
    if (!base.IsLazyWhite()) base.CopyFrom(image1_);
    for (int i = 1; i < kLayerSlots; ++i)
        Whiten(LayerImages[std::size_t(i)], image1_.Width(), image1_.Height(), false);
    stack_.MergeRequested = false;
}

void LayerCompositor::ApplyDelete(const UndoSnapshots& undo) {
    stack_.DeleteRequested = false;
    const int deleted = stack_.DeletedLayerIndex;
    if (deleted >= 0 && deleted < kLayerSlots)
        Whiten(LayerImages[std::size_t(deleted)], image1_.Width(), image1_.Height(), false);
    if (stack_.InUse(undo.UndoLayer)) return;
    // The snapshots are refilled at every edit: they keep their buffers.
    for (Bitmap* snapshot : {undo.Image3, undo.Image4})
        if (snapshot) Whiten(*snapshot, image1_.Width(), image1_.Height(), true);
}

void LayerCompositor::WhitenFreeLayers() {
    // Normally only the deleted or merged-away layers hold pixels here; several deletes
    // between two ticks leave more than one, and a new layer must always start white.
    for (int i = 0; i < kLayerSlots; ++i) {
        Bitmap& layer = LayerImages[std::size_t(i)];
        if (!layer.IsLazyWhite() && !stack_.InUse(i))
            Whiten(layer, image1_.Width(), image1_.Height(), false);
    }
}

void LayerCompositor::DecideFlags() {
    const int p = currentPosition_;
    const int n = layerCount_;
    above_ = p < n - 1;
    belowFlag_ = p > 0;
    if (belowFlag_) BuildBelowCache();
}

void LayerCompositor::BuildBelowCache() {
    // The cache only saves time: without memory for it the layers below are drawn every time.
    try {
        WhiteGround ground(below_, image1_.Width(), image1_.Height());
        DrawShownLayers(ground, stack_, LayerImages, 0, currentPosition_ - 1);
        belowCached_ = true;
    } catch (const std::bad_alloc&) {
        below_.ReleaseToWhite();
        belowCached_ = false;
    }
}

void LayerCompositor::Repaint() {
    if (host_) host_->RepaintPaintSurface();
}

void LayerCompositor::FeedLoupe() {
    if (host_ && host_->LoupeShown()) host_->CopyToLoupe(image1_);
}
