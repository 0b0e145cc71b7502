#include "document/picture_files.h"

#include <QIODevice>

#include "document/bmp_file.h"
#include "document/file_access.h"
#include "document/jpeg_codec.h"
#include "document/png_file.h"

namespace {

// Other names of the two picture types, as the desktop's file types list them.
struct OtherExtension {
    const char* suffix;
    FileType type;
};
constexpr OtherExtension kOtherExtensions[] = {
    {".jpeg", FileType::Jpeg}, {".jpe", FileType::Jpeg}, {".dib", FileType::Bmp}};

const OtherExtension* OtherExtensionOf(const QString& name) {
    for (const OtherExtension& e : kOtherExtensions)
        if (name.endsWith(QLatin1String(e.suffix), Qt::CaseInsensitive)) return &e;
    return nullptr;
}

}  // namespace

FileType TypeOfName(const QString& name) {
    const QString ext = name.right(3).toLower();
    if (ext == QLatin1String("bmp")) return FileType::Bmp;
    if (ext == QLatin1String("jpg")) return FileType::Jpeg;
    if (ext == QLatin1String("tav")) return FileType::Layered;
    if (ext == QLatin1String("png")) return FileType::Png;
    const OtherExtension* other = OtherExtensionOf(name);
    return other ? other->type : FileType::Unknown;
}

QString WithTypeExtension(const QString& name, FileType type) {
    static const char* const kExtensions[] = {"", "bmp", "jpg", "tav", "png"};
    const OtherExtension* other = OtherExtensionOf(name);
    if (other && other->type == type) return name;
    // Past a longer extension, not into it ("a.jpeg" as a bitmap is "a.bmp").
    const qsizetype keep = other ? name.size() - qsizetype(qstrlen(other->suffix)) + 1
                                 : std::max<qsizetype>(0, name.size() - 3);
    return name.left(keep) + QLatin1String(kExtensions[int(type)]);
}

LoadedFile LoadFile(const QString& path, FileType type, FileProgress* progress) {
    if (type == FileType::Layered) {
        LoadedFile file;
        file.Type = type;
        file.Document = ReadLayeredDocumentFile(path, progress);
        return file;
    }
    LoadedFile file;
    file.Type = type;
    if (type == FileType::Bmp) {
        file.Picture = ReadBmpFile(path);
        return file;
    }
    const QByteArray bytes = ReadWholeFile(path);
    const char* data = bytes.constData();
    const auto size = std::size_t(bytes.size());
    switch (type) {
        case FileType::Jpeg:
            file.Picture = DecodeJpeg(data, size);
            break;
        case FileType::Png:
            file.Picture = ReadPng(data, size);
            break;
        case FileType::Bmp:
        case FileType::Layered:
        case FileType::Unknown:
            throw UserError(QStringLiteral("このファイルには対応していません。"));
    }
    return file;
}

void InstallLoadedFile(LoadedFile&& file, LayerStack& stack, LayerCompositor& compositor,
                       Bitmap& image1) {
    const int width = file.Width();
    const int height = file.Height();
    image1.MakeWhite(width, height);
    compositor.Reset(width, height);
    if (file.Type != FileType::Layered) {
        compositor.LayerImages[0] = std::move(file.Picture);
        stack.SetThumbnail(0, compositor.LayerImages[0]);
        return;
    }
    std::vector<DocumentLayer>& layers = file.Document.Layers;
    for (std::size_t i = 0; i < layers.size(); ++i) {
        // After the reset layer 0 is alone, so each new layer takes the next index, on top.
        if (i > 0) stack.CreateLayer();
        const int index = int(i);
        stack.SetTransparentColour(index, layers[i].TransparentColour);
        compositor.LayerImages[i] = std::move(layers[i].Picture);
        stack.SetThumbnail(index, compositor.LayerImages[i]);
        stack.SetVisibilityMark(index, layers[i].VisibilityMark);
        stack.SetLoadedLayerName(index, layers[i].Name, layers[i].NameBytes);
    }
}

std::vector<LayerSource> DocumentLayers(const LayerStack& stack,
                                        const LayerCompositor& compositor) {
    std::vector<LayerSource> layers;
    for (int p = 0; p < stack.LayerCount(); ++p) {
        const int index = stack.DisplayOrder(p);
        layers.push_back({stack.TransparentColour(index), stack.VisibilityMark(index),
                          stack.LayerName(index), &compositor.LayerImages[std::size_t(index)],
                          stack.LoadedNameBytes(index)});
    }
    return layers;
}

void SaveBmpFile(const QString& path, const Bitmap& picture) {
    SaveFileAtomically(path, [&](QIODevice& out) { WriteBmp(out, picture); });
}

QByteArray SaveJpegFile(const QString& path, const Bitmap& picture, int quality, bool progressive) {
    const QByteArray jpeg = EncodeJpeg(picture, quality, progressive);
    SaveFileAtomically(path, [&](QIODevice& out) { WriteAll(out, jpeg); });
    return jpeg;
}

void SavePngFile(const QString& path, const Bitmap& picture) {
    SaveFileAtomically(path, [&](QIODevice& out) { WritePng(out, picture); });
}

void SaveLayeredFile(const QString& path, int width, int height,
                     const std::vector<LayerSource>& layers, FileProgress* progress) {
    SaveFileAtomically(
        path, [&](QIODevice& out) { WriteLayeredDocument(out, width, height, layers, progress); });
}
