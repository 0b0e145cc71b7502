// The composition of one rectangle, for a change that touched only that much of one layer: the
// same layers, keys and order as the whole refresh, at the cost of the rectangle.
#include <cstring>

#include "layers/compositor.h"

namespace {

void WhiteArea(Bitmap& target, const QRect& r) {
    for (int y = r.top(); y <= r.bottom(); ++y)
        std::memset(target.ScanLine(y) + r.left() * 3, 0xFF, std::size_t(r.width()) * 3);
}

// A target that shows the source's own pixels is left alone.
void CopyArea(Bitmap& target, const Bitmap& source, const QRect& r) {
    for (int y = r.top(); y <= r.bottom(); ++y) {
        const std::uint8_t* from = source.ConstScanLine(y) + r.left() * 3;
        std::uint8_t* to = target.ScanLine(y) + r.left() * 3;
        if (to != from) std::memcpy(to, from, std::size_t(r.width()) * 3);
    }
}

// Every pixel of source unequal to key replaces the target's.
void KeyedArea(Bitmap& target, const Bitmap& source, TColor key, const QRect& r) {
    if (source.IsLazyWhite() && SameColour(key, clWhite)) return;
    const std::uint8_t b = std::uint8_t(BlueOf(key));
    const std::uint8_t g = std::uint8_t(GreenOf(key));
    const std::uint8_t red = std::uint8_t(RedOf(key));
    for (int y = r.top(); y <= r.bottom(); ++y) {
        const std::uint8_t* s = source.ConstScanLine(y) + r.left() * 3;
        std::uint8_t* t = target.ScanLine(y) + r.left() * 3;
        for (int x = 0; x < r.width(); ++x, s += 3, t += 3)
            if (s[0] != b || s[1] != g || s[2] != red) std::memcpy(t, s, 3);
    }
}

// White, then the shown layers at positions first..last, bottom first.
void ComposeArea(Bitmap& target, const LayerStack& stack,
                 const std::array<Bitmap, kLayerSlots>& layers, int first, int last,
                 const QRect& r) {
    WhiteArea(target, r);
    for (int p = first; p <= last; ++p) {
        const int index = stack.DisplayOrder(p);
        if (index < 0 || !stack.IsShown(index)) continue;
        KeyedArea(target, layers[std::size_t(index)], stack.TransparentColour(index), r);
    }
}

}  // namespace

void LayerCompositor::RefreshArea(const QRect& area, int index) {
    const QRect r = area & QRect(0, 0, image1_.Width(), image1_.Height());
    if (!r.isEmpty()) {
        const int current = stack_.CurrentLayerIndex();
        const Bitmap& layer = LayerImages[std::size_t(current)];
        const bool shown = stack_.IsShown(current);
        const TColor key = stack_.TransparentColour(current);
        const int position = stack_.PositionOf(index);
        if (belowFlag_ && belowCached_ && position >= 0 && position < currentPosition_)
            ComposeArea(below_, stack_, LayerImages, 0, currentPosition_ - 1, r);
        if (shown && !above_ && !belowFlag_ && SameColour(key, clWhite)) {
            // A lone layer keyed on white over the white ground is the layer itself.
            CopyArea(image1_, layer, r);
        } else {
            if (!belowFlag_)
                WhiteArea(image1_, r);
            else if (belowCached_)
                CopyArea(image1_, below_, r);
            else
                ComposeArea(image1_, stack_, LayerImages, 0, currentPosition_ - 1, r);
            if (shown) KeyedArea(image1_, layer, key, r);
            for (int p = currentPosition_ + 1; above_ && p < layerCount_; ++p) {
                const int above = stack_.DisplayOrder(p);
                if (above < 0 || !stack_.IsShown(above)) continue;
                KeyedArea(image1_, LayerImages[std::size_t(above)], stack_.TransparentColour(above),
                          r);
            }
        }
        FeedLoupe();
    }
    stack_.SetThumbnail(index, LayerImages[std::size_t(index)]);
}
