#include "platform/wide_rows.h"

namespace {
bool wideAllowed = true;
}

void AllowWideRows(bool allowed) {
    wideAllowed = allowed;
}

#if defined(KASUMIRO_WIDE)

#include <immintrin.h>

bool WideRowsAvailable() {
    static const bool available =
        __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw") &&
        __builtin_cpu_supports("avx512vl") && __builtin_cpu_supports("avx512dq") &&
        __builtin_cpu_supports("avx512vbmi");
    return available && wideAllowed;
}

namespace {

constexpr std::uint64_t kStep = (std::uint64_t(1) << 63) - 1;

// The key's bytes in 64 lanes, starting with blue.
KASUMIRO_WIDE inline __m512i KeyLanes(const std::uint8_t key[3]) {
    alignas(64) std::uint8_t pattern[64];
    for (int i = 0; i < 64; ++i) pattern[i] = key[i % 3];
    return _mm512_load_si512(pattern);
}

// Bit 3p set where pixel p of the step (p < 21) is the key.
KASUMIRO_WIDE inline std::uint64_t KeyPixels(__m512i v, __m512i key) {
    constexpr std::uint64_t kPixelStarts = 0x1249249249249249ull;
    const std::uint64_t equal = _mm512_cmpeq_epi8_mask(v, key);
    return equal & (equal >> 1) & (equal >> 2) & kPixelStarts;
}

// The lanes of v to write: every byte of a pixel that is not the key.
KASUMIRO_WIDE inline std::uint64_t NonKeyLanes(__m512i v, __m512i key, std::uint64_t lanes) {
    const std::uint64_t keyPixels = KeyPixels(v, key);
    return ~(keyPixels | keyPixels << 1 | keyPixels << 2) & lanes;
}

// The lanes of a row's last, shorter step.
inline std::uint64_t LastLanes(int bytes) {
    return (std::uint64_t(1) << bytes) - 1;
}

}  // namespace

// 21 pixels (63 bytes) a step, so that every step starts on a pixel: one byte mask from the
// comparison with the key, a pixel is key where its three bits are set, and a masked store
// writes the other pixels without reading the target.
KASUMIRO_WIDE void WideKeyedRow(std::uint8_t* target, const std::uint8_t* source, int width,
                                const std::uint8_t key[3]) {
    const __m512i k = KeyLanes(key);
    const int bytes = width * 3;
    int at = 0;
    for (; at + 64 <= bytes; at += 63) {
        const __m512i v = _mm512_loadu_si512(source + at);
        const std::uint64_t lanes = NonKeyLanes(v, k, kStep);
        if (lanes) _mm512_mask_storeu_epi8(target + at, lanes, v);
    }
    if (at < bytes) {
        // The row's end: nothing past it is read or written.
        const std::uint64_t left = LastLanes(bytes - at);
        const __m512i v = _mm512_maskz_loadu_epi8(left, source + at);
        _mm512_mask_storeu_epi8(target + at, NonKeyLanes(v, k, left), v);
    }
}

KASUMIRO_WIDE bool WideRowHasKey(const std::uint8_t* row, int width, const std::uint8_t key[3]) {
    const __m512i k = KeyLanes(key);
    const int bytes = width * 3;
    int at = 0;
    for (; at + 64 <= bytes; at += 63)
        if (KeyPixels(_mm512_loadu_si512(row + at), k)) return true;
    if (at >= bytes) return false;
    const std::uint64_t left = LastLanes(bytes - at);
    // Lanes past the row read as zero: only pixels wholly inside it count.
    const std::uint64_t whole = left & (left >> 2);
    return (KeyPixels(_mm512_maskz_loadu_epi8(left, row + at), k) & whole) != 0;
}

#else

bool WideRowsAvailable() {
    return false;
}
void WideKeyedRow(std::uint8_t*, const std::uint8_t*, int, const std::uint8_t[3]) {}
bool WideRowHasKey(const std::uint8_t*, int, const std::uint8_t[3]) {
    return false;
}

#endif
