#include "document/document_memory.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <vector>

#include "document/document_errors.h"
#include "document/layered_document.h"
#include "document/png_file.h"
#include "platform/file_names.h"

namespace {

std::uint32_t Get16Le(const std::uint8_t* p) {
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8;
}
std::uint32_t Get32Le(const std::uint8_t* p) {
    return Get16Le(p) | Get16Le(p + 2) << 16;
}
std::uint32_t Get16Be(const std::uint8_t* p) {
    return std::uint32_t(p[0]) << 8 | std::uint32_t(p[1]);
}

// A file read at offsets, opened without waiting (a FIFO or a device is nothing we probe).
class ProbeFile {
  public:
    explicit ProbeFile(const QString& path)
        : fd_(::open(FileNameBytes(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC)) {
        struct stat info {};
        if (fd_ >= 0 && fstat(fd_, &info) == 0 && S_ISREG(info.st_mode))
            size_ = std::uint64_t(info.st_size);
    }
    ~ProbeFile() {
        if (fd_ >= 0) ::close(fd_);
    }
    ProbeFile(const ProbeFile&) = delete;
    ProbeFile& operator=(const ProbeFile&) = delete;

    // A regular file we could open.
    bool Usable() const { return size_ > 0; }
    std::uint64_t Size() const { return size_; }
    // count bytes at offset, all of them or false.
    bool Read(std::uint64_t offset, void* to, std::size_t count) const {
        return offset + count <= size_ && pread(fd_, to, count, off_t(offset)) == ssize_t(count);
    }

  private:
    int fd_;
    std::uint64_t size_ = 0;
};

bool Fits(std::int64_t width, std::int64_t height) {
    return width >= 1 && height >= 1 && width <= kMaxPictureSide && height <= kMaxPictureSide;
}

// A plain 24-bit file goes from the file into the picture row by row: nothing beside it. Others
// are read whole, and copied once more when their header is one Qt does not read. Qt decodes
// into 32 bits a pixel (8 for palette pictures); anything but 16 or 24 bits is converted once
// more before it becomes our picture.
PictureFileSize ProbeBmp(const ProbeFile& file) {
    std::uint8_t h[34] = {};
    if (!file.Read(0, h, 26) || h[0] != 'B' || h[1] != 'M') return {};
    std::int64_t width;
    std::int64_t height;
    int planes;
    int bits;
    std::uint32_t compression = 0;
    const std::uint32_t infoSize = Get32Le(h + 14);
    const bool rewritten = infoSize != 12 && infoSize != 40 && infoSize != 108 && infoSize != 124;
    if (infoSize == 12) {  // the old core header: 16-bit sizes
        width = Get16Le(h + 18);
        height = Get16Le(h + 20);
        planes = int(Get16Le(h + 22));
        bits = int(Get16Le(h + 24));
    } else {
        if (!file.Read(26, h + 26, 4)) return {};
        width = std::int32_t(Get32Le(h + 18));
        height = std::int32_t(Get32Le(h + 22));
        height = height < 0 ? -height : height;
        planes = int(Get16Le(h + 26));
        bits = int(Get16Le(h + 28));
        if (infoSize >= 20 && !file.Read(30, h + 30, 4)) return {};
        compression = infoSize >= 20 ? Get32Le(h + 30) : 0;
    }
    if (!Fits(width, height)) return {};
    const DocumentShape shape{int(width), int(height), 1};
    const bool knownHeader = infoSize == 12 || (infoSize >= 16 && infoSize <= 40) ||
                             infoSize == 52 || infoSize == 56 || infoSize == 108 || infoSize == 124;
    if (bits == 24 && compression == 0 && planes == 1 && knownHeader &&
        Get32Le(h + 10) >= 14 + infoSize)
        return {true, shape, 0};
    const std::uint64_t pixels = std::uint64_t(width) * std::uint64_t(height);
    const std::uint64_t decoded = pixels * (bits <= 8 ? 1 : 4);
    const std::uint64_t converted = (bits == 16 || bits == 24) ? 0 : pixels * 4;
    const std::uint64_t bytes = file.Size() * (rewritten ? 2 : 1);
    return {true, shape, bytes + decoded + converted};
}

// The file is read whole and its picture data inflated at once (png_file.h).
PictureFileSize ProbePng(const ProbeFile& file) {
    static const std::uint8_t kStart[16] = {137, 80, 78, 71, 13,  10,  26,  10,
                                            0,   0,  0,  13, 'I', 'H', 'D', 'R'};
    std::uint8_t h[29];
    if (!file.Read(0, h, sizeof h) || !std::equal(kStart, kStart + 16, h)) return {};
    const std::uint32_t width = Get16Be(h + 16) << 16 | Get16Be(h + 18);
    const std::uint32_t height = Get16Be(h + 20) << 16 | Get16Be(h + 22);
    const int depth = h[24];
    static const int kChannels[7] = {1, 0, 3, 1, 2, 0, 4};  // by colour type
    const int channels = h[25] < 7 ? kChannels[h[25]] : 0;
    if (!Fits(width, height) || channels == 0 || depth < 1 || depth > 16) return {};
    return {true,
            {int(width), int(height), 1},
            file.Size() + PngReadBytes(width, height, channels * depth, h[28] == 1, file.Size())};
}

struct JpegComponent {
    int h = 1;
    int v = 1;
};

// The decoder keeps every coefficient of the picture when it needs more than one pass: 64
// two-byte coefficients per 8 x 8 block of each component, in whole sampling units.
std::uint64_t CoefficientBytes(int width, int height, const std::vector<JpegComponent>& parts) {
    int hMax = 1;
    int vMax = 1;
    for (const JpegComponent& c : parts) hMax = std::max(hMax, c.h), vMax = std::max(vMax, c.v);
    const auto blocks = [](std::uint64_t side, int factor, int maxFactor) {
        const std::uint64_t n =
            (side * std::uint64_t(factor) + 8 * maxFactor - 1) / (8 * maxFactor);
        return (n + std::uint64_t(factor) - 1) / std::uint64_t(factor) * std::uint64_t(factor);
    };
    std::uint64_t total = 0;
    for (const JpegComponent& c : parts)
        total += blocks(std::uint64_t(width), c.h, hMax) * blocks(std::uint64_t(height), c.v, vMax);
    return total * 128;
}

bool IsFrameMarker(int marker) {
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

// Walks the markers up to the first scan: the frame gives the size and the sampling, the scan
// whether the picture comes in several passes.
PictureFileSize ProbeJpeg(const ProbeFile& file) {
    std::uint8_t two[2];
    if (!file.Read(0, two, 2) || two[0] != 0xFF || two[1] != 0xD8) return {};
    constexpr int kMostSegments = 4096;
    std::uint64_t at = 2;
    int width = 0;
    int height = 0;
    bool progressive = false;
    std::vector<JpegComponent> parts;
    for (int segment = 0; segment < kMostSegments; ++segment) {
        std::uint8_t head[4];
        if (!file.Read(at, head, 2) || head[0] != 0xFF) return {};
        const int marker = head[1];
        if (marker == 0xFF) {  // a fill byte
            ++at;
            continue;
        }
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) {
            at += 2;
            continue;
        }
        if (!file.Read(at + 2, head + 2, 2)) return {};
        const std::uint32_t length = Get16Be(head + 2);
        if (length < 2) return {};
        std::vector<std::uint8_t> body(length - 2);
        if (!file.Read(at + 4, body.data(), body.size())) return {};
        if (IsFrameMarker(marker)) {
            if (body.size() < 6) return {};
            height = int(Get16Be(&body[1]));
            width = int(Get16Be(&body[3]));
            const std::size_t count = body[5];
            if (!Fits(width, height) || count == 0 || body.size() < 6 + 3 * count) return {};
            for (std::size_t i = 0; i < count; ++i) {
                const int sampling = body[6 + 3 * i + 1];
                parts.push_back({std::max(1, sampling >> 4), std::max(1, sampling & 15)});
            }
            progressive = (marker & 3) == 2;
        } else if (marker == 0xDA) {
            if (parts.empty() || body.empty()) return {};
            const bool severalScans = progressive || std::size_t(body[0]) < parts.size();
            std::uint64_t work = file.Size();
            if (severalScans) work += CoefficientBytes(width, height, parts);
            return {true, {width, height, 1}, work};
        } else if (marker == 0xD9) {
            return {};
        }
        at += 2 + length;
    }
    return {};
}

// The layered document is read a block of columns at a time.
PictureFileSize ProbeLayered(const ProbeFile& file) {
    std::uint8_t h[16];
    if (!file.Read(0, h, sizeof h) || std::int32_t(Get32Le(h)) != kLayeredDocumentVersion)
        return {};
    const auto count = std::int32_t(Get32Le(h + 4));
    const auto height = std::int32_t(Get32Le(h + 8));
    const auto width = std::int32_t(Get32Le(h + 12));
    if (count < 1 || count > kMaxDocumentLayers || !Fits(width, height)) return {};
    const std::uint64_t column = (std::uint64_t(height) + 1) * 4;
    return {true, {width, height, count}, std::max<std::uint64_t>(column, 1 << 20)};
}

}  // namespace

std::uint64_t PictureBytes(int width, int height) {
    const std::uint64_t stride = (std::uint64_t(std::max(width, 0)) * 3 + 3) & ~std::uint64_t(3);
    return stride * std::uint64_t(std::max(height, 0));
}

std::uint64_t LayerBytes(const DocumentShape& shape) {
    return std::uint64_t(shape.Layers) * PictureBytes(shape.Width, shape.Height);
}

std::uint64_t PaintSurfaceBytes(const DocumentShape& shape) {
    return PictureBytes(shape.Width, shape.Height);
}

std::uint64_t UndoPairBytes(const DocumentShape& shape) {
    return 2 * PictureBytes(shape.Width, shape.Height);
}

std::uint64_t BelowCacheBytes(const DocumentShape& shape) {
    return shape.Layers > 1 ? PictureBytes(shape.Width, shape.Height) : 0;
}

std::uint64_t WindowDocumentBytes(const DocumentShape& shape) {
    return LayerBytes(shape) + PaintSurfaceBytes(shape) + UndoPairBytes(shape) +
           BelowCacheBytes(shape);
}

PictureFileSize ProbePictureFile(const QString& path, FileType type) {
    const ProbeFile file(path);
    if (!file.Usable()) return {};
    switch (type) {
        case FileType::Bmp:
            return ProbeBmp(file);
        case FileType::Jpeg:
            return ProbeJpeg(file);
        case FileType::Layered:
            return ProbeLayered(file);
        case FileType::Png:
            return ProbePng(file);
        case FileType::Unknown:
            break;
    }
    return {};
}

std::uint64_t EncodeBytes(FileType type, int width, int height, bool progressive) {
    const std::uint64_t picture = PictureBytes(width, height);
    switch (type) {
        case FileType::Jpeg:
            // The compressed bytes stay below the picture's own; a progressive file is
            // written from every coefficient at once: two bytes for each of the one and a half
            // samples a pixel has at 4:2:0, as much as the picture again.
            return picture + (progressive ? picture : 0);
        case FileType::Layered:
            return std::max<std::uint64_t>((std::uint64_t(height) + 1) * 4, 1 << 20);
        case FileType::Png:
            return PngWriteBytes(width, height);
        case FileType::Bmp:
        case FileType::Unknown:
            break;
    }
    return std::uint64_t(width) * 3 + 4;
}
