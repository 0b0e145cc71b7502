// Shift-JIS arrives in layer names of documents from other machines and in "Readme.txt".
// Decoding must take any bytes; and whatever we encode must be valid for the next reader.
#include <QString>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/shift_jis.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const QString decoded = FromShiftJis(bytes);
    // Our own encoder never writes a byte sequence that decodes to a replacement character.
    const std::string encoded = ToShiftJis(decoded);
    if (FromShiftJis(encoded).contains(QChar(0xFFFD))) std::abort();
    // The same bytes taken as UTF-8 text, as a layer name typed by the user.
    const std::string fromText = ToShiftJis(QString::fromUtf8(bytes.data(), qsizetype(size)));
    if (FromShiftJis(fromText).contains(QChar(0xFFFD))) std::abort();
    return 0;
}
