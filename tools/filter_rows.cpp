#include "tools/filter_rows.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>

#include "platform/rounding.h"
#include "tools/filter_rows_wide.h"

// The hot loops are built twice, for any x86-64 and for AVX2, and chosen when the program
// loads; elsewhere once.
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__)
#define KASUMIRO_VECTOR_CLONES __attribute__((target_clones("avx2", "default")))
#else
#define KASUMIRO_VECTOR_CLONES
#endif

namespace {

ChannelTable TableOf(double (*f)(double v, double p), double p) {
    ChannelTable table;
    for (int v = 0; v < 256; ++v) table[v] = std::uint8_t(ClampChannel(f(double(v), p)));
    return table;
}

double Inverted(double v, double) {
    return 255.0 - v;
}
double Contrasted(double v, double f) {
    return v + (v - 127.5) * f;
}
double GammaPlus(double v, double) {
    return std::sqrt(v / 255.0) * 255.0;
}
double GammaMinus(double v, double) {
    const double g = v / 255.0;
    return (g - (std::sqrt(g) - g)) * 255.0;
}
double Shifted(double v, double d) {
    return v + d;
}

// ClampChannel for the inner loops: the same limits, halves to even by the FPU's default
// rounding (adding and removing 1.5 * 2^52 leaves the nearest integer), and a NaN gives 0.
inline std::uint8_t FastClamp(double v) {
    v = v >= 255.0 ? 255.0 : v;
    v = v > 0.0 ? v : 0.0;
    constexpr double kRounder = 6755399441055744.0;
    return std::uint8_t(int((v + kRounder) - kRounder));
}

inline void CompareSwap(std::uint32_t& a, std::uint32_t& b) {
    const std::uint32_t lo = std::min(a, b);
    b = std::max(a, b);
    a = lo;
}

// The level-th smallest whole colour of each block into ranked[x]: a 25-comparator sorting
// network written out, so that the optimiser keeps only what reaches v[K] and runs several
// pixels at once.
template <int K>
KASUMIRO_VECTOR_CLONES void RankOf(const std::uint32_t* p0, const std::uint32_t* p1,
                                   const std::uint32_t* p2, int outWidth, std::uint32_t* ranked) {
    for (int x = 0; x < outWidth; ++x) {
        std::uint32_t v[9] = {p0[x],     p0[x + 1], p0[x + 2], p1[x],    p1[x + 1],
                              p1[x + 2], p2[x],     p2[x + 1], p2[x + 2]};
        CompareSwap(v[0], v[3]), CompareSwap(v[1], v[7]), CompareSwap(v[2], v[5]);
        CompareSwap(v[4], v[8]), CompareSwap(v[0], v[7]), CompareSwap(v[2], v[4]);
        CompareSwap(v[3], v[8]), CompareSwap(v[5], v[6]), CompareSwap(v[0], v[2]);
        CompareSwap(v[1], v[3]), CompareSwap(v[4], v[5]), CompareSwap(v[7], v[8]);
        CompareSwap(v[1], v[4]), CompareSwap(v[3], v[6]), CompareSwap(v[5], v[7]);
        CompareSwap(v[0], v[1]), CompareSwap(v[2], v[4]), CompareSwap(v[3], v[5]);
        CompareSwap(v[6], v[8]), CompareSwap(v[2], v[3]), CompareSwap(v[4], v[5]);
        CompareSwap(v[6], v[7]), CompareSwap(v[1], v[2]), CompareSwap(v[3], v[4]);
        CompareSwap(v[5], v[6]);
        ranked[x] = v[K];
    }
}

constexpr int kChunk = 256;

// The constant a table adds before saturating, or false when it does something else.
bool ShiftOf(const ChannelTable& table, int& d) {
    d = table[128] - 128;
    for (int v = 0; v < 256; ++v)
        if (table[std::size_t(v)] != std::clamp(v + d, 0, 255)) return false;
    return true;
}

}  // namespace

PixelMap::PixelMap(const FilterJob& job) {
    std::array<ChannelTable, 3> bgr;
    switch (job.Kind) {
        case fkContrast:
            bgr.fill(TableOf(Contrasted, job.ContrastStrength / 100.0));
            break;
        case fkGammaPlus:
            bgr.fill(TableOf(GammaPlus, 0));
            break;
        case fkGammaMinus:
            bgr.fill(TableOf(GammaMinus, 0));
            break;
        case fkColourCorrection:
            bgr = {TableOf(Shifted, job.Offsets.Blue), TableOf(Shifted, job.Offsets.Green),
                   TableOf(Shifted, job.Offsets.Red)};
            break;
        default:
            bgr.fill(TableOf(Inverted, 0));
            break;
    }
    channels_ = bgr;
    uniform_ = bgr[0] == bgr[1] && bgr[1] == bgr[2];
    int d[3];
    shift_ = ShiftOf(bgr[0], d[0]) && ShiftOf(bgr[1], d[1]) && ShiftOf(bgr[2], d[2]);
    for (std::size_t i = 0; i < raise_.size(); ++i) {
        raise_[i] = std::uint8_t(std::max(d[i % 3], 0));
        lower_[i] = std::uint8_t(std::max(-d[i % 3], 0));
    }
    // The wide loops shift each channel by its own constant, or map all three through one
    // table; any other set of tables takes the portable loop.
    wide_ = WideRowsAvailable() && (shift_ || uniform_);
    if (wide_) return;
    // Pairs of bytes run through the channels as (blue, green), (red, blue), (green, red); the
    // first byte is the low one. One table serves all three when the channels agree.
    const bool uniform = uniform_;
    pairs_.resize(uniform ? 65536 : 3 * 65536);
    for (int phase = 0; phase < (uniform ? 1 : 3); ++phase) {
        const ChannelTable& low = bgr[std::size_t(phase * 2 % 3)];
        const ChannelTable& high = bgr[std::size_t((phase * 2 + 1) % 3)];
        std::uint16_t* table = pairs_.data() + std::size_t(phase) * 65536;
        for (int v = 0; v < 65536; ++v) table[v] = std::uint16_t(low[v & 0xFF] | high[v >> 8] << 8);
    }
    for (int phase = 0; phase < 3; ++phase)
        phase_[phase] = pairs_.data() + (uniform ? 0 : std::size_t(phase) * 65536);
}

void PixelMap::MapRow(std::uint8_t* row, int width) const {
    if (wide_ && shift_) return WideShiftRow(raise_.data(), lower_.data(), row, width);
    if (wide_) return WideMapRow(channels_[0], row, width);
    const int bytes = width * 3;
    int i = 0;
    if (phase_[0] == phase_[1])
        for (; i + 8 <= bytes; i += 8) {
            std::uint64_t v;
            std::memcpy(&v, row + i, 8);
            const std::uint16_t* t = phase_[0];
            v = std::uint64_t(t[v & 0xFFFF]) | std::uint64_t(t[(v >> 16) & 0xFFFF]) << 16 |
                std::uint64_t(t[(v >> 32) & 0xFFFF]) << 32 | std::uint64_t(t[v >> 48]) << 48;
            std::memcpy(row + i, &v, 8);
        }
    for (; i + 6 <= bytes; i += 6) {
        std::uint16_t p[3];
        std::memcpy(p, row + i, 6);
        p[0] = phase_[0][p[0]];
        p[1] = phase_[1][p[1]];
        p[2] = phase_[2][p[2]];
        std::memcpy(row + i, p, 6);
    }
    for (; i < bytes; ++i) row[i] = channels_[std::size_t(i % 3)][row[i]];
}

KASUMIRO_VECTOR_CLONES void InvertRow(std::uint8_t* row, int width) {
    for (int i = 0; i < width * 3; ++i) row[i] = std::uint8_t(~row[i]);
}

KASUMIRO_VECTOR_CLONES void PackRow(const std::uint8_t* row, int width, std::uint32_t* packed) {
    if (WideRowsAvailable()) return WidePackRow(row, width, packed);
    for (int x = 0; x < width; ++x)
        packed[x] =
            std::uint32_t(row[x * 3]) << 16 | std::uint32_t(row[x * 3 + 1]) << 8 | row[x * 3 + 2];
}

KASUMIRO_VECTOR_CLONES void SoftRow(const std::uint8_t* r0, const std::uint8_t* r1,
                                    const std::uint8_t* r2, int outWidth, std::uint16_t* sums,
                                    std::uint8_t* out) {
    const int bytes = (outWidth + 2) * 3;
    for (int i = 0; i < bytes; ++i) sums[i] = std::uint16_t(r0[i] + r1[i] + r2[i]);
    // A sum of nine channels is at most 2295 and never lies halfway between multiples of 9,
    // so (s + 4) / 9 rounds it; the multiply-shift equals that division up to 2299.
    for (int i = 0; i < outWidth * 3; ++i) {
        const std::uint32_t s = std::uint32_t(sums[i] + sums[i + 3] + sums[i + 6] + 4);
        out[i] = std::uint8_t((s * 7282u) >> 16);
    }
}

void RankRow(int level, const std::uint32_t* p0, const std::uint32_t* p1, const std::uint32_t* p2,
             int outWidth, std::uint8_t* out) {
    using RankFn = void (*)(const std::uint32_t*, const std::uint32_t*, const std::uint32_t*, int,
                            std::uint32_t*);
    static constexpr RankFn kByLevel[9] = {RankOf<0>, RankOf<1>, RankOf<2>, RankOf<3>, RankOf<4>,
                                           RankOf<5>, RankOf<6>, RankOf<7>, RankOf<8>};
    const RankFn rank = kByLevel[std::clamp(level, 1, 9) - 1];
    std::uint32_t ranked[kChunk];
    for (int x0 = 0; x0 < outWidth; x0 += kChunk) {
        const int n = std::min(kChunk, outWidth - x0);
        rank(p0 + x0, p1 + x0, p2 + x0, n, ranked);
        std::uint8_t* o = out + x0 * 3;
        for (int x = 0; x < n; ++x) {
            o[x * 3] = std::uint8_t(ranked[x] >> 16);
            o[x * 3 + 1] = std::uint8_t(ranked[x] >> 8);
            o[x * 3 + 2] = std::uint8_t(ranked[x]);
        }
    }
}

namespace {

// sum := the kernel's terms over the block, then delta := strength * sum / centre (0 where the
// centre is black), for n pixels; each pixel adds its terms in the kernel's order.
KASUMIRO_VECTOR_CLONES void CustomDeltas(const KernelTerm* terms, int termCount, double strength,
                                         const std::uint32_t* centre, int n, double* delta) {
    for (int x = 0; x < n; ++x) delta[x] = 0.0;
    for (int t = 0; t < termCount; ++t) {
        const double k = terms[t].k;
        const std::uint32_t* p = terms[t].pixels;
        for (int x = 0; x < n; ++x) delta[x] += k * double(std::int32_t(p[x]));
    }
    for (int x = 0; x < n; ++x) {
        const double c = double(std::int32_t(centre[x]));
        const double ratio = delta[x] / (c != 0.0 ? c : 1.0);
        delta[x] = c != 0.0 ? strength * ratio : 0.0;
    }
}

// One channel of the output: base (the dialog's value, or the centre's own channel at shift)
// plus delta, clamped and rounded.
KASUMIRO_VECTOR_CLONES void CustomChannel(const std::uint32_t* centre, const double* delta, int n,
                                          int shift, int fixed, std::uint8_t* channel) {
    for (int x = 0; x < n; ++x) {
        const int base = fixed >= 0 ? fixed : int((centre[x] >> shift) & 0xFF);
        channel[x] = FastClamp(base + delta[x]);
    }
}

}  // namespace

void CustomRow(const CustomFilterSettings& s, const std::uint32_t* above,
               const std::uint32_t* centre, const std::uint32_t* below, int outEnd,
               std::uint8_t* out) {
    // Zero cells add exactly nothing to the sum: leave them out, keeping the order of the rest
    // (grid row a runs along x, grid column b along y).
    const std::uint32_t* rows[3] = {above, centre, below};
    auto termsFrom = [&](int x0, KernelTerm* terms) {
        int count = 0;
        for (int a = 0; a < 3; ++a)
            for (int b = 0; b < 3; ++b)
                if (s.Kernel[a][b] != 0.0) terms[count++] = {s.Kernel[a][b], rows[b] + x0 + a - 1};
        return count;
    };
    KernelTerm terms[9];
    if (WideRowsAvailable()) {
        const int fixed[3] = {s.UseColour ? s.Blue : -1, s.UseColour ? s.Green : -1,
                              s.UseColour ? s.Red : -1};
        const int count = termsFrom(1, terms);
        return WideCustomRow(terms, count, double(s.Strength), centre + 1, outEnd - 1, fixed,
                             out + 3);
    }
    double delta[kChunk];
    for (int x0 = 1; x0 < outEnd; x0 += kChunk) {
        const int n = std::min(kChunk, outEnd - x0);
        const int count = termsFrom(x0, terms);
        CustomDeltas(terms, count, double(s.Strength), centre + x0, n, delta);
        std::uint8_t bgr[3][kChunk];
        CustomChannel(centre + x0, delta, n, 16, s.UseColour ? s.Blue : -1, bgr[0]);
        CustomChannel(centre + x0, delta, n, 8, s.UseColour ? s.Green : -1, bgr[1]);
        CustomChannel(centre + x0, delta, n, 0, s.UseColour ? s.Red : -1, bgr[2]);
        std::uint8_t* o = out + x0 * 3;
        for (int x = 0; x < n; ++x) {
            o[x * 3] = bgr[0][x];
            o[x * 3 + 1] = bgr[1][x];
            o[x * 3 + 2] = bgr[2][x];
        }
    }
}
