#pragma once
// The paint surface: shows the main window core's picture, pixel for pixel, and hands the
// pointer to the core's handlers.
#include <QWidget>
#include <functional>

#include "platform/shift_state.h"

class Bitmap;
class QMouseEvent;

class PaintSurface : public QWidget {
    Q_OBJECT
  public:
    PaintSurface(const Bitmap* picture, QWidget* parent);

    // Follows the picture's size.
    void SyncSize();

    // The pointer in picture pixels, with the exact set of held buttons and keys.
    std::function<void(TMouseButton, TShiftState, int x, int y)> OnMouseDown;
    std::function<void(TShiftState, int x, int y)> OnMouseMove;
    std::function<void(TMouseButton, TShiftState, int x, int y)> OnMouseUp;

    // The set of held buttons and modifier keys of an event, and the picture pixel the
    // pointer is in (a fractional position belongs to the pixel it lies in).
    static TShiftState ShiftOf(const QMouseEvent& event);
    static QPoint PixelOf(const QMouseEvent& event);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    void Press(QMouseEvent* event, TShiftState extra);

    const Bitmap* picture_;
};
