#include "tools/picture_edit.h"

#include <cstring>

bool RestoreUndoSnapshot(const LayerStack& stack, std::array<Bitmap, kLayerSlots>& layers,
                         const Bitmap& image3, const Bitmap& image4, ToolState& state) {
    if (!stack.InUse(state.UndoLayer)) return false;
    Bitmap& layer = layers[std::size_t(state.UndoLayer)];
    layer.CopyFrom(state.UndoPhase == 0 ? image3 : image4);
    state.UndoPhase = state.UndoPhase == 0 ? 1 : 0;
    return true;
}

void CopyRectangle(const Bitmap& source, const QRect& rect, Bitmap& target) {
    const QRect r = rect.intersected(QRect(0, 0, source.Width(), source.Height()));
    // Same size: the buffer is kept and overwritten.
    target.MakeWhite(r.width(), r.height());
    if (r.isEmpty()) return;
    const std::size_t bytes = std::size_t(r.width()) * 3;
    for (int y = 0; y < r.height(); ++y)
        std::memcpy(target.ScanLine(y), source.ConstScanLine(r.top() + y) + r.left() * 3, bytes);
}

void FillRectangle(Bitmap& target, const QRect& rect, TColor colour) {
    const QRect r = rect.intersected(QRect(0, 0, target.Width(), target.Height()));
    if (r.isEmpty()) return;
    const std::uint8_t bgr[3] = {std::uint8_t(BlueOf(colour)), std::uint8_t(GreenOf(colour)),
                                 std::uint8_t(RedOf(colour))};
    for (int y = r.top(); y <= r.bottom(); ++y) {
        std::uint8_t* p = target.ScanLine(y) + r.left() * 3;
        for (int x = 0; x < r.width(); ++x, p += 3) std::memcpy(p, bgr, 3);
    }
}
