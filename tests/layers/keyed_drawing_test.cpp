// Keyed drawing over whole rows, as compositing uses it: every pixel equal to the key in red,
// green and blue is left out, every other pixel replaces the target's, wherever it falls in
// the row. Each case runs through the wide loops where the processor has them and through the
// portable ones.
#include <gtest/gtest.h>

#include <string>

#include "platform/blit.h"
#include "platform/random_source.h"
#include "platform/wide_rows.h"

namespace {

constexpr TColor kKey = RgbColour(10, 20, 30);

// Expected result by the rule, pixel by pixel.
Bitmap Expected(const Bitmap& target, const Bitmap& source) {
    Bitmap out = target;
    for (int y = 0; y < source.Height(); ++y)
        for (int x = 0; x < source.Width(); ++x)
            if (source.Pixel(x, y) != kKey) out.SetPixel(x, y, source.Pixel(x, y));
    return out;
}

Bitmap Ground(int width, int height) {
    Bitmap b(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) b.SetPixel(x, y, RgbColour(x, y, 99));
    return b;
}

// Draws through the wide or the portable loops and checks the result against the rule.
void ExpectKeyedByRule(const Bitmap& ground, const Bitmap& source, const char* what) {
    const Bitmap expected = Expected(ground, source);
    for (const bool wide : {true, false}) {
        AllowWideRows(wide);
        Bitmap target = ground;
        DrawKeyed(target, source, kKey);
        AllowWideRows(true);
        EXPECT_TRUE(target == expected) << what << (wide ? " (wide)" : " (portable)");
    }
}

}  // namespace

TEST(KeyedDrawing, RunsOfKeyNoKeyAndMixedPixelsAcrossTheRow) {
    const int width = 16 * 4 + 7;
    Bitmap source(width, 1);
    for (int x = 0; x < width; ++x) {
        TColor c = kKey;                                              // pixels 0..15: all key
        if (x >= 16 && x < 32) c = RgbColour(1, 2, 3);                // 16..31: no key
        if (x >= 32) c = (x % 3 == 0) ? kKey : RgbColour(200, x, 7);  // mixed, and the tail
        source.SetPixel(x, 0, c);
    }
    // One channel off in each of red, green and blue: not the key.
    source.SetPixel(40, 0, RgbColour(11, 20, 30));
    source.SetPixel(41, 0, RgbColour(10, 21, 30));
    source.SetPixel(42, 0, RgbColour(10, 20, 31));
    // The key's bytes straddling two pixels: not the key either.
    source.SetPixel(50, 0, RgbColour(10, 0, 0));
    source.SetPixel(51, 0, RgbColour(0, 30, 20));
    const Bitmap ground = Ground(width, 1);
    ExpectKeyedByRule(ground, source, "runs");
    Bitmap target = ground;
    DrawKeyed(target, source, kKey);
    EXPECT_EQ(target.Pixel(0, 0), RgbColour(0, 0, 99));
    EXPECT_EQ(target.Pixel(40, 0), RgbColour(11, 20, 30));
    EXPECT_EQ(target.Pixel(50, 0), RgbColour(10, 0, 0));
}

// The loops take 16 or 21 pixels at a time and finish a row pixel by pixel or with a shorter
// step; the row's last pixels, key or not, must come out by the rule at every width, and the
// pixel after a row is never touched.
TEST(KeyedDrawing, RowEndsAtEveryWidthAroundTheLoopsSteps) {
    for (int width = 1; width <= 70; ++width)
        for (const bool keyAtEnd : {true, false}) {
            Bitmap source(width, 3);
            for (int x = 0; x < width; ++x) {
                // Row 0 alternates, row 1 ends in a run of four, row 2 is key but for its ends.
                const bool tail = x >= width - 4;
                source.SetPixel(x, 0, (x % 2 == 0) == keyAtEnd ? kKey : RgbColour(x, 1, 2));
                source.SetPixel(x, 1, tail == keyAtEnd ? kKey : RgbColour(3, x, 4));
                const bool end = x == 0 || x == width - 1;
                source.SetPixel(x, 2, end == keyAtEnd ? kKey : RgbColour(5, 6, x));
            }
            ExpectKeyedByRule(Ground(width, 3), source, ("width " + std::to_string(width)).c_str());
            // A wider target: the column just right of the source keeps its ground.
            Bitmap wider = Ground(width + 1, 3);
            DrawKeyed(wider, source, clBlack);
            for (int y = 0; y < 3; ++y) EXPECT_EQ(wider.Pixel(width, y), RgbColour(width, y, 99));
        }
}

TEST(KeyedDrawing, RandomPixelsNearTheKeyMatchTheRule) {
    RandomSource random(12345);
    const TColor palette[] = {kKey,
                              RgbColour(11, 20, 30),
                              RgbColour(10, 21, 30),
                              RgbColour(10, 20, 31),
                              RgbColour(30, 20, 10),
                              clWhite,
                              clBlack};
    Bitmap source(203, 7);
    for (int y = 0; y < source.Height(); ++y)
        for (int x = 0; x < source.Width(); ++x) source.SetPixel(x, y, palette[random.Random(7)]);
    ExpectKeyedByRule(Ground(203, 7), source, "random");
}

TEST(KeyedDrawing, SourceAllKeyLeavesALazyTargetWithoutMemory) {
    Bitmap source(100, 3);
    source.Fill(kKey);
    for (const bool wide : {true, false}) {
        AllowWideRows(wide);
        Bitmap target(100, 3);
        DrawKeyed(target, source, kKey);
        AllowWideRows(true);
        EXPECT_TRUE(target.IsLazyWhite());
    }
}

// Whether a row holds a key pixel, with the key anywhere or nowhere in rows of every width
// around the loops' steps; a black key must not be found in the zeros past a row's end.
TEST(KeyedDrawing, RowHasKeyFindsTheKeyAnywhereAndNowhereElse) {
    for (const TColor key : {kKey, clBlack})
        for (int width = 1; width <= 70; ++width)
            for (int at = -1; at < width; ++at) {
                Bitmap row(width, 1);
                for (int x = 0; x < width; ++x)
                    row.SetPixel(x, 0, x == at ? key : RgbColour(10, 20, x == 0 ? 31 : 0));
                for (const bool wide : {true, false}) {
                    AllowWideRows(wide);
                    const bool found = RowHasKey(row.ConstScanLine(0), width, key);
                    AllowWideRows(true);
                    EXPECT_EQ(found, at >= 0)
                        << "width " << width << " at " << at << (wide ? " (wide)" : " (portable)");
                }
            }
}
