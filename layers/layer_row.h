#pragma once
// One row of the layer window: show/hide box, colour box, thumbnail and name box of a layer
// index, drawn from the LayerStack and editing it directly.
#include <QFrame>

class LayerStack;
class QLabel;
class QLineEdit;
class QToolButton;

// A box filled with one colour that reports clicks (the transparent-colour box).
class ColourBox : public QFrame {
    Q_OBJECT
  public:
    explicit ColourBox(QWidget* parent);
    void SetColour(const QColor& colour);
    QColor Colour() const;

  signals:
    void clicked();

  protected:
    void mousePressEvent(QMouseEvent* event) override;
};

class LayerRow : public QFrame {
    Q_OBJECT
  public:
    LayerRow(LayerStack& stack, int index, QWidget* parent);

    int Index() const { return index_; }
    // Takes position, mark, colour, thumbnail, name, highlight and hints from the stack.
    void Update();
    void UpdateThumbnail();

    QToolButton* ShowBox;
    ColourBox* ColourBox1;
    QLabel* Thumbnail;
    QLineEdit* NameBox;

  protected:
    // A click on the panel or the thumbnail selects the layer.
    void mousePressEvent(QMouseEvent* event) override;

  private:
    LayerStack& stack_;
    int index_;
};
