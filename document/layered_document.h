#pragma once
// The layered document (".tav"): every layer of a picture with its pixels, transparent colour,
// visibility mark and name.
//
// A 16-byte header (version 30, layer count, height, width) and one record per layer, bottom
// layer first: the transparent colour, a grid of (width + 1) x (height + 1) four-byte cells
// written column by column, then the visibility mark and the name as counted Shift-JIS strings.
// All integers are 32-bit little-endian. Only interior cells carry pixels: the grid's border and
// the picture's column 0 and row 0 are not kept, and a border cell repeats the interior value
// written just before it (at the very start of a file, zero).
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include <QString>

#include "platform/bitmap.h"

class QIODevice;

inline constexpr std::int32_t kLayeredDocumentVersion = 30;
inline constexpr int kMaxDocumentLayers = 99;
// A counted string holds at most 255 bytes of text and its zero byte.
inline constexpr int kMaxCountedString = 256;

// Feedback while a document is written or read: the window title per layer, the progress bar
// per column. Nothing else runs meanwhile.
class FileProgress {
  public:
    virtual ~FileProgress() = default;
    virtual void SetCaption(const QString& caption) = 0;
    virtual void SetProgressRange(int minimum, int maximum) = 0;
    virtual void SetProgressPosition(int position) = 0;
};

struct DocumentLayer {
    TColor TransparentColour = clWhite;
    QString VisibilityMark;
    QString Name;
    // The name's bytes in the file, kept to be written back as they were.
    std::string NameBytes;
    Bitmap Picture;
};

struct LayeredDocument {
    int Width = 0;
    int Height = 0;
    // Bottom layer first.
    std::vector<DocumentLayer> Layers;
};

// A layer to be written; its picture has the document's size.
struct LayerSource {
    TColor TransparentColour = clWhite;
    QString VisibilityMark;
    QString Name;
    const Bitmap* Picture = nullptr;
    // When set, written in place of Name: the bytes a file gave the name.
    const std::string* NameBytes = nullptr;
};

// Writes the document to out. Throws InOutError when a write fails.
void WriteLayeredDocument(QIODevice& out, int width, int height,
                          const std::vector<LayerSource>& layers, FileProgress* progress = nullptr);

// Reads a whole document from memory. The structure is checked against the bytes present before
// any picture is allocated. Throws UnsupportedVersionError for another version, DamagedDocument
// for counts or sizes no writer makes, PictureTooLarge, or the read-beyond-end InOutError for a
// file cut short.
LayeredDocument ReadLayeredDocument(const char* data, std::size_t size,
                                    FileProgress* progress = nullptr);

// The same, reading the file piece by piece. Throws InOutError when it cannot be read.
LayeredDocument ReadLayeredDocumentFile(const QString& path, FileProgress* progress = nullptr);

// The bytes a counted string holds for text: Shift-JIS, cut to at most 255 bytes without
// splitting a character.
std::string CountedStringBytes(const QString& text);
