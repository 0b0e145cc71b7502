#include "document/recovery_copy.h"

#include <libdeflate.h>

#include <algorithm>
#include <cstring>
#include <exception>
#include <memory>
#include <new>

#include <QFile>
#include <QIODevice>

#include "document/document_errors.h"
#include "document/file_access.h"
#include "document/layered_document.h"
#include "platform/file_names.h"

namespace {

constexpr char kMagic[16] = {'K', 'a', 's', 'u', 'm', 'i', 'r', 'o',
                             'R', 'e', 'c', 'o', 'v', 'e', 'r', 'y'};
constexpr std::uint32_t kCopyVersion = 1;
// Pieces are compressed one by one, so that neither side holds more than a piece at a time.
constexpr qint64 kPieceBytes = qint64(1) << 20;
// What the reader takes for a piece, unpacked, with room to spare; packed, it may be twice that
// before it is no piece of ours.
constexpr qint64 kMaxPieceBytes = 2 * kPieceBytes;
// Speed before size: the copy is written while the user paints.
constexpr int kCompressionLevel = 1;

QByteArray IntBytes(std::uint32_t v) {
    const char bytes[4] = {char(v), char(v >> 8), char(v >> 16), char(v >> 24)};
    return QByteArray(bytes, 4);
}

// Compresses what is written to it into pieces on out. A failure below is kept and reported as
// a failed write, since exceptions must not cross Qt's frames; the caller rethrows it.
class PieceWriter : public QIODevice {
  public:
    PieceWriter(QIODevice& out, const std::atomic<bool>* cancel) : out_(out), cancel_(cancel) {
        open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    }
    bool isSequential() const override { return true; }
    // Writes what is pending and the stream's end.
    void Finish() {
        Flush();
        WriteAll(out_, IntBytes(0));
    }
    std::exception_ptr Failure() const { return failure_; }

  protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 size) override {
        try {
            // No piece holds more than kPieceBytes, however large the write.
            for (qint64 done = 0; done < size;) {
                const qint64 part = std::min(size - done, kPieceBytes - pending_.size());
                pending_.append(data + done, part);
                done += part;
                if (pending_.size() >= kPieceBytes) Flush();
            }
            return size;
        } catch (...) {
            failure_ = std::current_exception();
            return -1;
        }
    }

  private:
    void Flush() {
        if (cancel_ && cancel_->load(std::memory_order_relaxed)) throw RecoveryCopyCancelled();
        if (pending_.isEmpty()) return;
        const QByteArray piece = qCompress(pending_, kCompressionLevel);
        pending_.clear();
        WriteAll(out_, IntBytes(std::uint32_t(piece.size())));
        WriteAll(out_, piece);
    }

    QIODevice& out_;
    const std::atomic<bool>* cancel_;
    QByteArray pending_;
    std::exception_ptr failure_;
};

// Runs write on a piece writer over out, then ends the stream. A failure inside the writer
// comes out as itself.
template <typename Write>
void WriteStream(QIODevice& out, const std::atomic<bool>* cancel, Write&& write) {
    PieceWriter pieces(out, cancel);
    try {
        write(pieces);
        pieces.Finish();
    } catch (...) {
        if (pieces.Failure()) std::rethrow_exception(pieces.Failure());
        throw;
    }
}

void WriteEdges(QIODevice& out, const RecoveryContent& content) {
    QByteArray column;
    for (const RecoveryLayer& layer : content.Layers) {
        const Bitmap& picture = layer.Picture;
        WriteAll(out, reinterpret_cast<const char*>(picture.ConstScanLine(0)),
                 qint64(content.Width) * 3);
        column.resize(qsizetype(content.Height) * 3);
        for (int y = 0; y < content.Height; ++y)
            std::memcpy(column.data() + qsizetype(y) * 3, picture.ConstScanLine(y), 3);
        WriteAll(out, column);
    }
}

std::uint32_t GetInt(const char* p) {
    const auto* u = reinterpret_cast<const unsigned char*>(p);
    return std::uint32_t(u[0]) | std::uint32_t(u[1]) << 8 | std::uint32_t(u[2]) << 16 |
           std::uint32_t(u[3]) << 24;
}

struct InflaterFree {
    void operator()(libdeflate_decompressor* d) const { libdeflate_free_decompressor(d); }
};

// A piece as qCompress made it: its size (32-bit big-endian), then a zlib stream. It unpacks to
// exactly that size, never more than a piece holds, or it is as good as missing: damaged bytes
// must not make the reader ask for gigabytes.
QByteArray Unpack(const QByteArray& packed) {
    if (packed.size() < 4) throw ReadBeyondEnd();
    const auto* u = reinterpret_cast<const unsigned char*>(packed.constData());
    const std::size_t size = std::size_t(u[0]) << 24 | std::size_t(u[1]) << 16 |
                             std::size_t(u[2]) << 8 | std::size_t(u[3]);
    if (size == 0 || size > std::size_t(kMaxPieceBytes)) throw ReadBeyondEnd();
    const std::unique_ptr<libdeflate_decompressor, InflaterFree> inflater(
        libdeflate_alloc_decompressor());
    if (!inflater) throw std::bad_alloc();
    QByteArray piece(qsizetype(size), Qt::Uninitialized);
    std::size_t got = 0;
    if (libdeflate_zlib_decompress(inflater.get(), u + 4, std::size_t(packed.size()) - 4,
                                   piece.data(), size, &got) != LIBDEFLATE_SUCCESS ||
        got != size)
        throw ReadBeyondEnd();
    return piece;
}

class CopyReader {
  public:
    explicit CopyReader(QFile& file) : file_(file) {}
    QByteArray Take(qint64 count) {
        QByteArray bytes = file_.read(count);
        if (bytes.size() != count) throw ReadBeyondEnd();
        return bytes;
    }
    std::uint32_t Int() { return GetInt(Take(4).constData()); }
    // One stream's pieces, unpacked, to each(piece) until its end.
    template <typename Each>
    void Stream(Each&& each) {
        for (;;) {
            const std::uint32_t size = Int();
            if (size == 0) return;
            if (size > 2 * kMaxPieceBytes) throw DamagedDocument();
            each(Unpack(Take(size)));
        }
    }

  private:
    QFile& file_;
};

}  // namespace

void WriteRecoveryCopy(const QString& path, const RecoveryContent& content,
                       const std::atomic<bool>* cancel) {
    std::vector<LayerSource> sources;
    for (const RecoveryLayer& layer : content.Layers)
        sources.push_back({layer.TransparentColour, layer.VisibilityMark, layer.Name,
                           &layer.Picture, layer.NameBytes ? &*layer.NameBytes : nullptr});
    const QByteArray name = FileNameBytes(content.FileName);
    SaveFileAtomically(path, [&](QIODevice& out) {
        WriteAll(out, kMagic, sizeof kMagic);
        WriteAll(out, IntBytes(kCopyVersion));
        WriteAll(out, IntBytes(std::uint32_t(content.Type)));
        WriteAll(out, IntBytes(std::uint32_t(name.size())));
        WriteAll(out, name);
        WriteStream(out, cancel, [&](QIODevice& pieces) {
            WriteLayeredDocument(pieces, content.Width, content.Height, sources);
        });
        WriteStream(out, cancel, [&](QIODevice& pieces) { WriteEdges(pieces, content); });
    });
}

RecoveredCopy UnpackRecoveryCopy(const QString& path, const QString& documentPath) {
    QFile file;
    OpenFileForReading(file, path);
    CopyReader in(file);
    if (in.Take(sizeof kMagic) != QByteArray(kMagic, sizeof kMagic) || in.Int() != kCopyVersion)
        throw DamagedDocument();
    RecoveredCopy copy;
    copy.Type = FileType(in.Int());
    const std::uint32_t nameSize = in.Int();
    if (nameSize > 65536) throw DamagedDocument();
    copy.FileName = FileNameFromBytes(in.Take(nameSize));

    // The layered document goes to a file of its own: the layered reader reads it from there,
    // piece by piece, as it reads any document.
    SaveFileAtomically(documentPath, [&](QIODevice& out) {
        in.Stream([&](const QByteArray& piece) { WriteAll(out, piece); });
    });
    QByteArray edges;
    in.Stream([&](const QByteArray& piece) {
        // The edges of 99 layers of the largest picture; anything beyond is no copy of ours.
        if (edges.size() + piece.size() > qsizetype(kMaxDocumentLayers) * 2 * kMaxPictureSide * 3)
            throw DamagedDocument();
        edges.append(piece);
    });
    copy.Edges.assign(edges.begin(), edges.end());
    return copy;
}

void RestoreEdges(const std::vector<std::uint8_t>& edges, const std::vector<Bitmap*>& layers) {
    std::size_t expected = 0;
    for (const Bitmap* layer : layers)
        expected += (std::size_t(layer->Width()) + std::size_t(layer->Height())) * 3;
    if (edges.size() != expected) throw DamagedDocument();
    const std::uint8_t* from = edges.data();
    for (Bitmap* layer : layers) {
        // Only what differs is written, so that a white layer stays without memory.
        const auto put = [&](int y, std::size_t bytes) {
            if (std::memcmp(layer->ConstScanLine(y), from, bytes) != 0)
                std::memcpy(layer->ScanLine(y), from, bytes);
            from += bytes;
        };
        put(0, std::size_t(layer->Width()) * 3);
        for (int y = 0; y < layer->Height(); ++y) put(y, 3);
    }
}
