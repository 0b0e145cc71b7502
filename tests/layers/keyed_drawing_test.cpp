// Keyed drawing over whole rows, as compositing uses it: every pixel equal to the key in red,
// green and blue is left out, every other pixel replaces the target's, wherever it falls in
// the row.
#include <gtest/gtest.h>

#include "platform/blit.h"
#include "platform/random_source.h"

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
    Bitmap target = Ground(width, 1);
    const Bitmap expected = Expected(target, source);
    DrawKeyed(target, source, kKey);
    EXPECT_TRUE(target == expected);
    EXPECT_EQ(target.Pixel(0, 0), RgbColour(0, 0, 99));
    EXPECT_EQ(target.Pixel(40, 0), RgbColour(11, 20, 30));
    EXPECT_EQ(target.Pixel(50, 0), RgbColour(10, 0, 0));
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
    Bitmap target = Ground(203, 7);
    const Bitmap expected = Expected(target, source);
    DrawKeyed(target, source, kKey);
    EXPECT_TRUE(target == expected);
}

TEST(KeyedDrawing, SourceAllKeyLeavesALazyTargetWithoutMemory) {
    Bitmap source(100, 3);
    source.Fill(kKey);
    Bitmap target(100, 3);
    DrawKeyed(target, source, kKey);
    EXPECT_TRUE(target.IsLazyWhite());
}
