#include "document/file_access.h"

#include <cerrno>

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include "document/document_errors.h"

namespace {

// The runtime's error for a failed file operation: errno when the system left one, else the
// given fallback.
[[noreturn]] void ThrowFileError(int fallback) {
    if (errno != 0) ThrowInOutErrorFromErrno();
    throw InOutError(fallback);
}

}  // namespace

QByteArray ReadWholeFile(const QString& path) {
    if (QFileInfo(path).isDir()) throw InOutError(ioAccessDenied);
    QFile file(path);
    errno = 0;
    if (!file.open(QIODevice::ReadOnly)) ThrowFileError(ioFileNotFound);
    const qint64 size = file.size();
    if (size < 0 || !FitsInMemory(std::uint64_t(size))) throw PictureTooLarge();
    QByteArray bytes;
    try {
        bytes.resize(size);
    } catch (const std::bad_alloc&) {
        throw PictureTooLarge();
    }
    qint64 done = 0;
    while (done < size) {
        errno = 0;
        const qint64 n = file.read(bytes.data() + done, size - done);
        if (n < 0) ThrowFileError(ioAccessDenied);
        if (n == 0) break;
        done += n;
    }
    bytes.truncate(done);
    return bytes;
}

void WriteAll(QIODevice& out, const char* data, qint64 size) {
    errno = 0;
    if (out.write(data, size) != size) ThrowFileError(ioDiskFull);
}

void SaveFileAtomically(const QString& path, const std::function<void(QIODevice&)>& write) {
    QSaveFile file(path);
    errno = 0;
    if (!file.open(QIODevice::WriteOnly)) ThrowFileError(ioAccessDenied);
    write(file);  // a throw here leaves the temporary file to QSaveFile, which removes it
    errno = 0;
    if (!file.commit()) ThrowFileError(ioDiskFull);
}
