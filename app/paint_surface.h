#pragma once
// The paint surface: shows the main window core's picture at the view's zoom, and hands the
// pointer to the core's handlers in picture pixels: the mouse's, and a pen's with its pressure.
#include <QWidget>
#include <functional>

#include "platform/pen_event.h"
#include "platform/shift_state.h"
#include "platform/view_render.h"
#include "platform/view_transform.h"

class Bitmap;
class QMouseEvent;
class QSinglePointEvent;
class QTabletEvent;

class PaintSurface : public QWidget {
    Q_OBJECT
  public:
    PaintSurface(const Bitmap* picture, QWidget* parent);

    // Follows the picture's size.
    void SyncSize();
    // The zoom: the surface takes the picture's size at the new step and is shown anew.
    const ViewTransform& View() const { return view_; }
    void SetZoomStep(int step);
    // Repaints the screen pixels that show a picture rectangle; a null one repaints all.
    void RepaintPicture(const QRect& area);

    // The pointer in picture pixels, with the exact set of held buttons and keys.
    std::function<void(TMouseButton, TShiftState, int x, int y)> OnMouseDown;
    std::function<void(TShiftState, int x, int y)> OnMouseMove;
    std::function<void(TMouseButton, TShiftState, int x, int y)> OnMouseUp;
    // A pen's press, move or release, and the pen leaving the tablet's reach.
    std::function<void(const PenEvent&)> OnPen;
    std::function<void()> OnPenAway;

    // The set of held buttons and modifier keys of an event, and the picture pixel the
    // pointer is in at a view's zoom (a fractional position belongs to the pixel it lies in).
    // The one place where a pointer's position becomes a picture pixel, for the mouse and the
    // pen alike.
    static TShiftState ShiftOf(const QMouseEvent& event);
    static QPoint PixelOf(const QSinglePointEvent& event,
                          const ViewTransform& view = ViewTransform());

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void tabletEvent(QTabletEvent* event) override;
    bool event(QEvent* event) override;
    // Sees the pen leave the tablet's reach, which Qt tells the application, not a widget.
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void Press(QMouseEvent* event, TShiftState extra);
    void PenAway();

    const Bitmap* picture_;
    ViewTransform view_;
    ViewRenderer renderer_;
    // The pen's tip went down on the surface and has not come up.
    bool penDown_ = false;
};
