#pragma once
// TOKBottomDlg, "新規作成": the new picture's width ("横") and height ("縦"), with
// "縦横比を固定". Created once; its fields, check box and reference sides persist.
#include <QDialog>
#include <QSpinBox>
#include <functional>

#include "document/new_picture_form.h"

class QCheckBox;
class QPushButton;

// A size field: a spin edit without limits whose text may be emptied. An empty text stays
// empty when the focus leaves or Enter is pressed, where a spin box would put its last number
// back; the arrows and SetNumber fill it again.
class SizeSpinEdit : public QSpinBox {
  public:
    explicit SizeSpinEdit(QWidget* parent);
    bool IsEmpty() const;
    // Shows the number, also in an empty field.
    void SetNumber(int value);

  protected:
    QValidator::State validate(QString& text, int& pos) const override;
    int valueFromText(const QString& text) const override;
    QString textFromValue(int value) const override;
    void stepBy(int steps) override;

  private:
    bool filling_ = false;
};

class TOKBottomDlg : public QDialog {
    Q_OBJECT
  public:
    explicit TOKBottomDlg(QWidget* owner);

    // Shows the dialog with the fields set to width and height; false when cancelled, else the
    // fields' values (0 for an emptied field) come back.
    bool Execute(int& width, int& height);

    SizeSpinEdit* SpinEdit1 = nullptr;
    SizeSpinEdit* SpinEdit2 = nullptr;
    QCheckBox* CheckBox1 = nullptr;
    QPushButton* OKBtn = nullptr;
    QPushButton* CancelBtn = nullptr;
    // The beep of "決定" on an empty field.
    std::function<void()> Beep;

  private:
    void FieldEdited(SizeSpinEdit* field, const QString& text);
    void ShowForm();
    void OKBtnClick();

    NewPictureForm form_;
};
