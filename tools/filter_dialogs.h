#pragma once
// The parameter dialogs of the filters: contrast strength (TForm6), colour correction (TForm7)
// and the value-extraction level (TForm8). Each is made once and keeps its values.
#include <QDialog>

class QFrame;
class QLabel;
class QPushButton;
class QScrollBar;
class QSlider;

// What the four filter dialogs share: a title bar without buttons, the 12-pixel interface font,
// a fixed client area, a place in the middle of the screen and the one button "決定".
class FilterDialog : public QDialog {
    Q_OBJECT
  public:
    FilterDialog(QWidget* owner, const char* className, const QString& caption, int width,
                 int height);

  protected:
    QPushButton* MakeDecideButton(int x, int y);
    QFrame* MakeBevel(int width, int height);
    void showEvent(QShowEvent* event) override;
};

class TForm6 : public FilterDialog {
    Q_OBJECT
  public:
    explicit TForm6(QWidget* owner);

    QSlider* TrackBar1 = nullptr;
    QLabel* Label1 = nullptr;
    QPushButton* Button1 = nullptr;
    // The strength last confirmed with the button.
    int ContrastStrength = 70;

    void TrackBar1Change();
    void Button1Click();
};

class TForm7 : public FilterDialog {
    Q_OBJECT
  public:
    explicit TForm7(QWidget* owner);

    QScrollBar* ScrollBar1 = nullptr;
    QScrollBar* ScrollBar2 = nullptr;
    QScrollBar* ScrollBar3 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QPushButton* Button1 = nullptr;

    void ScrollBar1Change();
    void ScrollBar2Change();
    void ScrollBar3Change();
};

class TForm8 : public FilterDialog {
    Q_OBJECT
  public:
    explicit TForm8(QWidget* owner);

    QScrollBar* ScrollBar1 = nullptr;
    QLabel* Label1 = nullptr;
    QPushButton* Button1 = nullptr;

    void ScrollBar1Change();
};

// A horizontal scroll bar at its design place.
QScrollBar* MakeScrollBar(QWidget* parent, const char* name, const QRect& rect, int minimum,
                          int maximum, int position, int largeStep);
QLabel* MakeLabel(QWidget* parent, const char* name, const QPoint& at, const QString& text);
