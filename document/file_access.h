#pragma once
// Reading a whole file into memory and replacing a file only once its new content is complete.
// Names are taken byte for byte (platform/file_names.h).
#include <functional>

#include <QByteArray>
#include <QString>

class QFile;
class QIODevice;

// Opens a regular file for reading into file. Something else in its place (a folder, a FIFO,
// a device) is refused without waiting on it. Throws InOutError.
void OpenFileForReading(QFile& file, const QString& path);

// Reads up to size bytes at offset of a file opened for reading; fewer only where the file
// ends. Throws InOutError.
qint64 ReadAt(QFile& file, qint64 offset, void* into, qint64 size);

// The file's bytes. Throws InOutError when it cannot be read, PictureTooLarge (document_errors.h)
// when it is larger than the memory we could give it.
QByteArray ReadWholeFile(const QString& path);

// Writes through write() into a temporary file beside path; once every byte is written, flushed
// and on the disk it takes path's place (a symbolic link's target). On any failure the previous
// file stays as it was and the temporary file is removed. Only when the folder cannot take a
// temporary file is an existing file that may be written written in place. Throws InOutError
// (or whatever write throws).
void SaveFileAtomically(const QString& path, const std::function<void(QIODevice&)>& write);

// Writes all bytes or throws the InOutError of the failure.
void WriteAll(QIODevice& out, const char* data, qint64 size);
inline void WriteAll(QIODevice& out, const QByteArray& bytes) {
    WriteAll(out, bytes.constData(), bytes.size());
}
