// Ink bleed and blur around the pointer, written into the layer and onto the paint surface.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "brush/ink_effects.h"

namespace {

constexpr TColor kInk = clBlack;

TColor Grey(int v) {
    return RgbColour(v, v, v);
}

// A white 40 x 40 layer and surface, the medium brush (radius 8, probe 3) at (20, 20).
struct Paper {
    Bitmap layer{40, 40};
    Bitmap surface{40, 40};
    InkSquare At(int x, int y, TColor ink = kInk) { return {layer, surface, x, y, 13, ink}; }
    void Fill(TColor c) {
        layer.Fill(c);
        surface.Fill(c);
    }
    void Put(int x, int y, TColor c) {
        layer.SetPixel(x, y, c);
        surface.SetPixel(x, y, c);
    }
    // The layer holds exactly the given pixels on white, and the surface shows the same.
    void Expect(const std::vector<std::pair<QPoint, TColor>>& pixels) {
        Bitmap expected(40, 40);
        for (const auto& [p, c] : pixels) expected.SetPixel(p.x(), p.y(), c);
        EXPECT_TRUE(layer == expected);
        EXPECT_TRUE(surface == expected);
    }
};

}  // namespace

TEST(InkSquare, RadiusAndProbeDistanceFollowTheSize) {
    const struct {
        int size, radius, probe;
    } sizes[] = {{25, 15, 5}, {19, 11, 4}, {13, 8, 3}, {8, 5, 2}, {3, 2, 1}};
    for (const auto& c : sizes) {
        EXPECT_EQ(InkRadius(c.size), c.radius) << c.size;
        EXPECT_EQ(BleedProbeDistance(c.size), c.probe) << c.size;
    }
}

TEST(InkBleed, PaperAtTheProbeDistanceSeepsTowardTheInk) {
    Paper paper;
    paper.Put(20, 20, kInk);
    EXPECT_EQ(InkBleed(paper.At(20, 20)), QRect(QPoint(17, 17), QPoint(23, 23)));
    // 255 - Trunc(255 / 20) on the four axis neighbours three pixels away, nothing else.
    paper.Expect({{{20, 20}, kInk},
                  {{17, 20}, Grey(243)},
                  {{23, 20}, Grey(243)},
                  {{20, 17}, Grey(243)},
                  {{20, 23}, Grey(243)}});
    InkBleed(paper.At(20, 20));
    EXPECT_EQ(paper.layer.Pixel(17, 20), Grey(231));
    EXPECT_EQ(paper.surface.Pixel(20, 23), Grey(231));
}

TEST(InkBleed, EachChannelMovesATwentiethRoundedTowardZero) {
    const TColor ink = RgbColour(100, 100, 100);
    const struct {
        TColor before, after;
        QRect changed;
    } cases[] = {
        {RgbColour(119, 81, 100), RgbColour(119, 81, 100), QRect()},  // within 19: settled
        {RgbColour(120, 80, 140), RgbColour(119, 81, 138), QRect(20, 17, 1, 1)},
        {RgbColour(255, 0, 100), RgbColour(248, 5, 100), QRect(20, 17, 1, 1)},
    };
    for (const auto& c : cases) {
        Paper paper;
        paper.Fill(ink);
        paper.Put(20, 17, c.before);
        // Ink all round: only (20, 17) is off the ink colour, and it is near ink.
        EXPECT_EQ(InkBleed(paper.At(20, 20, ink)), c.changed);
        EXPECT_EQ(paper.layer.Pixel(20, 17), c.after);
    }
}

TEST(InkBleed, StaysInsideTheSquareAroundThePointer) {
    // Ink at the square's right edge (x = 28): its left probe target is inside and seeps,
    // its right one (x = 31) is outside the square and stays white.
    Paper paper;
    paper.Put(28, 20, kInk);
    InkBleed(paper.At(20, 20));
    EXPECT_EQ(paper.layer.Pixel(25, 20), Grey(243));
    EXPECT_EQ(paper.layer.Pixel(31, 20), clWhite);
}

TEST(InkBlur, LoneInkPixelBecomesTheMeanOfItsBlock) {
    // Every level averages it with eight white pixels: 8 * 255 div 9.
    for (BlurLevel level : {blWeak, blMedium, blStrong}) {
        Paper paper;
        paper.Put(20, 20, kInk);
        EXPECT_EQ(InkBlur(paper.At(20, 20), level), QRect(20, 20, 1, 1));
        paper.Expect({{{20, 20}, Grey(226)}});
    }
}

TEST(InkBlur, PassesFollowTheirBlocksAndLoopOrders) {
    // A 3 x 3 block of ink at 19..21. Forward: each target's block lies right of and below
    // it, so only the top-left pixel (all ink around) keeps the ink, and the bottom-right one
    // sees eight white. Backward then finds that top-left pixel with white above and left.
    // Centred: each target sees the values written before it (x outer, y inner).
    const struct {
        BlurLevel level;
        int topLeft, bottomRight;
    } cases[] = {{blNone, 0, 0}, {blWeak, 141, 176}, {blMedium, 0, 226}, {blStrong, 226, 226}};
    for (const auto& c : cases) {
        Paper paper;
        for (int x = 19; x <= 21; ++x)
            for (int y = 19; y <= 21; ++y) paper.Put(x, y, kInk);
        InkBlur(paper.At(20, 20), c.level);
        EXPECT_EQ(paper.layer.Pixel(19, 19), Grey(c.topLeft)) << c.level;
        EXPECT_EQ(paper.layer.Pixel(21, 21), Grey(c.bottomRight)) << c.level;
    }
}

TEST(InkBlur, SamplesInColumnZeroRepeatTheLastRowRead) {
    // Ink at (0, 5); the target before it, (0, 4), last read (2, 6). Column 0 is never read,
    // so its three samples, the ink among them, take that colour: 4 x C + 5 x white.
    Paper paper;
    const TColor c = RgbColour(30, 60, 90);
    paper.Put(0, 5, kInk);
    paper.Put(2, 6, c);
    InkBlur(paper.At(5, 5), blMedium);
    paper.Expect({{{0, 5}, RgbColour(155, 168, 181)}, {{2, 6}, c}});
}

TEST(InkEffects, WorkUpToTheFarEdgeOfTheWidestPicture) {
    // The square around x = 32760 reaches past 32767; it still bleeds and blurs what lies
    // inside the picture instead of wrapping round to the far side.
    Bitmap layer(32767, 20), surface(32767, 20);
    layer.SetPixel(32760, 10, kInk);
    const InkSquare sq{layer, surface, 32760, 10, 13, kInk};
    InkBleed(sq);
    EXPECT_EQ(layer.Pixel(32757, 10), Grey(243));
    EXPECT_EQ(surface.Pixel(32763, 10), Grey(243));
    InkBlur(sq, blMedium);
    EXPECT_EQ(layer.Pixel(32760, 10), Grey(226));

    // A square wholly off the picture changes nothing.
    const InkSquare away{layer, surface, -40, 10, 25, kInk};
    EXPECT_TRUE(InkBleed(away).isNull());
    EXPECT_TRUE(InkBlur(away, blStrong).isNull());
}
