#pragma once
// The Readme viewer: shows "Readme.txt" from the program's folder.
#include <QDialog>

class QPushButton;
class QTextEdit;
class QWidget;

class TOKBottomDlg1 : public QDialog {
    Q_OBJECT
  public:
    // Reads the Readme at once; a failure is reported in the standard error box and the
    // viewer shows what was read before it.
    explicit TOKBottomDlg1(QWidget* owner = nullptr);

    QTextEdit* RichEdit1;
    QWidget* Panel1;
    QPushButton* OKBtn;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void FormCreate();
};

// The Help menu's "Readmeを読む": a fresh viewer, shown modally and destroyed after.
void Readme1Click(QWidget* owner);
