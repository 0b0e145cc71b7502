#pragma once
// Pictures on the system clipboard. Kasumiro puts a plain 24-bit picture there, which Qt offers
// to other programs in the usual image formats; it takes any image another program put there,
// with transparency flattened onto white, since a layer has no alpha channel.
#include <QImage>

#include "platform/bitmap.h"

// The image handed to the clipboard: an opaque copy of the bitmap.
QImage ClipboardImage(const Bitmap& picture);

// picture becomes the image, alpha flattened onto white. False, leaving picture alone, for a
// null image or one wider or taller than maxSide.
bool PictureFromImage(const QImage& image, Bitmap& picture, int maxSide);

// The application's clipboard (the system clipboard under a window system).
void PutPictureOnClipboard(const Bitmap& picture);
// False, leaving picture alone, when the clipboard holds no usable image.
bool TakePictureFromClipboard(Bitmap& picture, int maxSide);
