#include "tools/text_form.h"

#include <QFontDialog>
#include <QFontInfo>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "help/dialog_frame.h"
#include "platform/fonts.h"
#include "platform/rounding.h"

namespace {

// The font dialog speaks in points; the text tool in pixels at 96 dots per inch.
QFont InPoints(const QFont& font) {
    QFont f = font;
    // The dialog lists installed families: show the one the substitution resolves to.
    f.setFamily(QFontInfo(font).family());
    if (font.pixelSize() > 0) f.setPointSizeF(font.pixelSize() * 72.0 / 96.0);
    return f;
}

QFont InPixels(const QFont& font) {
    QFont f = font;
    if (font.pixelSize() <= 0) f.setPixelSize(int(Round(font.pointSizeF() * 96.0 / 72.0)));
    return f;
}

std::optional<QFont> AskFont(QWidget* parent, const QFont& font) {
    bool ok = false;
    const QFont chosen = QFontDialog::getFont(&ok, InPoints(font), parent);
    if (!ok) return std::nullopt;
    return InPixels(chosen);
}

QPushButton* MakeButton(QWidget* bar, const QString& caption, int x) {
    auto* button = new QPushButton(caption, bar);
    button->setGeometry(x, 5, 59, 25);
    return button;
}

}  // namespace

TTextForm::TTextForm(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::WindowSystemMenuHint | Qt::WindowMaximizeButtonHint |
                         Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("TTextForm"));
    setWindowTitle(QStringLiteral("テキスト"));
    setFont(UiFont(12));
    resize(326, 296);

    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setFrameShape(QFrame::NoFrame);
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

    Panel1 = new QWidget(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFixedHeight(36);
    Button1 = MakeButton(Panel1, QStringLiteral("フォント"), 30);
    Button2 = MakeButton(Panel1, QStringLiteral("クリア"), 94);
    Button4 = MakeButton(Panel1, QStringLiteral("決定"), 160);
    Button5 = MakeButton(Panel1, QStringLiteral("中止"), 224);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(Memo1, 1);
    layout->addWidget(Panel1);

    connect(Button1, &QPushButton::clicked, this, &TTextForm::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TTextForm::Button2Click);
    connect(Button4, &QPushButton::clicked, this, &QDialog::accept);
    connect(Button5, &QPushButton::clicked, this, &QDialog::reject);

    RunFontDialog = [this](const QFont& font) { return AskFont(this, font); };
    SetMemoFont(UiFont(12));
}

QStringList TTextForm::Lines() const {
    const QString text = Memo1->toPlainText();
    if (text.isEmpty()) return {};
    return text.split(QLatin1Char('\n'));
}

void TTextForm::SetMemoFont(const QFont& font) {
    Memo1->setFont(font);
    fontDialogFont_ = font;
}

void TTextForm::SetMemoColours(const QColor& text, const QColor& background) {
    QPalette palette = Memo1->palette();
    palette.setColor(QPalette::Text, text);
    palette.setColor(QPalette::Base, background);
    Memo1->setPalette(palette);
}

void TTextForm::Button1Click() {
    fontDialogFont_ = Memo1->font();
    if (const std::optional<QFont> chosen = RunFontDialog(fontDialogFont_)) SetMemoFont(*chosen);
}

void TTextForm::Button2Click() {
    Memo1->clear();
}

void TTextForm::showEvent(QShowEvent* event) {
    CentreOnScreen(this);
    QDialog::showEvent(event);
}
