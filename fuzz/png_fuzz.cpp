// PNG files come from every other program, in every form the format has, and some are broken
// or made to hurt. Whatever the bytes, the reader refuses them with its message or gives a
// picture that our writer keeps exactly.
#include <QBuffer>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "document/png_file.h"
#include "platform/runtime_errors.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Bitmap picture;
    try {
        picture = ReadPng(reinterpret_cast<const char*>(data), size);
    } catch (const UserError&) {
        return 0;
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    WritePng(buffer, picture);
    if (ReadPng(bytes.constData(), std::size_t(bytes.size())) != picture) std::abort();
    return 0;
}
