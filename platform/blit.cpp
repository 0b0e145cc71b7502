#include "platform/blit.h"

#include <algorithm>
#include <cstring>
#include <vector>

void DrawOpaque(Bitmap& target, const Bitmap& source, int x, int y) {
    const int left = std::max(x, 0);
    const int top = std::max(y, 0);
    const int right = std::min(x + source.Width(), target.Width());
    const int bottom = std::min(y + source.Height(), target.Height());
    if (left >= right || top >= bottom) return;
    if (x == 0 && y == 0 && source.Width() == target.Width() &&
        source.Height() == target.Height()) {
        target.CopyFrom(source);
        return;
    }
    const std::size_t bytes = std::size_t(right - left) * 3;
    for (int ty = top; ty < bottom; ++ty)
        std::memcpy(target.ScanLine(ty) + left * 3, source.ConstScanLine(ty - y) + (left - x) * 3,
                    bytes);
}

void DrawKeyed(Bitmap& target, const Bitmap& source, TColor key) {
    const int width = std::min(target.Width(), source.Width());
    const int height = std::min(target.Height(), source.Height());
    if (width <= 0 || height <= 0) return;
    const bool keyIsWhite = SameColour(key, clWhite);
    if (source.IsLazyWhite()) {
        // An untouched layer is all white: invisible over anything when keyed on white,
        // a white sheet otherwise.
        if (keyIsWhite) return;
        for (int y = 0; y < height; ++y)
            std::memset(target.ScanLine(y), 0xFF, std::size_t(width) * 3);
        return;
    }
    const std::uint8_t kb = static_cast<std::uint8_t>(BlueOf(key));
    const std::uint8_t kg = static_cast<std::uint8_t>(GreenOf(key));
    const std::uint8_t kr = static_cast<std::uint8_t>(RedOf(key));
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* src = source.ConstScanLine(y);
        std::uint8_t* dst = nullptr;
        int x = 0;
        while (x < width) {
            // Skip a run of key pixels, then copy the run of others in one go.
            while (x < width && src[x * 3] == kb && src[x * 3 + 1] == kg && src[x * 3 + 2] == kr)
                ++x;
            const int start = x;
            while (x < width && !(src[x * 3] == kb && src[x * 3 + 1] == kg && src[x * 3 + 2] == kr))
                ++x;
            if (x > start) {
                if (!dst) dst = target.ScanLine(y);
                std::memcpy(dst + start * 3, src + start * 3, std::size_t(x - start) * 3);
            }
        }
    }
}

void StretchCopy(Bitmap& target, const QRect& targetRect, const Bitmap& source,
                 const QRect& sourceRect) {
    if (targetRect.width() <= 0 || targetRect.height() <= 0 || sourceRect.width() <= 0 ||
        sourceRect.height() <= 0)
        return;
    const QRect clip = targetRect.intersected(QRect(0, 0, target.Width(), target.Height()));
    if (clip.isEmpty()) return;
    const long long tw = targetRect.width(), th = targetRect.height();
    const long long sw = sourceRect.width(), sh = sourceRect.height();

    // Source column for each target column of the clip; -1 where it falls outside the source.
    std::vector<int> columns(static_cast<std::size_t>(clip.width()));
    bool allColumnsInside = true;
    for (int tx = clip.left(); tx <= clip.right(); ++tx) {
        const int sx = sourceRect.left() + static_cast<int>((tx - targetRect.left()) * sw / tw);
        const bool inside = sx >= 0 && sx < source.Width();
        columns[std::size_t(tx - clip.left())] = inside ? sx : -1;
        allColumnsInside = allColumnsInside && inside;
    }
    int previousSy = -1;
    int previousTy = -1;
    for (int ty = clip.top(); ty <= clip.bottom(); ++ty) {
        const int sy = sourceRect.top() + static_cast<int>((ty - targetRect.top()) * sh / th);
        if (sy < 0 || sy >= source.Height()) continue;
        std::uint8_t* dst = target.ScanLine(ty);
        if (sy == previousSy && allColumnsInside) {
            // Same source row as the row above: repeat it.
            std::memcpy(dst + clip.left() * 3, target.ConstScanLine(previousTy) + clip.left() * 3,
                        std::size_t(clip.width()) * 3);
        } else {
            const std::uint8_t* src = source.ConstScanLine(sy);
            for (int i = 0; i < clip.width(); ++i) {
                const int sx = columns[std::size_t(i)];
                if (sx < 0) continue;
                std::uint8_t* d = dst + (clip.left() + i) * 3;
                d[0] = src[sx * 3];
                d[1] = src[sx * 3 + 1];
                d[2] = src[sx * 3 + 2];
            }
        }
        previousSy = sy;
        previousTy = ty;
    }
}
