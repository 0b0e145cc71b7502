#pragma once
// What a document holds in memory, buffer kind by buffer kind, and what opening or writing a
// picture file takes on top of it. Most picture-sized buffers hold memory only once something
// is drawn into them; these count what a document holds once it is used, which is what has to
// fit when it is made.
#include <cstdint>

#include <QString>

#include "document/picture_files.h"

struct DocumentShape {
    int Width = 0;
    int Height = 0;
    int Layers = 1;
};

// One 24-bit bitmap of the picture's size, rows padded to four bytes.
std::uint64_t PictureBytes(int width, int height);

// The layer bitmaps: one per layer.
std::uint64_t LayerBytes(const DocumentShape& shape);
// The paint surface's picture, composed from the shown layers (the loupe shows it without a
// copy of its own).
std::uint64_t PaintSurfaceBytes(const DocumentShape& shape);
// The undo pair: the before- and the after-snapshot of the layer last changed.
std::uint64_t UndoPairBytes(const DocumentShape& shape);
// The shown layers below the current one, composed once per change in the layer window; there
// is none while a single layer has nothing below it.
std::uint64_t BelowCacheBytes(const DocumentShape& shape);
// Everything the main window keeps for a document of this shape.
std::uint64_t WindowDocumentBytes(const DocumentShape& shape);

// A picture file's size as its header states it, read without decoding: enough to count what
// opening it takes. Known is false when the header does not say (or says something no reader
// takes); the reader then judges the file itself.
struct PictureFileSize {
    bool Known = false;
    DocumentShape Shape;
    // What the decoder holds at its highest beside the decoded layers: the file's bytes, the
    // decoded rows before their conversion, a progressive JPEG's coefficients.
    std::uint64_t DecodeBytes = 0;
};
PictureFileSize ProbePictureFile(const QString& path, FileType type);

// What writing a picture of this size as type holds beside the picture: the compressed bytes
// and the encoder's own buffers.
std::uint64_t EncodeBytes(FileType type, int width, int height, bool progressive);
