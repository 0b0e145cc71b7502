#include "document/bmp_file.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QImageReader>

#include "document/document_errors.h"
#include "document/file_access.h"

namespace {

constexpr int kFileHeaderSize = 14;
constexpr int kInfoHeaderSize = 40;
// As much of a file as its headers can ask us to look at: the 40-byte header's fields and the
// bit fields after it.
constexpr std::size_t kHeadBytes = kFileHeaderSize + kInfoHeaderSize + 12;

void Put16(std::uint8_t* p, std::uint32_t v) {
    p[0] = std::uint8_t(v);
    p[1] = std::uint8_t(v >> 8);
}
void Put32(std::uint8_t* p, std::uint32_t v) {
    Put16(p, v);
    Put16(p + 2, v >> 16);
}
std::uint32_t Get16(const std::uint8_t* p) {
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8;
}
std::uint32_t Get32(const std::uint8_t* p) {
    return Get16(p) | Get16(p + 2) << 16;
}

struct BmpHeader {
    std::uint32_t infoSize = 0;
    std::int64_t width = 0;
    std::int64_t height = 0;  // rows, whatever their order
    bool topDown = false;
    int planes = 1;
    int bitsPerPixel = 0;
    std::uint32_t compression = 0;
    std::uint32_t dataOffset = 0;
    // Red, green and blue of 16- and 32-bit pixels; zero where a channel has none.
    std::uint32_t masks[3] = {};
};

constexpr std::uint32_t kBitFields = 3;
constexpr std::uint32_t kAlphaBitFields = 6;

// Where 16- and 32-bit pixels keep their channels: the header's bit fields, else 5-5-5 and
// 8-8-8.
void ReadMasks(const std::uint8_t* p, std::size_t size, BmpHeader& h) {
    if (h.bitsPerPixel != 16 && h.bitsPerPixel != 32) return;
    if (h.compression == kBitFields || h.compression == kAlphaBitFields) {
        // Inside a longer header, or right after the 40-byte one.
        const std::size_t at = kFileHeaderSize + kInfoHeaderSize;
        if (size < at + 12) throw InvalidPictureFormat();
        for (int i = 0; i < 3; ++i) h.masks[i] = Get32(p + at + 4 * i);
    } else if (h.bitsPerPixel == 16) {
        h.masks[0] = 0x7C00, h.masks[1] = 0x03E0, h.masks[2] = 0x001F;
    }
}

// The file and info headers, as far as sizes go. Anything a bitmap cannot be is refused here.
// Headers: 12 bytes (the old core header), 16 to 39 (OS/2's, its missing fields zero), 40 and
// longer (Windows'). p holds the file's first size bytes (all of them, or kHeadBytes at least).
BmpHeader ParseHeader(const std::uint8_t* p, std::size_t size, std::size_t fileSize) {
    if (size < kFileHeaderSize + 12 || p[0] != 'B' || p[1] != 'M') throw InvalidPictureFormat();
    BmpHeader h;
    h.dataOffset = Get32(p + 10);
    h.infoSize = Get32(p + 14);
    const std::uint8_t* info = p + kFileHeaderSize;
    if (h.infoSize == 12) {  // the old core header: 16-bit sizes
        h.width = Get16(info + 4);
        h.height = Get16(info + 6);
        h.planes = int(Get16(info + 8));
        h.bitsPerPixel = int(Get16(info + 10));
    } else {
        if (h.infoSize < 16 || size < kFileHeaderSize + std::min<std::size_t>(h.infoSize, 40))
            throw InvalidPictureFormat();
        h.width = std::int32_t(Get32(info + 4));
        const std::int64_t rows = std::int32_t(Get32(info + 8));
        h.height = rows < 0 ? -rows : rows;
        h.topDown = rows < 0;
        h.planes = int(Get16(info + 12));
        h.bitsPerPixel = int(Get16(info + 14));
        h.compression = h.infoSize >= 20 ? Get32(info + 16) : 0;
        // OS/2 gives 3 and 4 to codings nobody writes; they are not bit fields.
        if (h.infoSize < kInfoHeaderSize && h.compression > 2) throw InvalidPictureFormat();
        ReadMasks(p, size, h);
    }
    if (h.width < 1 || h.height < 1) throw InvalidPictureFormat();
    static const int kDepths[] = {1, 4, 8, 16, 24, 32};
    if (std::find(std::begin(kDepths), std::end(kDepths), h.bitsPerPixel) == std::end(kDepths))
        throw InvalidPictureFormat();
    if (h.dataOffset >= fileSize) throw InvalidPictureFormat();
    return h;
}

// Qt reads the 12-, 40-, 108- and 124-byte headers. The others are rewritten as the 40-byte one
// (with its bit fields after it, where the pixels have them), the palette and pixels moved with
// it; empty when the file can go to Qt as it is.
QByteArray AsQtReadsIt(const std::uint8_t* p, std::size_t size, const BmpHeader& h) {
    const bool os2 = h.infoSize > 12 && h.infoSize < kInfoHeaderSize;
    if (!os2 && h.infoSize != 52 && h.infoSize != 56) return QByteArray();
    const bool fields = h.compression == kBitFields || h.compression == kAlphaBitFields;
    const std::uint32_t newSize = kInfoHeaderSize + (fields ? 12 : 0);
    const std::size_t rest = std::min<std::size_t>(kFileHeaderSize + h.infoSize, size);
    QByteArray b(reinterpret_cast<const char*>(p), kFileHeaderSize);
    QByteArray info(int(newSize), '\0');
    std::memcpy(info.data(), p + kFileHeaderSize,
                std::min<std::size_t>({h.infoSize, newSize, size - kFileHeaderSize}));
    Put32(reinterpret_cast<std::uint8_t*>(info.data()), kInfoHeaderSize);
    if (fields) {
        Put32(reinterpret_cast<std::uint8_t*>(info.data()) + 16, kBitFields);
        for (int i = 0; i < 3; ++i)
            Put32(reinterpret_cast<std::uint8_t*>(info.data()) + kInfoHeaderSize + 4 * i,
                  h.masks[i]);
    }
    b += info;
    b.append(reinterpret_cast<const char*>(p) + rest, qsizetype(size - rest));
    const std::int64_t moved = std::int64_t(newSize) - std::int64_t(h.infoSize);
    Put32(reinterpret_cast<std::uint8_t*>(b.data()) + 2, std::uint32_t(b.size()));
    Put32(reinterpret_cast<std::uint8_t*>(b.data()) + 10, std::uint32_t(h.dataOffset + moved));
    return b;
}

// Qt widens a channel of fewer than 8 bits by shifting it (31 of 5 bits becomes 248), so that
// white is not white. Each is taken back to its own bits and spread over the full range,
// 0 to 255, rounded: 31 and 63 become 255, 16 of 5 bits 132.
void WidenNarrowChannels(Bitmap& picture, const BmpHeader& h) {
    std::uint8_t tables[3][256];
    bool any = false;
    for (int c = 0; c < 3; ++c) {
        int bits = 0;
        for (std::uint32_t m = h.masks[c]; m; m &= m - 1) ++bits;
        const bool narrow = bits >= 1 && bits < 8;
        const int full = narrow ? (1 << bits) - 1 : 1;
        for (int v = 0; v < 256; ++v)
            tables[c][v] = narrow ? std::uint8_t(((v >> (8 - bits)) * 255 + full / 2) / full)
                                  : std::uint8_t(v);
        any = any || narrow;
    }
    if (!any) return;
    for (int y = 0; y < picture.Height(); ++y) {
        std::uint8_t* row = picture.ScanLine(y);
        for (int x = 0; x < picture.Width(); ++x) {
            row[3 * x + 2] = tables[0][row[3 * x + 2]];
            row[3 * x + 1] = tables[1][row[3 * x + 1]];
            row[3 * x] = tables[2][row[3 * x]];
        }
    }
}

// Uncompressed pixel rows must all be present. Run-length data codes at most 255 pixels in
// two bytes: a header that asks for more pixels than its bytes could code would only make us
// allocate, and fill, a picture of nothing.
void CheckPixelData(const BmpHeader& h, std::size_t size) {
    const std::uint64_t pixels = std::uint64_t(h.width) * std::uint64_t(h.height);
    const bool runLength = h.compression == 1 || h.compression == 2;
    if (runLength && (std::uint64_t(size) - h.dataOffset) * 255 / 2 < pixels)
        throw InvalidPictureFormat();
    const bool plain = h.compression == 0 || h.compression == 3 || h.compression == 6;
    if (!plain) return;
    const std::uint64_t rowBytes = ((std::uint64_t(h.width) * h.bitsPerPixel + 31) / 32) * 4;
    if (std::uint64_t(h.dataOffset) + rowBytes * std::uint64_t(h.height) > size)
        throw InvalidPictureFormat();
}

// A plain 24-bit bitmap (one plane, no compression, a header Qt reads, its pixels after the
// headers) holds its rows as our bitmaps do: they are copied as they are. Qt's reader gives the
// same pixels through two more pictures' worth of memory and time.
bool IsPlain24(const BmpHeader& h) {
    const bool knownHeader = h.infoSize == 12 || (h.infoSize >= 16 && h.infoSize <= 40) ||
                             h.infoSize == 52 || h.infoSize == 56 || h.infoSize == 108 ||
                             h.infoSize == 124;
    return h.bitsPerPixel == 24 && h.compression == 0 && h.planes == 1 && knownHeader &&
           h.dataOffset >= kFileHeaderSize + h.infoSize;
}

// Hands each of a plain 24-bit file's rows, in the file's order, to read(row, into): its
// bytes are the bitmap row's, padding included (both are four-byte aligned).
template <typename ReadRow>
Bitmap ReadPlain24(const BmpHeader& h, ReadRow read) {
    const int height = int(h.height);
    Bitmap picture;
    try {
        picture.MakeWhite(int(h.width), height);
        picture.ScanLine(0);
    } catch (const std::bad_alloc&) {
        throw PictureTooLarge();
    }
    for (int row = 0; row < height; ++row)
        read(std::size_t(row), picture.ScanLine(h.topDown ? row : height - 1 - row));
    return picture;
}

Bitmap FromImage(const QImage& decoded) {
    const QImage image = decoded.convertToFormat(QImage::Format_RGB32);
    Bitmap picture(image.width(), image.height());
    for (int y = 0; y < image.height(); ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        std::uint8_t* out = picture.ScanLine(y);
        for (int x = 0; x < image.width(); ++x) {
            out[3 * x] = std::uint8_t(qBlue(in[x]));
            out[3 * x + 1] = std::uint8_t(qGreen(in[x]));
            out[3 * x + 2] = std::uint8_t(qRed(in[x]));
        }
    }
    return picture;
}

}  // namespace

void WriteBmp(QIODevice& out, const Bitmap& picture) {
    const int width = picture.Width();
    const int height = picture.Height();
    const std::uint32_t rowBytes = (std::uint32_t(width) * 3 + 3) & ~3u;
    const std::uint32_t dataSize = rowBytes * std::uint32_t(height);
    std::uint8_t header[kFileHeaderSize + kInfoHeaderSize] = {};
    header[0] = 'B';
    header[1] = 'M';
    Put32(header + 2, sizeof header + dataSize);
    Put32(header + 10, sizeof header);
    std::uint8_t* info = header + kFileHeaderSize;
    Put32(info, kInfoHeaderSize);
    Put32(info + 4, std::uint32_t(width));
    Put32(info + 8, std::uint32_t(height));  // positive: bottom row first
    Put16(info + 12, 1);
    Put16(info + 14, 24);
    Put32(info + 20, dataSize);
    WriteAll(out, reinterpret_cast<const char*>(header), sizeof header);
    std::vector<char> row(rowBytes, 0);
    for (int y = height - 1; y >= 0; --y) {
        std::memcpy(row.data(), picture.ConstScanLine(y), std::size_t(width) * 3);
        WriteAll(out, row.data(), qint64(rowBytes));
    }
}

Bitmap ReadBmp(const char* data, std::size_t size) {
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(data);
    const BmpHeader h = ParseHeader(bytes, size, size);
    CheckPictureSize(h.width, h.height);
    CheckPixelData(h, size);
    if (!IsPlain24(h)) return ReadBmpWithQt(data, size);
    const std::size_t rowBytes = (std::size_t(h.width) * 3 + 3) & ~std::size_t(3);
    return ReadPlain24(h, [&](std::size_t row, std::uint8_t* into) {
        std::memcpy(into, bytes + h.dataOffset + row * rowBytes, rowBytes);
    });
}

Bitmap ReadBmpFile(const QString& path) {
    QFile file;
    OpenFileForReading(file, path);
    const qint64 fileSize = file.size();
    std::uint8_t head[kHeadBytes];
    const qint64 got = ReadAt(file, 0, head, std::min<qint64>(fileSize, kHeadBytes));
    const BmpHeader h = ParseHeader(head, std::size_t(got), std::size_t(fileSize));
    if (!IsPlain24(h)) {
        file.close();
        const QByteArray bytes = ReadWholeFile(path);
        return ReadBmp(bytes.constData(), std::size_t(bytes.size()));
    }
    CheckPictureSize(h.width, h.height);
    CheckPixelData(h, std::size_t(fileSize));
    // Each row goes from the file straight into its place: no copy of the file is held.
    const qint64 rowBytes = (qint64(h.width) * 3 + 3) & ~qint64(3);
    return ReadPlain24(h, [&](std::size_t row, std::uint8_t* into) {
        if (ReadAt(file, h.dataOffset + qint64(row) * rowBytes, into, rowBytes) != rowBytes)
            throw ReadBeyondEnd();
    });
}

Bitmap ReadBmpWithQt(const char* data, std::size_t size) {
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(data);
    const BmpHeader h = ParseHeader(bytes, size, size);
    CheckPictureSize(h.width, h.height);
    CheckPixelData(h, size);
    QByteArray held = AsQtReadsIt(bytes, size, h);
    if (held.isEmpty()) held = QByteArray::fromRawData(data, qsizetype(size));
    QBuffer buffer(&held);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "bmp");
    // The header was checked above; Qt's own ceiling (in MiB, for 32-bit pixels) would refuse
    // pictures we accept.
    const int needed = int((h.width * h.height * 4 >> 20) + 1);
    if (QImageReader::allocationLimit() != 0 && QImageReader::allocationLimit() < needed)
        QImageReader::setAllocationLimit(needed);
    QImage decoded;
    try {
        decoded = reader.read();
    } catch (const std::bad_alloc&) {
        throw PictureTooLarge();
    }
    if (decoded.isNull() || decoded.width() != h.width || decoded.height() != h.height)
        throw InvalidPictureFormat();
    try {
        Bitmap picture = FromImage(decoded);
        WidenNarrowChannels(picture, h);
        return picture;
    } catch (const std::bad_alloc&) {
        throw PictureTooLarge();
    }
}
