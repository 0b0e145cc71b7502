// The 24-bit bitmap: layout, reads and writes at and beyond the edges, lazy white memory.
#include <gtest/gtest.h>

#include "platform/bitmap.h"

TEST(Colour, PacksRedGreenBlue) {
    EXPECT_EQ(RgbColour(1, 2, 3), 1u + 256u * 2 + 65536u * 3);
    EXPECT_EQ(RedOf(RgbColour(10, 20, 30)), 10);
    EXPECT_EQ(GreenOf(RgbColour(10, 20, 30)), 20);
    EXPECT_EQ(BlueOf(RgbColour(10, 20, 30)), 30);
    EXPECT_TRUE(SameColour(0x01FFFFFFu, clWhite));  // only red, green and blue count
}

TEST(Colour, NoColourMatchesNothingAndReadsAsBlack) {
    EXPECT_FALSE(SameColour(kNoColour, clWhite));
    EXPECT_FALSE(SameColour(kNoColour, clBlack));
    EXPECT_FALSE(SameColour(kNoColour, kNoColour));
    EXPECT_EQ(RedOf(kNoColour) + GreenOf(kNoColour) + BlueOf(kNoColour), 0);
}

TEST(Bitmap, NewBitmapIsWhiteAndHoldsNoMemory) {
    Bitmap b(4000, 3000);
    EXPECT_TRUE(b.IsLazyWhite());
    EXPECT_EQ(b.AllocatedBytes(), 0u);
    EXPECT_EQ(b.Pixel(3999, 2999), clWhite);
    b.SetPixel(1, 1, clBlack);
    EXPECT_FALSE(b.IsLazyWhite());
    EXPECT_EQ(b.Pixel(1, 1), clBlack);
    EXPECT_EQ(b.Pixel(2, 1), clWhite);
    b.ReleaseToWhite();
    EXPECT_EQ(b.AllocatedBytes(), 0u);
    EXPECT_EQ(b.Pixel(1, 1), clWhite);
}

TEST(Bitmap, RowsAreBlueGreenRedWithAlignedStride) {
    Bitmap b(3, 2);
    EXPECT_EQ(b.Stride(), 12);
    b.SetPixel(2, 1, RgbColour(10, 20, 30));
    const std::uint8_t* row = b.ConstScanLine(1);
    EXPECT_EQ(row[6], 30);
    EXPECT_EQ(row[7], 20);
    EXPECT_EQ(row[8], 10);
}

TEST(Bitmap, OutsideReadsGiveNoColourAndWritesAreIgnored) {
    Bitmap b(5, 5);
    b.Fill(clBlack);
    for (auto [x, y] : {std::pair{-1, 0}, {0, -1}, {5, 0}, {0, 5}, {5, 5}}) {
        EXPECT_EQ(b.Pixel(x, y), kNoColour) << x << "," << y;
        b.SetPixel(x, y, clWhite);
    }
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 5; ++x) EXPECT_EQ(b.Pixel(x, y), clBlack);
}

TEST(Bitmap, ViewSharesTheMemory) {
    Bitmap b(10, 4);
    QImage view = b.View();
    ASSERT_EQ(view.format(), QImage::Format_BGR888);
    EXPECT_EQ(view.constBits(), b.ConstScanLine(0));
    EXPECT_EQ(view.bytesPerLine(), b.Stride());
    view.setPixelColor(3, 2, QColor(1, 2, 3));
    EXPECT_EQ(b.Pixel(3, 2), RgbColour(1, 2, 3));
}

TEST(Bitmap, CopiesAreDeepAndMakeWhiteReusesTheBuffer) {
    Bitmap a(8, 8);
    a.SetPixel(0, 0, clBlack);
    Bitmap b = a;
    b.SetPixel(0, 0, clWhite);
    EXPECT_EQ(a.Pixel(0, 0), clBlack);
    const std::uint8_t* before = a.ConstScanLine(0);
    a.MakeWhite(8, 8);
    EXPECT_EQ(a.ConstScanLine(0), before);
    EXPECT_EQ(a.Pixel(0, 0), clWhite);
    EXPECT_TRUE(a == Bitmap(8, 8));
    a.MakeWhite(9, 8);
    EXPECT_EQ(a.Width(), 9);
    EXPECT_TRUE(a.IsLazyWhite());
}

TEST(Bitmap, ShowingAnothersPixelsReadsAndWritesThemWithoutMemory) {
    Bitmap layer(6, 4);
    Bitmap surface(2, 2);
    surface.Fill(clBlack);
    surface.ShowPixelsOf(layer);
    EXPECT_EQ(surface.AllocatedBytes(), 0u);
    EXPECT_TRUE(surface.ShowsPixelsOf(layer));
    EXPECT_EQ(surface.Width(), 6);
    EXPECT_EQ(surface.Height(), 4);
    EXPECT_TRUE(surface.IsLazyWhite());
    // A write through either is seen by both, and the memory is the layer's.
    surface.SetPixel(1, 1, clBlack);
    layer.SetPixel(2, 1, RgbColour(1, 2, 3));
    EXPECT_EQ(layer.Pixel(1, 1), clBlack);
    EXPECT_EQ(surface.Pixel(2, 1), RgbColour(1, 2, 3));
    EXPECT_EQ(surface.ConstScanLine(1), layer.ConstScanLine(1));
    EXPECT_EQ(surface.View().constBits(), layer.ConstScanLine(0));
    EXPECT_EQ(surface.AllocatedBytes(), 0u);
    EXPECT_GT(layer.AllocatedBytes(), 0u);
    // A copy of the showing bitmap is a copy of the layer's pixels.
    const Bitmap copy = surface;
    EXPECT_TRUE(copy == layer);
    EXPECT_FALSE(copy.ShowsPixelsOf(layer));
    // The layer changing size is seen too.
    layer.MakeWhite(3, 5);
    EXPECT_EQ(surface.Width(), 3);
    EXPECT_EQ(surface.Pixel(1, 1), clWhite);
}

TEST(Bitmap, AnOperationOnTheWholeEndsTheShowingAndLeavesTheOtherAlone) {
    Bitmap layer(4, 3);
    layer.SetPixel(1, 1, clBlack);
    const Bitmap before = layer;
    const struct {
        const char* what;
        void (*operation)(Bitmap&);
        TColor pixel11;  // (1, 1) afterwards
    } cases[] = {
        {"MakeWhite", [](Bitmap& b) { b.MakeWhite(4, 3); }, clWhite},
        {"ReleaseToWhite", [](Bitmap& b) { b.ReleaseToWhite(); }, clWhite},
        {"Fill", [](Bitmap& b) { b.Fill(RgbColour(9, 9, 9)); }, RgbColour(9, 9, 9)},
        {"CopyFrom", [](Bitmap& b) { b.CopyFrom(Bitmap(4, 3)); }, clWhite},
        {"StopShowing", [](Bitmap& b) { b.StopShowing(); }, clWhite},
        {"OwnPixels", [](Bitmap& b) { b.OwnPixels(); }, clBlack},
    };
    for (const auto& c : cases) {
        Bitmap surface;
        surface.ShowPixelsOf(layer);
        c.operation(surface);
        EXPECT_FALSE(surface.ShowsPixelsOf(layer)) << c.what;
        EXPECT_EQ(surface.Width(), 4) << c.what;
        EXPECT_EQ(surface.Pixel(1, 1), c.pixel11) << c.what;
        surface.SetPixel(2, 2, clBlack);
        EXPECT_TRUE(layer == before) << c.what;
    }
    // Neither itself nor a bitmap that shows another can be shown.
    Bitmap a(2, 2), b(2, 2);
    a.ShowPixelsOf(a);
    EXPECT_FALSE(a.ShowsPixelsOf(a));
    a.ShowPixelsOf(layer);
    b.ShowPixelsOf(a);
    EXPECT_FALSE(b.ShowsPixelsOf(a));
}
