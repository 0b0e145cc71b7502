#include "document/new_picture_dialog.h"

#include <climits>

#include <QApplication>
#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QSpinBox>

namespace {

QSpinBox* SizeField(QWidget* parent, const char* name) {
    auto* field = new QSpinBox(parent);
    field->setObjectName(QLatin1String(name));
    // Spin edits without limits: the dialog's own rule takes values below 1 to 0.
    field->setRange(INT_MIN + 1, INT_MAX);
    field->setMinimumWidth(90);
    return field;
}

}  // namespace

TOKBottomDlg::TOKBottomDlg(QWidget* owner) : QDialog(owner) {
    setObjectName(QStringLiteral("OKBottomDlg"));
    setWindowTitle(QStringLiteral("新規作成"));
    setModal(true);
    SpinEdit1 = SizeField(this, "SpinEdit1");
    SpinEdit2 = SizeField(this, "SpinEdit2");
    CheckBox1 = new QCheckBox(QStringLiteral("縦横比を固定"), this);
    OKBtn = new QPushButton(QStringLiteral("決定"), this);
    CancelBtn = new QPushButton(QStringLiteral("中止"), this);
    OKBtn->setDefault(true);

    auto* grid = new QGridLayout(this);
    grid->addWidget(new QLabel(QStringLiteral("横"), this), 0, 0);
    grid->addWidget(SpinEdit1, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("縦"), this), 1, 0);
    grid->addWidget(SpinEdit2, 1, 1);
    grid->addWidget(CheckBox1, 2, 0, 1, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OKBtn);
    buttons->addWidget(CancelBtn);
    grid->addLayout(buttons, 3, 0, 1, 2);

    for (QSpinBox* field : {SpinEdit1, SpinEdit2})
        connect(field, &QSpinBox::textChanged, this,
                [this, field](const QString& text) { FieldEdited(field, text); });
    connect(CheckBox1, &QCheckBox::toggled, this, [this](bool on) { form_.SetKeepAspect(on); });
    connect(OKBtn, &QPushButton::clicked, this, &TOKBottomDlg::OKBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
}

bool TOKBottomDlg::Execute(int& width, int& height) {
    // The picture's own size, shown as it is.
    form_.Width = width;
    form_.Height = height;
    ShowForm();
    adjustSize();
    move(screen()->availableGeometry().center() - rect().center());
    if (exec() != QDialog::Accepted) return false;
    width = form_.Width.value_or(0);
    height = form_.Height.value_or(0);
    return true;
}

void TOKBottomDlg::FieldEdited(QSpinBox* field, const QString& text) {
    const QString digits = text.trimmed();
    bool number = false;
    const long long value = digits.toLongLong(&number);
    const int clamped = value > INT_MAX ? INT_MAX : value < INT_MIN ? INT_MIN : int(value);
    if (digits.isEmpty()) {
        (field == SpinEdit1 ? form_.Width : form_.Height).reset();
        return;
    }
    if (!number) return;  // "-" on its way to a number
    if (field == SpinEdit1)
        form_.WidthTyped(clamped);
    else
        form_.HeightTyped(clamped);
    ShowForm();
}

void TOKBottomDlg::ShowForm() {
    const std::pair<QSpinBox*, std::optional<int>> fields[] = {{SpinEdit1, form_.Width},
                                                               {SpinEdit2, form_.Height}};
    for (const auto& [field, value] : fields) {
        if (!value || (field->text() == QString::number(*value))) continue;
        const QSignalBlocker block(field);
        const int cursor = field->findChild<QLineEdit*>()->cursorPosition();
        field->setValue(*value);
        field->findChild<QLineEdit*>()->setCursorPosition(cursor);
    }
}

void TOKBottomDlg::OKBtnClick() {
    if (form_.Confirm()) {
        QApplication::beep();
        ShowForm();
    }
    accept();
}
