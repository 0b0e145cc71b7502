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

// The lanes of v to write: every byte of a pixel that is not the key.
KASUMIRO_WIDE inline std::uint64_t NonKeyLanes(__m512i v, __m512i key, std::uint64_t lanes) {
    constexpr std::uint64_t kPixelStarts = 0x1249249249249249ull;  // bit 3p, p < 21
    const std::uint64_t equal = _mm512_cmpeq_epi8_mask(v, key);
    const std::uint64_t keyPixels = equal & (equal >> 1) & (equal >> 2) & kPixelStarts;
    return ~(keyPixels | keyPixels << 1 | keyPixels << 2) & lanes;
}

}  // namespace

// 21 pixels (63 bytes) a step, so that every step starts on a pixel: one byte mask from the
// comparison with the key, a pixel is key where its three bits are set, and a masked store
// writes the other pixels without reading the target.
KASUMIRO_WIDE void WideKeyedRow(std::uint8_t* target, const std::uint8_t* source, int width,
                                const std::uint8_t key[3]) {
    alignas(64) std::uint8_t pattern[64];
    for (int i = 0; i < 64; ++i) pattern[i] = key[i % 3];
    const __m512i k = _mm512_load_si512(pattern);
    constexpr std::uint64_t kStep = (std::uint64_t(1) << 63) - 1;
    const int bytes = width * 3;
    int at = 0;
    for (; at + 64 <= bytes; at += 63) {
        const __m512i v = _mm512_loadu_si512(source + at);
        const std::uint64_t lanes = NonKeyLanes(v, k, kStep);
        if (lanes) _mm512_mask_storeu_epi8(target + at, lanes, v);
    }
    if (at < bytes) {
        // The row's end: nothing past it is read or written.
        const std::uint64_t left = (std::uint64_t(1) << (bytes - at)) - 1;
        const __m512i v = _mm512_maskz_loadu_epi8(left, source + at);
        _mm512_mask_storeu_epi8(target + at, NonKeyLanes(v, k, left), v);
    }
}

#else

bool WideRowsAvailable() {
    return false;
}
void WideKeyedRow(std::uint8_t*, const std::uint8_t*, int, const std::uint8_t[3]) {}

#endif
