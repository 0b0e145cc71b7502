#pragma once
// The version dialog.
#include <QDialog>

class QLabel;
class QPushButton;
class QWidget;

class TAboutBox : public QDialog {
    Q_OBJECT
  public:
    explicit TAboutBox(QWidget* owner = nullptr);

    QLabel* ProgramIcon;
    QLabel* ProductName;
    QLabel* Comments;
    QPushButton* OKButton;

  protected:
    void showEvent(QShowEvent* event) override;
};

// The Help menu's "バージョン情報": a fresh dialog, shown modally and destroyed after.
void N4Click(QWidget* owner);
