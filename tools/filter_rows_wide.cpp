#include "tools/filter_rows_wide.h"

#if defined(KASUMIRO_WIDE)

#include <immintrin.h>

namespace {

// The first `count` lanes of 64 bytes, or of 8 pixels.
inline std::uint64_t LowBits(int count) {
    return count >= 64 ? ~std::uint64_t(0) : (std::uint64_t(1) << count) - 1;
}

// A block of up to 64 bytes; masked only at a row's end, where it must not reach past it.
KASUMIRO_WIDE inline __m512i LoadBlock(const std::uint8_t* p, int left) {
    return left >= 64 ? _mm512_loadu_si512(p) : _mm512_maskz_loadu_epi8(LowBits(left), p);
}

KASUMIRO_WIDE inline void StoreBlock(std::uint8_t* p, int left, __m512i v) {
    if (left >= 64)
        _mm512_storeu_si512(p, v);
    else
        _mm512_mask_storeu_epi8(p, LowBits(left), v);
}

// One channel table as four 64-byte registers.
struct WideTable {
    __m512i part[4];
};

KASUMIRO_WIDE inline WideTable LoadTable(const ChannelTable& table) {
    WideTable t;
    for (int i = 0; i < 4; ++i) t.part[i] = _mm512_loadu_si512(table.data() + i * 64);
    return t;
}

// Each byte of v looked up: the low seven bits pick one of 128 entries from each half of the
// table, the top bit picks the half.
KASUMIRO_WIDE inline __m512i LookUp(const WideTable& t, __m512i v) {
    const __m512i low = _mm512_permutex2var_epi8(t.part[0], v, t.part[1]);
    const __m512i high = _mm512_permutex2var_epi8(t.part[2], v, t.part[3]);
    return _mm512_mask_blend_epi8(_mm512_movepi8_mask(v), low, high);
}

}  // namespace

KASUMIRO_WIDE void WideMapRow(const ChannelTable& table, std::uint8_t* row, int width) {
    const WideTable t = LoadTable(table);
    const int bytes = width * 3;
    for (int i = 0; i < bytes; i += 64)
        StoreBlock(row + i, bytes - i, LookUp(t, LoadBlock(row + i, bytes - i)));
}

KASUMIRO_WIDE void WideShiftRow(const std::uint8_t* raise, const std::uint8_t* lower,
                                std::uint8_t* row, int width) {
    __m512i up[3], down[3];
    for (int k = 0; k < 3; ++k) {
        up[k] = _mm512_loadu_si512(raise + k * 64);
        down[k] = _mm512_loadu_si512(lower + k * 64);
    }
    const int bytes = width * 3;
    for (int i = 0, k = 0; i < bytes; i += 64, k = k == 2 ? 0 : k + 1) {
        const __m512i v = LoadBlock(row + i, bytes - i);
        const __m512i shifted = _mm512_subs_epu8(_mm512_adds_epu8(v, up[k]), down[k]);
        StoreBlock(row + i, bytes - i, shifted);
    }
}

KASUMIRO_WIDE void WidePackRow(const std::uint8_t* row, int width, std::uint32_t* packed) {
    // Sixteen pixels of 48 bytes to sixteen dwords of red, green, blue and a zero byte.
    alignas(64) static const std::uint8_t kUnpack[64] = {
        2,  1,  0,  0,  5,  4,  3,  0,  8,  7,  6,  0,  11, 10, 9,  0,  14, 13, 12, 0,  17, 16,
        15, 0,  20, 19, 18, 0,  23, 22, 21, 0,  26, 25, 24, 0,  29, 28, 27, 0,  32, 31, 30, 0,
        35, 34, 33, 0,  38, 37, 36, 0,  41, 40, 39, 0,  44, 43, 42, 0,  47, 46, 45, 0};
    const __m512i unpack = _mm512_load_si512(kUnpack);
    constexpr std::uint64_t kColourBytes = 0x7777777777777777;
    int x = 0;
    for (; x + 16 <= width; x += 16) {
        const __m512i v = _mm512_maskz_loadu_epi8(LowBits(48), row + x * 3);
        _mm512_storeu_si512(packed + x, _mm512_maskz_permutexvar_epi8(kColourBytes, unpack, v));
    }
    if (x < width) {
        const int left = width - x;
        const __m512i v = _mm512_maskz_loadu_epi8(LowBits(left * 3), row + x * 3);
        _mm512_mask_storeu_epi32(packed + x, __mmask16(LowBits(left)),
                                 _mm512_maskz_permutexvar_epi8(kColourBytes, unpack, v));
    }
}

namespace {

// The all-lanes forms of these conversions leave the compiler warning about undefined inputs.
KASUMIRO_WIDE inline __m512d ToDouble(__m256i v) {
    return _mm512_maskz_cvtepi32_pd(0xFF, v);
}

// ClampChannel on eight lanes: 255 at or above 255, 0 at or below 0 (and for NaN), otherwise
// rounded half to even.
KASUMIRO_WIDE inline __m256i ClampChannels(__m512d v) {
    v = _mm512_mask_blend_pd(_mm512_cmp_pd_mask(v, _mm512_set1_pd(255.0), _CMP_GE_OQ), v,
                             _mm512_set1_pd(255.0));
    v = _mm512_maskz_mov_pd(_mm512_cmp_pd_mask(v, _mm512_setzero_pd(), _CMP_GT_OQ), v);
    return _mm512_maskz_cvt_roundpd_epi32(0xFF, v, _MM_FROUND_TO_NEAREST_INT | _MM_FROUND_NO_EXC);
}

KASUMIRO_WIDE inline __m512d Base(__m256i centre, int shift, int fixed) {
    const __m256i own = _mm256_and_si256(_mm256_srli_epi32(centre, shift), _mm256_set1_epi32(0xFF));
    return ToDouble(fixed >= 0 ? _mm256_set1_epi32(fixed) : own);
}

// Eight dwords, or the first `left` of them with zeros after.
KASUMIRO_WIDE inline __m256i LoadEight(const std::uint32_t* p, int left) {
    return left >= 8 ? _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p))
                     : _mm256_maskz_loadu_epi32(__mmask8(LowBits(left)), p);
}

// Eight custom-filter outputs from x on, as 24 bytes of blue, green, red (and 8 bytes of junk).
KASUMIRO_WIDE inline __m256i CustomEight(const KernelTerm* terms, int termCount, __m512d strength,
                                         const std::uint32_t* centre, int x, int left,
                                         const int fixed[3]) {
    // Bytes 0..2 of each of eight dwords, packed into 24 bytes.
    alignas(32) static const std::uint8_t kPack[32] = {
        0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, 16, 17, 18, 20, 21, 22, 24, 25, 26, 28, 29, 30};
    __m512d sum = _mm512_setzero_pd();
    for (int t = 0; t < termCount; ++t)
        sum = _mm512_add_pd(sum, _mm512_mul_pd(_mm512_set1_pd(terms[t].k),
                                               ToDouble(LoadEight(terms[t].pixels + x, left))));
    const __m256i c = LoadEight(centre + x, left);
    const __m512d ratio = _mm512_maskz_div_pd(_mm256_test_epi32_mask(c, c), sum, ToDouble(c));
    const __m512d delta = _mm512_mul_pd(strength, ratio);
    const __m256i blue = ClampChannels(_mm512_add_pd(Base(c, 16, fixed[0]), delta));
    const __m256i green = ClampChannels(_mm512_add_pd(Base(c, 8, fixed[1]), delta));
    const __m256i red = ClampChannels(_mm512_add_pd(Base(c, 0, fixed[2]), delta));
    const __m256i bgr = _mm256_or_si256(
        blue, _mm256_or_si256(_mm256_slli_epi32(green, 8), _mm256_slli_epi32(red, 16)));
    const __m256i pack = _mm256_load_si256(reinterpret_cast<const __m256i*>(kPack));
    return _mm256_maskz_permutexvar_epi8(~0u, pack, bgr);
}

}  // namespace

KASUMIRO_WIDE void WideCustomRow(const KernelTerm* terms, int termCount, double strength,
                                 const std::uint32_t* centre, int n, const int fixed[3],
                                 std::uint8_t* out) {
    const __m512d s = _mm512_set1_pd(strength);
    int x = 0;
    // Whole 32-byte stores while the next outputs will overwrite their last 8 bytes.
    for (; x + 11 <= n; x += 8)
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + x * 3),
                            CustomEight(terms, termCount, s, centre, x, 8, fixed));
    for (; x < n; x += 8) {
        const int left = n - x < 8 ? n - x : 8;
        _mm256_mask_storeu_epi8(out + x * 3, __mmask32(LowBits(left * 3)),
                                CustomEight(terms, termCount, s, centre, x, left, fixed));
    }
}

#else

void WideMapRow(const ChannelTable&, std::uint8_t*, int) {}
void WideShiftRow(const std::uint8_t*, const std::uint8_t*, std::uint8_t*, int) {}
void WidePackRow(const std::uint8_t*, int, std::uint32_t*) {}
void WideCustomRow(const KernelTerm*, int, double, const std::uint32_t*, int, const int[3],
                   std::uint8_t*) {}

#endif
