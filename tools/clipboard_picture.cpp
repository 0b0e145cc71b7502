#include "tools/clipboard_picture.h"

#include <QClipboard>
#include <QGuiApplication>

QImage ClipboardImage(const Bitmap& picture) {
    if (picture.Empty()) return QImage();
    return picture.ConstView().convertToFormat(QImage::Format_RGB32);
}

bool PictureFromImage(const QImage& image, Bitmap& picture, int maxSide) {
    if (image.isNull() || image.width() > maxSide || image.height() > maxSide) return false;
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    if (argb.isNull()) return false;
    const int width = argb.width();
    picture.MakeWhite(width, argb.height());
    for (int y = 0; y < argb.height(); ++y) {
        const QRgb* src = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
        std::uint8_t* dst = picture.ScanLine(y);
        for (int x = 0; x < width; ++x, dst += 3) {
            const int a = qAlpha(src[x]);
            dst[0] = OverWhite(qBlue(src[x]), a);
            dst[1] = OverWhite(qGreen(src[x]), a);
            dst[2] = OverWhite(qRed(src[x]), a);
        }
    }
    return true;
}

void PutPictureOnClipboard(const Bitmap& picture) {
    if (QClipboard* clipboard = QGuiApplication::clipboard())
        clipboard->setImage(ClipboardImage(picture));
}

bool TakePictureFromClipboard(Bitmap& picture, int maxSide) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    return clipboard && PictureFromImage(clipboard->image(), picture, maxSide);
}
