#include "app/paint_surface.h"

#include <QPaintEvent>
#include <QPainter>

#include "platform/bitmap.h"

PaintSurface::PaintSurface(const Bitmap* picture, QWidget* parent)
    : QWidget(parent), picture_(picture) {
    setObjectName(QStringLiteral("Image1"));
    // Every pixel is painted from the picture: no background erase under it.
    setAttribute(Qt::WA_OpaquePaintEvent);
    SyncSize();
}

void PaintSurface::SyncSize() {
    setFixedSize(picture_->Width(), picture_->Height());
}

void PaintSurface::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    const QRect area = event->rect();
    if (picture_->IsLazyWhite()) {
        painter.fillRect(area, Qt::white);
        return;
    }
    // The view shares the picture's memory; only the exposed part is drawn.
    painter.drawImage(area, picture_->ConstView(), area);
}
