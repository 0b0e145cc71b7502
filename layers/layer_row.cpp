#include "layers/layer_row.h"

#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPixmap>
#include <QToolButton>

#include "layers/layer_stack.h"

namespace {

constexpr int kRowWidth = 170;
const QColor kHighlight(255, 255, 0);

}  // namespace

ColourBox::ColourBox(QWidget* parent) : QFrame(parent) {
    setAutoFillBackground(true);
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    setLineWidth(1);
}

void ColourBox::SetColour(const QColor& colour) {
    if (colour == Colour()) return;
    QPalette p = palette();
    p.setColor(QPalette::Window, colour);
    setPalette(p);
}

QColor ColourBox::Colour() const {
    return palette().color(QPalette::Window);
}

void ColourBox::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) emit clicked();
}

LayerRow::LayerRow(LayerStack& stack, int index, QWidget* parent)
    : QFrame(parent), stack_(stack), index_(index) {
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    setLineWidth(1);
    resize(kRowWidth, kRowHeight);

    ShowBox = new QToolButton(this);
    ShowBox->setGeometry(0, 0, 20, 20);
    ShowBox->setFocusPolicy(Qt::NoFocus);
    QFont bold = ShowBox->font();
    bold.setBold(true);
    ShowBox->setFont(bold);
    connect(ShowBox, &QToolButton::clicked, this, [this] { stack_.ToggleVisibility(index_); });

    ColourBox1 = new ColourBox(this);
    ColourBox1->setGeometry(0, 20, 20, 20);
    connect(ColourBox1, &ColourBox::clicked, this,
            [this] { stack_.ChooseTransparentColour(index_); });

    Thumbnail = new QLabel(this);
    Thumbnail->setGeometry(20, 1, kThumbnailSize, kThumbnailSize);
    Thumbnail->setAutoFillBackground(true);
    QPalette white = Thumbnail->palette();
    white.setColor(QPalette::Window, Qt::white);
    Thumbnail->setPalette(white);

    NameBox = new QLineEdit(this);
    NameBox->setGeometry(70, 4, 89, 15);
    QFont nameFont(QStringLiteral("ＭＳ Ｐゴシック"));
    nameFont.setPixelSize(11);
    NameBox->setFont(nameFont);
    NameBox->setTextMargins(0, 0, 0, 0);
    connect(NameBox, &QLineEdit::textEdited, this,
            [this](const QString& text) { stack_.SetLayerName(index_, text); });

    Update();
}

void LayerRow::Update() {
    move(0, stack_.RowTop(index_));
    ShowBox->setText(stack_.VisibilityMark(index_));
    ColourBox1->SetColour(ToQColor(stack_.TransparentColour(index_)));
    if (NameBox->text() != stack_.LayerName(index_)) NameBox->setText(stack_.LayerName(index_));
    QPalette p = NameBox->palette();
    const QColor base = stack_.IsHighlighted(index_)
                            ? kHighlight
                            : palette().color(QPalette::Active, QPalette::Base);
    p.setColor(QPalette::Base, base);
    NameBox->setPalette(p);
    NameBox->setToolTip(stack_.HasNameHint(index_) ? QStringLiteral("レイヤの名前") : QString());
    ShowBox->setToolTip(stack_.HasShowHint(index_) ? QStringLiteral("表示する") : QString());
    ColourBox1->setToolTip(stack_.HasColourHint(index_) ? QStringLiteral("透過色") : QString());
    UpdateThumbnail();
}

void LayerRow::UpdateThumbnail() {
    Thumbnail->setPixmap(QPixmap::fromImage(stack_.Thumbnail(index_).ConstView()));
}

void LayerRow::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) stack_.SelectLayer(index_);
}
