#include "app/placeholder_windows.h"

#include "app/fonts.h"
#include "controls/ini_gt.h"
#include "app/main_core.h"

PlaceholderDialog::PlaceholderDialog(QWidget* owner, const char* className, const QString& caption,
                                     int clientWidth, int clientHeight)
    : QDialog(owner) {
    setObjectName(QString::fromLatin1(className));
    setWindowTitle(caption);
    setFont(UiFont(12));
    setFixedSize(clientWidth, clientHeight);
}

LoupeWindowPlaceholder::LoupeWindowPlaceholder(QWidget* owner, MainWindowCore& core)
    : QWidget(owner, Qt::Tool | Qt::WindowStaysOnTopHint), core_(core) {
    setObjectName(QStringLiteral("TForm11"));
    setWindowTitle(QStringLiteral("ルーぺ"));
    setFont(UiFont(12));
    resize(198, 241);
    core_.ReadLoupeMagnification();
}

void LoupeWindowPlaceholder::showEvent(QShowEvent* event) {
    core_.ReadLoupeShowOptions();
    core_.IniGT1.LoadPlacement(QStringLiteral("Form11"), QStringLiteral("Pos"), this);
    QWidget::showEvent(event);
}
