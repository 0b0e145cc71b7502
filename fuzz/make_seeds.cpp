// Writes the fuzz targets' seed corpora: small valid inputs of every variant the readers take,
// and the malformed cases the tests name. Usage: fuzz_seeds OUTPUT_FOLDER
#include <QDir>
#include <QFile>
#include <QString>
#include <cstdio>
#include <string>

#include <QBuffer>
#include <cstdint>
#include <vector>

#include "document/bmp_file.h"
#include "document/jpeg_codec.h"
#include "document/layered_document.h"
#include "document/png_file.h"
#include "document/recovery_copy.h"
#include "jpeg_test_files.h"
#include "platform/shift_jis.h"

namespace {

QString out;

void Seed(const char* target, const char* name, const std::string& bytes) {
    const QString folder = out + QLatin1Char('/') + QLatin1String(target);
    QDir().mkpath(folder);
    QFile file(folder + QLatin1Char('/') + QLatin1String(name));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(file.fileName()));
        std::exit(1);
    }
    file.write(bytes.data(), qint64(bytes.size()));
}

void SettingsSeeds() {
    const std::string typical =
        "[Form1]\nPos.Flags=0\nPos.Show=1\nPos.MaxX=-1\nPos.MaxY=-1\nPos.X=227\nPos.Y=113\n"
        "Pos.XSize=493\nPos.YSize=470\npalette=1\n[Image]\nWidth=400\nHeight=400\n"
        "[Brush]\nK3=1\nM1=1\nH1=1\n[lupe]\nB6=1\n[visible]\nbar1=1\n[option]\nlupe1=1\n";
    Seed("settings_fuzz", "typical.ini", typical);
    Seed("settings_fuzz", "crlf.ini", "[Image]\r\nWidth=800\r\nHeight=600\r\n");
    Seed("settings_fuzz", "bom.ini", "\xEF\xBB\xBF[Image]\nWidth=1\n");
    Seed("settings_fuzz", "extremes.ini",
         "[Form10]\nPos.X=-2147483648\nPos.XSize=2147483647\nPos.Y=50000\nPos.YSize=1000000\n"
         "[Image]\nWidth=32767\nHeight=99999999999999999999\n");
    Seed("settings_fuzz", "odd.ini",
         "[image\n= \n[ ]\nwidth\n[IMAGE]\nWIDTH = 12 \n[Image]\nWidth=x\n");
    Seed("settings_fuzz", "empty.ini", "");
    Seed("settings_fuzz", "undo.ini", "[undo]\nLevels=+20\nMemoryMB=-99999999999999999999\n");
}

void ShiftJisSeeds() {
    Seed("shift_jis_fuzz", "layer.txt", ToShiftJis(QStringLiteral("レイヤ1 背景")));
    Seed("shift_jis_fuzz", "windows_only.txt", ToShiftJis(QStringLiteral("①～髙")));
    Seed("shift_jis_fuzz", "halfwidth.txt", ToShiftJis(QStringLiteral("ﾌｧｲﾙが見つかりません")));
    Seed("shift_jis_fuzz", "cut_lead_byte.txt", std::string("\x82\xA0\x82", 3));
    Seed("shift_jis_fuzz", "bad_trail.txt", std::string("\x81\x20\xFD\xFF", 4));
}

std::string Bytes(const QByteArray& b) {
    return std::string(b.constData(), std::size_t(b.size()));
}

void Put(std::string& b, std::uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) b.push_back(char(v >> (8 * i)));
}

void Field(std::string& b, std::size_t offset, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b[offset + std::size_t(i)] = char(v >> (8 * i));
}

// A small picture with some colour in it.
Bitmap Sample(int width, int height) {
    Bitmap b(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            b.SetPixel(x, y, RgbColour(x * 40 % 256, y * 60 % 256, (x + y) * 25 % 256));
    return b;
}

void LayeredSeeds() {
    const Bitmap a = Sample(4, 3), b = Sample(4, 3);
    auto write = [](int w, int h, const std::vector<LayerSource>& layers) {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        WriteLayeredDocument(buffer, w, h, layers);
        return Bytes(bytes);
    };
    const std::string one =
        write(4, 3, {{clWhite, QStringLiteral("○"), QStringLiteral("背景"), &a}});
    const std::string two = write(4, 3,
                                  {{clWhite, QStringLiteral("○"), QStringLiteral("レイヤ1"), &a},
                                   {RgbColour(255, 0, 0), QStringLiteral("×"), QString(), &b}});
    const Bitmap dot = Sample(1, 1);
    Seed("layered_fuzz", "one_layer.tav", one);
    Seed("layered_fuzz", "two_layers.tav", two);
    Seed("layered_fuzz", "one_pixel.tav",
         write(1, 1, {{clWhite, QStringLiteral("○"), QStringLiteral("①～髙"), &dot}}));
    Seed("layered_fuzz", "cut_in_header.tav", one.substr(0, 10));
    Seed("layered_fuzz", "cut_in_grid.tav", one.substr(0, 40));
    Seed("layered_fuzz", "cut_in_string.tav", one.substr(0, one.size() - 3));
    std::string bad = one;
    Field(bad, 4, 0);
    Seed("layered_fuzz", "count_0.tav", bad);
    Field(bad, 4, 100);
    Seed("layered_fuzz", "count_100.tav", bad);
    bad = one;
    Field(bad, 0, 31);
    Seed("layered_fuzz", "version_31.tav", bad);
    std::string huge;
    for (std::uint32_t v : {30u, 1u, 65535u, 65535u}) Put(huge, v, 4);
    Put(huge, 0, 4);
    Seed("layered_fuzz", "asks_65535_square.tav", huge);
}

// A BMP with the given header size and bits per pixel over a 3 x 2 picture; the pixel bytes
// follow the palette as given.
std::string Bmp(int headerSize, int bits, int height, std::uint32_t compression,
                const std::vector<std::uint32_t>& palette, const std::string& pixels) {
    std::string b = "BM";
    const std::uint32_t offset = 14 + std::uint32_t(headerSize) + 4 * std::uint32_t(palette.size());
    Put(b, offset + std::uint32_t(pixels.size()), 4);
    Put(b, 0, 4);
    Put(b, offset, 4);
    Put(b, std::uint32_t(headerSize), 4);
    if (headerSize == 12) {
        Put(b, 3, 2);
        Put(b, std::uint32_t(height), 2);
        Put(b, 1, 2);
        Put(b, std::uint32_t(bits), 2);
    } else {
        std::string info;
        Put(info, 3, 4);
        Put(info, std::uint32_t(height), 4);
        Put(info, 1, 2);
        Put(info, std::uint32_t(bits), 2);
        Put(info, compression, 4);
        Put(info, std::uint32_t(pixels.size()), 4);
        for (int i = 0; i < 4; ++i) Put(info, i == 2 ? std::uint32_t(palette.size()) : 0, 4);
        if (headerSize >= 52) {  // bit fields for 16 and 32 bits, then the rest zero
            Put(info, bits == 16 ? 0xF800 : 0xFF0000, 4);
            Put(info, bits == 16 ? 0x07E0 : 0xFF00, 4);
            Put(info, bits == 16 ? 0x001F : 0xFF, 4);
            info.append(std::size_t(headerSize - 52), '\0');
        }
        b += info.substr(0, std::size_t(headerSize - 4));  // OS/2's short headers end early
    }
    for (std::uint32_t c : palette) Put(b, c, headerSize == 12 ? 3 : 4);
    return b + pixels;
}

void BmpSeeds() {
    QByteArray ours;
    QBuffer buffer(&ours);
    buffer.open(QIODevice::WriteOnly);
    WriteBmp(buffer, Sample(5, 3));
    Seed("bmp_fuzz", "ours_24.bmp", Bytes(ours));
    const std::vector<std::uint32_t> two = {0x000000, 0xFFFFFF};
    const std::vector<std::uint32_t> four = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF};
    Seed("bmp_fuzz", "1bit.bmp", Bmp(40, 1, 2, 0, two, std::string("\xA0\0\0\0\x40\0\0\0", 8)));
    Seed("bmp_fuzz", "4bit.bmp",
         Bmp(40, 4, 2, 0, four, std::string("\x01\x20\0\0\x33\x10\0\0", 8)));
    Seed("bmp_fuzz", "8bit_topdown.bmp",
         Bmp(40, 8, -2, 0, four, std::string("\x00\x01\x02\0\x03\x02\x01\0", 8)));
    Seed("bmp_fuzz", "8bit_rle.bmp",
         Bmp(40, 8, 2, 1, four, std::string("\x03\x01\x00\x00\x02\x02\x01\x03\x00\x01", 10)));
    Seed("bmp_fuzz", "4bit_rle.bmp",
         Bmp(40, 4, 2, 2, four, std::string("\x03\x12\x00\x00\x03\x30\x00\x01", 8)));
    Seed("bmp_fuzz", "16bit_fields.bmp", Bmp(56, 16, 2, 3, {}, std::string(16, '\x5A')));
    Seed("bmp_fuzz", "32bit_v5.bmp", Bmp(124, 32, 2, 3, {}, std::string(24, '\x7F')));
    Seed("bmp_fuzz", "24bit_v2.bmp", Bmp(52, 24, 2, 0, {}, std::string(24, '\x31')));
    Seed("bmp_fuzz", "24bit_os2_16.bmp", Bmp(16, 24, 2, 0, {}, std::string(24, '\x62')));
    Seed("bmp_fuzz", "16bit_555.bmp", Bmp(40, 16, 2, 0, {}, std::string(16, '\x3C')));
    Seed("bmp_fuzz", "core_header.bmp",
         Bmp(12, 8, 2, 0, {0x000000, 0x0000FF, 0x00FF00},
             std::string("\x00\x01\x02\0\x02\x01\x00\0", 8)));
    Seed("bmp_fuzz", "cut.bmp", Bytes(ours.left(40)));
}

void JpegSeeds() {
    Seed("jpeg_fuzz", "baseline.jpg", Bytes(EncodeJpeg(Sample(17, 9), 75, false)));
    Seed("jpeg_fuzz", "progressive.jpg", Bytes(EncodeJpeg(Sample(17, 9), 75, true)));
    Seed("jpeg_fuzz", "one_pixel_q1.jpg", Bytes(EncodeJpeg(Sample(1, 1), 1, false)));
    const QByteArray whole = EncodeJpeg(Sample(8, 8), 90, false);
    Seed("jpeg_fuzz", "cut.jpg", Bytes(whole.left(whole.size() / 2)));
    // Kinds libjpeg reads that our encoder does not write.
    TestJpeg cmyk;
    cmyk.components = 4;
    cmyk.stored = JCS_CMYK;
    cmyk.pixel = [](int x, int y, unsigned char* p) {
        for (int i = 0; i < 4; ++i) p[i] = std::uint8_t(x * 16 + y * i);
    };
    Seed("jpeg_fuzz", "cmyk_adobe.jpg", Bytes(EncodeTestJpeg(cmyk)));
    cmyk.stored = JCS_YCCK;
    Seed("jpeg_fuzz", "ycck.jpg", Bytes(EncodeTestJpeg(cmyk)));
    TestJpeg colour;
    colour.pixel = [](int x, int y, unsigned char* p) {
        p[0] = std::uint8_t(x * 16), p[1] = std::uint8_t(y * 16), p[2] = 80;
    };
    colour.arithmetic = true;
    Seed("jpeg_fuzz", "arithmetic.jpg", Bytes(EncodeTestJpeg(colour)));
    colour.progressive = colour.fullResolution = true;
    Seed("jpeg_fuzz", "arithmetic_progressive_444.jpg", Bytes(EncodeTestJpeg(colour)));
}

// Ours, and every form other programs write (the tests' variants, made by ImageMagick).
void PngSeeds() {
    const auto written = [](const Bitmap& picture) {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        WritePng(buffer, picture);
        return bytes;
    };
    Seed("png_fuzz", "ours.png", Bytes(written(Sample(5, 3))));
    Seed("png_fuzz", "ours_one_pixel.png", Bytes(written(Sample(1, 1))));
    const QByteArray wide = written(Sample(17, 9));
    Seed("png_fuzz", "ours_17x9.png", Bytes(wide));
    Seed("png_fuzz", "cut.png", Bytes(wide.left(wide.size() / 2)));
    const QDir variants(QStringLiteral(KASUMIRO_PNG_VARIANTS));
    for (const QString& name : variants.entryList({QStringLiteral("*.png")}, QDir::Files)) {
        QFile file(variants.filePath(name));
        if (file.open(QIODevice::ReadOnly))
            Seed("png_fuzz", ("other_" + name.toStdString()).c_str(), Bytes(file.readAll()));
    }
}

// The export's first byte picks the input kind (byte % 4: layered, BMP, JPEG, PNG) and the
// output kind (byte / 4 % 4: BMP, JPEG, layered, PNG); the rest is the input file.
void ExportSeeds() {
    const QString folder = out;
    for (const char* target : {"layered_fuzz", "bmp_fuzz", "jpeg_fuzz", "png_fuzz"}) {
        const int kind = target[0] == 'l' ? 0 : target[0] == 'b' ? 1 : target[0] == 'j' ? 2 : 3;
        const QDir seeds(folder + QLatin1Char('/') + QLatin1String(target));
        int n = 0;
        for (const QString& name : seeds.entryList(QDir::Files)) {
            QFile file(seeds.filePath(name));
            if (!file.open(QIODevice::ReadOnly)) continue;
            const std::string bytes = Bytes(file.readAll());
            for (int outKind = 0; outKind < 4; ++outKind) {
                const char first = char(kind + 4 * outKind + (n % 2 ? 0x40 : 0));
                const std::string seedName =
                    std::string(target) + "-" + std::to_string(n) + "-" + std::to_string(outKind);
                Seed("export_fuzz", seedName.c_str(), first + bytes);
            }
            ++n;
        }
    }
}

// Copies as the program writes them, untitled and named, and one cut short.
void RecoverySeeds() {
    const QString path = out + QStringLiteral("/recovery.tmp");
    RecoveryContent content;
    content.Width = 5;
    content.Height = 4;
    content.Layers.push_back(
        {clWhite, QStringLiteral("○"), QStringLiteral("背景"), std::nullopt, Sample(5, 4)});
    content.Layers.push_back({RgbColour(0, 0, 255), QStringLiteral("×"), QStringLiteral("下書き"),
                              std::nullopt, Bitmap(5, 4)});
    for (const bool named : {false, true}) {
        content.FileName = named ? QStringLiteral("/tmp/絵.tav") : QString();
        content.Type = named ? FileType::Layered : FileType::Unknown;
        WriteRecoveryCopy(path, content);
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) continue;
        const std::string bytes = Bytes(file.readAll());
        Seed("recovery_fuzz", named ? "named.rec" : "untitled.rec", bytes);
        if (named) Seed("recovery_fuzz", "cut.rec", bytes.substr(0, bytes.size() / 2));
    }
    QFile::remove(path);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_FOLDER\n", argv[0]);
        return 2;
    }
    out = QString::fromLocal8Bit(argv[1]);
    SettingsSeeds();
    ShiftJisSeeds();
    LayeredSeeds();
    BmpSeeds();
    JpegSeeds();
    PngSeeds();
    ExportSeeds();
    RecoverySeeds();
    return 0;
}
