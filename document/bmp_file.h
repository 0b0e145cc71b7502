#pragma once
// Windows bitmaps: written as uncompressed 24-bit bottom-up files, read in every common form
// (1 to 32 bits per pixel, palettes, bit fields, run-length, top-down, the old core header).
#include <cstddef>

#include "platform/bitmap.h"

class QIODevice;
class QString;

// Writes picture as a 24-bit BMP. Throws InOutError when a write fails.
void WriteBmp(QIODevice& out, const Bitmap& picture);

// Decodes a BMP file held in memory. The header is checked against the limits and the bytes
// present before the picture is allocated. Throws InvalidPictureFormat or PictureTooLarge.
Bitmap ReadBmp(const char* data, std::size_t size);
// Reads a BMP file. A plain 24-bit one goes from the file into the picture row by row; others
// are read whole and decoded. Throws InOutError too.
Bitmap ReadBmpFile(const QString& path);
// The same through Qt's general reader, for every form. ReadBmp copies plain 24-bit files
// itself, which gives the same pixels.
Bitmap ReadBmpWithQt(const char* data, std::size_t size);
