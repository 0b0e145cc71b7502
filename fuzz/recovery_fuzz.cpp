// Recovery copies are read at start-up from files that a crash, a full disk or a bad sector may
// have cut short or changed. Whatever the bytes, the reader refuses them with the layered
// reader's message, or gives a document whose edges fit its layers.
#include <QFile>
#include <QTemporaryDir>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "document/layered_document.h"
#include "document/recovery_copy.h"
#include "platform/runtime_errors.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const QTemporaryDir dir;
    const QString copy = dir.path() + QStringLiteral("/copy.rec");
    const QString unpacked = dir.path() + QStringLiteral("/copy.tav");
    QFile file(copy);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return 0;
    file.write(reinterpret_cast<const char*>(data), qint64(size));
    file.close();
    try {
        const RecoveredCopy recovered = UnpackRecoveryCopy(copy, unpacked);
        LayeredDocument document = ReadLayeredDocumentFile(unpacked);
        std::vector<Bitmap*> layers;
        for (DocumentLayer& layer : document.Layers) layers.push_back(&layer.Picture);
        RestoreEdges(recovered.Edges, layers);
    } catch (const UserError&) {
    }
    return 0;
}
