#include "app/placeholder_windows.h"

#include "app/main_core.h"
#include "controls/ini_gt.h"
#include "platform/fonts.h"

PlaceholderDialog::PlaceholderDialog(QWidget* owner, const char* className, const QString& caption,
                                     int clientWidth, int clientHeight)
    : QDialog(owner) {
    setObjectName(QString::fromLatin1(className));
    setWindowTitle(caption);
    setFont(UiFont(12));
    setFixedSize(clientWidth, clientHeight);
}
