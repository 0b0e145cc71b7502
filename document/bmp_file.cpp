#include "document/bmp_file.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include <QBuffer>
#include <QImage>
#include <QImageReader>

#include "document/document_errors.h"
#include "document/file_access.h"

namespace {

constexpr int kFileHeaderSize = 14;
constexpr int kInfoHeaderSize = 40;

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
    std::int64_t width = 0;
    std::int64_t height = 0;  // rows, whatever their order
    int bitsPerPixel = 0;
    std::uint32_t compression = 0;
    std::uint32_t dataOffset = 0;
};

// The file and info headers, as far as sizes go. Anything a bitmap cannot be is refused here.
BmpHeader ParseHeader(const std::uint8_t* p, std::size_t size) {
    if (size < kFileHeaderSize + 12 || p[0] != 'B' || p[1] != 'M') throw InvalidPictureFormat();
    BmpHeader h;
    h.dataOffset = Get32(p + 10);
    const std::uint32_t infoSize = Get32(p + 14);
    const std::uint8_t* info = p + kFileHeaderSize;
    if (infoSize == 12) {  // the old core header: 16-bit sizes
        h.width = Get16(info + 4);
        h.height = Get16(info + 6);
        h.bitsPerPixel = int(Get16(info + 10));
    } else {
        if (infoSize < kInfoHeaderSize || size < kFileHeaderSize + std::size_t(kInfoHeaderSize))
            throw InvalidPictureFormat();
        h.width = std::int32_t(Get32(info + 4));
        const std::int64_t rows = std::int32_t(Get32(info + 8));
        h.height = rows < 0 ? -rows : rows;
        h.bitsPerPixel = int(Get16(info + 14));
        h.compression = Get32(info + 16);
    }
    if (h.width < 1 || h.height < 1) throw InvalidPictureFormat();
    static const int kDepths[] = {1, 4, 8, 16, 24, 32};
    if (std::find(std::begin(kDepths), std::end(kDepths), h.bitsPerPixel) == std::end(kDepths))
        throw InvalidPictureFormat();
    if (h.dataOffset >= size) throw InvalidPictureFormat();
    return h;
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
    const BmpHeader h = ParseHeader(bytes, size);
    CheckPictureSize(h.width, h.height);
    CheckPixelData(h, size);
    QByteArray held = QByteArray::fromRawData(data, qsizetype(size));
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
        return FromImage(decoded);
    } catch (const std::bad_alloc&) {
        throw PictureTooLarge();
    }
}
