#include "help/readme_text.h"

#include <cerrno>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include "platform/app_paths.h"
#include "platform/runtime_errors.h"
#include "platform/shift_jis.h"

namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

QString ErrorTextFor(int error) {
    return InOutErrorText(InOutErrorFromErrno(error));
}

// Reads to the end or to the first failure; bytes read before a failure are kept.
std::string ReadAll(std::FILE* file, QString& error) {
    std::string bytes;
    std::vector<char> chunk(64 * 1024);
    for (;;) {
        const std::size_t n = std::fread(chunk.data(), 1, chunk.size(), file);
        bytes.append(chunk.data(), n);
        if (n == chunk.size()) continue;
        if (std::ferror(file)) error = ErrorTextFor(errno);
        return bytes;
    }
}

bool IsValidUtf8(const std::string& bytes) {
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString ignored = decoder(QByteArrayView(bytes.data(), qsizetype(bytes.size())));
    return !decoder.hasError();
}

std::vector<std::string> SplitLines(const std::string& bytes) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] != '\n' && bytes[i] != '\r') continue;
        lines.push_back(bytes.substr(start, i - start));
        if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (start < bytes.size()) lines.push_back(bytes.substr(start));
    return lines;
}

}  // namespace

QString ReadmePath() {
    const QString beside = AppPaths::ExecutableDir() + QStringLiteral("/Readme.txt");
    if (QFileInfo::exists(beside)) return beside;
    // An installed program keeps it in the data folder beside its bin folder.
    const QString installed = QDir::cleanPath(AppPaths::ExecutableDir() +
                                              QStringLiteral("/../share/kasumiro/Readme.txt"));
    return QFileInfo::exists(installed) ? installed : beside;
}

ReadmeText LoadReadmeText(const QString& path) {
    ReadmeText text;
    errno = 0;
    std::unique_ptr<std::FILE, FileCloser> file(
        std::fopen(QFile::encodeName(path).constData(), "rb"));
    if (!file) {
        text.Error = ErrorTextFor(errno);
        return text;
    }
    std::string bytes = ReadAll(file.get(), text.Error);
    const bool utf8 = IsValidUtf8(bytes);
    if (utf8 && bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) bytes.erase(0, 3);
    for (const std::string& line : SplitLines(bytes))
        text.Lines << (utf8 ? QString::fromUtf8(line.data(), qsizetype(line.size()))
                            : FromShiftJis(line));
    return text;
}
