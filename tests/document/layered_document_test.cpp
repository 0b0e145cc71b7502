// The layered document's bytes, read back, and the files the reader must refuse.
#include <gtest/gtest.h>

#include <QBuffer>

#include "document/document_errors.h"
#include "document/layered_document.h"
#include "platform/wide_rows.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

const QString kName1 = QStringLiteral("新規レイヤ1");
constexpr TColor kA = 0x030201;
constexpr TColor kB = 0x060504;
constexpr TColor kC = 0x090807;
constexpr TColor kD = 0x0C0B0A;

struct RecordedProgress : FileProgress {
    QStringList captions;
    int minimum = -1, maximum = -1, position = -1, steps = 0;
    void SetCaption(const QString& c) override { captions << c; }
    void SetProgressRange(int lo, int hi) override { minimum = lo, maximum = hi; }
    void SetProgressPosition(int p) override { position = p, ++steps; }
};

LayerSource Shown(const Bitmap& picture, const QString& name = kName1, TColor key = clWhite) {
    return {key, QStringLiteral("○"), name, &picture};
}

QByteArray Write(int width, int height, const std::vector<LayerSource>& layers,
                 FileProgress* progress = nullptr) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    WriteLayeredDocument(buffer, width, height, layers, progress);
    return bytes;
}

LayeredDocument Read(const QByteArray& bytes) {
    return ReadLayeredDocument(bytes.constData(), std::size_t(bytes.size()));
}

Bytes Int(std::uint32_t v) {
    return {std::uint8_t(v), std::uint8_t(v >> 8), std::uint8_t(v >> 16), std::uint8_t(v >> 24)};
}

Bytes Join(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& p : parts) all.insert(all.end(), p.begin(), p.end());
    return all;
}

Bytes Cells(std::initializer_list<std::uint32_t> values) {
    Bytes all;
    for (std::uint32_t v : values) all = Join({all, Int(v)});
    return all;
}

Bytes AsBytes(const QByteArray& b) {
    return Bytes(b.begin(), b.end());
}

const Bytes kShownMark = {3, 0, 0, 0, 0x81, 0x9B, 0};
const Bytes kDefaultName = {12,   0,    0,    0,    0x90, 0x56, 0x8B, 0x4B,
                            0x83, 0x8C, 0x83, 0x43, 0x83, 0x84, 0x31, 0};

TEST(LayeredDocumentWrite, TwoByTwoExampleIsSeventyNineBytes) {
    const Bitmap white(2, 2);
    // Nine cells; only (1, 1) is interior. The cells before it carry the starting zero.
    const Bytes expected =
        Join({Int(30), Int(1), Int(2), Int(2), Int(0xFFFFFF),
              Cells({0, 0, 0, 0, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF}), kShownMark,
              kDefaultName});
    EXPECT_EQ(AsBytes(Write(2, 2, {Shown(white)})), expected);
    EXPECT_EQ(expected.size(), 79u);
}

TEST(LayeredDocumentWrite, BorderCellsCarryTheLastInteriorValueAcrossLayers) {
    // 3 x 2: interior cells are (1, 1) and (2, 1) only.
    Bitmap lower(3, 2), upper(3, 2);
    lower.SetPixel(1, 1, kA);
    lower.SetPixel(2, 1, kB);
    lower.SetPixel(0, 0, kD);  // column 0 and row 0 are not kept
    upper.SetPixel(1, 1, kC);
    upper.SetPixel(2, 1, kD);
    const Bytes hidden = {3, 0, 0, 0, 0x81, 0x7E, 0};
    const Bytes emptyName = {1, 0, 0, 0, 0};
    const Bytes expected =
        Join({Int(30), Int(2), Int(2), Int(3), Int(0xFF),
              Cells({0, 0, 0, 0, kA, kA, kA, kB, kB, kB, kB, kB}), kShownMark, kDefaultName,
              Int(0x01000000), Cells({kB, kB, kB, kB, kC, kC, kC, kD, kD, kD, kD, kD}), hidden,
              emptyName});
    const std::vector<LayerSource> layers = {Shown(lower, kName1, 0xFF),
                                             {0x01000000, QStringLiteral("×"), QString(), &upper}};
    EXPECT_EQ(AsBytes(Write(3, 2, layers)), expected);
}

TEST(LayeredDocumentWrite, SizeFollowsTheGridFormula) {
    const Bitmap white(400, 400);
    EXPECT_EQ(Write(400, 400, {Shown(white)}).size(), 16 + 4 + 4 * 401 * 401 + 7 + 16);
}

TEST(LayeredDocumentWrite, NamesAreCutTo255BytesWithoutSplittingACharacter) {
    struct Case {
        QString name;
        std::size_t count;  // n, including the zero byte
    } cases[] = {
        {QString(), 1},
        {QString(300, QLatin1Char('a')), 256},
        // 127 double-byte characters are 254 bytes; one more would need 256.
        {QString(200, QChar(0x30EC)), 255},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CountedStringBytes(c.name).size() + 1, c.count) << c.name.size();
}

TEST(LayeredDocumentRead, LayersComeBackWithoutColumnZeroAndRowZero) {
    Bitmap lower(10, 10), upper(10, 10);
    lower.SetPixel(0, 5, clBlack);
    lower.SetPixel(3, 5, clBlack);
    lower.SetPixel(9, 9, kA);
    upper.SetPixel(5, 0, kB);
    const QString longName(300, QLatin1Char('n'));
    RecordedProgress saving;
    const QByteArray bytes =
        Write(10, 10, {Shown(lower), {0xFF, QStringLiteral("×"), longName, &upper}}, &saving);
    EXPECT_EQ(saving.captions, QStringList({QStringLiteral("レイヤの1枚目を保存しています..."),
                                            QStringLiteral("レイヤの2枚目を保存しています...")}));
    EXPECT_EQ(saving.maximum, 10);
    EXPECT_EQ(saving.position, 0);

    RecordedProgress opening;
    const LayeredDocument doc =
        ReadLayeredDocument(bytes.constData(), std::size_t(bytes.size()), &opening);
    EXPECT_EQ(opening.captions, QStringList({QStringLiteral("レイヤの1枚目を開いています..."),
                                             QStringLiteral("レイヤの2枚目を開いています...")}));
    ASSERT_EQ(doc.Layers.size(), 2u);
    EXPECT_EQ(doc.Width, 10);
    EXPECT_EQ(doc.Height, 10);
    const DocumentLayer& a = doc.Layers[0];
    EXPECT_EQ(a.Picture.Pixel(0, 5), clWhite);
    EXPECT_EQ(a.Picture.Pixel(3, 5), clBlack);
    EXPECT_EQ(a.Picture.Pixel(9, 9), kA);
    EXPECT_EQ(a.VisibilityMark, QStringLiteral("○"));
    EXPECT_EQ(a.Name, kName1);
    EXPECT_EQ(a.TransparentColour, clWhite);
    const DocumentLayer& b = doc.Layers[1];
    EXPECT_EQ(b.Picture.Pixel(5, 0), clWhite);
    EXPECT_EQ(b.VisibilityMark, QStringLiteral("×"));
    EXPECT_EQ(b.TransparentColour, 0xFFu);
    EXPECT_EQ(b.Name, longName.left(255));
}

TEST(LayeredDocumentRead, OnePixelPictureHasOnlyBorderCellsAndLoadsWhite) {
    Bitmap black(1, 1);
    black.SetPixel(0, 0, clBlack);
    const QByteArray bytes = Write(1, 1, {Shown(black), Shown(black)});
    EXPECT_EQ(bytes.size(), 16 + 2 * (4 + 16 + 7 + 16));
    for (const DocumentLayer& layer : Read(bytes).Layers)
        EXPECT_EQ(layer.Picture.Pixel(0, 0), clWhite);
}

// Every interior pixel is written as its cell and comes back, column 0 and row 0 white, and a
// cell's unused top byte is ignored: through the wide loops where the processor has them and
// through the portable ones. The sizes give grids written in blocks of eight columns (tall
// pictures), rows that end inside a block with and without padding after them in memory, and
// tiles of sixteen by sixteen with columns and rows left over.
TEST(LayeredDocumentRead, EveryInteriorPixelIsItsCellAndComesBack) {
    const struct { int w, h; } sizes[] = {{13, 30001}, {20, 30001}, {41, 50}, {36, 35}, {17, 17}};
    for (const bool wide : {true, false})
        for (const auto& size : sizes) {
            const int width = size.w, height = size.h;
            Bitmap picture(width, height);
            std::uint32_t seed = 5;
            for (int y = 0; y < height; ++y)
                for (int x = 0; x < width; ++x) {
                    seed = seed * 1664525u + 1013904223u;
                    picture.SetPixel(x, y, TColor(seed >> 8));
                }
            AllowWideRows(wide);
            QByteArray bytes = Write(width, height, {Shown(picture)});
            const auto cell = [&](int x, int y) {
                return 16 + 4 + 4 * (std::size_t(x) * std::size_t(height + 1) + std::size_t(y));
            };
            int wrongCells = 0;
            for (int x = 1; x < width; ++x)
                for (int y = 1; y < height; ++y) {
                    const TColor c = picture.Pixel(x, y);
                    const std::size_t at = cell(x, y);
                    const Bytes expected = Int(RedOf(c) + 256 * GreenOf(c) + 65536 * BlueOf(c));
                    wrongCells += Bytes(bytes.begin() + qsizetype(at),
                                        bytes.begin() + qsizetype(at + 4)) != expected;
                }
            bytes[qsizetype(cell(12, 7) + 3)] = char(0xAB);
            const Bitmap back = Read(bytes).Layers.at(0).Picture;
            AllowWideRows(true);
            int wrongPixels = 0;
            for (int y = 0; y < height; ++y)
                for (int x = 0; x < width; ++x) {
                    const TColor expected = (x == 0 || y == 0) ? clWhite : picture.Pixel(x, y);
                    wrongPixels += back.Pixel(x, y) != expected;
                }
            const auto what = testing::Message()
                              << (wide ? "wide " : "portable ") << width << "x" << height;
            EXPECT_EQ(wrongCells, 0) << what;
            EXPECT_EQ(wrongPixels, 0) << what;
        }
}

// The valid 2 x 2 example with one 32-bit field replaced, or cut short.
QByteArray Patched(std::size_t offset, std::uint32_t value) {
    const Bitmap white(2, 2);
    QByteArray b = Write(2, 2, {Shown(white)});
    for (int i = 0; i < 4; ++i) b[qsizetype(offset) + i] = char(value >> (8 * i));
    return b;
}

QString Refusal(const QByteArray& bytes) {
    try {
        Read(bytes);
    } catch (const UserError& e) {
        return e.Text();
    }
    return QStringLiteral("accepted");
}

TEST(LayeredDocumentRead, BrokenFilesAreRefusedWithTheirMessage) {
    const QString version = QStringLiteral("このバージョンのファイルには対応していません。");
    const QString beyond = QStringLiteral("ﾌｧｲﾙの末尾以降を読み込みました");
    const QString damaged = DamagedDocument().Text();
    const QString large = PictureTooLarge().Text();
    const QByteArray valid = Patched(0, 30);
    const std::size_t markCount = 16 + 4 + 36;
    const std::size_t nameCount = markCount + 7;
    const QByteArray huge = QByteArray::fromHex(
        "1e000000"
        "01000000"
        "ffff0000"
        "ffff0000"
        "ffffff00");
    const struct {
        const char* what;
        QByteArray bytes;
        QString message;
    } cases[] = {
        {"version 31", Patched(0, 31), version},
        {"empty file", QByteArray(), beyond},
        {"cut after the header", valid.left(16), beyond},
        {"cut inside the grid", valid.left(30), beyond},
        {"cut inside a string", valid.left(70), beyond},
        {"count 0", Patched(4, 0), damaged},
        {"count 100", Patched(4, 100), damaged},
        {"count -1", Patched(4, 0xFFFFFFFF), damaged},
        {"count 2 with one record", Patched(4, 2), beyond},
        {"mark count 257", Patched(markCount, 257), damaged},
        {"mark count -1", Patched(markCount, 0xFFFFFFFF), damaged},
        {"name count 0", Patched(nameCount, 0), damaged},
        {"width 0", Patched(12, 0), damaged},
        {"width -1", Patched(12, 0xFFFFFFFF), damaged},
        {"height -1", Patched(8, 0xFFFFFFFF), damaged},
        {"width 2^31-1", Patched(12, 0x7FFFFFFF), large},
        {"20 bytes asking 65535 x 65535", huge, large},
        {"height 32767 in 79 bytes", Patched(8, 32767), beyond},
    };
    for (const auto& c : cases) EXPECT_EQ(Refusal(c.bytes), c.message) << c.what;
    EXPECT_EQ(Refusal(valid), QStringLiteral("accepted"));
}

TEST(LayeredDocumentRead, VersionRefusalIsItsOwnKind) {
    const QByteArray v31 = Patched(0, 31);
    EXPECT_THROW(Read(v31), UnsupportedVersionError);
}

}  // namespace
