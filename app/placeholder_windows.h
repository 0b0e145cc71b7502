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
