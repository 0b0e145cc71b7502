// Pictures through the application's clipboard, on the offscreen platform.
#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>

#include "tools/clipboard_picture.h"

namespace {

constexpr TColor clRed = RgbColour(255, 0, 0);

TEST(ClipboardPicture, TransparencyIsFlattenedOntoWhite) {
    const struct {
        QRgb argb;
        TColor expected;
    } cases[] = {
        {qRgba(0, 0, 0, 0), clWhite},
        {qRgba(0, 0, 0, 255), clBlack},
        {qRgba(0, 0, 0, 128), RgbColour(127, 127, 127)},   // 255 * 127 / 255
        {qRgba(255, 0, 0, 64), RgbColour(255, 191, 191)},  // 255 * 191 / 255
        {qRgba(10, 20, 30, 255), RgbColour(10, 20, 30)},
        // Where rounding decides: c * a / 255 + 255 - a, rounded to the nearest.
        {qRgba(1, 1, 1, 128), RgbColour(128, 128, 128)},     // 127.502
        {qRgba(43, 128, 213, 3), RgbColour(253, 254, 255)},  // 252.506, 253.506, 254.506
        {qRgba(42, 42, 42, 3), RgbColour(252, 252, 252)},    // 252.494
    };
    for (const auto& c : cases) {
        QImage image(1, 1, QImage::Format_ARGB32);
        image.setPixel(0, 0, c.argb);
        Bitmap picture;
        ASSERT_TRUE(PictureFromImage(image, picture, 100));
        EXPECT_EQ(picture.Pixel(0, 0), c.expected) << std::hex << c.argb;
    }
}

TEST(ClipboardPicture, RoundTripKeepsEveryPixel) {
    Bitmap picture(3, 2);
    picture.SetPixel(0, 0, clRed);
    picture.SetPixel(2, 1, RgbColour(1, 2, 3));
    PutPictureOnClipboard(picture);
    Bitmap back;
    ASSERT_TRUE(TakePictureFromClipboard(back, 100));
    EXPECT_EQ(back, picture);
}

TEST(ClipboardPicture, NoUsablePictureLeavesTheTargetAlone) {
    Bitmap target(2, 2);
    target.Fill(clRed);
    QGuiApplication::clipboard()->setText(QStringLiteral("文字"));
    EXPECT_FALSE(TakePictureFromClipboard(target, 100));
    PutPictureOnClipboard(Bitmap(101, 1));
    EXPECT_FALSE(TakePictureFromClipboard(target, 100));  // wider than allowed
    EXPECT_EQ(target.Width(), 2);
    EXPECT_EQ(target.Pixel(1, 1), clRed);
}

}  // namespace
