#pragma once
// TForm5, "JPEG保存の品質": the quality track bar and "プログレッシブJPEG", with a preview of
// the picture exactly as the JPEG file will show it, made through "temp.tmp". Created once; the
// track bar and check box keep their state between uses.
#include <QDialog>

#include "platform/bitmap.h"

class QCheckBox;
class QLabel;
class QPushButton;
class QScrollArea;
class QSlider;

class TForm5 : public QDialog {
    Q_OBJECT
  public:
    explicit TForm5(QWidget* owner);

    // Previews picture and waits for "決定" (true, with the chosen quality and progressive flag)
    // or a close by the window system (false).
    bool Execute(const Bitmap& picture, int& quality, bool& progressive);

    // The preview file; tests point it elsewhere.
    QString PreviewPath;

    QScrollArea* ScrollBox1 = nullptr;
    QLabel* Image1 = nullptr;
    QSlider* TrackBar1 = nullptr;
    QLabel* Label1 = nullptr;
    QCheckBox* CheckBox1 = nullptr;
    QPushButton* Button1 = nullptr;

  private:
    void Preview();
    void TrackBar1Change(int position);
    void Button1Click();

    Bitmap source_;
    int quality_ = 75;
    bool progressive_ = false;
};
