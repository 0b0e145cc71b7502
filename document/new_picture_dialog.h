#pragma once
// TOKBottomDlg, "新規作成": the new picture's width ("横") and height ("縦"), with
// "縦横比を固定". Created once; its fields, check box and reference sides persist.
#include <QDialog>

#include "document/new_picture_form.h"

class QCheckBox;
class QPushButton;
class QSpinBox;

class TOKBottomDlg : public QDialog {
    Q_OBJECT
  public:
    explicit TOKBottomDlg(QWidget* owner);

    // Shows the dialog with the fields set to width and height; false when cancelled, else the
    // fields' values (0 for an emptied field) come back.
    bool Execute(int& width, int& height);

    QSpinBox* SpinEdit1 = nullptr;
    QSpinBox* SpinEdit2 = nullptr;
    QCheckBox* CheckBox1 = nullptr;
    QPushButton* OKBtn = nullptr;
    QPushButton* CancelBtn = nullptr;

  private:
    void FieldEdited(QSpinBox* field, const QString& text);
    void ShowForm();
    void OKBtnClick();

    NewPictureForm form_;
};
