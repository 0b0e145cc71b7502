// Build step: renders the program icon into a hicolor icon theme folder at the usual sizes,
// so that the installed icons are the one the program shows.
#include <QDir>
#include <QGuiApplication>
#include <cstdio>
#include <cstdlib>

#include "resources/artwork.h"

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s OUTPUT-FOLDER SIZE...\n", argv[0]);
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QString top = QString::fromLocal8Bit(argv[1]);
    for (int i = 2; i < argc; ++i) {
        const int size = std::atoi(argv[i]);
        const QString folder = QStringLiteral("%1/%2x%2/apps").arg(top).arg(size);
        if (size < 1 || !QDir().mkpath(folder) ||
            !ProgramIconImage(size).save(folder + QStringLiteral("/kasumiro.png"))) {
            std::fprintf(stderr, "cannot write the %s pixel icon below %s\n", argv[i], argv[1]);
            return 1;
        }
    }
    return 0;
}
