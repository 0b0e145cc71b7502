#include "tools/undo_levels_dialog.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>

#include "help/dialog_frame.h"
#include "platform/fonts.h"
#include "tools/undo_history.h"

TUndoLevelsDlg::TUndoLevelsDlg(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("UndoLevelsDlg"));
    setWindowTitle(QStringLiteral("元に戻す回数"));
    setModal(true);
    setFont(UiFont(12));
    SpinEdit1 = new QSpinBox(this);
    SpinEdit1->setObjectName(QStringLiteral("SpinEdit1"));
    SpinEdit1->setRange(UndoHistory::kMinLevels, UndoHistory::kMaxLevels);
    SpinEdit1->setMinimumWidth(70);
    OKBtn = new QPushButton(QStringLiteral("決定"), this);
    OKBtn->setObjectName(QStringLiteral("OKBtn"));
    OKBtn->setDefault(true);
    CancelBtn = new QPushButton(QStringLiteral("中止"), this);
    CancelBtn->setObjectName(QStringLiteral("CancelBtn"));

    auto* grid = new QGridLayout(this);
    grid->addWidget(new QLabel(QStringLiteral("元に戻せる回数（1～100）"), this), 0, 0);
    grid->addWidget(SpinEdit1, 0, 1);
    auto* note = new QLabel(QStringLiteral("1 のときは、もう一度押すとやり直します。"), this);
    grid->addWidget(note, 1, 0, 1, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OKBtn);
    buttons->addWidget(CancelBtn);
    grid->addLayout(buttons, 2, 0, 1, 2);

    connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
}

bool TUndoLevelsDlg::Execute(int& levels) {
    SpinEdit1->setValue(levels);
    SpinEdit1->selectAll();
    SpinEdit1->setFocus();
    if (exec() != QDialog::Accepted) return false;
    // A number typed but not yet taken by the box counts too.
    SpinEdit1->interpretText();
    levels = SpinEdit1->value();
    return true;
}

void TUndoLevelsDlg::showEvent(QShowEvent* event) {
    adjustSize();
    setFixedSize(size());
    CentreOnScreen(this);
    QDialog::showEvent(event);
}
