// Pens and lines, keyed and stretched drawing.
#include <gtest/gtest.h>

#include <vector>

#include <QPoint>

#include "platform/blit.h"
#include "platform/canvas.h"

namespace {

int CountColour(const Bitmap& b, TColor c) {
    int n = 0;
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x) n += SameColour(b.Pixel(x, y), c);
    return n;
}

}  // namespace

TEST(Pen, NegativeWidthIsIgnored) {
    Pen p;
    EXPECT_EQ(p.Width(), 1);
    p.SetWidth(0);
    EXPECT_EQ(p.Width(), 0);
    p.SetWidth(-1);
    EXPECT_EQ(p.Width(), 0);
    p.SetWidth(7);
    EXPECT_EQ(p.Width(), 7);
}

TEST(Pen, WidthZeroAndOneDrawOnePixelLinesWithoutTheEndPoint) {
    for (int width : {0, 1}) {
        Bitmap b(20, 20);
        Canvas c(&b);
        c.pen.Color = clBlack;
        c.pen.SetWidth(width);
        c.MoveTo(2, 5);
        c.LineTo(12, 5);
        EXPECT_EQ(CountColour(b, clBlack), 10) << width;
        EXPECT_EQ(b.Pixel(2, 5), clBlack);
        EXPECT_EQ(b.Pixel(11, 5), clBlack);
        EXPECT_EQ(b.Pixel(12, 5), clWhite);
        EXPECT_EQ(b.Pixel(2, 4), clWhite);
        EXPECT_EQ(c.PenX(), 12);
        EXPECT_EQ(c.PenY(), 5);
    }
}

TEST(Pen, DiagonalThinLineTouchesOnePixelPerStep) {
    Bitmap b(10, 10);
    DrawLine(b, 0, 0, 5, 5, clBlack, 1);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(b.Pixel(i, i), clBlack);
    EXPECT_EQ(CountColour(b, clBlack), 5);
}

// Each step of a thin line sets the pixel nearest to the ideal line, in either direction.
TEST(Pen, ThinLinesAtOtherSlopesTakeTheNearestPixelOfEachStep) {
    const struct {
        int x0, y0, x1, y1;
        std::vector<QPoint> pixels;
    } cases[] = {
        {0, 0, 6, 2, {{0, 0}, {1, 0}, {2, 1}, {3, 1}, {4, 1}, {5, 2}}},
        {6, 2, 0, 0, {{6, 2}, {5, 2}, {4, 1}, {3, 1}, {2, 1}, {1, 0}}},
        {0, 0, 5, 2, {{0, 0}, {1, 0}, {2, 1}, {3, 1}, {4, 2}}},
        {0, 0, 2, 5, {{0, 0}, {0, 1}, {1, 2}, {1, 3}, {2, 4}}},
        {0, 5, 2, 0, {{0, 5}, {0, 4}, {1, 3}, {1, 2}, {2, 1}}},
    };
    for (const auto& c : cases) {
        Bitmap b(8, 8);
        DrawLine(b, c.x0, c.y0, c.x1, c.y1, clBlack, 1);
        for (const QPoint& p : c.pixels)
            EXPECT_EQ(b.Pixel(p.x(), p.y()), clBlack) << c.x1 << "," << c.y1 << " at " << p.x();
        EXPECT_EQ(CountColour(b, clBlack), int(c.pixels.size())) << c.x1 << "," << c.y1;
    }
}

// An odd width w covers exactly w rows across a horizontal line, and its round end reaches
// (w - 1) / 2 pixels beyond the end point: every pixel centre within w / 2 of the segment.
TEST(Pen, OddWidthsCoverExactlyTheirWidth) {
    for (int width : {3, 5, 7}) {
        SCOPED_TRACE(width);
        Bitmap b(40, 40);
        DrawLine(b, 10, 20, 30, 20, clBlack, width);
        const int half = (width - 1) / 2;
        int rows = 0;
        for (int y = 0; y < 40; ++y) rows += SameColour(b.Pixel(20, y), clBlack);
        EXPECT_EQ(rows, width);
        EXPECT_EQ(b.Pixel(20, 20 - half), clBlack);
        EXPECT_EQ(b.Pixel(20, 20 + half), clBlack);
        EXPECT_EQ(b.Pixel(30 + half, 20), clBlack);
        EXPECT_EQ(b.Pixel(30 + half + 1, 20), clWhite);
        // The cap is round at width / 2: (half, 1) beyond the end lies within it, (half, 2) not.
        EXPECT_EQ(b.Pixel(30 + half, 21), clBlack);
        EXPECT_EQ(b.Pixel(30 + half, 22), clWhite);
    }
}

// A line is as wide as its pen, even widths included: w pixels across from w / 2 before the
// point; a dot fills a w by w square's circle.
TEST(Pen, EveryWidthCoversExactlyItsWidth) {
    for (int width : {2, 3, 4, 5, 6, 7, 8, 12, 24, 25}) {
        SCOPED_TRACE(width);
        const int first = 50 - width / 2;
        const int last = first + width - 1;
        Bitmap across(100, 100), down(100, 100), dot(100, 100);
        DrawLine(across, 30, 50, 70, 50, clBlack, width);
        DrawLine(down, 50, 30, 50, 70, clBlack, width);
        DrawLine(dot, 50, 50, 50, 50, clBlack, width);
        for (int i = 0; i < 100; ++i) {
            const bool inside = i >= first && i <= last;
            EXPECT_EQ(SameColour(across.Pixel(50, i), clBlack), inside) << i;
            EXPECT_EQ(SameColour(down.Pixel(i, 50), clBlack), inside) << i;
            EXPECT_EQ(SameColour(dot.Pixel(50, i), clBlack), inside) << i;
            EXPECT_EQ(SameColour(dot.Pixel(i, 50), clBlack), inside) << i;
        }
        // The round ends reach as far beyond the end points as the width does beside them.
        EXPECT_EQ(across.Pixel(30 - width / 2, 50), clBlack);
        EXPECT_EQ(across.Pixel(30 - width / 2 - 1, 50), clWhite);
        EXPECT_EQ(across.Pixel(70 + (width - 1) / 2, 50), clBlack);
        EXPECT_EQ(across.Pixel(70 + (width - 1) / 2 + 1, 50), clWhite);
    }
}

TEST(Pen, WideLinesAreSolidWithRoundEnds) {
    Bitmap b(40, 40);
    Canvas c(&b);
    c.pen.SetWidth(6);
    c.MoveTo(10, 20);
    c.LineTo(30, 20);
    // Full width across the middle, round beyond the ends.
    for (int y = 17; y <= 22; ++y) EXPECT_EQ(b.Pixel(20, y), clBlack) << y;
    EXPECT_EQ(b.Pixel(20, 16), clWhite);
    EXPECT_EQ(b.Pixel(20, 23), clWhite);
    EXPECT_EQ(b.Pixel(7, 20), clBlack);   // cap reaches 3 beyond the start
    EXPECT_EQ(b.Pixel(7, 17), clWhite);   // but not into the corner
    EXPECT_EQ(b.Pixel(32, 20), clBlack);  // and 2 beyond the end
    EXPECT_EQ(b.Pixel(33, 20), clWhite);
    EXPECT_EQ(c.PenX(), 30);
}

TEST(Pen, LinesLeavingTheBitmapAreClipped) {
    Bitmap b(10, 10);
    DrawLine(b, -20, 5, 30, 5, clBlack, 1);
    DrawLine(b, -20, -20, 30, 30, clBlack, 5);
    EXPECT_EQ(b.Pixel(0, 5), clBlack);
    EXPECT_EQ(b.Pixel(9, 5), clBlack);
}

TEST(Blit, KeyedDrawingLeavesOutExactKeyPixelsOnly) {
    Bitmap target(3, 1);
    target.Fill(RgbColour(1, 1, 1));
    Bitmap source(3, 1);
    source.SetPixel(0, 0, RgbColour(0, 0, 0));
    source.SetPixel(1, 0, RgbColour(0, 0, 1));  // one step from the key: drawn
    source.SetPixel(2, 0, RgbColour(9, 9, 9));
    DrawKeyed(target, source, clBlack);
    EXPECT_EQ(target.Pixel(0, 0), RgbColour(1, 1, 1));
    EXPECT_EQ(target.Pixel(1, 0), RgbColour(0, 0, 1));
    EXPECT_EQ(target.Pixel(2, 0), RgbColour(9, 9, 9));
}

TEST(Blit, UntouchedLayerIsInvisibleOnWhiteKeyAndWhiteOtherwise) {
    Bitmap target(4, 4);
    target.Fill(clBlack);
    const Bitmap white(4, 4);
    DrawKeyed(target, white, clWhite);
    EXPECT_EQ(CountColour(target, clBlack), 16);
    DrawKeyed(target, white, clBlack);
    EXPECT_EQ(CountColour(target, clWhite), 16);
}

TEST(Blit, OpaqueCopyIsClipped) {
    Bitmap target(4, 4);
    Bitmap source(3, 3);
    source.Fill(clBlack);
    DrawOpaque(target, source, 2, 2);
    EXPECT_EQ(CountColour(target, clBlack), 4);
    EXPECT_EQ(target.Pixel(3, 3), clBlack);
    EXPECT_EQ(target.Pixel(1, 1), clWhite);
}

TEST(Blit, StretchMakesBlocksAndShrinks) {
    Bitmap source(2, 2);
    source.SetPixel(1, 0, clBlack);
    source.SetPixel(0, 1, RgbColour(255, 0, 0));
    Bitmap big(8, 8);
    StretchCopy(big, QRect(0, 0, 8, 8), source, QRect(0, 0, 2, 2));
    for (int y = 0; y < 4; ++y)
        for (int x = 4; x < 8; ++x) EXPECT_EQ(big.Pixel(x, y), clBlack);
    for (int y = 4; y < 8; ++y)
        for (int x = 0; x < 4; ++x) EXPECT_EQ(big.Pixel(x, y), RgbColour(255, 0, 0));
    EXPECT_EQ(big.Pixel(3, 3), clWhite);

    Bitmap thumb(2, 2);
    StretchCopy(thumb, QRect(0, 0, 2, 2), big, QRect(0, 0, 8, 8));
    EXPECT_TRUE(thumb == source);
}
