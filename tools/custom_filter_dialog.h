#pragma once
// TForm9: the custom filter's 3 x 3 kernel, strength and optional colour. The texts stay as
// typed; the filter converts them when it runs.
#include "tools/filter_dialogs.h"
#include "tools/filter_settings.h"

class QCheckBox;
class QLineEdit;
class QTableWidget;

class TForm9 : public FilterDialog {
    Q_OBJECT
  public:
    explicit TForm9(QWidget* owner);

    // The dialog's current texts and settings.
    CustomFilterText Text() const;

    QTableWidget* StringGrid1 = nullptr;
    QScrollBar* ScrollBar1 = nullptr;
    QLabel* Label6 = nullptr;
    QCheckBox* CheckBox2 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QLineEdit* Edit2 = nullptr;
    QLineEdit* Edit3 = nullptr;
    QPushButton* Button1 = nullptr;

    void FormCreate();
    void ScrollBar1Change();

  private:
    QLineEdit* MakeEdit(const char* name, const char* caption, int x);
};
