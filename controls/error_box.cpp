#include "controls/error_box.h"

#include <QApplication>
#include <QMessageBox>
#include <QStringList>

namespace {

bool& Recording() {
    static bool on = false;
    return on;
}

QStringList& Recorded() {
    static QStringList texts;
    return texts;
}

}  // namespace

void ShowErrorBox(QWidget* parent, const QString& text) {
    if (Recording()) {
        Recorded() << text;
        return;
    }
    QMessageBox box(QMessageBox::Critical, QApplication::applicationName(), text, QMessageBox::Ok,
                    parent);
    box.exec();
}

void SetErrorBoxRecording(bool on) {
    Recording() = on;
}

QStringList TakeRecordedErrorBoxes() {
    QStringList texts = Recorded();
    Recorded().clear();
    return texts;
}
