#include "platform/shift_jis.h"

#include <iconv.h>

#include <cerrno>
#include <vector>

namespace {

// Runs iconv over input; on a character it cannot take, writes replacement and skips
// skipBytes of input (or one input character's worth, as the caller says).
std::string Convert(const char* to, const char* from, const std::string& input,
                    const std::string& replacement, std::size_t skipBytes) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) return std::string();
    std::string out;
    std::vector<char> buffer(4096);
    char* in = const_cast<char*>(input.data());
    std::size_t inLeft = input.size();
    while (inLeft > 0) {
        char* outPtr = buffer.data();
        std::size_t outLeft = buffer.size();
        const std::size_t rc = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
        out.append(buffer.data(), buffer.size() - outLeft);
        if (rc != static_cast<std::size_t>(-1)) break;
        if (errno == E2BIG) continue;
        // Invalid or incomplete input: replace and step over it.
        out += replacement;
        const std::size_t step = std::min(skipBytes, inLeft);
        in += step;
        inLeft -= step;
    }
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    iconv_close(cd);
    return out;
}

std::size_t Utf8SequenceLength(unsigned char lead) {
    if (lead < 0x80) return 1;
    if ((lead >> 5) == 0x6) return 2;
    if ((lead >> 4) == 0xE) return 3;
    if ((lead >> 3) == 0x1E) return 4;
    return 1;
}

}  // namespace

std::string ToShiftJis(const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    const std::string input(utf8.constData(), static_cast<std::size_t>(utf8.size()));
    // On an unmappable character iconv stops at its first byte; skip the whole character.
    std::string out;
    std::size_t pos = 0;
    while (pos < input.size()) {
        // Convert as much as possible in one call, then handle the failing character.
        iconv_t cd = iconv_open("CP932", "UTF-8");
        if (cd == reinterpret_cast<iconv_t>(-1)) return std::string();
        char* in = const_cast<char*>(input.data()) + pos;
        std::size_t inLeft = input.size() - pos;
        std::vector<char> buffer(inLeft * 2 + 16);
        char* outPtr = buffer.data();
        std::size_t outLeft = buffer.size();
        const std::size_t rc = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
        iconv_close(cd);
        out.append(buffer.data(), buffer.size() - outLeft);
        pos = input.size() - inLeft;
        if (rc != static_cast<std::size_t>(-1) || inLeft == 0) break;
        out += '?';
        pos += Utf8SequenceLength(static_cast<unsigned char>(input[pos]));
    }
    return out;
}

QString FromShiftJis(const std::string& bytes) {
    const std::string utf8 = Convert("UTF-8", "CP932", bytes, "\xEF\xBF\xBD", 1);
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}
