// Writing PNG files: 8-bit RGB, not interlaced. Each row takes the filter whose output is
// smallest as signed bytes (what most writers do), and the whole picture is compressed at once.
#include <QIODevice>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

#include "document/file_access.h"
#include "document/png_chunks.h"
#include "document/png_file.h"

namespace {

// libdeflate's level that keeps files as small as the common writers' at a fraction of their
// time (bench/document/png_bench.cpp).
constexpr int kCompressionLevel = 6;
// Picture data goes out in chunks of this size; readers need none larger.
constexpr std::size_t kDataChunk = std::size_t(1) << 20;
constexpr int kFilters = 5;

// A row filtered five ways; Choose() keeps the one that looks most compressible. The loops
// are kept apart and simple so that the compiler can make them vector code.
class RowFilters {
  public:
    explicit RowFilters(std::size_t length) : length_(length) {
        for (auto& b : out_) b.resize(length);
    }

    // cur and prior are rows of red, green, blue; prior is zeros above the first row.
    const std::uint8_t* Choose(const std::uint8_t* cur, const std::uint8_t* prior,
                               std::uint8_t& filter) {
        const std::size_t n = length_;
        std::uint8_t* sub = out_[1].data();
        std::uint8_t* up = out_[2].data();
        std::uint8_t* average = out_[3].data();
        std::uint8_t* paeth = out_[4].data();
        std::memcpy(out_[0].data(), cur, n);
        const std::size_t lead = std::min<std::size_t>(3, n);
        for (std::size_t i = 0; i < lead; ++i) {
            sub[i] = cur[i];
            up[i] = paeth[i] = std::uint8_t(cur[i] - prior[i]);
            average[i] = std::uint8_t(cur[i] - (prior[i] >> 1));
        }
        for (std::size_t i = 3; i < n; ++i) sub[i] = std::uint8_t(cur[i] - cur[i - 3]);
        for (std::size_t i = 3; i < n; ++i) up[i] = std::uint8_t(cur[i] - prior[i]);
        for (std::size_t i = 3; i < n; ++i)
            average[i] = std::uint8_t(cur[i] - ((cur[i - 3] + prior[i]) >> 1));
        for (std::size_t i = 3; i < n; ++i) {
            const std::int16_t a = cur[i - 3], b = prior[i], c = prior[i - 3];
            const std::int16_t towardB = std::int16_t(b - c), towardA = std::int16_t(a - c);
            const std::int16_t pa = Abs(towardB), pb = Abs(towardA),
                               pc = Abs(std::int16_t(towardA + towardB));
            const std::int16_t predicted = pa <= pb && pa <= pc ? a : (pb <= pc ? b : c);
            paeth[i] = std::uint8_t(cur[i] - predicted);
        }
        int best = 0;
        std::uint32_t bestCost = ~std::uint32_t(0);
        for (int f = 0; f < kFilters; ++f) {
            const std::uint32_t cost = Cost(out_[f].data(), n);
            if (cost < bestCost) best = f, bestCost = cost;
        }
        filter = std::uint8_t(best);
        return out_[best].data();
    }

  private:
    static std::int16_t Abs(std::int16_t v) { return v < 0 ? std::int16_t(-v) : v; }

    // The sum of the bytes' sizes as signed numbers.
    static std::uint32_t Cost(const std::uint8_t* bytes, std::size_t n) {
        std::uint32_t sum = 0;
        for (std::size_t i = 0; i < n; ++i) {
            const std::uint8_t negated = std::uint8_t(-bytes[i]);
            sum += bytes[i] < negated ? bytes[i] : negated;
        }
        return sum;
    }

    std::size_t length_;
    std::vector<std::uint8_t> out_[kFilters];
};

// The picture's rows, each with its filter byte in front.
std::unique_ptr<std::uint8_t[]> FilteredRows(const Bitmap& picture, std::size_t& size) {
    const std::size_t length = std::size_t(picture.Width()) * 3;
    size = (length + 1) * std::size_t(picture.Height());
    std::unique_ptr<std::uint8_t[]> rows(new std::uint8_t[size]);
    std::vector<std::uint8_t> prior(length, 0), cur(length);
    RowFilters filters(length);
    std::uint8_t* out = rows.get();
    for (int y = 0; y < picture.Height(); ++y, out += length + 1) {
        const std::uint8_t* bgr = picture.ConstScanLine(y);
        for (std::size_t i = 0; i < length; i += 3) {
            cur[i] = bgr[i + 2];
            cur[i + 1] = bgr[i + 1];
            cur[i + 2] = bgr[i];
        }
        std::memcpy(out + 1, filters.Choose(cur.data(), prior.data(), out[0]), length);
        cur.swap(prior);
    }
    return rows;
}

struct CompressorFree {
    void operator()(libdeflate_compressor* c) const { libdeflate_free_compressor(c); }
};

void WriteChunk(QIODevice& out, const char* type, const std::uint8_t* data, std::size_t length) {
    std::uint8_t head[8];
    png::Put32(head, std::uint32_t(length));
    std::memcpy(head + 4, type, 4);
    std::uint8_t crc[4];
    png::Put32(crc, png::ChunkCrc(head + 4, data, length));
    WriteAll(out, reinterpret_cast<const char*>(head), sizeof head);
    if (length > 0) WriteAll(out, reinterpret_cast<const char*>(data), qint64(length));
    WriteAll(out, reinterpret_cast<const char*>(crc), sizeof crc);
}

}  // namespace

void WritePng(QIODevice& out, const Bitmap& picture) {
    std::size_t rawSize = 0;
    std::unique_ptr<std::uint8_t[]> raw = FilteredRows(picture, rawSize);
    std::unique_ptr<libdeflate_compressor, CompressorFree> deflater(
        libdeflate_alloc_compressor(kCompressionLevel));
    if (!deflater) throw std::bad_alloc();
    const std::size_t bound = libdeflate_zlib_compress_bound(deflater.get(), rawSize);
    std::unique_ptr<std::uint8_t[]> packed(new std::uint8_t[bound]);
    const std::size_t packedSize =
        libdeflate_zlib_compress(deflater.get(), raw.get(), rawSize, packed.get(), bound);
    raw.reset();
    deflater.reset();

    std::uint8_t header[13];
    png::Put32(header, std::uint32_t(picture.Width()));
    png::Put32(header + 4, std::uint32_t(picture.Height()));
    header[8] = 8;   // bits per sample
    header[9] = 2;   // RGB
    header[10] = 0;  // deflate
    header[11] = 0;  // the five filters
    header[12] = 0;  // not interlaced
    WriteAll(out, reinterpret_cast<const char*>(png::kSignature), sizeof png::kSignature);
    WriteChunk(out, "IHDR", header, sizeof header);
    for (std::size_t at = 0; at < packedSize; at += kDataChunk)
        WriteChunk(out, "IDAT", packed.get() + at, std::min(kDataChunk, packedSize - at));
    WriteChunk(out, "IEND", nullptr, 0);
}

std::uint64_t PngWriteBytes(int width, int height) {
    const std::uint64_t rows = (std::uint64_t(width) * 3 + 1) * std::uint64_t(height);
    // libdeflate's bound for any level; its compressor takes well under a megabyte.
    return rows + libdeflate_zlib_compress_bound(nullptr, std::size_t(rows)) + (1 << 20);
}
