#include "platform/view_transform.h"

#include <algorithm>
#include <cmath>

namespace {

// Division that rounds toward minus infinity or plus infinity, for negative positions too (a
// floating paste may stand partly left of the picture).
int FloorDiv(int a, int b) {
    return a / b - ((a % b != 0) && (a < 0));
}

int CeilDiv(int a, int b) {
    return -FloorDiv(-a, b);
}

}  // namespace

void ViewTransform::SetStep(int step) {
    step_ = std::clamp(step, 0, kSteps - 1);
}

double ViewTransform::Scale() const {
    return std::ldexp(1.0, step_ - kActualSize);
}

QString ViewTransform::PercentText() const {
    return QString::number(Scale() * 100, 'g', 4) + QLatin1Char('%');
}

QPoint ViewTransform::PixelAt(const QPointF& screen) const {
    const QPointF p = PictureAt(screen);
    return QPoint(int(std::floor(p.x())), int(std::floor(p.y())));
}

// Powers of two: these products are exact.
QPointF ViewTransform::PictureAt(const QPointF& screen) const {
    return screen / Scale();
}

QPointF ViewTransform::ScreenAt(const QPointF& picture) const {
    return picture * Scale();
}

int ViewTransform::ScreenEdge(int picture, bool up) const {
    if (!Reduced()) return picture * Factor();
    return up ? CeilDiv(picture, Factor()) : FloorDiv(picture, Factor());
}

int ViewTransform::PictureEdge(int screen, bool up) const {
    if (Reduced()) return screen * Factor();
    return up ? CeilDiv(screen, Factor()) : FloorDiv(screen, Factor());
}

QRect ViewTransform::ScreenRect(const QRect& picture) const {
    const QPoint topLeft(ScreenEdge(picture.left(), false), ScreenEdge(picture.top(), false));
    const QPoint end(ScreenEdge(picture.left() + picture.width(), true),
                     ScreenEdge(picture.top() + picture.height(), true));
    return QRect(topLeft, QSize(end.x() - topLeft.x(), end.y() - topLeft.y()));
}

QRect ViewTransform::PictureRect(const QRect& screen) const {
    const QPoint topLeft(PictureEdge(screen.left(), false), PictureEdge(screen.top(), false));
    const QPoint end(PictureEdge(screen.left() + screen.width(), true),
                     PictureEdge(screen.top() + screen.height(), true));
    return QRect(topLeft, QSize(end.x() - topLeft.x(), end.y() - topLeft.y()));
}

QSize ViewTransform::ScreenSize(const QSize& picture) const {
    return ScreenRect(QRect(QPoint(0, 0), picture)).size();
}

int ViewTransform::FitStep(const QSize& picture, const QSize& room) {
    ViewTransform view;
    for (int step = kSteps - 1; step > 0; --step) {
        view.SetStep(step);
        const QSize shown = view.ScreenSize(picture);
        if (shown.width() <= room.width() && shown.height() <= room.height()) return step;
    }
    return 0;
}
