#include "document/export_command.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <new>

#include "document/document_errors.h"
#include "document/document_memory.h"
#include "document/jpeg_codec.h"
#include "document/picture_files.h"
#include "platform/file_names.h"
#include "platform/memory_room.h"

namespace {

struct ExportRequest {
    QString out;
    QString in;
    int quality = 75;
    bool progressive = false;
};

void Say(const QString& text) {
    std::fprintf(stderr, "kasumiro: %s\n", text.toUtf8().constData());
}

// A message about a file, its name given as the bytes it has.
void SayAbout(const QString& file, const QString& text) {
    std::fprintf(stderr, "kasumiro: %s: %s\n", FileNameBytes(file).constData(),
                 text.toUtf8().constData());
}

const char kUsage[] = "usage: kasumiro --export OUT IN [--quality N] [--progressive]";

// False (with the reason said) for a command line we cannot follow.
bool Parse(const QStringList& args, ExportRequest& request) {
    QStringList files;
    for (int i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        if (arg == QLatin1String("--progressive")) {
            request.progressive = true;
        } else if (arg == QLatin1String("--quality")) {
            bool number = false;
            request.quality = i + 1 < args.size() ? args[++i].toInt(&number) : 0;
            if (!number || request.quality < 1 || request.quality > 100) {
                Say(QStringLiteral("--quality takes a number from 1 to 100"));
                return false;
            }
        } else if (arg.startsWith(QLatin1String("--"))) {
            Say(QStringLiteral("unknown option %1").arg(arg));
            return false;
        } else {
            files << arg;
        }
    }
    if (files.size() != 2) return false;
    request.out = files[0];
    request.in = files[1];
    return true;
}

// The visible layers of the loaded file composed on white, as the paint surface shows them.
Bitmap Composed(LoadedFile&& file) {
    // A flat picture is its own composition (one shown layer keyed on white, over white), and
    // a second picture of its size would only cost memory.
    if (file.Type != FileType::Layered) return std::move(file.Picture);
    LayerStack stack;
    Bitmap picture(file.Width(), file.Height());
    {
        // The picture keeps the composed pixels as its own when the compositor goes.
        LayerCompositor compositor(stack, picture);
        InstallLoadedFile(std::move(file), stack, compositor, picture);
        compositor.RebuildLayerCache();
    }
    return picture;
}

// Throws OutOfMemoryError, before anything is decoded, when the export would not fit: the
// layers with the decoder's work, then the layers with their composition, then the composed
// picture with the encoder's.
void CheckRoom(const ExportRequest& request, FileType inType, FileType outType) {
    const PictureFileSize file = ProbePictureFile(request.in, inType);
    if (!file.Known) return;
    const DocumentShape& shape = file.Shape;
    const std::uint64_t picture = PaintSurfaceBytes(shape);
    const std::uint64_t layers = LayerBytes(shape);
    const std::uint64_t writing =
        picture + EncodeBytes(outType, shape.Width, shape.Height, request.progressive);
    CheckMemoryRoom(std::max({layers + file.DecodeBytes, layers + picture, writing}));
}

void Write(const ExportRequest& request, FileType type, const Bitmap& picture) {
    switch (type) {
        case FileType::Bmp:
            SaveBmpFile(request.out, picture);
            break;
        case FileType::Jpeg:
            SaveJpegFile(request.out, picture, request.quality, request.progressive);
            break;
        case FileType::Png:
            SavePngFile(request.out, picture);
            break;
        case FileType::Layered:
            SaveLayeredFile(request.out, picture.Width(), picture.Height(),
                            {{clWhite, kShownMark, DefaultLayerName(0), &picture}});
            break;
        case FileType::Unknown:
            break;
    }
}

}  // namespace

bool IsExportCommand(int argc, char** argv) {
    return argc > 1 && std::strcmp(argv[1], "--export") == 0;
}

int RunExportCommand(const QStringList& args) {
    ExportRequest request;
    if (!Parse(args, request)) {
        std::fprintf(stderr, "%s\n", kUsage);
        return 2;
    }
    const QString unsupported = QStringLiteral("このファイルには対応していません。");
    const FileType outType = TypeOfName(request.out);
    const FileType inType = TypeOfName(request.in);
    if (outType == FileType::Unknown || inType == FileType::Unknown) {
        SayAbout(outType == FileType::Unknown ? request.out : request.in, unsupported);
        return 1;
    }
    const QString* failing = &request.in;
    try {
        CheckRoom(request, inType, outType);
        const Bitmap picture = Composed(LoadFile(request.in, inType));
        failing = &request.out;
        Write(request, outType, picture);
    } catch (const UserError& e) {
        SayAbout(*failing, e.Text());
        return 1;
    } catch (const std::bad_alloc&) {
        SayAbout(*failing, OutOfMemoryError().Text());
        return 1;
    }
    return 0;
}
