#pragma once
// A recovery copy: the open document as the layered format holds it, compressed, together with
// what the layered format does not keep: the name and type of the file the document belongs to,
// and each layer's column 0 and row 0.
//
// The file: "KasumiroRecovery" (16 bytes), the copy's version (1), the file type, the file
// name's byte count and bytes (empty for an untitled document), then two compressed streams,
// the layered document and the edges (per layer, bottom first: row 0, then column 0, as blue,
// green, red). A stream is a run of pieces, each a 32-bit byte count and that many bytes of
// qCompress output (at most 1 MiB unpacked); a count of 0 ends it. All integers are 32-bit
// little-endian.
#include <atomic>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include <QString>

#include "document/picture_files.h"
#include "platform/bitmap.h"

struct RecoveryLayer {
    TColor TransparentColour = clWhite;
    QString VisibilityMark;
    QString Name;
    // The bytes a file gave the name, written back as they were.
    std::optional<std::string> NameBytes;
    // A picture shared with the layer (Bitmap::Shared()): its owner's writes go to a copy.
    Bitmap Picture;
};

// Everything a copy holds. It belongs to whoever writes it: nothing in it refers to the
// program's state, so it may be written on another thread.
struct RecoveryContent {
    int Width = 0;
    int Height = 0;
    // Bottom layer first.
    std::vector<RecoveryLayer> Layers;
    // Empty while the document has no file.
    QString FileName;
    FileType Type = FileType::Unknown;
};

// Thrown out of WriteRecoveryCopy when its cancel flag was raised; nothing was written.
struct RecoveryCopyCancelled {};

// Writes the copy through the documents' own atomic, flushed and synced save: the previous copy
// stays whole until the new one is complete. Throws UserError (InOutError) when it fails,
// RecoveryCopyCancelled when cancel rises meanwhile.
void WriteRecoveryCopy(const QString& path, const RecoveryContent& content,
                       const std::atomic<bool>* cancel = nullptr);

// What a copy says beside its layered document.
struct RecoveredCopy {
    // Empty for an untitled document.
    QString FileName;
    FileType Type = FileType::Unknown;
    // Per layer, bottom first: row 0, then column 0, blue, green, red.
    std::vector<std::uint8_t> Edges;
};

// Reads a copy and unpacks its layered document into documentPath, a plain layered file that
// the layered reader then judges. Throws the layered reader's errors for a copy that is no
// recovery copy (DamagedDocument) or is cut short (the read-beyond-end InOutError), and
// InOutError when documentPath cannot be written.
RecoveredCopy UnpackRecoveryCopy(const QString& path, const QString& documentPath);

// Puts each layer's row 0 and column 0 back. Throws DamagedDocument when the edges do not match
// the layers.
void RestoreEdges(const std::vector<std::uint8_t>& edges, const std::vector<Bitmap*>& layers);
