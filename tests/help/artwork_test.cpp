// The program's artwork: tool cursors, palette picture and icon.
#include <gtest/gtest.h>

#include <QBitmap>
#include <QImage>

#include "resources/artwork.h"

namespace {

// A set bit of a cursor plane (Qt::color1) reads as black.
bool IsSet(const QImage& plane, QPoint p) {
    return plane.pixel(p) == qRgb(0, 0, 0);
}

struct CursorCase {
    int number;
    QPoint hotSpot;
};

TEST(KasumiroCursor, TwoColour32x32WithTheToolsHotSpotOnItsTip) {
    for (CursorCase c : {CursorCase{23, {1, 29}}, CursorCase{24, {5, 27}}, CursorCase{25, {14, 6}},
                         CursorCase{26, {7, 22}}}) {
        SCOPED_TRACE(c.number);
        const QCursor cursor = KasumiroCursor(c.number);
        EXPECT_EQ(cursor.shape(), Qt::BitmapCursor);
        EXPECT_EQ(cursor.hotSpot(), c.hotSpot);
        EXPECT_EQ(KasumiroCursorHotSpot(c.number), c.hotSpot);
        const QImage picture = cursor.bitmap().toImage();
        const QImage mask = cursor.mask().toImage();
        EXPECT_EQ(picture.size(), QSize(32, 32));
        EXPECT_EQ(mask.size(), QSize(32, 32));
        // The pointer's spot is drawn (set in the mask), in black (set in the picture).
        EXPECT_TRUE(IsSet(mask, c.hotSpot));
        EXPECT_TRUE(IsSet(picture, c.hotSpot));
        // Two colours: black and white both appear, and the corners are see-through.
        int black = 0, white = 0;
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x)
                if (IsSet(mask, {x, y})) (IsSet(picture, {x, y}) ? black : white) += 1;
        EXPECT_GT(black, 20);
        EXPECT_GT(white, 20);
        EXPECT_FALSE(IsSet(mask, {0, 0}));
    }
}

TEST(KasumiroCursor, TextHotSpotLiesOnTheCornerBeyondTheImage) {
    EXPECT_EQ(KasumiroCursorHotSpot(28), QPoint(32, 32));
    const QCursor cursor = KasumiroCursor(28);
    EXPECT_EQ(cursor.hotSpot(), QPoint(31, 31));  // as far as the window system allows
    EXPECT_EQ(cursor.bitmap().size(), QSize(32, 32));
    EXPECT_EQ(KasumiroCursor(27).shape(), Qt::ArrowCursor);
}

// Full colours of the bands, left to right.
const TColor kBands[9] = {RgbColour(128, 128, 128), RgbColour(255, 0, 0),   RgbColour(255, 0, 255),
                          RgbColour(255, 255, 0),   RgbColour(0, 255, 0),   RgbColour(0, 255, 255),
                          RgbColour(0, 0, 255),     RgbColour(128, 0, 255), RgbColour(128, 64, 0)};

int Brightness(TColor c) {
    return RedOf(c) + GreenOf(c) + BlueOf(c);
}

TEST(PalettePicture, NineBandsOfSevenColumns) {
    const Bitmap palette = PalettePicture();
    ASSERT_EQ(palette.Width(), 63);
    ASSERT_EQ(palette.Height(), 90);
    for (int band = 0; band < 9; ++band) {
        SCOPED_TRACE(band);
        for (int x = band * 7; x < band * 7 + 7; ++x) {
            EXPECT_EQ(palette.Pixel(x, 0), clWhite);
            EXPECT_EQ(palette.Pixel(x, 45), kBands[band]);  // full colour at mid-height
            EXPECT_EQ(palette.Pixel(x, 89), clBlack);
            for (int y = 0; y < 90; ++y) EXPECT_EQ(palette.Pixel(x, y), palette.Pixel(band * 7, y));
        }
    }
}

TEST(PalettePicture, ShadesDownInStepsOfTwoOrThreeRows) {
    const Bitmap palette = PalettePicture();
    for (int band = 0; band < 9; ++band) {
        SCOPED_TRACE(band);
        const int x = band * 7 + 3;
        int run = 1;
        for (int y = 1; y < 90; ++y) {
            const TColor above = palette.Pixel(x, y - 1), here = palette.Pixel(x, y);
            EXPECT_LE(Brightness(here), Brightness(above));
            if (here == above) {
                ++run;
                continue;
            }
            EXPECT_TRUE(run == 2 || run == 3) << "step ending at row " << y - 1;
            run = 1;
        }
    }
}

TEST(ProgramIcon, DrawsAtTheUsualSizes) {
    const QIcon icon = ProgramIcon();
    ASSERT_FALSE(icon.isNull());
    for (int size : {16, 32, 48}) {
        const QImage image = icon.pixmap(size, size).toImage();
        EXPECT_EQ(image.size(), QSize(size, size));
        int dark = 0;
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x)
                dark += qGray(image.pixel(x, y)) < 64 && qAlpha(image.pixel(x, y)) == 255;
        EXPECT_GT(dark, size * size / 20);        // the stroke
        EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0);  // round corners leave the corner clear
    }
}

}  // namespace
