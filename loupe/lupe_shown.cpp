#include "loupe/lupe_shown.h"

#include <cstring>
#include <utility>

namespace {

// Columns [first, last] where the two rows of n pixels differ; false when they are equal.
bool RowDifference(const std::uint8_t* a, const std::uint8_t* b, int n, int& first, int& last) {
    const std::size_t bytes = std::size_t(n) * 3;
    if (std::memcmp(a, b, bytes) == 0) return false;
    first = 0;
    while (std::memcmp(a + first * 3, b + first * 3, 3) == 0) ++first;
    last = n - 1;
    while (std::memcmp(a + last * 3, b + last * 3, 3) == 0) --last;
    return true;
}

}  // namespace

void LupeShownPixels::SetClip(const QRect& clip, const Bitmap& source) {
    if (clip == clip_) return;
    if (clip.isEmpty()) {
        clip_ = clip;
        return;
    }
    if (spare_.Width() != clip.width() || spare_.Height() != clip.height())
        spare_ = Bitmap(clip.width(), clip.height());
    const QRect kept = clip & clip_;
    for (int y = kept.top(); y <= kept.bottom(); ++y)
        std::memcpy(spare_.ScanLine(y - clip.top()) + (kept.left() - clip.left()) * 3,
                    pixels_.ConstScanLine(y - clip_.top()) + (kept.left() - clip_.left()) * 3,
                    std::size_t(kept.width()) * 3);
    std::swap(pixels_, spare_);
    clip_ = clip;
    // The uncovered part: the bands above and below what was kept, then beside it.
    if (kept.isEmpty()) {
        Record(source, clip);
        return;
    }
    Record(source, QRect(clip.left(), clip.top(), clip.width(), kept.top() - clip.top()));
    Record(source,
           QRect(clip.left(), kept.bottom() + 1, clip.width(), clip.bottom() - kept.bottom()));
    Record(source, QRect(clip.left(), kept.top(), kept.left() - clip.left(), kept.height()));
    Record(source, QRect(kept.right() + 1, kept.top(), clip.right() - kept.right(), kept.height()));
}

void LupeShownPixels::Record(const Bitmap& source, const QRect& area) {
    const QRect r = area & clip_ & QRect(0, 0, source.Width(), source.Height());
    for (int y = r.top(); y <= r.bottom(); ++y)
        std::memcpy(pixels_.ScanLine(y - clip_.top()) + (r.left() - clip_.left()) * 3,
                    source.ConstScanLine(y) + r.left() * 3, std::size_t(r.width()) * 3);
}

QRect LupeShownPixels::Changed(const Bitmap& source) const {
    const QRect r = clip_ & QRect(0, 0, source.Width(), source.Height());
    QRect changed;
    for (int y = r.top(); y <= r.bottom(); ++y) {
        int first = 0, last = 0;
        const std::uint8_t* shown =
            pixels_.ConstScanLine(y - clip_.top()) + (r.left() - clip_.left()) * 3;
        if (RowDifference(source.ConstScanLine(y) + r.left() * 3, shown, r.width(), first, last))
            changed |= QRect(r.left() + first, y, last - first + 1, 1);
    }
    return changed;
}
