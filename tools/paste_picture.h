#pragma once
// Image7: the floating paste's widget over the paint surface. It shows a bitmap the core owns,
// at the place the core gives, and hands its pointer events (in its own coordinates) on.
#include <functional>

#include <QWidget>

#include "platform/shift_state.h"

class Bitmap;

class PastePicture : public QWidget {
    Q_OBJECT
  public:
    explicit PastePicture(QWidget* parent);

    // picture must stay alive while it is shown.
    void Show(const Bitmap& picture, int left, int top, bool visible);

    std::function<void(TMouseButton button, TShiftState shift, int x, int y)> OnMouseDown;
    std::function<void(TShiftState shift, int x, int y)> OnMouseMove;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

  private:
    const Bitmap* picture_ = nullptr;
};
