// JPEG coding: quality and progressive settings reach the file, decoding gives the picture back,
// and bad data is reported with libjpeg's message code.
#include <gtest/gtest.h>

#include <cstdio>

#include <jerror.h>
#include <jpeglib.h>

#include "document/document_errors.h"
#include "document/jpeg_codec.h"

namespace {

// A picture with detail everywhere, so that quality changes the size.
Bitmap Noise(int width, int height) {
    Bitmap b(width, height);
    std::uint32_t seed = 12345;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            seed = seed * 1103515245u + 12345u;
            b.SetPixel(x, y, TColor(seed >> 8) & 0xFFFFFF);
        }
    return b;
}

Bitmap Decode(const QByteArray& bytes) {
    return DecodeJpeg(bytes.constData(), std::size_t(bytes.size()));
}

// The frame marker that starts the picture: FF C0 baseline, FF C2 progressive.
bool HasMarker(const QByteArray& bytes, unsigned char marker) {
    return bytes.contains(QByteArray("\xFF", 1) + char(marker));
}

TEST(JpegEncode, ProgressiveFlagChoosesTheFrameType) {
    const Bitmap picture = Noise(32, 24);
    const QByteArray baseline = EncodeJpeg(picture, 75, false);
    const QByteArray progressive = EncodeJpeg(picture, 75, true);
    EXPECT_TRUE(HasMarker(baseline, 0xC0));
    EXPECT_FALSE(HasMarker(baseline, 0xC2));
    EXPECT_TRUE(HasMarker(progressive, 0xC2));
    EXPECT_FALSE(HasMarker(progressive, 0xC0));
}

TEST(JpegEncode, QualityOneCompressesHardestAndHundredLightest) {
    const Bitmap picture = Noise(64, 64);
    const int q1 = int(EncodeJpeg(picture, 1, false).size());
    const int q75 = int(EncodeJpeg(picture, 75, false).size());
    const int q100 = int(EncodeJpeg(picture, 100, false).size());
    EXPECT_LT(q1, q75);
    EXPECT_LT(q75, q100);
}

TEST(JpegDecode, GivesThePictureBackAtFullSize) {
    // Flat areas survive even a lossy round trip almost exactly.
    Bitmap picture(40, 30);
    for (int y = 0; y < 30; ++y)
        for (int x = 20; x < 40; ++x) picture.SetPixel(x, y, RgbColour(200, 40, 40));
    for (bool progressive : {false, true}) {
        const Bitmap back = Decode(EncodeJpeg(picture, 100, progressive));
        ASSERT_EQ(back.Width(), 40);
        ASSERT_EQ(back.Height(), 30);
        for (auto [x, y] : {std::pair{2, 2}, std::pair{35, 25}}) {
            const TColor want = picture.Pixel(x, y), got = back.Pixel(x, y);
            EXPECT_NEAR(RedOf(got), RedOf(want), 3);
            EXPECT_NEAR(GreenOf(got), GreenOf(want), 3);
            EXPECT_NEAR(BlueOf(got), BlueOf(want), 3);
        }
    }
}

QByteArray WithFrameSize(QByteArray bytes, int width, int height) {
    const qsizetype sof = bytes.indexOf(QByteArray("\xFF\xC0", 2));
    bytes[sof + 5] = char(height >> 8);
    bytes[sof + 6] = char(height);
    bytes[sof + 7] = char(width >> 8);
    bytes[sof + 8] = char(width);
    return bytes;
}

TEST(JpegDecode, BadDataReportsLibjpegsCodeAndHugeFramesAreRefused) {
    const QByteArray good = EncodeJpeg(Noise(16, 16), 75, false);
    const struct {
        const char* what;
        QByteArray bytes;
        int code;  // libjpeg's message code, or -1 for "too large"
    } cases[] = {
        {"empty", QByteArray(), JERR_INPUT_EMPTY},
        {"not a JPEG", QByteArray("BM not a jpeg at all"), JERR_NO_SOI},
        {"tables only", good.left(2) + QByteArray("\xFF\xD9", 2), JERR_NO_IMAGE},
        {"40000 x 40000", WithFrameSize(good, 40000, 40000), -1},
    };
    for (const auto& c : cases) {
        QString message;
        try {
            Decode(c.bytes);
        } catch (const UserError& e) {
            message = e.Text();
        }
        const QString expected =
            c.code < 0 ? PictureTooLarge().Text() : QStringLiteral("JPEG ｴﾗｰ #%1").arg(c.code);
        EXPECT_EQ(message, expected) << c.what;
    }
}

}  // namespace
