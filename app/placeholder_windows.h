#pragma once
// Windows whose contents are still to come: the right class name, caption and size, kept for
// the whole run like the finished ones.
#include <QDialog>

class MainWindowCore;

class PlaceholderDialog : public QDialog {
    Q_OBJECT
  public:
    PlaceholderDialog(QWidget* owner, const char* className, const QString& caption,
                      int clientWidth, int clientHeight);
};

// The loupe window until its magnifier arrives: it keeps the loupe's stored options so that
// closing the program writes them back unchanged.
class LoupeWindowPlaceholder : public QWidget {
    Q_OBJECT
  public:
    LoupeWindowPlaceholder(QWidget* owner, MainWindowCore& core);

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    MainWindowCore& core_;
};
