#include "help/readme_dialog.h"

#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QTextEdit>

#include "controls/error_box.h"
#include "help/dialog_frame.h"
#include "help/readme_text.h"

namespace {

constexpr int kClientWidth = 531;
constexpr int kClientHeight = 365;
constexpr int kPanelHeight = 41;

}  // namespace

TOKBottomDlg1::TOKBottomDlg1(QWidget* owner) : QDialog(owner) {
    SetUpFixedDialog(this, QStringLiteral("KasumiroのReadme"), QSize(kClientWidth, kClientHeight));

    RichEdit1 = new QTextEdit(this);
    RichEdit1->setGeometry(0, 0, kClientWidth, kClientHeight - kPanelHeight);
    RichEdit1->setReadOnly(true);
    RichEdit1->setAcceptRichText(false);
    RichEdit1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    RichEdit1->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    RichEdit1->setLineWrapMode(QTextEdit::WidgetWidth);
    // Japanese text has no spaces to break at.
    RichEdit1->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);

    Panel1 = new QWidget(this);
    Panel1->setGeometry(0, kClientHeight - kPanelHeight, kClientWidth, kPanelHeight);
    OKBtn = new QPushButton(QStringLiteral("OK"), Panel1);
    OKBtn->setGeometry(231, 8, 75, 25);
    OKBtn->setDefault(true);
    connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);

    FormCreate();
}

void TOKBottomDlg1::FormCreate() {
    const ReadmeText text = LoadReadmeText(ReadmePath());
    RichEdit1->setPlainText(text.Lines.join(QLatin1Char('\n')));
    if (!text.Error.isEmpty()) ShowErrorBox(parentWidget(), text.Error);
}

void TOKBottomDlg1::showEvent(QShowEvent* event) {
    CentreOnScreen(this);
    QDialog::showEvent(event);
}

void Readme1Click(QWidget* owner) {
    // On the heap: the owner may go away while the dialog runs, taking its children along.
    QPointer<TOKBottomDlg1> dialog = new TOKBottomDlg1(owner);
    dialog->exec();
    delete dialog;
}
