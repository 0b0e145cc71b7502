// JPEG coding: quality and progressive settings reach the file, decoding gives the picture back,
// and bad data is reported with libjpeg's message code.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>

#include <jerror.h>
#include <jpeglib.h>

#include "document/document_errors.h"
#include "document/jpeg_codec.h"
#include "jpeg_test_files.h"

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

// A Huffman-coded file shorter than its first scan's blocks at a bit each is cut short or
// forged, even where an arithmetic-coded file of that size could hold the frame.
TEST(JpegDecode, AHuffmanFileTooShortForItsFrameIsRefused) {
    const QByteArray good = EncodeJpeg(Noise(16, 16), 75, false);
    // 4:2:0: an MCU of 16 x 16 pixels holds six blocks. Frames of 64 MCUs a byte lie far
    // beyond a bit a block and far within a byte per thousand MCUs.
    const int mcuSide = int(std::sqrt(64.0 * double(good.size()))) + 1;
    const QByteArray forged = WithFrameSize(good, 16 * mcuSide, 16 * mcuSide);
    QString message;
    try {
        Decode(forged);
    } catch (const UserError& e) {
        message = e.Text();
    }
    EXPECT_EQ(message, JpegError(JWRN_JPEG_EOF).Text());
}

// Pictures other programs write that need more than libjpeg's own conversion: CMYK and YCCK
// (Adobe's, with inverted inks, and plain), arithmetic coding, full-resolution colour in many
// scans. Flat areas come back within a step or two of the rule's colour.
TEST(JpegDecode, CmykArithmeticAndFullResolutionPicturesOpen) {
    // Magenta and yellow ink at full strength on the left: red. At half strength (light 128)
    // under half black (128) on the right: red 255 * 128 / 255 = 128, green and blue
    // 128 * 128 / 255 = 64.
    const auto inks = [](bool inverted) {
        return [inverted](int x, int, unsigned char* cmyk) {
            const unsigned char ink[4] = {0, 255, 255, 0};
            const unsigned char half[4] = {0, 127, 127, 127};
            for (int i = 0; i < 4; ++i) {
                const unsigned char v = x < 16 ? ink[i] : half[i];
                cmyk[i] = inverted ? 255 - v : v;
            }
        };
    };
    const auto rgb = [](int x, int, unsigned char* out) {
        out[0] = x < 16 ? 255 : 64, out[1] = out[2] = 0;
    };
    const auto spec = [](int components, J_COLOR_SPACE stored, auto pixel) {
        TestJpeg s;
        s.width = 32, s.components = components, s.stored = stored, s.pixel = pixel;
        s.quality = 100;
        return s;
    };
    TestJpeg plainCmyk = spec(4, JCS_CMYK, inks(false));
    plainCmyk.adobeMarker = false;
    TestJpeg progressiveFull = spec(3, JCS_YCbCr, rgb);
    progressiveFull.fullResolution = progressiveFull.progressive = true;
    TestJpeg arithmetic = spec(3, JCS_YCbCr, rgb);
    arithmetic.arithmetic = true;
    const struct {
        const char* what;
        TestJpeg spec;
        TColor left, right;
    } cases[] = {
        {"Adobe CMYK", spec(4, JCS_CMYK, inks(true)), RgbColour(255, 0, 0), RgbColour(128, 64, 64)},
        {"Adobe YCCK", spec(4, JCS_YCCK, inks(true)), RgbColour(255, 0, 0), RgbColour(128, 64, 64)},
        {"plain CMYK", plainCmyk, RgbColour(255, 0, 0), RgbColour(128, 64, 64)},
        {"progressive 4:4:4", progressiveFull, RgbColour(255, 0, 0), RgbColour(64, 0, 0)},
        {"arithmetic", arithmetic, RgbColour(255, 0, 0), RgbColour(64, 0, 0)},
    };
    for (const auto& c : cases) {
        const Bitmap picture = Decode(EncodeTestJpeg(c.spec));
        ASSERT_EQ(picture.Width(), 32) << c.what;
        for (auto [x, want] : {std::pair{4, c.left}, std::pair{27, c.right}}) {
            const TColor got = picture.Pixel(x, 4);
            EXPECT_NEAR(RedOf(got), RedOf(want), 2) << c.what << " x " << x;
            EXPECT_NEAR(GreenOf(got), GreenOf(want), 2) << c.what << " x " << x;
            EXPECT_NEAR(BlueOf(got), BlueOf(want), 2) << c.what << " x " << x;
        }
    }
}

// libjpeg writes a uniform 8192 x 8192 grey picture in about 130 arithmetic-coded bytes: far
// below a byte per thousand MCUs, and still a picture.
TEST(JpegDecode, AUniformArithmeticCodedPictureOfFewBytesOpens) {
    TestJpeg spec;
    spec.width = spec.height = 8192;
    spec.components = 1;
    spec.stored = JCS_GRAYSCALE;
    spec.pixel = [](int, int, unsigned char* grey) { *grey = 77; };
    spec.arithmetic = true;
    const QByteArray bytes = EncodeTestJpeg(spec);
    EXPECT_LT(bytes.size(), 8192 / 8 * 8192 / 8 / 1024);
    const Bitmap picture = Decode(bytes);
    ASSERT_EQ(picture.Width(), 8192);
    ASSERT_EQ(picture.Height(), 8192);
    EXPECT_EQ(picture.Pixel(4000, 8191), RgbColour(77, 77, 77));
}

}  // namespace
