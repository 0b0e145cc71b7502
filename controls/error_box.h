#pragma once
// The application's standard error box: the error's text, a stop icon and an OK button,
// under the application's title.
#include <QString>

class QWidget;

void ShowErrorBox(QWidget* parent, const QString& text);

// While set, error boxes are recorded instead of shown (for tests that run without a user).
// Returns the texts recorded since the last call and clears them.
void SetErrorBoxRecording(bool on);
QStringList TakeRecordedErrorBoxes();
