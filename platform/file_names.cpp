#include "platform/file_names.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>

namespace {

constexpr char32_t kEscapeBase = 0xDC80;

// The length of the valid UTF-8 sequence at p (at most left bytes), 0 when there is none.
int ValidSequence(const std::uint8_t* p, qsizetype left, char32_t* code) {
    const std::uint8_t lead = p[0];
    if (lead < 0x80) {
        *code = lead;
        return 1;
    }
    int length = 0;
    char32_t c = 0;
    char32_t least = 0;
    if ((lead & 0xE0) == 0xC0) {
        length = 2, c = lead & 0x1F, least = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, c = lead & 0x0F, least = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, c = lead & 0x07, least = 0x10000;
    } else {
        return 0;
    }
    if (left < length) return 0;
    for (int i = 1; i < length; ++i) {
        if ((p[i] & 0xC0) != 0x80) return 0;
        c = c << 6 | (p[i] & 0x3F);
    }
    // Overlong forms, surrogates and values beyond Unicode are not UTF-8.
    if (c < least || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return 0;
    *code = c;
    return length;
}

void AppendUtf8(QByteArray& out, char32_t c) {
    if (c < 0x80) {
        out.append(char(c));
    } else if (c < 0x800) {
        out.append(char(0xC0 | c >> 6)).append(char(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.append(char(0xE0 | c >> 12)).append(char(0x80 | (c >> 6 & 0x3F)));
        out.append(char(0x80 | (c & 0x3F)));
    } else {
        out.append(char(0xF0 | c >> 18)).append(char(0x80 | (c >> 12 & 0x3F)));
        out.append(char(0x80 | (c >> 6 & 0x3F))).append(char(0x80 | (c & 0x3F)));
    }
}

}  // namespace

QString FileNameFromBytes(const QByteArray& bytes) {
    const auto* p = reinterpret_cast<const std::uint8_t*>(bytes.constData());
    const qsizetype size = bytes.size();
    QString name;
    name.reserve(size);
    for (qsizetype i = 0; i < size;) {
        char32_t code = 0;
        const int length = ValidSequence(p + i, size - i, &code);
        if (length == 0) {
            name.append(QChar(char16_t(kEscapeBase + (p[i] - 0x80))));
            ++i;
            continue;
        }
        const char32_t one[] = {code};
        name.append(QString::fromUcs4(one, 1));
        i += length;
    }
    return name;
}

QByteArray FileNameBytes(const QString& name) {
    QByteArray bytes;
    bytes.reserve(name.size());
    for (qsizetype i = 0; i < name.size(); ++i) {
        const char16_t u = name[i].unicode();
        if (u >= kEscapeBase && u <= kEscapeBase + 0x7F) {
            bytes.append(char(0x80 + (u - kEscapeBase)));
        } else if (QChar::isHighSurrogate(u) && i + 1 < name.size() &&
                   name[i + 1].isLowSurrogate()) {
            AppendUtf8(bytes, QChar::surrogateToUcs4(u, name[i + 1].unicode()));
            ++i;
        } else if (QChar::isSurrogate(u)) {
            AppendUtf8(bytes, 0xFFFD);  // no name we made; Qt would write the same
        } else {
            AppendUtf8(bytes, u);
        }
    }
    return bytes;
}

bool IsRegularFile(const QString& name) {
    struct stat st {};
    return stat(FileNameBytes(name).constData(), &st) == 0 && S_ISREG(st.st_mode);
}

std::string LinkTarget(std::string path) {
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st {};
        if (lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
        std::string target(4096, '\0');
        const ssize_t n = readlink(path.c_str(), &target[0], target.size());
        if (n <= 0 || std::size_t(n) >= target.size()) return path;
        target.resize(std::size_t(n));
        if (target.front() == '/') {
            path = target;
        } else {
            const auto slash = path.rfind('/');
            const std::string folder =
                slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
            path = folder + "/" + target;
        }
    }
    return path;
}
