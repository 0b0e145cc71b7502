#pragma once
// The four file types and what loading and saving one means, for the file commands and the
// command line alike.
#include <QByteArray>
#include <QString>

#include "document/layered_document.h"
#include "layers/compositor.h"
#include "layers/layer_stack.h"
#include "platform/runtime_errors.h"

// The file dialogs' filter entries, in their order.
enum class FileType { Unknown = 0, Bmp = 1, Jpeg = 2, Layered = 3, Png = 4 };

inline const QString kUntitled = QStringLiteral("無題");

// By the last three characters of a name, in any case: "bmp", "jpg", "tav" or "png"; and by the
// other extensions of the picture types: ".jpeg" and ".jpe" (JPEG), ".dib" (BMP).
FileType TypeOfName(const QString& name);
// The name with its last three characters replaced by the type's extension. A name that has one
// of the type's other extensions stays as it is; one that has another type's loses it whole.
QString WithTypeExtension(const QString& name, FileType type);

// A file as loaded: a flat picture (BMP, JPEG, PNG) or every layer (layered document).
struct LoadedFile {
    FileType Type = FileType::Unknown;
    Bitmap Picture;
    LayeredDocument Document;
    int Width() const { return Type == FileType::Layered ? Document.Width : Picture.Width(); }
    int Height() const { return Type == FileType::Layered ? Document.Height : Picture.Height(); }
};

// Reads and decodes a whole file before anything of the open document is touched. Throws
// UserError (InOutError, UnsupportedVersionError, ...) with the message for the user.
LoadedFile LoadFile(const QString& path, FileType type, FileProgress* progress = nullptr);

// Makes the loaded file the document: one layer per record (or the picture as layer index 0),
// in display order, layer 0 current. The stack must have been reset to one layer; the bitmaps
// are reset here and image1 takes the picture's size, white. The layer-cache rebuild that
// follows composes the picture.
void InstallLoadedFile(LoadedFile&& file, LayerStack& stack, LayerCompositor& compositor,
                       Bitmap& image1);

// The shown document's layers in display order, for writing.
std::vector<LayerSource> DocumentLayers(const LayerStack& stack, const LayerCompositor& compositor);

// Each save replaces the file only once it is complete. Throws UserError.
void SaveBmpFile(const QString& path, const Bitmap& picture);
// Returns the JPEG written, so that the caller can show the compressed result.
QByteArray SaveJpegFile(const QString& path, const Bitmap& picture, int quality, bool progressive);
void SavePngFile(const QString& path, const Bitmap& picture);
void SaveLayeredFile(const QString& path, int width, int height,
                     const std::vector<LayerSource>& layers, FileProgress* progress = nullptr);
