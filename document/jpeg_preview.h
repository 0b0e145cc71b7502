#pragma once
// The JPEG quality dialog's preview: the real decoder's output of the real encoder's file.
#include <QString>

#include "platform/bitmap.h"

// "temp.tmp" in the folder where the program keeps its own files.
QString PreviewFilePath();

// Encodes source at quality, writes the file to path, reads it back and decodes it. Throws
// UserError when the file cannot be written or read.
Bitmap PreviewThroughFile(const Bitmap& source, int quality, bool progressive, const QString& path);
