#pragma once
// The rubber-band rectangle: an outline drawn with its own pen, moved by dragging its inside
// and resized by dragging its edges and corners, within limits set by its owner.
#include <functional>

#include <QPen>
#include <QRect>
#include <QWidget>

#include "controls/sel_shape_logic.h"

class TSelShape : public QWidget {
    Q_OBJECT
  public:
    // Button is the one that changed; Buttons and Shift are everything held.
    using TMouseEvent =
        std::function<void(TSelShape* Sender, Qt::MouseButton Button, Qt::MouseButtons Buttons,
                           Qt::KeyboardModifiers Shift, int X, int Y)>;
    using TMouseMoveEvent = std::function<void(TSelShape* Sender, Qt::MouseButtons Buttons,
                                               Qt::KeyboardModifiers Shift, int X, int Y)>;

    explicit TSelShape(QWidget* parent = nullptr);

    // Fired before the rectangle's own handling, with local coordinates.
    TMouseEvent OnMouseDown;
    TMouseMoveEvent OnMouseMove;
    TMouseEvent OnMouseUp;

    // Plain stored values: setting one changes nothing until the next drag.
    int SizeSense() const { return logic_.SizeSense; }
    void SetSizeSense(int v) { logic_.SizeSense = v; }
    int MinWidth() const { return logic_.MinWidth; }
    void SetMinWidth(int v) { logic_.MinWidth = v; }
    int MinHeight() const { return logic_.MinHeight; }
    void SetMinHeight(int v) { logic_.MinHeight = v; }
    int MinTop() const { return logic_.MinTop; }
    void SetMinTop(int v) { logic_.MinTop = v; }
    int MinLeft() const { return logic_.MinLeft; }
    void SetMinLeft(int v) { logic_.MinLeft = v; }
    int MaxBottom() const { return logic_.MaxBottom; }
    void SetMaxBottom(int v) { logic_.MaxBottom = v; }
    int MaxRight() const { return logic_.MaxRight; }
    void SetMaxRight(int v) { logic_.MaxRight = v; }
    TSelOpt SelOption() const { return logic_.SelOption; }
    void SetSelOption(TSelOpt v) { logic_.SelOption = v; }

    const QPen& Pen() const { return pen_; }
    void SetPen(const QPen& pen);

    // Position and size within the parent.
    int Left() const { return x(); }
    int Top() const { return y(); }
    int Width() const { return width(); }
    int Height() const { return height(); }
    void SetLeft(int v) { move(v, y()); }
    void SetTop(int v) { move(x(), v); }
    void SetWidth(int v) { resize(v, height()); }
    void SetHeight(int v) { resize(width(), v); }
    void SetBounds(int left, int top, int width, int height) {
        setGeometry(left, top, width, height);
    }

    bool Dragging() const { return logic_.Dragging; }
    TSelZone HitZone() const { return logic_.HitZone; }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    QSize ParentClient() const;
    QRect ParentOnScreen() const;
    QPoint Confined(QMouseEvent* event) const;
    void ApplyZoneCursor();

    SelShapeLogic logic_;
    QPen pen_;
    // The parent's rectangle on screen while a drag holds the pointer inside it.
    QRect confinement_;
};
