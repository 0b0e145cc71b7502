#include "platform/shift_jis.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <vector>

namespace {

// How many input bytes one unconvertible character takes.
using SkipLength = std::size_t (*)(unsigned char lead);

std::size_t OneByte(unsigned char) {
    return 1;
}

std::size_t Utf8SequenceLength(unsigned char lead) {
    if ((lead >> 5) == 0x6) return 2;
    if ((lead >> 4) == 0xE) return 3;
    if ((lead >> 3) == 0x1E) return 4;
    return 1;
}

// Runs iconv over input; a character it cannot take becomes replacement and is stepped over.
std::string Convert(const char* to, const char* from, const std::string& input,
                    const std::string& replacement, SkipLength skip) {
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
        out += replacement;
        const std::size_t step = std::min(skip(static_cast<unsigned char>(*in)), inLeft);
        in += step;
        inLeft -= step;
    }
    iconv_close(cd);
    return out;
}

}  // namespace

std::string ToShiftJis(const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    return Convert("CP932", "UTF-8", std::string(utf8.constData(), std::size_t(utf8.size())), "?",
                   Utf8SequenceLength);
}

QString FromShiftJis(const std::string& bytes) {
    const std::string utf8 = Convert("UTF-8", "CP932", bytes, "\xEF\xBF\xBD", OneByte);
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}
