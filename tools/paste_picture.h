#pragma once
// Image7: the floating paste's widget over the paint surface. It shows a bitmap the core owns,
// at the picture place the core gives and at the paint surface's zoom, and hands its pointer
// events on in picture pixels from its top-left picture pixel.
#include <functional>

#include <QWidget>

#include "platform/shift_state.h"
#include "platform/view_render.h"
#include "platform/view_transform.h"

class Bitmap;

class PastePicture : public QWidget {
    Q_OBJECT
  public:
    explicit PastePicture(QWidget* parent);

    // view is the paint surface's, and must stay alive with this widget.
    void SetView(const ViewTransform* view) { view_ = view; }
    // picture must stay alive while it is shown; left and top are picture coordinates.
    void Show(const Bitmap& picture, int left, int top, bool visible);
    // The view's zoom changed: the picture takes its place and size on the screen again.
    void ViewChanged();

    std::function<void(TMouseButton button, TShiftState shift, int x, int y)> OnMouseDown;
    std::function<void(TShiftState shift, int x, int y)> OnMouseMove;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

  private:
    QPoint PointerAt(const QMouseEvent& event) const;
    void Place();

    const Bitmap* picture_ = nullptr;
    QPoint place_;
    const ViewTransform* view_ = &actualSize_;
    ViewTransform actualSize_;
    ViewRenderer renderer_;
};
