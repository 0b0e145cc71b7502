// Layered documents come by mail and by download, damaged or made by hand. Whatever the bytes,
// the reader refuses them with its message or gives a document that writes back and reads
// again to the same pictures.
#include <QBuffer>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "document/layered_document.h"
#include "platform/runtime_errors.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    LayeredDocument doc;
    try {
        doc = ReadLayeredDocument(reinterpret_cast<const char*>(data), size);
    } catch (const UserError&) {
        return 0;
    }
    std::vector<LayerSource> sources;
    for (const DocumentLayer& layer : doc.Layers)
        sources.push_back(
            {layer.TransparentColour, layer.VisibilityMark, layer.Name, &layer.Picture});
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    WriteLayeredDocument(buffer, doc.Width, doc.Height, sources);
    const LayeredDocument again = ReadLayeredDocument(bytes.constData(), std::size_t(bytes.size()));
    if (again.Width != doc.Width || again.Height != doc.Height ||
        again.Layers.size() != doc.Layers.size())
        std::abort();
    for (std::size_t i = 0; i < doc.Layers.size(); ++i)
        if (again.Layers[i].Picture != doc.Layers[i].Picture ||
            again.Layers[i].TransparentColour != doc.Layers[i].TransparentColour)
            std::abort();
    return 0;
}
