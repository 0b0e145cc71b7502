// kasumiro_replay: runs a recorded stroke through the core headless and writes the picture
// as a BMP, to look at a stroke or to feed a benchmark.
//
//   kasumiro_replay RECORDING OUTPUT.bmp [--rest]
//
// Prints the current layer's pixel checksum and the ticks run and rested.
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QSaveFile>
#include <cstdio>
#include <cstdlib>

#include "app/headless_replay.h"

namespace {

int Fail(const QString& message) {
    std::fprintf(stderr, "kasumiro_replay: %s\n", qPrintable(message));
    return 1;
}

// Written beside the target and renamed over it only when complete.
bool WriteBmp(const Bitmap& picture, const QString& path) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return false;
    if (!picture.ConstView().save(&file, "BMP")) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 3 || args.size() > 4 || (args.size() == 4 && args[3] != "--rest"))
        return Fail(QStringLiteral("usage: kasumiro_replay RECORDING OUTPUT.bmp [--rest]"));

    StrokeRecording recording;
    QString error;
    if (!StrokeRecording::Load(args[1], &recording, &error)) return Fail(error);
    // The core starts in a folder of its own: the output is named from where we started.
    const QString output = QFileInfo(args[2]).absoluteFilePath();
    try {
        HeadlessReplay replay(recording);
        const ReplayResult result = replay.Run(args.size() == 4);
        if (!WriteBmp(replay.Core().Image1, output))
            return Fail(QStringLiteral("cannot write %1").arg(args[2]));
        std::printf("layer %s ticks %lld rested %lld\n",
                    qPrintable(PixelChecksum(replay.CurrentLayer())), result.ticksRun,
                    result.ticksRested);
    } catch (const UserError& e) {
        return Fail(e.Text());
    }
    return 0;
}
