#include "help/about_box.h"

#include <QLabel>
#include <QPointer>
#include <QPushButton>

#include "help/dialog_frame.h"
#include "help/version.h"
#include "resources/artwork.h"

TAboutBox::TAboutBox(QWidget* owner) : QDialog(owner) {
    SetUpFixedDialog(this, QStringLiteral("Kasumiroのバージョン情報"), QSize(217, 68));

    ProgramIcon = new QLabel(this);
    ProgramIcon->setGeometry(8, 8, 33, 33);
    ProgramIcon->setScaledContents(true);
    ProgramIcon->setPixmap(::ProgramIcon().pixmap(64, 64));

    ProductName = new QLabel(
        QLatin1String(kProgramName) + QStringLiteral("ver. ") + QLatin1String(kProgramVersion),
        this);
    ProductName->move(48, 8);
    Comments = new QLabel(QStringLiteral("毛筆で描くお絵かきソフト"), this);
    Comments->move(48, 24);

    OKButton = new QPushButton(QStringLiteral("OK"), this);
    OKButton->setGeometry(72, 44, 82, 21);
    OKButton->setDefault(true);
    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);
}

void TAboutBox::showEvent(QShowEvent* event) {
    CentreOnScreen(this);
    QDialog::showEvent(event);
}

void N4Click(QWidget* owner) {
    // On the heap: the owner may go away while the dialog runs, taking its children along.
    QPointer<TAboutBox> dialog = new TAboutBox(owner);
    dialog->exec();
    delete dialog;
}
