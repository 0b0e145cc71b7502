#pragma once
// Reading a whole file into memory and replacing a file only once its new content is complete.
#include <functional>

#include <QByteArray>
#include <QString>

class QIODevice;

// The file's bytes. Throws InOutError when it cannot be read, PictureTooLarge (document_errors.h)
// when it is larger than the memory we could give it.
QByteArray ReadWholeFile(const QString& path);

// Writes through write() into a temporary file beside path and renames it over path only when
// everything was written: on any failure the previous file stays as it was. Throws InOutError
// (or whatever write throws).
void SaveFileAtomically(const QString& path, const std::function<void(QIODevice&)>& write);

// Writes all bytes or throws the InOutError of the failure.
void WriteAll(QIODevice& out, const char* data, qint64 size);
inline void WriteAll(QIODevice& out, const QByteArray& bytes) {
    WriteAll(out, bytes.constData(), bytes.size());
}
