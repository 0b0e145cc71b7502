#pragma once
// The paint surface: shows the main window core's picture, pixel for pixel, and hands the
// pointer to the core's handlers.
#include <QWidget>

class Bitmap;

class PaintSurface : public QWidget {
    Q_OBJECT
  public:
    PaintSurface(const Bitmap* picture, QWidget* parent);

    // Follows the picture's size.
    void SyncSize();

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    const Bitmap* picture_;
};
