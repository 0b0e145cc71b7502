#include "document/layered_document.h"

#include <algorithm>
#include <cstring>

#include <QFile>
#include <QIODevice>

#include "document/document_errors.h"
#include "document/file_access.h"
#include "platform/shift_jis.h"
#include "platform/wide_rows.h"

namespace {

// Columns are gathered in blocks of about this many bytes, so that the row-major picture is read
// row by row while the column-major grid is written out in large pieces.
constexpr std::size_t kBlockBytes = std::size_t(1) << 20;

void PutInt(std::uint8_t* p, std::uint32_t v) {
    p[0] = std::uint8_t(v);
    p[1] = std::uint8_t(v >> 8);
    p[2] = std::uint8_t(v >> 16);
    p[3] = std::uint8_t(v >> 24);
}

std::int32_t GetInt(const std::uint8_t* p) {
    return std::int32_t(std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
                        std::uint32_t(p[3]) << 24);
}

// A pixel (blue, green, red in memory) as a cell: red + 256 * green + 65536 * blue.
std::uint32_t CellOf(const std::uint8_t* bgr) {
    return std::uint32_t(bgr[2]) | std::uint32_t(bgr[1]) << 8 | std::uint32_t(bgr[0]) << 16;
}

static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "cells are moved as native integers");

std::uint32_t Load32(const std::uint8_t* p) {
    std::uint32_t v;
    std::memcpy(&v, p, 4);
    return v;
}

// The grid is the picture turned on its side. It is turned a tile of this many rows at a time:
// the tile's rows stay in the cache while one column after another of it is gathered, and each
// column of the tile is one cache line of cells.
constexpr int kTileRows = 16;  // the wide loops turn tiles of 16 x 16

// Asks for the pixels of columns first..last in the tile of rows from top on, which the next
// turn of a tile works on: a tile's short pieces of many rows are not what the processor
// fetches ahead by itself.
template <int ForWriting>
void Prefetch(const Bitmap& picture, int top, int first, int last) {
    const int bottom = std::min(picture.Height(), top + kTileRows);
    for (int y = top; y < bottom; ++y) {
        const std::uint8_t* row = picture.ConstScanLine(y);
        for (int at = 3 * first; at < 3 * last + 3; at += 64)
            __builtin_prefetch(row + at, ForWriting);
        __builtin_prefetch(row + 3 * last + 2, ForWriting);
    }
}

// Fills the interior cells of columns first..last (first >= 1) from the picture; block holds
// the cells of column x0 onward, column by column, cells to a column.
void PixelsToCells(const Bitmap& picture, int x0, int first, int last, std::uint8_t* block,
                   std::size_t cells) {
    const std::uint8_t* rows[kTileRows];
    for (int top = 1; top < picture.Height(); top += kTileRows) {
        const int count = std::min(kTileRows, picture.Height() - top);
        for (int i = 0; i < count; ++i) rows[i] = picture.ConstScanLine(top + i);
        Prefetch<0>(picture, top + kTileRows, first, last);
        int x = first;
        if (count == kTileRows && WideRowsAvailable())
            for (; x + 16 <= last + 1; x += 16) {
                const std::uint8_t* at[kTileRows];
                for (int i = 0; i < kTileRows; ++i) at[i] = rows[i] + 3 * x;
                WidePixelsToCells(at, block + (std::size_t(x - x0) * cells + std::size_t(top)) * 4,
                                  cells * 4);
            }
        for (; x <= last; ++x) {
            std::uint8_t* to = block + (std::size_t(x - x0) * cells + std::size_t(top)) * 4;
            for (int i = 0; i < count; ++i) {
                // The four bytes ending with the pixel (x >= 1 has a byte before it), reversed,
                // hold red, green and blue with that byte on top.
                const std::uint32_t v = __builtin_bswap32(Load32(rows[i] + 3 * x - 1)) & 0xFFFFFFu;
                std::memcpy(to + 4 * i, &v, 4);
            }
        }
    }
}

// The reverse for reading: the interior pixels of columns first..last from the cells. A cell's
// top byte is not part of the pixel.
void CellsToPixels(const std::uint8_t* block, int x0, int first, int last, std::size_t cells,
                   Bitmap& picture) {
    const int width = picture.Width();
    std::uint8_t* rows[kTileRows];
    for (int top = 1; top < picture.Height() && first <= last; top += kTileRows) {
        const int count = std::min(kTileRows, picture.Height() - top);
        for (int i = 0; i < count; ++i) rows[i] = picture.ScanLine(top + i);
        Prefetch<1>(picture, top + kTileRows, first, last);
        int x = first;
        if (count == kTileRows && WideRowsAvailable())
            for (; x + 16 <= last + 1; x += 16) {
                std::uint8_t* at[kTileRows];
                for (int i = 0; i < kTileRows; ++i) at[i] = rows[i] + 3 * x;
                WideCellsToPixels(block + (std::size_t(x - x0) * cells + std::size_t(top)) * 4,
                                  cells * 4, at);
            }
        for (; x <= last; ++x) {
            const std::uint8_t* c = block + (std::size_t(x - x0) * cells + std::size_t(top)) * 4;
            for (int i = 0; i < count; ++i, c += 4) {
                std::uint8_t* to = rows[i] + 3 * x;
                if (x < width - 1) {
                    // Blue, green, red and a zero over the next pixel's first byte, which is
                    // stored after this one.
                    const std::uint32_t v = __builtin_bswap32(Load32(c)) >> 8;
                    std::memcpy(to, &v, 4);
                } else {
                    // The row's last pixel: the byte after it is not the grid's.
                    to[0] = c[2];
                    to[1] = c[1];
                    to[2] = c[0];
                }
            }
        }
    }
}

int ColumnsPerBlock(int height) {
    const std::size_t column = (std::size_t(height) + 1) * 4;
    return int(std::max<std::size_t>(1, kBlockBytes / column));
}

void WriteInt(QIODevice& out, std::int32_t v) {
    std::uint8_t bytes[4];
    PutInt(bytes, std::uint32_t(v));
    WriteAll(out, reinterpret_cast<const char*>(bytes), 4);
}

void WriteCountedBytes(QIODevice& out, const std::string& bytes) {
    WriteInt(out, std::int32_t(bytes.size() + 1));
    WriteAll(out, bytes.c_str(), qint64(bytes.size() + 1));
}

// Writes one layer's grid. carry is the last interior cell written so far in the file.
void WriteGrid(QIODevice& out, const Bitmap& picture, int width, int height, std::uint32_t& carry,
               FileProgress* progress) {
    const std::size_t cells = std::size_t(height) + 1;
    const bool interior = width >= 2 && height >= 2;
    const std::uint32_t carryIn = carry;
    const auto pixel = [&](int x, int y) { return CellOf(picture.ConstScanLine(y) + 3 * x); };
    const int perBlock = ColumnsPerBlock(height);
    std::vector<std::uint8_t> block;
    for (int x0 = 0; x0 <= width; x0 += perBlock) {
        const int x1 = std::min(width, x0 + perBlock - 1);
        block.resize(std::size_t(x1 - x0 + 1) * cells * 4);
        const auto cell = [&](int x, int y) { return &block[((x - x0) * cells + y) * 4]; };
        if (interior)
            PixelsToCells(picture, x0, std::max(x0, 1), std::min(x1, width - 1), block.data(),
                          cells);
        for (int x = x0; x <= x1; ++x) {
            if (!interior || x == 0 || x == width) {
                const std::uint32_t v =
                    (interior && x == width) ? pixel(width - 1, height - 1) : carryIn;
                for (int y = 0; y <= height; ++y) PutInt(cell(x, y), v);
            } else {
                PutInt(cell(x, 0), x == 1 ? carryIn : pixel(x - 1, height - 1));
                PutInt(cell(x, height), pixel(x, height - 1));
            }
        }
        WriteAll(out, reinterpret_cast<const char*>(block.data()), qint64(block.size()));
        if (progress)
            for (int x = x0; x <= x1; ++x) progress->SetProgressPosition(x + 1);
    }
    if (interior) carry = pixel(width - 1, height - 1);
}

// Where a document's bytes come from: memory, or a file read piece by piece so that a large
// document never needs a second copy of itself.
class ByteSource {
  public:
    virtual ~ByteSource() = default;
    virtual std::uint64_t Size() const = 0;
    // count bytes at offset (within Size()); valid until the next call.
    virtual const std::uint8_t* Bytes(std::uint64_t offset, std::size_t count) = 0;
};

class MemorySource : public ByteSource {
  public:
    MemorySource(const char* data, std::size_t size)
        : data_(reinterpret_cast<const std::uint8_t*>(data)), size_(size) {}
    std::uint64_t Size() const override { return size_; }
    const std::uint8_t* Bytes(std::uint64_t offset, std::size_t) override { return data_ + offset; }

  private:
    const std::uint8_t* data_;
    std::size_t size_;
};

class FileSource : public ByteSource {
  public:
    explicit FileSource(QFile& file) : file_(file), size_(std::uint64_t(file.size())) {}
    std::uint64_t Size() const override { return size_; }
    const std::uint8_t* Bytes(std::uint64_t offset, std::size_t count) override {
        scratch_.resize(std::max(scratch_.size(), count));
        char* to = reinterpret_cast<char*>(scratch_.data());
        // A file that shrinks while we read it ends early, like any file cut short.
        if (!file_.seek(qint64(offset)) || file_.read(to, qint64(count)) != qint64(count))
            throw ReadBeyondEnd();
        return scratch_.data();
    }

  private:
    QFile& file_;
    std::uint64_t size_;
    std::vector<std::uint8_t> scratch_;
};

// A cursor over the bytes that refuses to step past the end.
class ByteReader {
  public:
    explicit ByteReader(ByteSource& source) : source_(source), size_(source.Size()) {}

    void Skip(std::uint64_t count) {
        if (count > size_ - pos_) throw ReadBeyondEnd();
        pos_ += count;
    }
    const std::uint8_t* Take(std::size_t count) {
        const std::uint64_t at = pos_;
        Skip(count);
        return source_.Bytes(at, count);
    }
    std::int32_t Int() { return GetInt(Take(4)); }
    // A counted string's count, checked before its bytes are taken.
    std::int32_t StringCount() {
        const std::int32_t count = Int();
        if (count < 1 || count > kMaxCountedString) throw DamagedDocument();
        return count;
    }
    // The text's bytes, up to the first zero byte.
    std::string CountedBytes() {
        const std::int32_t count = StringCount();
        const auto* begin = reinterpret_cast<const char*>(Take(std::size_t(count)));
        return std::string(begin, std::find(begin, begin + count, '\0'));
    }

  private:
    ByteSource& source_;
    std::uint64_t size_;
    std::uint64_t pos_ = 0;
};

struct Header {
    int count;
    int height;
    int width;
};

// Checks the header and walks every record, so that a broken file is refused before anything is
// allocated.
Header CheckStructure(ByteSource& source) {
    ByteReader in(source);
    if (in.Int() != kLayeredDocumentVersion) throw UnsupportedVersionError();
    const std::int32_t count = in.Int();
    const std::int32_t height = in.Int();
    const std::int32_t width = in.Int();
    if (count < 1 || count > kMaxDocumentLayers || width < 1 || height < 1) throw DamagedDocument();
    if (width > kMaxPictureSide || height > kMaxPictureSide) throw PictureTooLarge();
    const std::uint64_t grid = 4 * (std::uint64_t(width) + 1) * (std::uint64_t(height) + 1);
    for (int i = 0; i < count; ++i) {
        in.Skip(4 + grid);
        in.Skip(std::uint64_t(in.StringCount()));
        in.Skip(std::uint64_t(in.StringCount()));
    }
    CheckPictureSize(width, height, count);
    return {count, height, width};
}

// Reads one layer's grid a block of columns at a time (a block is contiguous in the file).
void ReadGrid(ByteReader& in, Bitmap& picture, FileProgress* progress) {
    const int width = picture.Width();
    const int height = picture.Height();
    const std::size_t cells = std::size_t(height) + 1;
    const int perBlock = ColumnsPerBlock(height);
    for (int x0 = 0; x0 <= width; x0 += perBlock) {
        const int x1 = std::min(width, x0 + perBlock - 1);
        const std::uint8_t* block = in.Take(std::size_t(x1 - x0 + 1) * cells * 4);
        CellsToPixels(block, x0, std::max(x0, 1), std::min(x1, width - 1), cells, picture);
        if (progress)
            for (int x = x0; x <= x1; ++x) progress->SetProgressPosition(x + 1);
    }
}

LayeredDocument ReadDocument(ByteSource& source, FileProgress* progress) {
    const Header header = CheckStructure(source);
    LayeredDocument doc;
    doc.Width = header.width;
    doc.Height = header.height;
    if (progress) {
        progress->SetProgressRange(0, header.width);
        progress->SetProgressPosition(0);
    }
    ByteReader in(source);
    in.Skip(16);
    try {
        doc.Layers.resize(std::size_t(header.count));
        for (int i = 0; i < header.count; ++i) {
            DocumentLayer& layer = doc.Layers[std::size_t(i)];
            if (progress)
                progress->SetCaption(QStringLiteral("レイヤの%1枚目を開いています...").arg(i + 1));
            layer.TransparentColour = TColor(in.Int());
            layer.Picture.MakeWhite(header.width, header.height);
            ReadGrid(in, layer.Picture, progress);
            layer.VisibilityMark = FromShiftJis(in.CountedBytes());
            layer.NameBytes = in.CountedBytes();
            layer.Name = FromShiftJis(layer.NameBytes);
            if (progress) progress->SetProgressPosition(0);
        }
    } catch (const std::bad_alloc&) {
        throw PictureTooLarge();
    }
    return doc;
}

}  // namespace

std::string CountedStringBytes(const QString& text) {
    const std::string bytes = ToShiftJis(text);
    const std::size_t limit = kMaxCountedString - 1;
    std::size_t keep = 0;
    while (keep < bytes.size()) {
        const auto lead = std::uint8_t(bytes[keep]);
        const bool doubleByte = (lead >= 0x81 && lead <= 0x9F) || (lead >= 0xE0 && lead <= 0xFC);
        const std::size_t step = doubleByte ? 2 : 1;
        if (keep + step > limit) break;
        keep += step;
    }
    return bytes.substr(0, std::min(keep, bytes.size()));
}

void WriteLayeredDocument(QIODevice& out, int width, int height,
                          const std::vector<LayerSource>& layers, FileProgress* progress) {
    WriteInt(out, kLayeredDocumentVersion);
    WriteInt(out, std::int32_t(layers.size()));
    WriteInt(out, height);
    WriteInt(out, width);
    if (progress) {
        progress->SetProgressRange(0, width);
        progress->SetProgressPosition(0);
    }
    std::uint32_t carry = 0;
    for (std::size_t i = 0; i < layers.size(); ++i) {
        const LayerSource& layer = layers[i];
        if (progress)
            progress->SetCaption(QStringLiteral("レイヤの%1枚目を保存しています...").arg(i + 1));
        WriteInt(out, std::int32_t(layer.TransparentColour));
        WriteGrid(out, *layer.Picture, width, height, carry, progress);
        WriteCountedBytes(out, CountedStringBytes(layer.VisibilityMark));
        WriteCountedBytes(out, layer.NameBytes ? *layer.NameBytes : CountedStringBytes(layer.Name));
        if (progress) progress->SetProgressPosition(0);
    }
}

LayeredDocument ReadLayeredDocument(const char* data, std::size_t size, FileProgress* progress) {
    MemorySource source(data, size);
    return ReadDocument(source, progress);
}

LayeredDocument ReadLayeredDocumentFile(const QString& path, FileProgress* progress) {
    QFile file;
    OpenFileForReading(file, path);
    FileSource source(file);
    return ReadDocument(source, progress);
}
