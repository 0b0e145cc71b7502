// Windows bitmaps: the bytes we write, the variants other programs write, and broken files.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <functional>

#include "document/bmp_file.h"
#include "document/document_errors.h"

namespace {

using Rows = std::vector<std::vector<TColor>>;  // top row first

constexpr TColor kRed = RgbColour(255, 0, 0);
constexpr TColor kGreen = RgbColour(0, 255, 0);
constexpr TColor kBlue = RgbColour(0, 0, 255);
constexpr TColor kGrey = RgbColour(10, 20, 30);

void Put(QByteArray& b, std::uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) b.append(char(v >> (8 * i)));
}

// A BMP with a 40-byte info header in the form another program may choose: 8 bits with a
// palette, 24 or 32 bits, rows bottom-up or top-down.
QByteArray MakeBmp(int bits, bool topDown, const Rows& rows) {
    const int width = int(rows[0].size());
    const int height = int(rows.size());
    std::vector<TColor> palette;
    if (bits == 8)
        for (const auto& row : rows)
            for (TColor c : row)
                if (std::find(palette.begin(), palette.end(), c) == palette.end())
                    palette.push_back(c);
    const int rowBytes = ((width * bits + 31) / 32) * 4;
    const int offset = 54 + 4 * int(palette.size());
    QByteArray b("BM");
    Put(b, std::uint32_t(offset + rowBytes * height), 4);
    Put(b, 0, 4);
    Put(b, std::uint32_t(offset), 4);
    Put(b, 40, 4);
    Put(b, std::uint32_t(width), 4);
    Put(b, std::uint32_t(topDown ? -height : height), 4);
    Put(b, 1, 2);
    Put(b, std::uint32_t(bits), 2);
    for (int i = 0; i < 6; ++i) Put(b, i == 4 ? std::uint32_t(palette.size()) : 0, 4);
    for (TColor c : palette) Put(b, std::uint32_t(BlueOf(c) | GreenOf(c) << 8 | RedOf(c) << 16), 4);
    for (int i = 0; i < height; ++i) {
        const auto& row = rows[std::size_t(topDown ? i : height - 1 - i)];
        QByteArray line;
        for (TColor c : row) {
            if (bits == 8)
                line.append(char(std::find(palette.begin(), palette.end(), c) - palette.begin()));
            else
                Put(line, std::uint32_t(BlueOf(c) | GreenOf(c) << 8 | RedOf(c) << 16), bits / 8);
        }
        line.append(QByteArray(rowBytes - line.size(), '\0'));
        b.append(line);
    }
    return b;
}

Bitmap Picture(const Rows& rows) {
    Bitmap b(int(rows[0].size()), int(rows.size()));
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x) b.SetPixel(x, y, rows[std::size_t(y)][std::size_t(x)]);
    return b;
}

QByteArray Written(const Bitmap& picture) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    WriteBmp(buffer, picture);
    return bytes;
}

Bitmap Read(const QByteArray& bytes) {
    return ReadBmp(bytes.constData(), std::size_t(bytes.size()));
}

const Rows kThreeByTwo = {{kRed, kGreen, kBlue}, {kGrey, clBlack, clWhite}};

TEST(BmpWrite, TwentyFourBitsBottomRowFirstWithPaddedRows) {
    const Bitmap picture = Picture({{kRed, kGreen}, {kBlue, kGrey}});
    const QByteArray expected = QByteArray::fromHex(
        "424d"
        "46000000"
        "00000000"
        "36000000"  // file header, 70 bytes
        "28000000"
        "02000000"
        "02000000"
        "0100"
        "1800"
        "00000000"  // 2 x 2, 24 bits
        "10000000"
        "00000000"
        "00000000"
        "00000000"
        "00000000"
        "ff0000"
        "1e140a"
        "0000"  // bottom row: blue, grey
        "0000ff"
        "00ff00"
        "0000");  // top row: red, green
    EXPECT_EQ(Written(picture).toHex(), expected.toHex());
}

TEST(BmpRead, CommonVariantsGiveTheSamePicture) {
    const struct {
        int bits;
        bool topDown;
    } cases[] = {{8, false}, {8, true}, {24, false}, {24, true}, {32, false}, {32, true}};
    const Bitmap expected = Picture(kThreeByTwo);
    for (const auto& c : cases)
        EXPECT_TRUE(Read(MakeBmp(c.bits, c.topDown, kThreeByTwo)) == expected)
            << c.bits << " bits, top-down " << c.topDown;
    EXPECT_TRUE(Read(Written(expected)) == expected);
}

QString Refusal(const QByteArray& bytes) {
    try {
        Read(bytes);
    } catch (const UserError& e) {
        return e.Text();
    }
    return QStringLiteral("accepted");
}

QByteArray WithField(QByteArray b, int offset, std::uint32_t value, int size = 4) {
    for (int i = 0; i < size; ++i) b[offset + i] = char(value >> (8 * i));
    return b;
}

TEST(BmpRead, BrokenAndOversizedFilesAreRefused) {
    const QString invalid = QStringLiteral("画像ﾌｫｰﾏｯﾄが不正です");
    const QString large = PictureTooLarge().Text();
    const QByteArray good = MakeBmp(24, false, kThreeByTwo);
    const struct {
        const char* what;
        QByteArray bytes;
        QString message;
    } cases[] = {
        {"empty", QByteArray(), invalid},
        {"no BM", WithField(good, 0, 'X', 1), invalid},
        {"pixel rows cut short", good.left(good.size() - 1), invalid},
        {"width 0", WithField(good, 18, 0), invalid},
        {"width -3", WithField(good, 18, std::uint32_t(-3)), invalid},
        {"7 bits per pixel", WithField(good, 28, 7, 2), invalid},
        {"width 40000", WithField(good, 18, 40000), large},
        {"height -40000 (top-down)", WithField(good, 22, std::uint32_t(-40000)), large},
        {"garbage palette picture", WithField(MakeBmp(8, false, kThreeByTwo), 46, 0x7FFFFFFF),
         invalid},
    };
    for (const auto& c : cases) EXPECT_EQ(Refusal(c.bytes), c.message) << c.what;
}

// A 2 x 2 bitmap with an info header of any size (16 to 56 bytes: OS/2's from 16, Windows'
// 40, 52 and 56), whose pixels are given as the numbers each row holds, top row first. The
// count of palette colours is written where the header has room for it.
QByteArray HeaderBmp(int infoSize, int bits, std::uint32_t compression,
                     const std::vector<std::uint32_t>& masks,
                     const std::vector<std::uint32_t>& palette,
                     const std::vector<std::vector<std::uint32_t>>& rows) {
    QByteArray info;
    Put(info, std::uint32_t(infoSize), 4);
    Put(info, 2, 4), Put(info, 2, 4), Put(info, 1, 2), Put(info, std::uint32_t(bits), 2);
    Put(info, compression, 4);
    for (int i = 0; i < 5; ++i) Put(info, i == 3 ? std::uint32_t(palette.size()) : 0, 4);
    for (std::uint32_t m : masks) Put(info, m, 4);  // in a 52- or 56-byte header, or after 40
    info.append(QByteArray(std::max(0, infoSize - int(info.size())), '\0'));
    if (infoSize < 40) info.truncate(infoSize);
    QByteArray body;
    for (std::uint32_t c : palette) Put(body, c, 4);
    const int offset = 14 + int(info.size()) + int(body.size());
    for (int y = 1; y >= 0; --y) {
        QByteArray line;
        for (std::uint32_t v : rows[std::size_t(y)]) Put(line, v, bits / 8 ? bits / 8 : 1);
        line.append(QByteArray((4 - line.size() % 4) % 4, '\0'));
        body.append(line);
    }
    QByteArray b("BM");
    Put(b, std::uint32_t(14 + info.size() + body.size()), 4);
    Put(b, 0, 4);
    Put(b, std::uint32_t(offset), 4);
    return b + info + body;
}

// Channels of fewer than 8 bits are spread over 0 to 255, rounded: 31 (5 bits) and 63 (6 bits)
// are 255, 16 of 31 is 132, 3 of 31 is 25, 32 of 63 is 130.
TEST(BmpRead, SixteenBitChannelsSpanTheFullRange) {
    const auto rgb555 = [](int r, int g, int b) { return std::uint32_t(r << 10 | g << 5 | b); };
    const auto rgb565 = [](int r, int g, int b) { return std::uint32_t(r << 11 | g << 5 | b); };
    const std::vector<std::uint32_t> fields565 = {0xF800, 0x07E0, 0x001F};
    const struct {
        const char* what;
        QByteArray bytes;
    } cases[] = {
        {"5-5-5", HeaderBmp(40, 16, 0, {}, {},
                            {{rgb555(31, 31, 31), rgb555(16, 16, 16)},
                             {rgb555(3, 31, 0), rgb555(0, 0, 0)}})},
        {"5-6-5 bit fields", HeaderBmp(40, 16, 3, fields565, {},
                                       {{rgb565(31, 63, 31), rgb565(16, 32, 16)},
                                        {rgb565(3, 63, 0), rgb565(0, 0, 0)}})},
    };
    for (const auto& c : cases) {
        const Bitmap picture = Read(c.bytes);
        EXPECT_EQ(picture.Pixel(0, 0), clWhite) << c.what;
        EXPECT_EQ(GreenOf(picture.Pixel(1, 0)), c.what[2] == '6' ? 130 : 132) << c.what;
        EXPECT_EQ(RedOf(picture.Pixel(1, 0)), 132) << c.what;
        EXPECT_EQ(picture.Pixel(0, 1), RgbColour(25, 255, 0)) << c.what;
        EXPECT_EQ(picture.Pixel(1, 1), clBlack) << c.what;
    }
}

// Headers other programs write besides the common ones: Windows' 52 and 56 bytes (bit fields
// inside the header) and OS/2's 16 bytes (the rest of its fields zero).
TEST(BmpRead, FiftyTwoFiftySixAndOs2SixteenByteHeadersAreRead) {
    const auto bgr = [](TColor c) {
        return std::uint32_t(BlueOf(c) | GreenOf(c) << 8 | RedOf(c) << 16);
    };
    const std::vector<std::vector<std::uint32_t>> colours = {{bgr(kRed), bgr(kGreen)},
                                                             {bgr(kBlue), bgr(kGrey)}};
    const std::vector<std::uint32_t> fields = {0xF800, 0x07E0, 0x001F};
    // Pure red, green and blue in 5-6-5 and black.
    const std::vector<std::vector<std::uint32_t>> packed = {{0xF800, 0x07E0}, {0x001F, 0}};
    const std::vector<std::uint32_t> palette = {bgr(kRed), bgr(kGreen), bgr(kBlue), bgr(kGrey)};
    const std::vector<std::vector<std::uint32_t>> indices = {{0, 1}, {2, 3}};
    // With no count of colours, a palette has an entry for every value.
    std::vector<std::uint32_t> fullPalette = palette;
    fullPalette.resize(256);
    const Bitmap expected = Picture({{kRed, kGreen}, {kBlue, kGrey}});
    const Bitmap primaries = Picture({{kRed, kGreen}, {kBlue, clBlack}});
    const struct {
        const char* what;
        QByteArray bytes;
        const Bitmap& picture;
    } cases[] = {
        {"52, 24 bits", HeaderBmp(52, 24, 0, {0, 0, 0}, {}, colours), expected},
        {"56, 24 bits", HeaderBmp(56, 24, 0, {0, 0, 0, 0}, {}, colours), expected},
        {"52, 16-bit fields", HeaderBmp(52, 16, 3, fields, {}, packed), primaries},
        {"56, 16-bit fields", HeaderBmp(56, 16, 3, {0xF800, 0x07E0, 0x001F, 0}, {}, packed),
         primaries},
        {"56, 8-bit palette", HeaderBmp(56, 8, 0, {0, 0, 0, 0}, palette, indices), expected},
        {"OS/2 16, 24 bits", HeaderBmp(16, 24, 0, {}, {}, colours), expected},
        {"OS/2 16, 8-bit palette", HeaderBmp(16, 8, 0, {}, fullPalette, indices), expected},
    };
    for (const auto& c : cases) {
        QString refusal;
        Bitmap picture;
        try {
            picture = Read(c.bytes);
        } catch (const UserError& e) {
            refusal = e.Text();
        }
        EXPECT_TRUE(refusal.isEmpty()) << c.what << ": " << refusal.toStdString();
        EXPECT_TRUE(picture == c.picture) << c.what;
    }
}

// A 24-bit bitmap with any header (12, 16 to 40, 52, 56, 108 or 124 bytes): rows of colours
// that differ everywhere, bottom-up for a positive height; gap bytes between the headers and
// the pixels (a palette nobody needs, say); junk in the fields a 24-bit picture does not use.
QByteArray Plain24(int infoSize, int width, int height, int gap = 0, int planes = 1,
                   std::uint32_t colours = 0) {
    QByteArray info;
    Put(info, std::uint32_t(infoSize), 4);
    if (infoSize == 12) {
        Put(info, std::uint32_t(width), 2), Put(info, std::uint32_t(height), 2);
    } else {
        Put(info, std::uint32_t(width), 4), Put(info, std::uint32_t(height), 4);
    }
    Put(info, std::uint32_t(planes), 2), Put(info, 24, 2);
    Put(info, 0, 4);  // no compression
    for (int i = 0; i < 5; ++i) Put(info, i == 3 ? colours : 0x1234, 4);
    while (info.size() < infoSize) Put(info, 0x00FF00FFu, 4);  // masks, colour space, ...
    info.truncate(infoSize);
    const int rowBytes = (width * 3 + 3) & ~3;
    const int rows = std::abs(height);
    QByteArray pixels;
    for (int r = 0; r < rows; ++r)
        for (int i = 0; i < rowBytes; ++i) pixels.append(char(i < width * 3 ? r * 31 + i * 7 : 0));
    const std::uint32_t offset = std::uint32_t(14 + infoSize + gap);
    QByteArray b("BM");
    Put(b, offset + std::uint32_t(pixels.size()), 4);
    Put(b, 0, 4);
    Put(b, offset, 4);
    return b + info + QByteArray(gap, char(0xAB)) + pixels;
}

std::string Outcome(const std::function<Bitmap()>& read) {
    try {
        const Bitmap b = read();
        std::string s = std::to_string(b.Width()) + "x" + std::to_string(b.Height()) + ":";
        for (int y = 0; y < b.Height(); ++y)
            for (int x = 0; x < b.Width(); ++x) s += std::to_string(b.Pixel(x, y)) + " ";
        return s;
    } catch (const UserError& e) {
        return e.Text().toStdString();
    }
}

// Plain 24-bit files are copied row by row, from memory and straight from the file, without
// Qt's reader: each must give exactly the pixels (or the refusal) Qt's reader gives.
TEST(BmpRead, PlainTwentyFourBitFilesGiveTheGeneralReadersPixels) {
    QTemporaryDir dir;
    std::vector<std::pair<std::string, QByteArray>> cases = {
        {"40, bottom-up", Plain24(40, 5, 3)},
        {"40, top-down", Plain24(40, 5, -3)},
        {"40, width 1", Plain24(40, 1, 2)},
        {"40, width 2", Plain24(40, 2, 2)},
        {"40, width 3", Plain24(40, 3, 2)},
        {"40, width 4", Plain24(40, 4, 2)},
        {"12, the core header", Plain24(12, 3, 2)},
        {"16, OS/2", Plain24(16, 3, 2)},
        {"24, OS/2", Plain24(24, 3, -2)},
        {"52", Plain24(52, 3, 2)},
        {"56", Plain24(56, 3, -2)},
        {"108", Plain24(108, 3, 2)},
        {"124", Plain24(124, 6, -4)},
        {"a gap before the pixels", Plain24(40, 3, 2, 10)},
        {"a palette count and its palette", Plain24(40, 3, 2, 16, 1, 4)},
        {"two planes", Plain24(40, 3, 2, 0, 2)},
        {"64, a header Qt does not read", Plain24(64, 3, 2)},
        {"rows cut short", Plain24(40, 3, 2).chopped(1)},
    };
    // The pixels' offset inside the headers: Qt reads them from where the headers end.
    QByteArray inside = Plain24(40, 3, 2, 4);
    inside[10] = char(40);
    cases.push_back({"an offset inside the header", inside});
    for (const QString& name : QDir(QStringLiteral(KASUMIRO_TEST_DATA)).entryList({"*.bmp"})) {
        QFile file(QStringLiteral(KASUMIRO_TEST_DATA "/") + name);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        cases.push_back({name.toStdString(), file.readAll()});
    }
    for (const auto& [what, bytes] : cases) {
        SCOPED_TRACE(what);
        const QString path = dir.filePath(QStringLiteral("case.bmp"));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
        file.close();
        const std::string qt =
            Outcome([&] { return ReadBmpWithQt(bytes.constData(), std::size_t(bytes.size())); });
        EXPECT_EQ(Outcome([&] { return Read(bytes); }), qt);
        EXPECT_EQ(Outcome([&] { return ReadBmpFile(path); }), qt);
    }
}

}  // namespace
