#pragma once
// The frame both help dialogs share: a fixed-size dialog border, the program's dialog font,
// and a place in the middle of the screen.
#include <QSize>
#include <QString>

class QDialog;
class QWidget;

void SetUpFixedDialog(QDialog* dialog, const QString& caption, QSize client);
void CentreOnScreen(QWidget* window);
