#include "resources/artwork.h"

#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {

// Full colours of the palette's bands, left to right.
constexpr TColor kBandColours[] = {
    RgbColour(128, 128, 128),  // grey
    RgbColour(255, 0, 0),      // red
    RgbColour(255, 0, 255),    // magenta
    RgbColour(255, 255, 0),    // yellow
    RgbColour(0, 255, 0),      // green
    RgbColour(0, 255, 255),    // cyan
    RgbColour(0, 0, 255),      // blue
    RgbColour(128, 0, 255),    // violet
    RgbColour(128, 64, 0),     // brown
};
constexpr int kBandCount = sizeof(kBandColours) / sizeof(kBandColours[0]);
constexpr int kBandWidth = kPaletteWidth / kBandCount;

// The bands change shade in steps of two and three rows: 36 steps over 90 rows, from white
// at the first step to the full colour at the middle step (row 45) and black at the last.
constexpr int kShadeSteps = 36;
constexpr int kFullStep = kShadeSteps / 2;
constexpr int kLastStep = kShadeSteps - 1;

int ShadeStep(int y) {
    return y * kShadeSteps / kPaletteHeight;
}

int ShadeChannel(int full, int step) {
    if (step <= kFullStep) {
        const int n = kFullStep;
        return (255 * (n - step) + full * step + n / 2) / n;
    }
    const int n = kLastStep - kFullStep;
    return (full * (kLastStep - step) + n / 2) / n;
}

TColor Shade(TColor full, int step) {
    return RgbColour(ShadeChannel(RedOf(full), step), ShadeChannel(GreenOf(full), step),
                     ShadeChannel(BlueOf(full), step));
}

// The stroke of the icon in a 64 x 64 design space: a brush laid down at the lower left,
// swelling as it sweeps up and thinning into a dry tail at the upper right.
QPainterPath StrokeOutline() {
    QPainterPath path;
    path.moveTo(9, 46);
    path.cubicTo(14, 36, 26, 38, 34, 33);
    path.cubicTo(42, 28, 48, 18, 56, 13);
    path.cubicTo(50, 24, 44, 38, 32, 45);
    path.cubicTo(24, 50, 15, 53, 9, 46);
    path.closeSubpath();
    return path;
}

void PaintIcon(QPainter& p) {
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(120, 110, 90), 2));
    p.setBrush(QColor(250, 246, 232));  // paper
    p.drawRoundedRect(QRectF(3, 3, 58, 58), 8, 8);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(20, 20, 24));
    p.drawPath(StrokeOutline());
    // Dry-brush streaks where the tail breaks up.
    p.setPen(QPen(QColor(250, 246, 232), 1.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(40, 30), QPointF(53, 17));
    p.drawLine(QPointF(37, 36), QPointF(50, 22));
    // The artist's seal.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(200, 30, 30));
    p.drawRect(QRectF(46, 44, 9, 9));
}

}  // namespace

QImage ProgramIconImage(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.scale(size / 64.0, size / 64.0);
    PaintIcon(p);
    p.end();
    return image;
}

Bitmap PalettePicture() {
    Bitmap palette(kPaletteWidth, kPaletteHeight);
    for (int y = 0; y < kPaletteHeight; ++y) {
        const int step = ShadeStep(y);
        for (int x = 0; x < kPaletteWidth; ++x)
            palette.SetPixel(x, y, Shade(kBandColours[x / kBandWidth], step));
    }
    return palette;
}

QIcon ProgramIcon() {
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64})
        icon.addPixmap(QPixmap::fromImage(ProgramIconImage(size)));
    return icon;
}
