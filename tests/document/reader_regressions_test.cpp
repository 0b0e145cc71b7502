// Inputs that once made a reader hang, crash or allocate far beyond what the file holds, found
// by fuzzing or made for the purpose. Each must now be refused with the reader's message, quickly.
#include <gtest/gtest.h>

#include <QFile>
#include <cstdio>

#include <jpeglib.h>

#include <jerror.h>

#include "document/bmp_file.h"
#include "document/document_errors.h"
#include "document/jpeg_codec.h"
#include "document/layered_document.h"
#include "jpeg_test_files.h"

namespace {

QByteArray Data(const char* name) {
    QFile file(QStringLiteral(KASUMIRO_TEST_DATA "/") + QLatin1String(name));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name;
    return file.readAll();
}

QString JpegRefusal(const QByteArray& bytes) {
    try {
        DecodeJpeg(bytes.constData(), std::size_t(bytes.size()));
    } catch (const UserError& e) {
        return e.Text();
    }
    return QStringLiteral("accepted");
}

// 174 bytes whose progressive frame asks for 16401 x 14345 pixels: libjpeg would fill 700 MB
// of grey for it.
TEST(ReaderRegressions, JpegFrameFarLargerThanItsBytesIsRefused) {
    EXPECT_EQ(JpegRefusal(Data("jpeg_huge_frame_in_174_bytes.jpg")),
              JpegError(JWRN_JPEG_EOF).Text());
}

// Files that asked the decoder for minutes or gigabytes. Each is refused before the picture is
// allocated: scans out of sequence at the first one, a progression in order past 500 scans,
// Huffman-coded frames whose first scan the bytes cannot hold. The 111 arithmetic-coded bytes
// asking for 24593 x 18437 pixels refine coefficients nothing coded; a machine with less memory
// than their buffers refuses them as too large first.
TEST(ReaderRegressions, JpegDecoderBombsAreRefused) {
    const QString eof = JpegError(JWRN_JPEG_EOF).Text();
    const QString outOfSequence = JpegError(JWRN_BOGUS_PROGRESSION).Text();
    const struct {
        const char* what;
        QByteArray bytes;
        QString refusal;
    } cases[] = {
        {"8192 x 8192 with its last scan 1000 times", JpegScanBomb(8192, 1000), outOfSequence},
        {"a grey picture in 694 scans in order", JpegWithScans(694),
         JpegError(JERR_BAD_PROGRESSION).Text()},
        {"520 KB of noise behind a 16000 x 16000 header", JpegNoiseBehindHeader(16000, 520 * 1024),
         eof},
        {"2.2 MB of noise behind a 32767 x 32767 header", JpegNoiseBehindHeader(32767, 2200 * 1024),
         eof},
    };
    for (const auto& c : cases) EXPECT_EQ(JpegRefusal(c.bytes), c.refusal) << c.what;
    const QString arithmetic = JpegRefusal(Data("jpeg_arithmetic_453m_pixels_in_111_bytes.jpg"));
    EXPECT_TRUE(arithmetic == outOfSequence || arithmetic == PictureTooLarge().Text())
        << arithmetic.toStdString();
    // In order, a progression of up to 500 scans is read.
    const QByteArray scans500 = JpegWithScans(500);
    EXPECT_EQ(DecodeJpeg(scans500.constData(), std::size_t(scans500.size())).Width(), 16);
}

QString BmpRefusal(const QByteArray& bytes) {
    try {
        ReadBmp(bytes.constData(), std::size_t(bytes.size()));
    } catch (const UserError& e) {
        return e.Text();
    }
    return QStringLiteral("accepted");
}

// 16-bit pixels whose bit fields are far wider than the pixel (20, 16 and 31 bits): none is a
// narrow channel to widen, and working out their width must not overflow.
TEST(ReaderRegressions, ABitFieldOfAllBitsIsNoNarrowChannel) {
    EXPECT_EQ(BmpRefusal(Data("bmp_bit_field_of_32_bits.bmp")), QStringLiteral("accepted"));
}

// A 121-byte file whose run-length data asks for a 768 x 17921 picture: Qt would allocate and fill
// 55 MB. Run-length data that does code its picture is still read.
TEST(ReaderRegressions, RunLengthBmpFarLargerThanItsBytesIsRefused) {
    EXPECT_EQ(BmpRefusal(Data("bmp_rle_13m_pixels_in_121_bytes.bmp")),
              QStringLiteral("画像ﾌｫｰﾏｯﾄが不正です"));
    // 2 x 2 pixels of 8-bit run-length: two runs of two, end of line, end of bitmap.
    QByteArray rle("BM", 2);
    auto put = [&rle](std::uint32_t v, int n) {
        for (int i = 0; i < n; ++i) rle.append(char(v >> (8 * i)));
    };
    put(14 + 40 + 8 + 10, 4), put(0, 4), put(14 + 40 + 8, 4);
    put(40, 4), put(2, 4), put(2, 4), put(1, 2), put(8, 2), put(1, 4), put(10, 4);
    put(0, 4), put(0, 4), put(2, 4), put(0, 4);
    put(0x0000FF, 4), put(0x00FF00, 4);  // palette: blue, green
    rle.append("\x02\x00\x00\x00\x02\x01\x00\x00\x00\x01", 10);
    const Bitmap picture = ReadBmp(rle.constData(), std::size_t(rle.size()));
    EXPECT_EQ(picture.Pixel(0, 1), RgbColour(0, 0, 255));  // bottom row first
    EXPECT_EQ(picture.Pixel(1, 0), RgbColour(0, 255, 0));
}

}  // namespace
