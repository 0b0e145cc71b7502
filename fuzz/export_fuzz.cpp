// The command-line export, from the bytes of an input file to a written picture: whatever the
// input holds, the export either writes a complete file that reads back, or fails with its
// message and leaves nothing behind.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "document/export_command.h"
#include "document/picture_files.h"
#include "jpeg_frame_limit.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static QTemporaryDir dir;
    if (size < 1 || AsksForALargeArithmeticFrame(data + 1, size - 1)) return 0;
    // The first byte chooses the input's kind, the output's kind and the JPEG options.
    static const char* const kInputs[] = {"in.tav", "in.bmp", "in.jpg", "in.png"};
    static const char* const kOutputs[] = {"out.bmp", "out.jpg", "out.tav", "out.png"};
    const QString in = dir.filePath(QLatin1String(kInputs[data[0] % 4]));
    const QString out = dir.filePath(QLatin1String(kOutputs[data[0] / 4 % 4]));
    {
        QFile file(in);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) std::abort();
        file.write(reinterpret_cast<const char*>(data + 1), qint64(size - 1));
    }
    QStringList args{out, in};
    if (data[0] & 0x40) args << QStringLiteral("--progressive");
    if (data[0] & 0x80) args << QStringLiteral("--quality") << QString::number(1 + data[0] % 100);

    const int status = RunExportCommand(args);
    const QStringList left = QDir(dir.path()).entryList(QDir::Files | QDir::Hidden);
    if (status == 0) {
        // A complete file of the asked type, and nothing else beside it.
        LoadFile(out, TypeOfName(out));
        if (left.size() != 2) std::abort();
    } else {
        if (QFile::exists(out) || left.size() != 1) std::abort();
    }
    QFile::remove(out);
    QFile::remove(in);
    return 0;
}
