// PNG files: what we write, every form another program writes, and the files we refuse.
//
// The pixels a file should give are worked out here, from the format's rules, by a decoder of
// our own (inflating with Qt's zlib), or by hand; the reader under test shares no code with it.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QFile>
#include <cmath>
#include <cstdint>
#include <vector>

#include "document/document_errors.h"
#include "document/png_file.h"

namespace {

// ---- The format, as the test reads it ----

std::uint32_t Crc(const QByteArray& bytes) {
    std::uint32_t crc = 0xFFFFFFFFu;
    for (char c : bytes) {
        crc ^= std::uint8_t(c);
        for (int k = 0; k < 8; ++k) crc = crc & 1 ? (crc >> 1) ^ 0xEDB88320u : crc >> 1;
    }
    return ~crc;
}

QByteArray Be32(std::uint32_t v) {
    const char bytes[] = {char(v >> 24), char(v >> 16), char(v >> 8), char(v)};
    return QByteArray(bytes, 4);
}

std::uint32_t Be32At(const QByteArray& b, qsizetype at) {
    return std::uint32_t(std::uint8_t(b[at])) << 24 | std::uint32_t(std::uint8_t(b[at + 1])) << 16 |
           std::uint32_t(std::uint8_t(b[at + 2])) << 8 | std::uint8_t(b[at + 3]);
}

QByteArray Chunk(const char* type, const QByteArray& data) {
    const QByteArray body = QByteArray(type, 4) + data;
    return Be32(std::uint32_t(data.size())) + body + Be32(Crc(body));
}

const QByteArray kSignature("\x89PNG\r\n\x1a\n", 8);

QByteArray Header(std::uint32_t width, std::uint32_t height, int depth, int colourType,
                  int interlace = 0) {
    const char rest[] = {char(depth), char(colourType), 0, 0, char(interlace)};
    return Chunk("IHDR", Be32(width) + Be32(height) + QByteArray(rest, 5));
}

// A zlib stream of the bytes (Qt's compression, behind its four-byte length).
QByteArray Zlib(const QByteArray& bytes, int level = 6) {
    return qCompress(bytes, level).mid(4);
}

// A PNG of rows already filtered (each with its filter byte), with other chunks before the data.
QByteArray Png(const QByteArray& header, const QByteArray& rows, const QByteArray& before = {}) {
    return kSignature + header + before + Chunk("IDAT", Zlib(rows)) + Chunk("IEND", {});
}

struct Chunks {
    QByteArray header, palette, transparency, data;
    bool checksumsHold = true;
    QStringList order;
};

Chunks Walk(const QByteArray& file) {
    Chunks c;
    for (qsizetype at = 8; at + 12 <= file.size();) {
        const qsizetype length = qsizetype(Be32At(file, at));
        const QByteArray type = file.mid(at + 4, 4);
        const QByteArray data = file.mid(at + 8, length);
        c.checksumsHold = c.checksumsHold && Crc(type + data) == Be32At(file, at + 8 + length);
        c.order << QString::fromLatin1(type);
        if (type == "IHDR") c.header = data;
        if (type == "PLTE") c.palette = data;
        if (type == "tRNS") c.transparency = data;
        if (type == "IDAT") c.data += data;
        at += 12 + length;
    }
    return c;
}

// What a sample means on the screen: 8 bits from any depth, rounded; a colour with alpha laid
// over white, rounded.
int To8Bits(int sample, int depth) {
    return int(std::lround(sample * 255.0 / ((1 << depth) - 1)));
}
int OnWhite(int channel8, int alpha8) {
    return int(std::floor((channel8 * alpha8 + 255.0 * (255 - alpha8)) / 255.0 + 0.5));
}

// The picture a PNG file shows, decoded the slow, plain way.
Bitmap Decode(const QByteArray& file) {
    const Chunks c = Walk(file);
    const int width = int(Be32At(c.header, 0)), height = int(Be32At(c.header, 4));
    const int depth = std::uint8_t(c.header[8]), type = std::uint8_t(c.header[9]);
    const bool interlaced = c.header[12] == 1;
    const int channels = type == 0 || type == 3 ? 1 : type == 2 ? 3 : type == 4 ? 2 : 4;
    const int bits = channels * depth;
    const int bpp = std::max(1, bits / 8);
    QByteArray data = qUncompress(Be32(std::uint32_t(width * height * 8 + height * 8)) + c.data);
    Bitmap picture(width, height);
    qsizetype at = 0;
    struct Pass {
        int x0, y0, dx, dy;
    };
    const std::vector<Pass> passes =
        interlaced ? std::vector<Pass>{{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4},
                                       {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}}
                   : std::vector<Pass>{{0, 0, 1, 1}};
    for (const Pass& p : passes) {
        const int columns = (width - p.x0 + p.dx - 1) / p.dx;
        const int rows = (height - p.y0 + p.dy - 1) / p.dy;
        if (columns <= 0 || rows <= 0) continue;
        const int length = (columns * bits + 7) / 8;
        std::vector<int> prior(std::size_t(length), 0);
        for (int r = 0; r < rows; ++r) {
            const int filter = std::uint8_t(data[at]);
            std::vector<int> row(static_cast<std::size_t>(length));
            for (int i = 0; i < length; ++i) {
                const int x = std::uint8_t(data[at + 1 + i]);
                const int a = i >= bpp ? row[std::size_t(i - bpp)] : 0;
                const int b = prior[std::size_t(i)];
                const int cc = i >= bpp ? prior[std::size_t(i - bpp)] : 0;
                int predicted = 0;
                if (filter == 1) predicted = a;
                if (filter == 2) predicted = b;
                if (filter == 3) predicted = (a + b) / 2;
                if (filter == 4) {
                    const int e = a + b - cc;
                    const int pa = std::abs(e - a), pb = std::abs(e - b), pc = std::abs(e - cc);
                    predicted = pa <= pb && pa <= pc ? a : pb <= pc ? b : cc;
                }
                row[std::size_t(i)] = (x + predicted) % 256;
            }
            at += 1 + length;
            const auto sample = [&](int index) {  // the index-th sample of the row
                if (depth == 16)
                    return row[std::size_t(2 * index)] * 256 + row[std::size_t(2 * index + 1)];
                const int bit = index * depth;
                return (row[std::size_t(bit / 8)] >> (8 - depth - bit % 8)) & ((1 << depth) - 1);
            };
            for (int n = 0; n < columns; ++n) {
                int s[4] = {};
                for (int k = 0; k < channels; ++k) s[k] = sample(n * channels + k);
                int r8, g8, b8, a8 = 255;
                if (type == 3) {
                    r8 = std::uint8_t(c.palette[3 * s[0]]);
                    g8 = std::uint8_t(c.palette[3 * s[0] + 1]);
                    b8 = std::uint8_t(c.palette[3 * s[0] + 2]);
                    if (s[0] < c.transparency.size()) a8 = std::uint8_t(c.transparency[s[0]]);
                } else if (type == 0 || type == 4) {
                    r8 = g8 = b8 = To8Bits(s[0], depth);
                    if (type == 4) a8 = To8Bits(s[1], depth);
                    if (type == 0 && c.transparency.size() == 2 &&
                        s[0] == int(Be32At(QByteArray(2, 0) + c.transparency, 0)))
                        a8 = 0;
                } else {
                    r8 = To8Bits(s[0], depth), g8 = To8Bits(s[1], depth), b8 = To8Bits(s[2], depth);
                    if (type == 6) a8 = To8Bits(s[3], depth);
                    if (type == 2 && c.transparency.size() == 6) {
                        const QByteArray& t = c.transparency;
                        const auto key = [&t](int k) {
                            return std::uint8_t(t[2 * k]) * 256 + std::uint8_t(t[2 * k + 1]);
                        };
                        if (s[0] == key(0) && s[1] == key(1) && s[2] == key(2)) a8 = 0;
                    }
                }
                picture.SetPixel(p.x0 + n * p.dx, p.y0 + r * p.dy,
                                 RgbColour(OnWhite(r8, a8), OnWhite(g8, a8), OnWhite(b8, a8)));
            }
            prior = row;
        }
    }
    return picture;
}

// ---- Helpers ----

QByteArray Data(const QString& name) {
    QFile file(QStringLiteral(KASUMIRO_TEST_DATA "/png/") + name);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name.toStdString();
    return file.readAll();
}

Bitmap Read(const QByteArray& bytes) {
    return ReadPng(bytes.constData(), std::size_t(bytes.size()));
}

QString Outcome(const QByteArray& bytes) {
    try {
        Read(bytes);
    } catch (const UserError& e) {
        return e.Text();
    }
    return QStringLiteral("accepted");
}

QByteArray Written(const Bitmap& picture) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    WritePng(buffer, picture);
    return bytes;
}

// A picture whose rows suit each of the five filters in turn: flat, a ramp across, the row
// above again, a smooth blend, and noise.
Bitmap Varied(int width, int height) {
    Bitmap b(width, height);
    std::uint32_t seed = 7;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            seed = seed * 1103515245u + 12345u;
            const int noise = int(seed >> 24);
            switch (y % 5) {
                case 0:
                    b.SetPixel(x, y, RgbColour(40, 90, 200));
                    break;
                case 1:
                    b.SetPixel(x, y, RgbColour(x * 7, x * 3, 255 - x));
                    break;
                case 2:
                    b.SetPixel(x, y, b.Pixel(x, y - 1));
                    break;
                case 3:
                    b.SetPixel(x, y, RgbColour(x + y, 2 * x + y, 3 * y));
                    break;
                default:
                    b.SetPixel(x, y, RgbColour(noise, noise * 3, noise * 7));
            }
        }
    return b;
}

std::string Hex(const Bitmap& b) {
    std::string s;
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x)
            s += QString::number(b.Pixel(x, y), 16).rightJustified(6, '0').toStdString() + " ";
    return s;
}

// ---- Writing ----

// Our files are 8-bit RGB, not interlaced, in well-formed chunks; any decoder reads them as the
// picture they were made from, and so does ours.
TEST(PngWrite, RgbFilesThatReadBackAsThePicture) {
    for (const Bitmap& picture : {Varied(1, 1), Varied(5, 3), Varied(258, 21), Bitmap(3, 2)}) {
        const QByteArray bytes = Written(picture);
        SCOPED_TRACE(std::to_string(picture.Width()) + " x " + std::to_string(picture.Height()));
        EXPECT_TRUE(bytes.startsWith(kSignature));
        const Chunks c = Walk(bytes);
        EXPECT_TRUE(c.checksumsHold);
        EXPECT_EQ(c.order.first(), QStringLiteral("IHDR"));
        EXPECT_EQ(c.order.last(), QStringLiteral("IEND"));
        EXPECT_EQ(c.header.toHex(),
                  (Be32(std::uint32_t(picture.Width())) + Be32(std::uint32_t(picture.Height())) +
                   QByteArray("\x08\x02\x00\x00\x00", 5))
                      .toHex());
        EXPECT_EQ(Hex(Decode(bytes)), Hex(picture));
        EXPECT_TRUE(Read(bytes) == picture);
    }
}

// ---- Reading ----

// Every colour type, bit depth and interlacing, as ImageMagick writes them (make_variants.sh
// beside them), and forms made here: transparency of every kind laid over white, 16-bit samples
// rounded to 8 bits, chunks we skip.
TEST(PngRead, EveryVariantGivesTheDecodedPicture) {
    // Grey 16-bit samples around the rounding points: 128 / 257 rounds to 0, 129 / 257 to 1,
    // 32896 / 257 is 128 exactly, 65535 is 255.
    const QByteArray grey16 = Png(Header(4, 1, 16, 0), QByteArray::fromHex("00"
                                                                           "0080"
                                                                           "0081"
                                                                           "8080"
                                                                           "ffff"));
    // A palette whose entries are clear, half clear and opaque (and a fourth without alpha).
    const QByteArray palette = Png(Header(4, 1, 2, 3),
                                   QByteArray::fromHex("00"
                                                       "1b"),  // indices 0, 1, 2, 3
                                   Chunk("PLTE", QByteArray::fromHex("ff0000"
                                                                     "00ff00"
                                                                     "0000ff"
                                                                     "102030")) +
                                       Chunk("tRNS", QByteArray::fromHex("00"
                                                                         "80"
                                                                         "ff")));
    // A 16-bit RGB key: only the exact 16-bit colour is clear, not its 8-bit neighbour.
    const QByteArray rgbKey16 = Png(Header(2, 1, 16, 2),
                                    QByteArray::fromHex("00"
                                                        "123456789abc"
                                                        "123456789abd"),
                                    Chunk("tRNS", QByteArray::fromHex("123456789abc")));
    // A 2-bit grey key, and chunks nobody needs: an unknown ancillary one, a gamma.
    const QByteArray greyKey2 =
        Png(Header(4, 1, 2, 0),
            QByteArray::fromHex("00"
                                "1b"),
            Chunk("gAMA", Be32(100000)) + Chunk("tRNS", QByteArray::fromHex("0001")) +
                Chunk("zzZz", "anything"));
    // The data split over three chunks, one of them empty.
    const QByteArray rows = QByteArray::fromHex(
        "01"
        "102030"
        "010101"
        "02"
        "000000"
        "101010");
    const QByteArray stream = Zlib(rows);
    const QByteArray split = kSignature + Header(2, 2, 8, 2) + Chunk("IDAT", stream.left(5)) +
                             Chunk("IDAT", {}) + Chunk("IDAT", stream.mid(5)) + Chunk("IEND", {});
    const struct {
        const char* what;
        QByteArray bytes;
        const char* pixels;  // by hand, or nullptr for the test's decoder
    } cases[] = {
        {"grey1.png", Data("grey1.png"), nullptr},
        {"grey2.png", Data("grey2.png"), nullptr},
        {"grey4.png", Data("grey4.png"), nullptr},
        {"grey8.png", Data("grey8.png"), nullptr},
        {"grey16.png", Data("grey16.png"), nullptr},
        {"grey8_key.png", Data("grey8_key.png"), nullptr},
        {"greyalpha8.png", Data("greyalpha8.png"), nullptr},
        {"greyalpha16.png", Data("greyalpha16.png"), nullptr},
        {"palette1.png", Data("palette1.png"), nullptr},
        {"palette2.png", Data("palette2.png"), nullptr},
        {"palette4.png", Data("palette4.png"), nullptr},
        {"palette8.png", Data("palette8.png"), nullptr},
        {"rgb8.png", Data("rgb8.png"), nullptr},
        {"rgb8_key.png", Data("rgb8_key.png"), nullptr},
        {"rgb16.png", Data("rgb16.png"), nullptr},
        {"rgba8.png", Data("rgba8.png"), nullptr},
        {"rgba16.png", Data("rgba16.png"), nullptr},
        {"grey1_interlaced.png", Data("grey1_interlaced.png"), nullptr},
        {"palette4_interlaced.png", Data("palette4_interlaced.png"), nullptr},
        {"rgb16_interlaced.png", Data("rgb16_interlaced.png"), nullptr},
        {"rgba8_interlaced.png", Data("rgba8_interlaced.png"), nullptr},
        {"greyalpha16_interlaced.png", Data("greyalpha16_interlaced.png"), nullptr},
        {"16-bit grey rounded", grey16, "000000 010101 808080 ffffff "},
        // Red over white at alpha 0 is white; green at 128: (255 * 128 + 255 * 127 + 127) / 255.
        {"palette alpha", palette, "ffffff 7fff7f ff0000 302010 "},
        {"16-bit colour key", rgbKey16, "ffffff 9a5612 "},
        {"2-bit grey key", greyKey2, "000000 ffffff aaaaaa ffffff "},
        {"data in three chunks", split, "302010 312111 302010 413121 "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Bitmap picture;
        ASSERT_NO_THROW(picture = Read(c.bytes));
        EXPECT_EQ(Hex(picture), c.pixels ? std::string(c.pixels) : Hex(Decode(c.bytes)));
    }
    // The files are the forms their names say.
    const struct {
        const char* name;
        int depth, type, interlace;
    } forms[] = {{"grey1.png", 1, 0, 0},
                 {"grey16.png", 16, 0, 0},
                 {"greyalpha16.png", 16, 4, 0},
                 {"palette2.png", 2, 3, 0},
                 {"rgb8_key.png", 8, 2, 0},
                 {"rgba16.png", 16, 6, 0},
                 {"rgb16_interlaced.png", 16, 2, 1}};
    for (const auto& f : forms) {
        const Chunks c = Walk(Data(QLatin1String(f.name)));
        const char form[] = {char(f.depth), char(f.type), 0, 0, char(f.interlace)};
        EXPECT_EQ(c.header.mid(8, 5).toHex(), QByteArray(form, 5).toHex()) << f.name;
        EXPECT_TRUE(c.checksumsHold) << f.name;
    }
    EXPECT_FALSE(Walk(Data("palette4.png")).transparency.isEmpty());
    EXPECT_FALSE(Walk(Data("grey8_key.png")).transparency.isEmpty());
}

QByteArray Replaced(QByteArray b, qsizetype at, const QByteArray& with) {
    return b.replace(at, with.size(), with);
}

TEST(PngRead, BrokenForgedAndOversizedFilesAreRefused) {
    const QString invalid = InvalidPictureFormat().Text();
    const QString large = PictureTooLarge().Text();
    const QString cut = ReadBeyondEnd().Text();
    const QByteArray rgb = QByteArray::fromHex(
        "00"
        "ff0000"
        "00ff00");
    const QByteArray good = Png(Header(2, 1, 8, 2), rgb);
    const qsizetype data = good.indexOf("IDAT") - 4;  // where the data chunk starts
    // 10 MB of zeros for a one-pixel picture: a few kilobytes that inflate without end.
    const QByteArray bomb = Png(Header(1, 1, 8, 2), QByteArray(10 << 20, '\0'));
    const struct {
        const char* what;
        QByteArray bytes;
        QString refusal;
    } cases[] = {
        {"empty", QByteArray(), invalid},
        {"not a PNG", Written(Bitmap(1, 1)).replace(1, 3, "BMP"), invalid},
        {"header checksum wrong", Replaced(good, 8 + 8 + 13, QByteArray(4, '\0')), invalid},
        {"data checksum wrong", Replaced(good, good.size() - 16, "XXXX"), invalid},
        {"an ancillary chunk's data changed",
         Replaced(Png(Header(2, 1, 8, 2), rgb, Chunk("tEXt", QByteArray("a\0b", 3))), 8 + 25 + 8,
                  "c"),
         invalid},
        {"cut inside the data", good.left(data + 10), cut},
        {"no end chunk", good.left(good.size() - 12), cut},
        {"no data", kSignature + Header(2, 1, 8, 2) + Chunk("IEND", {}), invalid},
        {"data before the header", kSignature + Chunk("IDAT", Zlib(rgb)) + Header(2, 1, 8, 2),
         invalid},
        {"4-bit RGB", Png(Header(2, 1, 4, 2), rgb), invalid},
        {"colour type 5", Png(Header(2, 1, 8, 5), rgb), invalid},
        {"interlace method 2", Png(Header(2, 1, 8, 2, 2), rgb), invalid},
        {"width 0", Png(Header(0, 1, 8, 2), rgb), invalid},
        {"palette picture without a palette", Png(Header(2, 1, 8, 3), QByteArray(3, '\0')),
         invalid},
        {"an unknown critical chunk", Png(Header(2, 1, 8, 2), rgb, Chunk("SPAM", "x")), invalid},
        {"a chunk length past 2^31", Replaced(good, data, Be32(0x80000010u)), invalid},
        {"filter type 5", Png(Header(2, 1, 8, 2), QByteArray::fromHex("05ff000000ff00")), invalid},
        {"data short of the header's rows", Png(Header(2, 2, 8, 2), rgb), invalid},
        {"data past the header's rows", Png(Header(2, 1, 8, 2), rgb + rgb), invalid},
        {"a bomb", bomb, invalid},
        {"10000 x 10000 in a few bytes", Png(Header(10000, 10000, 8, 2), rgb), invalid},
        {"width 40000", Png(Header(40000, 1, 8, 2), rgb), large},
        {"height 2^31 - 1", Png(Header(1, 0x7FFFFFFF, 8, 2), rgb), large},
    };
    EXPECT_LT(bomb.size(), 20 * 1024);
    for (const auto& c : cases) EXPECT_EQ(Outcome(c.bytes), c.refusal) << c.what;
}

}  // namespace
