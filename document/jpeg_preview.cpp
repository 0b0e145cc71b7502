#include "document/jpeg_preview.h"

#include "document/file_access.h"
#include "document/jpeg_codec.h"
#include "platform/app_paths.h"

QString PreviewFilePath() {
    return AppPaths::WritableDir() + QStringLiteral("/temp.tmp");
}

Bitmap PreviewThroughFile(const Bitmap& source, int quality, bool progressive,
                          const QString& path) {
    const QByteArray jpeg = EncodeJpeg(source, quality, progressive);
    SaveFileAtomically(path, [&](QIODevice& out) { WriteAll(out, jpeg); });
    const QByteArray back = ReadWholeFile(path);
    return DecodeJpeg(back.constData(), std::size_t(back.size()));
}
