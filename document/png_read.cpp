// Reading PNG files. The file is in memory: its chunks are walked and checked, the picture data
// is inflated at once into a buffer of exactly the size the header gives, then each row is
// unfiltered and its pixels put into the bitmap.
#include <cstring>
#include <memory>
#include <new>
#include <vector>

#include "document/document_errors.h"
#include "document/png_chunks.h"
#include "document/png_file.h"
#include "platform/colour.h"

namespace {

using png::Get32;

enum ColourType { ctGrey = 0, ctRgb = 2, ctPalette = 3, ctGreyAlpha = 4, ctRgba = 6 };

// Deflate codes at most 1032 bytes for each byte it takes: picture data smaller than the header
// needs by that measure is cut short or forged, and must not make us allocate for the header.
constexpr std::uint64_t kMaxDeflateRatio = 1032;

struct Header {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    int depth = 0;
    int colourType = 0;
    bool interlaced = false;

    int Channels() const {
        switch (colourType) {
            case ctRgb:
                return 3;
            case ctGreyAlpha:
                return 2;
            case ctRgba:
                return 4;
            default:
                return 1;
        }
    }
    int BitsPerPixel() const { return Channels() * depth; }
};

// What the chunks before the picture data say, and where that data lies.
struct PngFile {
    Header header;
    int paletteSize = 0;
    std::uint8_t palette[256][3] = {};  // red, green, blue as stored
    std::uint8_t paletteAlpha[256];
    // The one transparent grey or RGB colour, at the sample depth.
    bool hasKey = false;
    std::uint16_t key[3] = {};
    std::vector<std::pair<const std::uint8_t*, std::uint32_t>> data;
    std::uint64_t dataBytes = 0;

    PngFile() { std::memset(paletteAlpha, 255, sizeof paletteAlpha); }
};

std::uint16_t Get16(const std::uint8_t* p) {
    return std::uint16_t(p[0] << 8 | p[1]);
}

bool Is(const std::uint8_t* type, const char* name) {
    return std::memcmp(type, name, 4) == 0;
}

bool IsChunkType(const std::uint8_t* type) {
    for (int i = 0; i < 4; ++i)
        if (!((type[i] >= 'A' && type[i] <= 'Z') || (type[i] >= 'a' && type[i] <= 'z')))
            return false;
    return true;
}

Header ReadHeader(const std::uint8_t* d) {
    Header h;
    h.width = Get32(d);
    h.height = Get32(d + 4);
    h.depth = d[8];
    h.colourType = d[9];
    h.interlaced = d[12] == 1;
    bool depthFits = false;
    switch (h.colourType) {
        case ctGrey:
            depthFits =
                h.depth == 1 || h.depth == 2 || h.depth == 4 || h.depth == 8 || h.depth == 16;
            break;
        case ctPalette:
            depthFits = h.depth == 1 || h.depth == 2 || h.depth == 4 || h.depth == 8;
            break;
        case ctRgb:
        case ctGreyAlpha:
        case ctRgba:
            depthFits = h.depth == 8 || h.depth == 16;
            break;
        default:
            break;
    }
    if (!depthFits || h.width == 0 || h.height == 0 || h.width > png::kMaxChunkLength ||
        h.height > png::kMaxChunkLength || d[10] != 0 || d[11] != 0 || d[12] > 1)
        throw InvalidPictureFormat();
    return h;
}

void ReadPalette(PngFile& f, const std::uint8_t* d, std::uint32_t length) {
    // Only a palette picture needs one; for others it is a suggestion we do not take.
    if (f.header.colourType != ctPalette) return;
    if (length == 0 || length % 3 != 0 || length / 3 > 256) throw InvalidPictureFormat();
    f.paletteSize = int(length / 3);
    std::memcpy(f.palette, d, length);
}

// A transparency chunk of another length than its colour type's is ignored, as a broken
// ancillary chunk may be.
void ReadTransparency(PngFile& f, const std::uint8_t* d, std::uint32_t length) {
    switch (f.header.colourType) {
        case ctGrey:
            if (length != 2) return;
            f.hasKey = true;
            f.key[0] = Get16(d);
            return;
        case ctRgb:
            if (length != 6) return;
            f.hasKey = true;
            for (int i = 0; i < 3; ++i) f.key[i] = Get16(d + 2 * i);
            return;
        case ctPalette:
            std::memcpy(f.paletteAlpha, d, std::min<std::uint32_t>(length, 256));
            return;
        default:
            return;
    }
}

// Walks the chunks up to the end chunk. A chunk cut short, or a file that stops before the
// end chunk, is a file that ends early; a wrong checksum, a critical chunk we do not know or a
// broken header is no PNG we can read.
PngFile ReadChunks(const std::uint8_t* p, std::size_t size) {
    if (size < sizeof png::kSignature || std::memcmp(p, png::kSignature, sizeof png::kSignature))
        throw InvalidPictureFormat();
    PngFile f;
    bool headerSeen = false;
    for (std::size_t at = sizeof png::kSignature;;) {
        if (size - at < 12) throw ReadBeyondEnd();
        const std::uint32_t length = Get32(p + at);
        const std::uint8_t* type = p + at + 4;
        if (length > png::kMaxChunkLength || !IsChunkType(type)) throw InvalidPictureFormat();
        if (size - at - 12 < length) throw ReadBeyondEnd();
        const std::uint8_t* data = type + 4;
        if (png::ChunkCrc(type, data, length) != Get32(data + length)) throw InvalidPictureFormat();
        at += 12 + std::size_t(length);
        if (!headerSeen) {
            if (!Is(type, "IHDR") || length != 13) throw InvalidPictureFormat();
            f.header = ReadHeader(data);
            headerSeen = true;
        } else if (Is(type, "IDAT")) {
            f.data.emplace_back(data, length);
            f.dataBytes += length;
        } else if (Is(type, "IEND")) {
            break;
        } else if (Is(type, "PLTE")) {
            if (f.data.empty()) ReadPalette(f, data, length);
        } else if (Is(type, "tRNS")) {
            if (f.data.empty()) ReadTransparency(f, data, length);
        } else if ((type[0] & 0x20) == 0) {
            throw InvalidPictureFormat();  // critical: without it the picture is not what it is
        }
    }
    if (f.data.empty() || (f.header.colourType == ctPalette && f.paletteSize == 0))
        throw InvalidPictureFormat();
    return f;
}

// ---- Picture data ----

// One of the seven interlace passes, or the whole picture: the pixels at x0 + n dx, y0 + m dy.
struct Pass {
    int x0, y0, dx, dy;
};
constexpr Pass kAdam7[7] = {{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4},
                            {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}};
constexpr Pass kWhole[1] = {{0, 0, 1, 1}};

struct Passes {
    const Pass* first;
    int count;
    const Pass* begin() const { return first; }
    const Pass* end() const { return first + count; }
};

Passes PassesOf(bool interlaced) {
    return interlaced ? Passes{kAdam7, 7} : Passes{kWhole, 1};
}

std::uint64_t Count(std::uint32_t size, int start, int step) {
    return size > std::uint32_t(start)
               ? (size - std::uint32_t(start) + std::uint32_t(step) - 1) / std::uint32_t(step)
               : 0;
}

std::uint64_t RowBytes(std::uint64_t pixels, int bitsPerPixel) {
    return (pixels * std::uint64_t(bitsPerPixel) + 7) / 8;
}

// The inflated picture data: each row of each pass with its filter byte in front.
std::uint64_t InflatedSize(std::uint32_t width, std::uint32_t height, int bitsPerPixel,
                           bool interlaced) {
    std::uint64_t bytes = 0;
    for (const Pass& pass : PassesOf(interlaced)) {
        const std::uint64_t columns = Count(width, pass.x0, pass.dx);
        if (columns > 0)
            bytes += Count(height, pass.y0, pass.dy) * (1 + RowBytes(columns, bitsPerPixel));
    }
    return bytes;
}

struct DecompressorFree {
    void operator()(libdeflate_decompressor* d) const { libdeflate_free_decompressor(d); }
};

// The data inflates to exactly the header's size, or the file is refused: a stream that needs
// more room is stopped where the room ends.
void Inflate(const PngFile& f, std::uint8_t* out, std::size_t size) {
    std::vector<std::uint8_t> joined;
    const std::uint8_t* in = f.data[0].first;
    std::size_t inSize = f.data[0].second;
    if (f.data.size() > 1) {
        joined.reserve(f.dataBytes);
        for (const auto& piece : f.data)
            joined.insert(joined.end(), piece.first, piece.first + piece.second);
        in = joined.data();
        inSize = joined.size();
    }
    std::unique_ptr<libdeflate_decompressor, DecompressorFree> inflater(
        libdeflate_alloc_decompressor());
    if (!inflater) throw PictureTooLarge();
    std::size_t got = 0;
    if (libdeflate_zlib_decompress(inflater.get(), in, inSize, out, size, &got) !=
            LIBDEFLATE_SUCCESS ||
        got != size)
        throw InvalidPictureFormat();
}

std::uint8_t Paeth(int a, int b, int c) {
    const int pa = std::abs(b - c);
    const int pb = std::abs(a - c);
    const int pc = std::abs(a + b - 2 * c);
    return std::uint8_t(pa <= pb && pa <= pc ? a : (pb <= pc ? b : c));
}

// Undoes a row's filter in place. prior is the row above, already unfiltered (zeros for the
// first row of a pass); bpp the bytes of a whole pixel, at least 1.
void Unfilter(int filter, std::uint8_t* row, const std::uint8_t* prior, std::size_t length,
              std::size_t bpp) {
    const std::size_t lead = std::min(bpp, length);
    switch (filter) {
        case 0:
            return;
        case 1:
            for (std::size_t i = bpp; i < length; ++i) row[i] += row[i - bpp];
            return;
        case 2:
            for (std::size_t i = 0; i < length; ++i) row[i] += prior[i];
            return;
        case 3:
            for (std::size_t i = 0; i < lead; ++i) row[i] += prior[i] >> 1;
            for (std::size_t i = bpp; i < length; ++i)
                row[i] += std::uint8_t((row[i - bpp] + prior[i]) >> 1);
            return;
        case 4:
            for (std::size_t i = 0; i < lead; ++i) row[i] += prior[i];
            for (std::size_t i = bpp; i < length; ++i)
                row[i] += Paeth(row[i - bpp], prior[i], prior[i - bpp]);
            return;
        default:
            throw InvalidPictureFormat();
    }
}

// ---- Pixels ----

// 16-bit samples to 8 bits, rounded: v / 257 to the nearest integer (257 is odd: no ties).
inline int Reduce(int v) {
    return (v + 128) / 257;
}

struct Rgba {
    int r, g, b, a;
};

// Writes count pixels, step bytes apart, as blue, green, red laid over white.
template <typename Fetch>
void Emit(std::uint32_t count, std::uint8_t* out, std::size_t step, Fetch fetch) {
    for (std::uint32_t i = 0; i < count; ++i, out += step) {
        const Rgba c = fetch(i);
        out[0] = OverWhite(c.b, c.a);
        out[1] = OverWhite(c.g, c.a);
        out[2] = OverWhite(c.r, c.a);
    }
}

// Turns unfiltered rows into bitmap pixels, by the file's colour type and depth.
class RowConverter {
  public:
    explicit RowConverter(const PngFile& f) : f_(f) {
        // The palette laid over white once, so that palette rows are copies.
        for (int i = 0; i < 256; ++i) {
            const int a = f.paletteAlpha[i];
            colours_[i][0] = OverWhite(f.palette[i][2], a);
            colours_[i][1] = OverWhite(f.palette[i][1], a);
            colours_[i][2] = OverWhite(f.palette[i][0], a);
        }
    }

    void operator()(const std::uint8_t* in, std::uint32_t count, std::uint8_t* out,
                    std::size_t step) const {
        const int depth = f_.header.depth;
        switch (f_.header.colourType) {
            case ctGrey:
                return Grey(in, count, out, step);
            case ctPalette:
                for (std::uint32_t i = 0; i < count; ++i, out += step)
                    std::memcpy(out, colours_[Sample(in, i, depth)], 3);
                return;
            case ctGreyAlpha:
                if (depth == 8)
                    return Emit(count, out, step, [in](std::uint32_t i) {
                        const int g = in[2 * i];
                        return Rgba{g, g, g, in[2 * i + 1]};
                    });
                return Emit(count, out, step, [in](std::uint32_t i) {
                    const int g = Reduce(Get16(in + 4 * i));
                    return Rgba{g, g, g, Reduce(Get16(in + 4 * i + 2))};
                });
            case ctRgb:
                return Rgb(in, count, out, step);
            default:  // RGBA
                if (depth == 8)
                    return Emit(count, out, step, [in](std::uint32_t i) {
                        const std::uint8_t* p = in + 4 * i;
                        return Rgba{p[0], p[1], p[2], p[3]};
                    });
                return Emit(count, out, step, [in](std::uint32_t i) {
                    const std::uint8_t* p = in + 8 * i;
                    return Rgba{Reduce(Get16(p)), Reduce(Get16(p + 2)), Reduce(Get16(p + 4)),
                                Reduce(Get16(p + 6))};
                });
        }
    }

  private:
    // Sample i of a row of 1-, 2-, 4- or 8-bit samples, the first in the high bits.
    static int Sample(const std::uint8_t* in, std::uint32_t i, int depth) {
        if (depth == 8) return in[i];
        const std::uint64_t bit = std::uint64_t(i) * std::uint64_t(depth);
        return (in[bit >> 3] >> (8 - depth - int(bit & 7))) & ((1 << depth) - 1);
    }

    void Grey(const std::uint8_t* in, std::uint32_t count, std::uint8_t* out,
              std::size_t step) const {
        const int depth = f_.header.depth;
        const bool keyed = f_.hasKey;
        const int key = f_.key[0];
        if (depth == 16)
            return Emit(count, out, step, [=](std::uint32_t i) {
                const int v = Get16(in + 2 * i);
                const int g = Reduce(v);
                return Rgba{g, g, g, keyed && v == key ? 0 : 255};
            });
        // 1, 2 and 4 bits spread over 0 to 255 exactly: times 255, 85 and 17.
        const int scale = 255 / ((1 << depth) - 1);
        Emit(count, out, step, [=](std::uint32_t i) {
            const int v = Sample(in, i, depth);
            const int g = v * scale;
            return Rgba{g, g, g, keyed && v == key ? 0 : 255};
        });
    }

    void Rgb(const std::uint8_t* in, std::uint32_t count, std::uint8_t* out,
             std::size_t step) const {
        const std::uint16_t* key = f_.key;
        if (f_.header.depth == 16)
            return Emit(count, out, step, [=](std::uint32_t i) {
                const std::uint8_t* p = in + 6 * i;
                const int r = Get16(p), g = Get16(p + 2), b = Get16(p + 4);
                const bool clear = f_.hasKey && r == key[0] && g == key[1] && b == key[2];
                return Rgba{Reduce(r), Reduce(g), Reduce(b), clear ? 0 : 255};
            });
        if (f_.hasKey)
            return Emit(count, out, step, [=](std::uint32_t i) {
                const std::uint8_t* p = in + 3 * i;
                const bool clear = p[0] == key[0] && p[1] == key[1] && p[2] == key[2];
                return Rgba{p[0], p[1], p[2], clear ? 0 : 255};
            });
        // The common case, opaque 8-bit colour: a swap of red and blue.
        for (std::uint32_t i = 0; i < count; ++i, in += 3, out += step) {
            out[0] = in[2];
            out[1] = in[1];
            out[2] = in[0];
        }
    }

    const PngFile& f_;
    std::uint8_t colours_[256][3];
};

}  // namespace

Bitmap ReadPng(const char* data, std::size_t size) {
    const PngFile f = ReadChunks(reinterpret_cast<const std::uint8_t*>(data), size);
    const Header& h = f.header;
    CheckPictureSize(h.width, h.height);
    const std::uint64_t inflatedSize =
        InflatedSize(h.width, h.height, h.BitsPerPixel(), h.interlaced);
    if (inflatedSize / kMaxDeflateRatio > f.dataBytes) throw InvalidPictureFormat();
    const std::uint64_t joined = f.data.size() > 1 ? f.dataBytes : 0;
    const std::uint64_t pictureBytes =
        ((std::uint64_t(h.width) * 3 + 3) & ~std::uint64_t(3)) * h.height;
    if (!FitsInMemory(inflatedSize + joined + pictureBytes)) throw PictureTooLarge();

    std::unique_ptr<std::uint8_t[]> rows;
    Bitmap picture;
    try {
        rows.reset(new std::uint8_t[inflatedSize]);
        Inflate(f, rows.get(), std::size_t(inflatedSize));
        picture.MakeWhite(int(h.width), int(h.height));
        picture.ScanLine(0);
    } catch (const std::bad_alloc&) {
        throw PictureTooLarge();
    }

    const RowConverter convert(f);
    const int bitsPerPixel = h.BitsPerPixel();
    const std::size_t bpp = std::size_t(std::max(1, bitsPerPixel / 8));
    const std::vector<std::uint8_t> zeros(std::size_t(RowBytes(h.width, bitsPerPixel)), 0);
    std::uint8_t* at = rows.get();
    for (const Pass& pass : PassesOf(h.interlaced)) {
        const auto columns = std::uint32_t(Count(h.width, pass.x0, pass.dx));
        const auto count = std::uint32_t(Count(h.height, pass.y0, pass.dy));
        if (columns == 0 || count == 0) continue;
        const auto length = std::size_t(RowBytes(columns, bitsPerPixel));
        const std::uint8_t* prior = zeros.data();
        for (std::uint32_t r = 0; r < count; ++r) {
            std::uint8_t* row = at + 1;
            Unfilter(at[0], row, prior, length, bpp);
            const int y = pass.y0 + int(r) * pass.dy;
            convert(row, columns, picture.ScanLine(y) + 3 * pass.x0, 3 * std::size_t(pass.dx));
            prior = row;
            at += 1 + length;
        }
    }
    return picture;
}

std::uint64_t PngReadBytes(std::uint32_t width, std::uint32_t height, int bitsPerPixel,
                           bool interlaced, std::uint64_t fileSize) {
    return InflatedSize(width, height, bitsPerPixel, interlaced) + fileSize;
}
