// Bitmaps from other programs come in many forms, and some are broken. Whatever the bytes, the
// reader refuses them with its message or gives a picture that our writer keeps exactly.
#include <QBuffer>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "document/bmp_file.h"
#include "platform/runtime_errors.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Bitmap picture;
    try {
        picture = ReadBmp(reinterpret_cast<const char*>(data), size);
    } catch (const UserError&) {
        return 0;
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    WriteBmp(buffer, picture);
    if (ReadBmp(bytes.constData(), std::size_t(bytes.size())) != picture) std::abort();
    return 0;
}
