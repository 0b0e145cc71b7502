#include "layers/compositor.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <utility>
#include <vector>

#include "platform/blit.h"

namespace {

// The shown layers drawn bottom to top over a white sheet. The picture is composed a band of
// rows at a time: the band stays in the processor's cache while every layer is keyed onto
// it, so each layer is read once and the picture written once however many layers it has.
class Composition {
    // Small enough to stay in a core's own cache beside the layers streaming through.
    static constexpr std::size_t kBandBytes = std::size_t(192) << 10;

  public:
    Composition(int width, int height) : width_(width), height_(height) {}

    // An opaque picture covers everything drawn so far; the target takes its size.
    void Cover(const Bitmap& picture) {
        ground_ = &picture;
        width_ = picture.Width();
        height_ = picture.Height();
        layers_.clear();
    }

    void Draw(const Bitmap& layer, TColor key) {
        const bool whiteKey = SameColour(key, clWhite);
        if (layer.IsLazyWhite()) {
            // An untouched layer is invisible keyed on white and a white sheet otherwise.
            if (!whiteKey) {
                ground_ = nullptr;
                layers_.clear();
            }
            return;
        }
        // A layer keyed on white drawn first onto white looks exactly like the layer itself.
        if (!ground_ && layers_.empty() && whiteKey && layer.Width() == width_ &&
            layer.Height() == height_)
            return Cover(layer);
        layers_.push_back({&layer, key});
    }

    void Render(Bitmap& target) const {
        // The target gets pixels of its own: whatever it showed stays as it is.
        target.StopShowing();
        if (layers_.empty()) {
            if (ground_)
                target.CopyFrom(*ground_);
            else
                target.MakeWhite(width_, height_);
            return;
        }
        if (target.Width() != width_ || target.Height() != height_)
            target.MakeWhite(width_, height_);
        const std::size_t rowBytes = std::size_t(width_) * 3;
        const int band = std::max(1, int(kBandBytes / std::max<std::size_t>(rowBytes, 1)));
        for (int top = 0; top < height_; top += band) {
            const int bottom = std::min(height_, top + band);
            const std::size_t cover = CoveringLayer(top, bottom);
            const Bitmap* ground = cover < layers_.size() ? layers_[cover].layer : ground_;
            for (int y = top; y < bottom; ++y) {
                std::uint8_t* row = target.ScanLine(y);
                if (ground)
                    std::memcpy(row, ground->ConstScanLine(y), rowBytes);
                else
                    std::memset(row, 0xFF, rowBytes);
            }
            for (std::size_t i = cover < layers_.size() ? cover + 1 : 0; i < layers_.size(); ++i) {
                const Keyed& k = layers_[i];
                const int width = std::min(width_, k.layer->Width());
                const int last = std::min(bottom, k.layer->Height());
                for (int y = top; y < last; ++y)
                    DrawKeyedRow(target.ScanLine(y), k.layer->ConstScanLine(y), width, k.key);
            }
        }
    }

  private:
    struct Keyed {
        const Bitmap* layer;
        TColor key;
    };

    // The topmost layer without a key pixel in the rows top..bottom - 1, which hides the
    // ground and every layer below it there; layers_.size() when there is none. A layer with
    // key pixels usually shows one among its first pixels, so the search costs little.
    std::size_t CoveringLayer(int top, int bottom) const {
        for (std::size_t i = layers_.size(); i-- > 0;) {
            const Keyed& k = layers_[i];
            if (k.layer->Width() < width_ || k.layer->Height() < bottom) continue;
            int y = top;
            while (y < bottom && !RowHasKey(k.layer->ConstScanLine(y), width_, k.key)) ++y;
            if (y == bottom) return i;
        }
        return layers_.size();
    }

    int width_;
    int height_;
    // Null: white.
    const Bitmap* ground_ = nullptr;
    std::vector<Keyed> layers_;
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

void DrawShownLayers(Composition& ground, const LayerStack& stack,
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
void DrawBelow(Composition& ground, const Bitmap* cache, const LayerStack& stack,
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
    // A white paint surface over the one white layer is that layer: showing it from the start
    // lets the first stroke draw into one picture's memory.
    if (image1_.IsLazyWhite() && image1_.Width() == width && image1_.Height() == height)
        image1_.ShowPixelsOf(LayerImages[0]);
}

LayerCompositor::~LayerCompositor() {
    // Image1 outlives the layers it may show: it keeps the picture as pixels of its own, or,
    // without memory for them, is left white.
    try {
        image1_.OwnPixels();
    } catch (const std::bad_alloc&) {
        image1_.StopShowing();
    }
}

void LayerCompositor::ShowOnPaintSurface(const Bitmap& bitmap) {
    if (!image1_.ShowsPixelsOf(bitmap)) image1_.CopyFrom(bitmap);
}

void LayerCompositor::CompositeRefresh() {
    const int current = stack_.CurrentLayerIndex();
    const Bitmap& layer = LayerImages[std::size_t(current)];
    const bool shown = stack_.IsShown(current);
    const TColor key = stack_.TransparentColour(current);
    if (shown && !above_ && !belowFlag_ && SameColour(key, clWhite)) {
        // A lone layer keyed on white over the white ground is the layer itself: the paint
        // surface shows the layer's own pixels and needs no memory of its own.
        image1_.ShowPixelsOf(LayerImages[std::size_t(current)]);
    } else {
        Composition ground(image1_.Width(), image1_.Height());
        if (belowFlag_) DrawBelow(ground, BelowCache(), stack_, LayerImages, currentPosition_);
        if (shown) ground.Draw(layer, key);
        if (above_)
            DrawShownLayers(ground, stack_, LayerImages, currentPosition_ + 1, layerCount_ - 1);
        ground.Render(image1_);
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
    Composition ground(image1_.Width(), image1_.Height());
    if (belowFlag_) DrawBelow(ground, BelowCache(), stack_, LayerImages, currentPosition_);
    DrawShownLayers(ground, stack_, LayerImages, currentPosition_ + 1, layerCount_ - 1);
    // The current layer last, so that the stroke shows on top while it is drawn.
    ground.Draw(LayerImages[std::size_t(current)], stack_.TransparentColour(current));
    ground.Render(image1_);
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
        Composition ground(image1_.Width(), image1_.Height());
        DrawShownLayers(ground, stack_, LayerImages, 0, currentPosition_ - 1);
        ground.Render(below_);
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
