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

namespace {

// The unmasked forms of these instructions make this compiler warn about the undefined value
// they start from; the zero-masked forms with every lane set are the same instructions.
constexpr __mmask16 kAll32 = 0xFFFF;
constexpr __mmask8 kAll64 = 0xFF;

// Sixteen registers of sixteen 32-bit lanes transposed in place: lane c of register i becomes
// lane i of register c.
KASUMIRO_WIDE inline void Transpose(__m512i r[16]) {
    __m512i t[16];
    for (int k = 0; k < 8; ++k) {
        t[2 * k] = _mm512_maskz_unpacklo_epi32(kAll32, r[2 * k], r[2 * k + 1]);
        t[2 * k + 1] = _mm512_maskz_unpackhi_epi32(kAll32, r[2 * k], r[2 * k + 1]);
    }
    for (int k = 0; k < 4; ++k) {
        r[4 * k] = _mm512_maskz_unpacklo_epi64(kAll64, t[4 * k], t[4 * k + 2]);
        r[4 * k + 1] = _mm512_maskz_unpackhi_epi64(kAll64, t[4 * k], t[4 * k + 2]);
        r[4 * k + 2] = _mm512_maskz_unpacklo_epi64(kAll64, t[4 * k + 1], t[4 * k + 3]);
        r[4 * k + 3] = _mm512_maskz_unpackhi_epi64(kAll64, t[4 * k + 1], t[4 * k + 3]);
    }
    // Each 128-bit part of r[4k + j] now holds four rows of one column; the parts are gathered.
    for (int j = 0; j < 4; ++j) {
        const __m512i a = _mm512_maskz_shuffle_i32x4(kAll32, r[j], r[4 + j], 0x44);
        const __m512i b = _mm512_maskz_shuffle_i32x4(kAll32, r[j], r[4 + j], 0xEE);
        const __m512i c = _mm512_maskz_shuffle_i32x4(kAll32, r[8 + j], r[12 + j], 0x44);
        const __m512i d = _mm512_maskz_shuffle_i32x4(kAll32, r[8 + j], r[12 + j], 0xEE);
        t[j] = _mm512_maskz_shuffle_i32x4(kAll32, a, c, 0x88);
        t[4 + j] = _mm512_maskz_shuffle_i32x4(kAll32, a, c, 0xDD);
        t[8 + j] = _mm512_maskz_shuffle_i32x4(kAll32, b, d, 0x88);
        t[12 + j] = _mm512_maskz_shuffle_i32x4(kAll32, b, d, 0xDD);
    }
    for (int i = 0; i < 16; ++i) r[i] = t[i];
}

constexpr std::uint64_t kSixteenPixels = (std::uint64_t(1) << 48) - 1;

}  // namespace

KASUMIRO_WIDE void WidePixelsToCells(const std::uint8_t* const rows[16], std::uint8_t* cells,
                                     std::size_t columnBytes) {
    // Byte 4p + k of a cell lane takes byte 3p + 2 - k of the pixels; the top byte is zero.
    alignas(64) std::uint8_t order[64];
    for (int p = 0; p < 16; ++p)
        for (int k = 0; k < 4; ++k) order[4 * p + k] = std::uint8_t(3 * p + 2 - (k < 3 ? k : 0));
    const __m512i index = _mm512_load_si512(order);
    __m512i r[16];
    for (int i = 0; i < 16; ++i)
        r[i] = _mm512_maskz_permutexvar_epi8(0x7777777777777777ull, index,
                                             _mm512_maskz_loadu_epi8(kSixteenPixels, rows[i]));
    Transpose(r);
    for (int c = 0; c < 16; ++c) _mm512_storeu_si512(cells + c * columnBytes, r[c]);
}

KASUMIRO_WIDE void WideCellsToPixels(const std::uint8_t* cells, std::size_t columnBytes,
                                     std::uint8_t* const rows[16]) {
    // Byte 3p + k of the pixels takes byte 2 - k of cell p.
    alignas(64) std::uint8_t order[64] = {};
    for (int p = 0; p < 16; ++p)
        for (int k = 0; k < 3; ++k) order[3 * p + k] = std::uint8_t(4 * p + 2 - k);
    const __m512i index = _mm512_load_si512(order);
    __m512i r[16];
    for (int c = 0; c < 16; ++c) r[c] = _mm512_loadu_si512(cells + c * columnBytes);
    Transpose(r);
    for (int i = 0; i < 16; ++i)
        _mm512_mask_storeu_epi8(rows[i], kSixteenPixels,
                                _mm512_maskz_permutexvar_epi8(~std::uint64_t(0), index, r[i]));
}

#else

bool WideRowsAvailable() {
    return false;
}
void WideKeyedRow(std::uint8_t*, const std::uint8_t*, int, const std::uint8_t[3]) {}
bool WideRowHasKey(const std::uint8_t*, int, const std::uint8_t[3]) {
    return false;
}
void WidePixelsToCells(const std::uint8_t* const[16], std::uint8_t*, std::size_t) {}
void WideCellsToPixels(const std::uint8_t*, std::size_t, std::uint8_t* const[16]) {}

#endif
