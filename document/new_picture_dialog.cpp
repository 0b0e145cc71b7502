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

SizeSpinEdit::SizeSpinEdit(QWidget* parent) : QSpinBox(parent) {
    // No limits: the dialog's own rule takes values below 1 to 0.
    setRange(INT_MIN + 1, INT_MAX);
    setMinimumWidth(90);
}

bool SizeSpinEdit::IsEmpty() const {
    return lineEdit()->text().trimmed().isEmpty();
}

void SizeSpinEdit::SetNumber(int value) {
    filling_ = true;
    setValue(value);
    filling_ = false;
}

// An empty text is a finished input that keeps the value underneath unchanged; the text
// shown for that value stays empty until a number is typed, stepped to or set.
QValidator::State SizeSpinEdit::validate(QString& text, int& pos) const {
    if (text.trimmed().isEmpty()) return QValidator::Acceptable;
    return QSpinBox::validate(text, pos);
}

int SizeSpinEdit::valueFromText(const QString& text) const {
    if (text.trimmed().isEmpty()) return value();
    return QSpinBox::valueFromText(text);
}

QString SizeSpinEdit::textFromValue(int value) const {
    if (IsEmpty() && !filling_) return QString();
    return QSpinBox::textFromValue(value);
}

void SizeSpinEdit::stepBy(int steps) {
    filling_ = true;
    if (IsEmpty()) {
        // The arrows count an empty field as 0.
        const QSignalBlocker quiet(this);
        setValue(0);
    }
    QSpinBox::stepBy(steps);
    filling_ = false;
}

TOKBottomDlg::TOKBottomDlg(QWidget* owner) : QDialog(owner), Beep(&QApplication::beep) {
    setObjectName(QStringLiteral("OKBottomDlg"));
    setWindowTitle(QStringLiteral("新規作成"));
    setModal(true);
    SpinEdit1 = new SizeSpinEdit(this);
    SpinEdit1->setObjectName(QStringLiteral("SpinEdit1"));
    SpinEdit2 = new SizeSpinEdit(this);
    SpinEdit2->setObjectName(QStringLiteral("SpinEdit2"));
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

    for (SizeSpinEdit* field : {SpinEdit1, SpinEdit2}) {
        connect(field, &QSpinBox::textChanged, this,
                [this, field](const QString& text) { FieldEdited(field, text); });
        // Emptying a field changes no value, so the spin box reports nothing; its editor does.
        connect(field->findChild<QLineEdit*>(), &QLineEdit::textEdited, this,
                [this, field](const QString& text) {
                    if (text.trimmed().isEmpty()) FieldEdited(field, text);
                });
    }
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

void TOKBottomDlg::FieldEdited(SizeSpinEdit* field, const QString& text) {
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
    const std::pair<SizeSpinEdit*, std::optional<int>> fields[] = {{SpinEdit1, form_.Width},
                                                                   {SpinEdit2, form_.Height}};
    for (const auto& [field, value] : fields) {
        if (!value || (field->text() == QString::number(*value))) continue;
        const QSignalBlocker block(field);
        const int cursor = field->findChild<QLineEdit*>()->cursorPosition();
        field->SetNumber(*value);
        field->findChild<QLineEdit*>()->setCursorPosition(cursor);
    }
}

void TOKBottomDlg::OKBtnClick() {
    if (form_.Confirm()) {
        if (Beep) Beep();
        ShowForm();
    }
    accept();
}
