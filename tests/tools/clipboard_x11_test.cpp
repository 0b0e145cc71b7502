// Pictures between Kasumiro and another X client (xclip) through the real X clipboard, in both
// directions. Runs on a virtual display of its own.
#include <gtest/gtest.h>

#include <QClipboard>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QMimeData>
#include <QProcess>
#include <QTemporaryDir>

#include "tools/clipboard_picture.h"

namespace {

// Lets Qt answer the X server (the other client's requests) until the process ends.
bool FinishWhileServing(QProcess& process) {
    QElapsedTimer clock;
    clock.start();
    while (!process.waitForFinished(10)) {
        QCoreApplication::processEvents();
        if (clock.elapsed() > 10000) return false;
    }
    return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

TEST(ClipboardX11, AnotherProgramReadsKasumirosPictureAsPng) {
    Bitmap picture(3, 2);
    picture.SetPixel(0, 0, RgbColour(255, 0, 0));
    picture.SetPixel(2, 1, RgbColour(0, 0, 255));
    PutPictureOnClipboard(picture);

    QProcess xclip;
    xclip.start(QStringLiteral("xclip"),
                {QStringLiteral("-selection"), QStringLiteral("clipboard"), QStringLiteral("-t"),
                 QStringLiteral("image/png"), QStringLiteral("-o")});
    ASSERT_TRUE(FinishWhileServing(xclip)) << xclip.readAllStandardError().toStdString();
    const QImage png = QImage::fromData(xclip.readAllStandardOutput(), "PNG");
    ASSERT_EQ(png.size(), QSize(3, 2));
    EXPECT_EQ(png.pixelColor(0, 0), QColor(255, 0, 0));
    EXPECT_EQ(png.pixelColor(1, 0), QColor(255, 255, 255));
    EXPECT_EQ(png.pixelColor(2, 1), QColor(0, 0, 255));
}

TEST(ClipboardX11, KasumiroPastesAPngAnotherProgramOffers) {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("offer.png"));
    QImage offer(2, 1, QImage::Format_ARGB32);
    offer.setPixel(0, 0, qRgba(0, 128, 0, 255));
    offer.setPixel(1, 0, qRgba(0, 0, 0, 0));  // transparent: white once pasted
    ASSERT_TRUE(offer.save(file, "PNG"));

    QGuiApplication::clipboard()->clear();
    QProcess xclip;  // -quiet keeps it in the foreground, so it is ours to end
    xclip.start(QStringLiteral("xclip"), {QStringLiteral("-selection"), QStringLiteral("clipboard"),
                                          QStringLiteral("-t"), QStringLiteral("image/png"),
                                          QStringLiteral("-quiet"), QStringLiteral("-i"), file});
    ASSERT_TRUE(xclip.waitForStarted());
    Bitmap pasted;
    QElapsedTimer clock;
    clock.start();
    bool taken = false;
    while (!taken && clock.elapsed() < 10000) {
        QCoreApplication::processEvents();
        // Until the other program owns the clipboard, it is ours (and empty).
        if (!QGuiApplication::clipboard()->ownsClipboard())
            taken = TakePictureFromClipboard(pasted, 100);
    }
    xclip.kill();
    xclip.waitForFinished();
    ASSERT_TRUE(taken);
    EXPECT_EQ(pasted.Width(), 2);
    EXPECT_EQ(pasted.Pixel(0, 0), RgbColour(0, 128, 0));
    EXPECT_EQ(pasted.Pixel(1, 0), clWhite);
}

}  // namespace
