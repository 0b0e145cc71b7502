// What a document holds, buffer kind by buffer kind, and what a picture file's header says
// opening it takes, read without decoding.
#include <gtest/gtest.h>

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>

#include "document/document_memory.h"

namespace {

QByteArray Le16(int v) {
    return QByteArray(1, char(v & 0xFF)) + char((v >> 8) & 0xFF);
}
QByteArray Le32(int v) {
    return Le16(v & 0xFFFF) + Le16((v >> 16) & 0xFFFF);
}
QByteArray Be16(int v) {
    return QByteArray(1, char((v >> 8) & 0xFF)) + char(v & 0xFF);
}

// A bitmap file header and info header (40 bytes unless said), and no pixels: the probe reads
// no further.
QByteArray BmpHeader(int width, int height, int bits, int infoSize = 40) {
    return "BM" + Le32(0) + Le32(0) + Le32(14 + infoSize) + Le32(infoSize) + Le32(width) +
           Le32(height) + Le16(1) + Le16(bits) + QByteArray(infoSize - 16, '\0');
}

// A JPEG's start, a frame of three components with the given samplings and the first scan's
// header with its component count.
QByteArray JpegHeader(int frameMarker, int width, int height, const int sampling[3], int inScan) {
    QByteArray frame = QByteArray(1, char(8)) + Be16(height) + Be16(width) + char(3);
    for (int c = 0; c < 3; ++c) frame += QByteArray(1, char(c + 1)) + char(sampling[c]) + char(0);
    QByteArray scan(1, char(inScan));
    for (int c = 0; c < inScan; ++c) scan += QByteArray(1, char(c + 1)) + char(0);
    scan += QByteArray(3, '\0');
    return QByteArray("\xFF\xD8\xFF\xE0", 4) + Be16(6) + "JFIF" + "\xFF\xFF" + char(0xFF) +
           char(frameMarker) + Be16(frame.size() + 2) + frame + "\xFF\xDA" + Be16(scan.size() + 2) +
           scan;
}

QByteArray Be32(std::uint32_t v) {
    return Be16(int(v >> 16)) + Be16(int(v & 0xFFFF));
}

// A PNG's signature and header chunk (its checksum left zero: the probe does not read it).
QByteArray PngHeader(std::uint32_t width, std::uint32_t height, int depth, int colourType,
                     int interlace) {
    return QByteArray("\x89PNG\r\n\x1a\n", 8) + Be32(13) + "IHDR" + Be32(width) + Be32(height) +
           char(depth) + char(colourType) + char(0) + char(0) + char(interlace) + Be32(0);
}

QByteArray LayeredHeader(int version, int count, int height, int width) {
    return Le32(version) + Le32(count) + Le32(height) + Le32(width);
}

QString WriteFile(const QTemporaryDir& dir, const char* name, const QByteArray& bytes) {
    const QString path = dir.filePath(QLatin1String(name));
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    return path;
}

}  // namespace

TEST(DocumentMemory, EachBufferKindOfAUsedDocument) {
    // 4000 x 3000: rows of 12000 bytes, 36 MB a picture.
    const std::uint64_t picture = 36'000'000;
    EXPECT_EQ(PictureBytes(4000, 3000), picture);
    // Rows are padded to four bytes: 5 pixels take 16 bytes.
    EXPECT_EQ(PictureBytes(5, 2), 32u);
    const DocumentShape one{4000, 3000, 1};
    const DocumentShape three{4000, 3000, 3};
    EXPECT_EQ(LayerBytes(three), 3 * picture);
    EXPECT_EQ(PaintSurfaceBytes(three), picture);
    EXPECT_EQ(UndoPairBytes(three), 2 * picture);
    EXPECT_EQ(BelowCacheBytes(one), 0u);
    EXPECT_EQ(BelowCacheBytes(three), picture);
    EXPECT_EQ(WindowDocumentBytes(one), 4 * picture);
    EXPECT_EQ(WindowDocumentBytes(three), 7 * picture);
}

TEST(DocumentMemory, HeadersGiveTheShapeAndTheDecodersWork) {
    const int subsampled[3] = {0x22, 0x11, 0x11};
    const int full[3] = {0x11, 0x11, 0x11};
    const QByteArray coreHeader =
        "BM" + Le32(0) + Le32(0) + Le32(26) + Le32(12) + Le16(300) + Le16(200) + Le16(1) + Le16(24);
    const struct {
        const char* name;
        FileType type;
        QByteArray bytes;
        DocumentShape shape;
        // What the decoder holds beside the picture, less the file's own size.
        std::uint64_t work;
        // Whether the file is read whole.
        bool whole = true;
    } cases[] = {
        // Plain 24-bit rows go from the file into the picture: nothing beside it.
        {"a.bmp", FileType::Bmp, BmpHeader(1000, 500, 24), {1000, 500, 1}, 0, false},
        {"top-down.bmp", FileType::Bmp, BmpHeader(1000, -500, 24), {1000, 500, 1}, 0, false},
        {"core.bmp", FileType::Bmp, coreHeader, {300, 200, 1}, 0, false},
        {"56.bmp", FileType::Bmp, BmpHeader(300, 200, 24, 56), {300, 200, 1}, 0, false},
        // Others through Qt, which decodes to 32 bits a pixel; 16-bit rows need no conversion
        // after that.
        {"16.bmp", FileType::Bmp, BmpHeader(1000, 500, 16), {1000, 500, 1}, 4 * 500'000},
        // A palette picture: a byte a pixel, then converted to 32 bits.
        {"palette.bmp", FileType::Bmp, BmpHeader(100, 10, 8), {100, 10, 1}, 1000 + 4 * 1000},
        // A header Qt does not read is rewritten in a copy of the file: 56 bytes of header
        // and 14 of file header.
        {"56, 32 bits.bmp",
         FileType::Bmp,
         BmpHeader(300, 200, 32, 56),
         {300, 200, 1},
         70 + 4 * 60'000 + 4 * 60'000},
        // PNG: the inflated rows, each with its filter byte, and the data gathered from its
        // chunks (counted as the file's size again: 33 bytes here).
        {"a.png",
         FileType::Png,
         PngHeader(1000, 500, 8, 2, 0),
         {1000, 500, 1},
         500 * (1 + 3000) + 33},
        // 17 x 9, 16-bit RGBA interlaced: 153 pixels of 8 bytes in 19 rows over the 7 passes.
        {"i.png", FileType::Png, PngHeader(17, 9, 16, 6, 1), {17, 9, 1}, 153 * 8 + 19 + 33},
        // Baseline: the decoder keeps a few rows only.
        {"a.jpg", FileType::Jpeg, JpegHeader(0xC0, 17, 9, subsampled, 3), {17, 9, 1}, 0},
        // Progressive 4:2:0, 17 x 9: luminance 4 x 2 blocks (whole 2 x 2 units), each chroma
        // 2 x 1: 12 blocks of 128 bytes.
        {"p.jpg", FileType::Jpeg, JpegHeader(0xC2, 17, 9, subsampled, 3), {17, 9, 1}, 1536},
        // A first scan of one component of three: all coefficients kept, 3 x 2 blocks each.
        {"scans.jpg", FileType::Jpeg, JpegHeader(0xC1, 17, 9, full, 1), {17, 9, 1}, 2304},
        {"a.tav", FileType::Layered, LayeredHeader(30, 5, 300, 200), {200, 300, 5}, 1 << 20},
    };
    QTemporaryDir dir;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const PictureFileSize size = ProbePictureFile(WriteFile(dir, c.name, c.bytes), c.type);
        ASSERT_TRUE(size.Known);
        EXPECT_EQ(size.Shape.Width, c.shape.Width);
        EXPECT_EQ(size.Shape.Height, c.shape.Height);
        EXPECT_EQ(size.Shape.Layers, c.shape.Layers);
        const std::uint64_t fileBytes = c.whole && c.type != FileType::Layered ? c.bytes.size() : 0;
        EXPECT_EQ(size.DecodeBytes, fileBytes + c.work);
    }
}

TEST(DocumentMemory, HeadersThatSayNothingLeaveTheFileToItsReader) {
    const int subsampled[3] = {0x22, 0x11, 0x11};
    const QByteArray jpeg = JpegHeader(0xC0, 17, 9, subsampled, 3);
    const struct {
        const char* name;
        FileType type;
        QByteArray bytes;
    } cases[] = {
        {"empty.bmp", FileType::Bmp, QByteArray()},
        {"wide.bmp", FileType::Bmp, BmpHeader(40000, 10, 24)},
        {"none.bmp", FileType::Bmp, BmpHeader(0, 10, 24)},
        {"cut.png", FileType::Png, PngHeader(10, 10, 8, 2, 0).left(20)},
        {"wide.png", FileType::Png, PngHeader(40000, 10, 8, 2, 0)},
        {"type5.png", FileType::Png, PngHeader(10, 10, 8, 5, 0)},
        {"other.png", FileType::Png, "GIF89a" + PngHeader(10, 10, 8, 2, 0)},
        {"cut.jpg", FileType::Jpeg, jpeg.left(20)},
        {"other.jpg", FileType::Jpeg, "GIF89a" + jpeg},
        {"version.tav", FileType::Layered, LayeredHeader(31, 1, 10, 10)},
        {"layers.tav", FileType::Layered, LayeredHeader(30, 100, 10, 10)},
    };
    QTemporaryDir dir;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_FALSE(ProbePictureFile(WriteFile(dir, c.name, c.bytes), c.type).Known);
    }
    EXPECT_FALSE(ProbePictureFile(dir.path(), FileType::Bmp).Known);
    EXPECT_FALSE(
        ProbePictureFile(dir.filePath(QStringLiteral("missing.tav")), FileType::Layered).Known);
}
