// The filters' rules on pictures whose results can be worked out by hand.
#include <gtest/gtest.h>

#include "platform/clock.h"
#include "platform/runtime_errors.h"
#include "tools/layer_filter.h"

namespace {

class SilentProgress : public FilterProgress {
  public:
    void SetRange(int, int) override {}
    void SetPosition(int) override {}
    void Pump() override {}
};

Bitmap Filtered(Bitmap layer, const FilterJob& job) {
    SilentProgress progress;
    ApplyLayerFilter(layer, job, progress, 0);
    return layer;
}

FilterJob Job(FilterKind kind) {
    FilterJob job;
    job.Kind = kind;
    return job;
}

TColor Grey(int v) {
    return RgbColour(v, v, v);
}

// Every pixel of the bitmap against a rule (x, y) -> colour; reports the first mismatch.
template <class Rule>
void ExpectPixels(const Bitmap& b, Rule rule) {
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x)
            if (b.Pixel(x, y) != rule(x, y)) {
                ADD_FAILURE() << "at (" << x << ", " << y << "): " << std::hex << b.Pixel(x, y)
                              << " instead of " << rule(x, y);
                return;
            }
}

TEST(PerPixelFilters, ChannelValuesFollowTheirFormulas) {
    const struct {
        FilterKind kind;
        int strength;
        int in, out;
    } cases[] = {
        {fkContrast, 70, 200, 251},  {fkContrast, 70, 64, 20},    {fkContrast, 70, 128, 128},
        {fkContrast, 100, 0, 0},     {fkContrast, 100, 64, 0},    {fkContrast, 100, 192, 255},
        {fkContrast, 100, 255, 255}, {fkGammaPlus, 0, 64, 128},   {fkGammaPlus, 0, 128, 181},
        {fkGammaMinus, 0, 128, 75},  {fkGammaMinus, 0, 200, 174}, {fkGammaMinus, 0, 64, 0},
        {fkGammaMinus, 0, 30, 0},    {fkInvert, 0, 0, 255},       {fkInvert, 0, 200, 55},
    };
    for (const auto& c : cases) {
        FilterJob job = Job(c.kind);
        job.ContrastStrength = c.strength;
        Bitmap layer(5, 3);
        layer.Fill(Grey(c.in));
        ExpectPixels(Filtered(layer, job), [&](int, int) { return Grey(c.out); });
    }
}

TEST(PerPixelFilters, InvertTwiceRestoresTheLayer) {
    Bitmap layer(7, 5);
    for (int i = 0; i < 35; ++i) layer.SetPixel(i % 7, i / 7, TColor(i * 479001) & 0xFFFFFF);
    EXPECT_TRUE(Filtered(Filtered(layer, Job(fkInvert)), Job(fkInvert)) == layer);
}

TEST(PerPixelFilters, ColourCorrectionShiftsEachChannelAndClamps) {
    FilterJob job = Job(fkColourCorrection);
    job.Offsets = {100, 0, 0};
    Bitmap layer(4, 1);
    layer.SetPixel(1, 0, clBlack);
    ExpectPixels(Filtered(layer, job),
                 [](int x, int) { return x == 1 ? RgbColour(100, 0, 0) : clWhite; });
}

TEST(BlockFilters, SoftMovesUpLeftAndLeavesAWhiteBand) {
    Bitmap uniform(8, 6);
    uniform.Fill(RgbColour(30, 60, 90));
    ExpectPixels(Filtered(uniform, Job(fkSoft)),
                 [](int x, int y) { return x <= 5 && y <= 3 ? RgbColour(30, 60, 90) : clWhite; });

    Bitmap dot(20, 20);
    dot.SetPixel(10, 10, clBlack);
    ExpectPixels(Filtered(dot, Job(fkSoft)), [](int x, int y) {
        if (x >= 18 || y >= 18) return clWhite;
        return std::abs(x - 9) <= 1 && std::abs(y - 9) <= 1 ? Grey(227) : clWhite;
    });
}

TEST(BlockFilters, ValueExtractionGrowsOrRemovesADot) {
    Bitmap dot(20, 20);
    dot.SetPixel(10, 10, clBlack);
    FilterJob smallest = Job(fkValueExtraction);
    smallest.Level = 1;
    ExpectPixels(Filtered(dot, smallest), [](int x, int y) {
        return x >= 8 && x <= 10 && y >= 8 && y <= 10 ? clBlack : clWhite;
    });
    FilterJob largest = Job(fkValueExtraction);
    largest.Level = 9;
    ExpectPixels(Filtered(dot, largest), [](int, int) { return clWhite; });
}

TEST(BlockFilters, ValueExtractionOrdersByBlueFirst) {
    // Pure red is the smallest whole colour, pure blue the largest: the median of a block of
    // four blue, four red and one green pixel is the green one.
    Bitmap layer(3, 3);
    for (int i = 0; i < 9; ++i)
        layer.SetPixel(i % 3, i / 3, i < 4 ? RgbColour(0, 0, 255) : RgbColour(255, 0, 0));
    layer.SetPixel(2, 2, RgbColour(0, 255, 0));
    FilterJob median = Job(fkValueExtraction);
    EXPECT_EQ(Filtered(layer, median).Pixel(0, 0), RgbColour(0, 255, 0));
}

TEST(BlockFilters, CustomZeroKernelKeepsTheInteriorAndWhitensTheFrame) {
    Bitmap layer(9, 7);
    layer.Fill(RgbColour(1, 2, 3));
    layer.SetPixel(4, 3, clBlack);
    const struct {
        bool useColour;
        TColor interior;
    } cases[] = {{false, RgbColour(1, 2, 3)}, {true, RgbColour(44, 255, 128)}};
    for (const auto& c : cases) {
        FilterJob job = Job(fkCustom);  // the job's kernel starts at zero
        job.Custom.UseColour = c.useColour;
        job.Custom.Red = 44;
        job.Custom.Green = 255;
        ExpectPixels(Filtered(layer, job), [&](int x, int y) {
            if (x < 1 || y < 1 || x > 6 || y > 4) return clWhite;
            return !c.useColour && x == 4 && y == 3 ? clBlack : c.interior;
        });
    }
}

TEST(CustomFilterText, EditValuesKeepTheirLowByte) {
    CustomFilterText text;
    text.Red = QStringLiteral("300");
    text.Green = QStringLiteral("-1");
    text.Blue = QStringLiteral(" 7");
    text.Cells[2][0] = QStringLiteral("-2.5e1");
    const CustomFilterSettings s = ReadCustomFilter(text);
    EXPECT_EQ(s.Red, 44);
    EXPECT_EQ(s.Green, 255);
    EXPECT_EQ(s.Blue, 7);
    EXPECT_EQ(s.Kernel[1][1], 4.0);
    EXPECT_EQ(s.Kernel[2][0], -25.0);
}

TEST(CustomFilterText, TextsThatAreNoNumbersGiveTheRuntimesMessage) {
    const struct {
        QString CustomFilterText::*edit;
        int row, column;
        QString text, message;
    } cases[] = {
        {&CustomFilterText::Red, -1, 0, QStringLiteral("abc"),
         QStringLiteral("'abc' は整数ではありません")},
        {&CustomFilterText::Blue, -1, 0, QStringLiteral("1.5"),
         QStringLiteral("'1.5' は整数ではありません")},
        {&CustomFilterText::Green, -1, 0, QStringLiteral("99999999999"),
         QStringLiteral("'99999999999' は整数ではありません")},
        {nullptr, 0, 2, QString(), QStringLiteral("'' は浮動小数点数ではありません")},
        {nullptr, 2, 1, QStringLiteral("1,5"),
         QStringLiteral("'1,5' は浮動小数点数ではありません")},
        {nullptr, 1, 1, QStringLiteral("1e999"),
         QStringLiteral("'1e999' は浮動小数点数ではありません")},
    };
    for (const auto& c : cases) {
        CustomFilterText text;
        if (c.edit)
            text.*c.edit = c.text;
        else
            text.Cells[c.row][c.column] = c.text;
        try {
            ReadCustomFilter(text);
            ADD_FAILURE() << "accepted " << c.text.toStdString();
        } catch (const UserError& e) {
            EXPECT_EQ(e.Text(), c.message);
        }
    }
}

TEST(FilterProgressBar, RangesFollowTheColumnsEachFilterVisits) {
    const struct {
        FilterKind kind;
        int minimum, maximum, start;
    } cases[] = {{fkInvert, 0, 50, 0},
                 {fkSoft, 0, 48, 0},
                 {fkValueExtraction, 0, 48, 0},
                 {fkCustom, 1, 49, 1}};
    for (const auto& c : cases) {
        const ProgressSpan span = FilterProgressSpan(c.kind, 50);
        EXPECT_EQ(span.Minimum, c.minimum);
        EXPECT_EQ(span.Maximum, c.maximum);
        EXPECT_EQ(span.Start, c.start);
    }
}

// A repaint that takes 40 ms makes the next one wait 360 ms of filtering, which a small
// picture never reaches: one pump, however often the rows would allow it. The clock stands
// still but for the pump's own time, so the machine's load cannot change the count.
TEST(FilterProgressBar, ASlowPumpKeepsToATenthOfTheFiltersTime) {
    static std::uint32_t now = 0;
    class SlowPump : public SilentProgress {
      public:
        void Pump() override {
            ++pumps;
            now += 40;
        }
        int pumps = 0;
    } progress;
    OverrideTimeGetTime([] { return now; });
    Bitmap layer(200, 100);
    ApplyLayerFilter(layer, Job(fkSoft), progress, 0);
    OverrideTimeGetTime(nullptr);
    EXPECT_EQ(progress.pumps, 1);
}

}  // namespace
