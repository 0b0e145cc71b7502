#include "platform/blit.h"

#include <algorithm>
#include <cstring>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "platform/wide_rows.h"

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

namespace {

struct Key {
    explicit Key(TColor key)
        : b(static_cast<std::uint8_t>(BlueOf(key))),
          g(static_cast<std::uint8_t>(GreenOf(key))),
          r(static_cast<std::uint8_t>(RedOf(key))) {}
    bool Matches(const std::uint8_t* p) const { return p[0] == b && p[1] == g && p[2] == r; }
    std::uint8_t b, g, r;
};

void KeyedPixels(std::uint8_t* target, const std::uint8_t* src, int from, int to, const Key& key) {
    for (int x = from; x < to; ++x) {
        const std::uint8_t* s = src + x * 3;
        if (key.Matches(s)) continue;
        std::uint8_t* d = target + x * 3;
        d[0] = s[0];
        d[1] = s[1];
        d[2] = s[2];
    }
}

bool AllKeyPixels(const std::uint8_t* src, int from, int to, const Key& key) {
    for (int x = from; x < to; ++x)
        if (!key.Matches(src + x * 3)) return false;
    return true;
}

#if defined(__SSE2__)
// Bit i of the index set gives byte i of the entry 0xFF.
struct ByteMasks {
    constexpr ByteMasks() : m() {
        for (int bits = 0; bits < 256; ++bits)
            for (int i = 0; i < 8; ++i)
                if (bits & (1 << i)) m[bits] |= std::uint64_t(0xFF) << (8 * i);
    }
    std::uint64_t m[256];
};
constexpr ByteMasks kByteMasks;

__m128i ByteMask(std::uint64_t bits, int shift) {
    return _mm_set_epi64x(static_cast<long long>(kByteMasks.m[(bits >> (shift + 8)) & 0xFF]),
                          static_cast<long long>(kByteMasks.m[(bits >> shift) & 0xFF]));
}

constexpr std::uint64_t kAllBytes = 0xFFFFFFFFFFFFull;
constexpr std::uint64_t kPixelStarts = 0x249249249249ull;  // bit 3p for p = 0..15

// Sixteen pixels (48 bytes) at a time: a byte-wise comparison with the key repeated in the
// three phases gives one bit per byte; a pixel is key where its three bits are set.
struct Block {
    __m128i v0, v1, v2;
    std::uint64_t equal;
};

class KeyBlocks {
  public:
    explicit KeyBlocks(const Key& key) {
        const std::uint8_t pattern[3] = {key.b, key.g, key.r};
        alignas(16) std::uint8_t phases[48];
        for (int i = 0; i < 48; ++i) phases[i] = pattern[i % 3];
        k0_ = _mm_load_si128(reinterpret_cast<const __m128i*>(phases));
        k1_ = _mm_load_si128(reinterpret_cast<const __m128i*>(phases + 16));
        k2_ = _mm_load_si128(reinterpret_cast<const __m128i*>(phases + 32));
    }

    Block Load(const std::uint8_t* s) const {
        Block b;
        b.v0 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s));
        b.v1 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + 16));
        b.v2 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + 32));
        b.equal = Bits(b.v0, k0_) | Bits(b.v1, k1_) << 16 | Bits(b.v2, k2_) << 32;
        return b;
    }

  private:
    static std::uint64_t Bits(__m128i v, __m128i k) {
        return std::uint64_t(std::uint16_t(_mm_movemask_epi8(_mm_cmpeq_epi8(v, k))));
    }
    __m128i k0_, k1_, k2_;
};

inline __m128i Select(__m128i keep, __m128i old, __m128i fresh) {
    return _mm_or_si128(_mm_and_si128(keep, old), _mm_andnot_si128(keep, fresh));
}

// Blocks entirely of key colour are skipped and blocks without any are stored whole; only
// mixed blocks read the target.
int KeyedBlocks(std::uint8_t* target, const std::uint8_t* src, int width, const Key& key) {
    const KeyBlocks blocks(key);
    int x = 0;
    for (; x + 16 <= width; x += 16) {
        const Block b = blocks.Load(src + x * 3);
        if (b.equal == kAllBytes) continue;
        __m128i* d = reinterpret_cast<__m128i*>(target + x * 3);
        const std::uint64_t keyPixels = b.equal & (b.equal >> 1) & (b.equal >> 2) & kPixelStarts;
        if (keyPixels == 0) {
            _mm_storeu_si128(d, b.v0);
            _mm_storeu_si128(d + 1, b.v1);
            _mm_storeu_si128(d + 2, b.v2);
            continue;
        }
        const std::uint64_t keep = keyPixels | keyPixels << 1 | keyPixels << 2;
        _mm_storeu_si128(d, Select(ByteMask(keep, 0), _mm_loadu_si128(d), b.v0));
        _mm_storeu_si128(d + 1, Select(ByteMask(keep, 16), _mm_loadu_si128(d + 1), b.v1));
        _mm_storeu_si128(d + 2, Select(ByteMask(keep, 32), _mm_loadu_si128(d + 2), b.v2));
    }
    return x;
}

// The leading pixels, in whole blocks, that are all key colour.
int AllKeyBlocks(const std::uint8_t* src, int width, const Key& key) {
    const KeyBlocks blocks(key);
    int x = 0;
    while (x + 16 <= width && blocks.Load(src + x * 3).equal == kAllBytes) x += 16;
    return x;
}
// The leading pixels, in whole blocks, that hold no key pixel.
int NoKeyBlocks(const std::uint8_t* src, int width, const Key& key) {
    const KeyBlocks blocks(key);
    int x = 0;
    for (; x + 16 <= width; x += 16) {
        const std::uint64_t equal = blocks.Load(src + x * 3).equal;
        if (equal & (equal >> 1) & (equal >> 2) & kPixelStarts) break;
    }
    return x;
}
#else
int KeyedBlocks(std::uint8_t*, const std::uint8_t*, int, const Key&) {
    return 0;
}
int AllKeyBlocks(const std::uint8_t*, int, const Key&) {
    return 0;
}
int NoKeyBlocks(const std::uint8_t*, int, const Key&) {
    return 0;
}
#endif

bool RowIsAllKey(const std::uint8_t* src, int width, const Key& key) {
    return AllKeyPixels(src, AllKeyBlocks(src, width, key), width, key);
}

bool AnyKeyPixel(const std::uint8_t* src, int from, int to, const Key& key) {
    for (int x = from; x < to; ++x)
        if (key.Matches(src + x * 3)) return true;
    return false;
}

}  // namespace

void DrawKeyedRow(std::uint8_t* target, const std::uint8_t* source, int width, TColor key) {
    const Key k(key);
    if (WideRowsAvailable()) {
        const std::uint8_t bgr[3] = {k.b, k.g, k.r};
        return WideKeyedRow(target, source, width, bgr);
    }
    const int done = KeyedBlocks(target, source, width, k);
    KeyedPixels(target, source, done, width, k);
}

bool RowHasKey(const std::uint8_t* row, int width, TColor key) {
    const Key k(key);
    if (WideRowsAvailable()) {
        const std::uint8_t bgr[3] = {k.b, k.g, k.r};
        return WideRowHasKey(row, width, bgr);
    }
    return AnyKeyPixel(row, NoKeyBlocks(row, width, k), width, k);
}

void DrawKeyed(Bitmap& target, const Bitmap& source, TColor key) {
    const int width = std::min(target.Width(), source.Width());
    const int height = std::min(target.Height(), source.Height());
    if (width <= 0 || height <= 0) return;
    if (source.IsLazyWhite()) {
        // An untouched layer is all white: invisible over anything when keyed on white,
        // a white sheet otherwise.
        if (SameColour(key, clWhite)) return;
        for (int y = 0; y < height; ++y)
            std::memset(target.ScanLine(y), 0xFF, std::size_t(width) * 3);
        return;
    }
    const Key k(key);
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* src = source.ConstScanLine(y);
        // A lazily white target stays without memory while every row drawn is all key.
        if (target.IsLazyWhite() && RowIsAllKey(src, width, k)) continue;
        DrawKeyedRow(target.ScanLine(y), src, width, key);
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
