// Every filter against its definition: output columns x outer, rows y inner, read through
// pixel access into a white buffer, then enlarged with white. The fast paths must match it
// pixel for pixel on pictures with odd sizes, black pixels, ties and uniform patches.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "platform/rounding.h"
#include "tools/filter_rows_wide.h"
#include "tools/layer_filter.h"

namespace {

class SilentProgress : public FilterProgress {
  public:
    void SetRange(int, int) override {}
    void SetPosition(int) override {}
    void Pump() override {}
};

Bitmap Picture(int w, int h, unsigned seed) {
    Bitmap b(w, h);
    std::uint32_t s = seed;
    const TColor palette[] = {clBlack, clWhite, RgbColour(10, 200, 30), RgbColour(255, 0, 128)};
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            s = s * 1664525u + 1013904223u;
            const bool plain = (s >> 8) % 3 == 0;
            b.SetPixel(x, y, plain ? palette[(s >> 12) % 4] : TColor(s >> 8) & 0xFFFFFF);
        }
    return b;
}

int PerPixelChannel(const FilterJob& job, int v, int channel) {
    const double f = job.ContrastStrength / 100.0;
    const double g = v / 255.0;
    const int offsets[3] = {job.Offsets.Red, job.Offsets.Green, job.Offsets.Blue};
    switch (job.Kind) {
        case fkInvert:
            return 255 - v;
        case fkContrast:
            return ClampChannel(v + (v - 127.5) * f);
        case fkGammaPlus:
            return ClampChannel(std::sqrt(g) * 255);
        case fkGammaMinus:
            return ClampChannel((g - (std::sqrt(g) - g)) * 255);
        default:
            return ClampChannel(v + offsets[channel]);
    }
}

TColor SoftAt(const Bitmap& in, int x, int y) {
    int sum[3] = {};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) {
            const TColor c = in.Pixel(x + i, y + j);
            sum[0] += RedOf(c), sum[1] += GreenOf(c), sum[2] += BlueOf(c);
        }
    return RgbColour(int(Round(sum[0] / 9.0)), int(Round(sum[1] / 9.0)), int(Round(sum[2] / 9.0)));
}

TColor RankAt(const Bitmap& in, int x, int y, int level) {
    TColor v[9];
    for (int i = 0; i < 9; ++i) v[i] = in.Pixel(x + i % 3, y + i / 3);
    std::sort(v, v + 9);
    return v[level - 1];
}

TColor CustomAt(const Bitmap& in, int x, int y, const CustomFilterSettings& s) {
    double sum = 0;
    for (int a = 0; a < 3; ++a)
        for (int b = 0; b < 3; ++b) sum += s.Kernel[a][b] * in.Pixel(x + a - 1, y + b - 1);
    const TColor centre = in.Pixel(x, y);
    const double ratio = centre != 0 ? sum / centre : 0;
    const double delta = s.Strength * ratio;
    const int r = s.UseColour ? s.Red : RedOf(centre);
    const int g = s.UseColour ? s.Green : GreenOf(centre);
    const int b = s.UseColour ? s.Blue : BlueOf(centre);
    return RgbColour(ClampChannel(r + delta), ClampChannel(g + delta), ClampChannel(b + delta));
}

Bitmap Reference(const Bitmap& in, const FilterJob& job) {
    const int w = in.Width(), h = in.Height();
    const bool perPixel =
        job.Kind != fkSoft && job.Kind != fkValueExtraction && job.Kind != fkCustom;
    Bitmap buffer(perPixel ? w : std::max(w - 2, 0), perPixel ? h : std::max(h - 2, 0));
    const int first = job.Kind == fkCustom ? 1 : 0;
    const int lastX = perPixel ? w : job.Kind == fkCustom ? w - 1 : w - 2;
    const int lastY = perPixel ? h : job.Kind == fkCustom ? h - 1 : h - 2;
    for (int x = first; x <= lastX; ++x)
        for (int y = first; y <= lastY; ++y) {
            TColor out;
            if (job.Kind == fkSoft) {
                out = SoftAt(in, x, y);
            } else if (job.Kind == fkValueExtraction) {
                out = RankAt(in, x, y, job.Level);
            } else if (job.Kind == fkCustom) {
                out = CustomAt(in, x, y, job.Custom);
            } else {
                const TColor c = in.Pixel(x, y);
                out = RgbColour(PerPixelChannel(job, RedOf(c), 0),
                                PerPixelChannel(job, GreenOf(c), 1),
                                PerPixelChannel(job, BlueOf(c), 2));
            }
            buffer.SetPixel(x, y, out);
        }
    Bitmap result(w, h);
    for (int x = 0; x < buffer.Width(); ++x)
        for (int y = 0; y < buffer.Height(); ++y) result.SetPixel(x, y, buffer.Pixel(x, y));
    return result;
}

std::vector<FilterJob> Jobs() {
    std::vector<FilterJob> jobs;
    auto add = [&jobs](FilterKind kind, auto tweak) {
        FilterJob job;
        job.Kind = kind;
        tweak(job);
        jobs.push_back(job);
    };
    auto none = [](FilterJob&) {};
    add(fkSoft, none);
    add(fkInvert, none);
    add(fkContrast, none);
    add(fkContrast, [](FilterJob& j) { j.ContrastStrength = 1; });
    add(fkContrast, [](FilterJob& j) { j.ContrastStrength = 100; });
    add(fkContrast, [](FilterJob& j) { j.ContrastStrength = 33; });
    add(fkGammaPlus, none);
    add(fkGammaMinus, none);
    add(fkColourCorrection, [](FilterJob& j) { j.Offsets = {100, -37, 5}; });
    add(fkColourCorrection, [](FilterJob& j) { j.Offsets = {-100, -100, -100}; });
    add(fkColourCorrection, [](FilterJob& j) { j.Offsets = {0, 0, 1}; });
    for (int level = 1; level <= 9; ++level)
        add(fkValueExtraction, [level](FilterJob& j) { j.Level = level; });
    // The default kernel, and a lopsided one with fractions, a colour and full strength.
    add(fkCustom, [](FilterJob& j) {
        const double k[3][3] = {{0, -1, 0}, {-1, 4, -1}, {0, -1, 0}};
        std::copy(&k[0][0], &k[0][0] + 9, &j.Custom.Kernel[0][0]);
    });
    add(fkCustom, [](FilterJob& j) {
        const double k[3][3] = {{0.3, -1.7, 0}, {2.5, 0.1, -0.25}, {1e-3, 0, -0.6}};
        std::copy(&k[0][0], &k[0][0] + 9, &j.Custom.Kernel[0][0]);
        j.Custom.UseColour = true;
        j.Custom.Red = 44;
        j.Custom.Strength = 100;
    });
    // Weights so large that the sums overflow to infinity, and no strength at all.
    add(fkCustom, [](FilterJob& j) {
        j.Custom.Kernel[1][1] = 1e308;
        j.Custom.Kernel[0][2] = -1e300;
    });
    add(fkCustom, [](FilterJob& j) {
        j.Custom.Kernel[2][0] = 3;
        j.Custom.Strength = 0;
    });
    return jobs;
}

TEST(FilterDefinition, EveryFilterMatchesItsColumnByColumnDefinition) {
    // Widths that end rows inside and at the end of a block of pixels the fast loops take at once.
    const struct {
        int w, h;
    } sizes[] = {{37, 23}, {300, 7}, {85, 4}, {14, 6}, {3, 3}, {4, 5}, {2, 9}, {1, 1}};
    SilentProgress progress;
    // The wide loops where the processor has them, and the portable ones.
    for (const bool wide : {true, false})
        for (const FilterJob& job : Jobs())
            for (const auto& size : sizes) {
                AllowWideRows(wide);
                const Bitmap in = Picture(size.w, size.h, unsigned(size.w * 131 + job.Kind));
                Bitmap layer(in);
                ApplyLayerFilter(layer, job, progress, 0);
                AllowWideRows(true);
                EXPECT_TRUE(layer == Reference(in, job))
                    << (wide ? "wide " : "portable ") << "filter " << job.Kind << " level "
                    << job.Level << " size " << size.w << "x" << size.h;
            }
}

}  // namespace
