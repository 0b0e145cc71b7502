#pragma once
// TUndoLevelsDlg, "元に戻す回数": how many steps undo can take back, 1 to 100. Made once; it
// shows the number in use each time it opens.
#include <QDialog>

class QPushButton;
class QSpinBox;

class TUndoLevelsDlg : public QDialog {
    Q_OBJECT
  public:
    explicit TUndoLevelsDlg(QWidget* owner);

    // Shows the dialog with levels; false when cancelled, else the number chosen comes back.
    bool Execute(int& levels);

    QSpinBox* SpinEdit1 = nullptr;
    QPushButton* OKBtn = nullptr;
    QPushButton* CancelBtn = nullptr;

  protected:
    void showEvent(QShowEvent* event) override;
};
