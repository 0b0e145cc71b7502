#include "tools/filter_dialogs.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QSlider>

#include "help/dialog_frame.h"
#include "platform/fonts.h"

FilterDialog::FilterDialog(QWidget* owner, const char* className, const QString& caption, int width,
                           int height)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setObjectName(QString::fromLatin1(className));
    setWindowTitle(caption);
    setFont(UiFont(12));
    setFixedSize(width, height);
}

QPushButton* FilterDialog::MakeDecideButton(int x, int y) {
    auto* button = new QPushButton(QStringLiteral("決定"), this);
    button->setObjectName(QStringLiteral("Button1"));
    button->setGeometry(x, y, 75, 25);
    button->setDefault(true);
    connect(button, &QPushButton::clicked, this, &QDialog::accept);
    return button;
}

QFrame* FilterDialog::MakeBevel(int width, int height) {
    auto* bevel = new QFrame(this);
    bevel->setObjectName(QStringLiteral("Bevel1"));
    bevel->setGeometry(0, 0, width, height);
    bevel->setFrameStyle(QFrame::Box | QFrame::Sunken);
    bevel->lower();
    return bevel;
}

void FilterDialog::showEvent(QShowEvent* event) {
    CentreOnScreen(this);
    QDialog::showEvent(event);
}

QScrollBar* MakeScrollBar(QWidget* parent, const char* name, const QRect& rect, int minimum,
                          int maximum, int position, int largeStep) {
    auto* bar = new QScrollBar(Qt::Horizontal, parent);
    bar->setObjectName(QString::fromLatin1(name));
    bar->setGeometry(rect);
    bar->setRange(minimum, maximum);
    bar->setValue(position);
    bar->setSingleStep(1);
    bar->setPageStep(largeStep);
    return bar;
}

QLabel* MakeLabel(QWidget* parent, const char* name, const QPoint& at, const QString& text) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->move(at);
    label->adjustSize();
    return label;
}

TForm6::TForm6(QWidget* owner)
    : FilterDialog(owner, "TForm6", QStringLiteral("コントラスト強調の強度"), 369, 80) {
    MakeBevel(369, 49);
    TrackBar1 = new QSlider(Qt::Horizontal, this);
    TrackBar1->setObjectName(QStringLiteral("TrackBar1"));
    TrackBar1->setGeometry(3, 8, 329, 33);
    TrackBar1->setRange(1, 100);
    TrackBar1->setValue(70);
    TrackBar1->setTickInterval(1);
    TrackBar1->setTickPosition(QSlider::TicksBelow);
    Label1 = MakeLabel(this, "Label1", QPoint(336, 11), QStringLiteral("70"));
    Label1->setFont(UiFont(15, true));
    Label1->adjustSize();
    Button1 = MakeDecideButton(150, 53);
    connect(TrackBar1, &QSlider::valueChanged, this, &TForm6::TrackBar1Change);
    connect(Button1, &QPushButton::clicked, this, &TForm6::Button1Click);
}

void TForm6::TrackBar1Change() {
    Label1->setText(QString::number(TrackBar1->value()));
    Label1->adjustSize();
}

void TForm6::Button1Click() {
    ContrastStrength = TrackBar1->value();
}

TForm7::TForm7(QWidget* owner)
    : FilterDialog(owner, "TForm7", QStringLiteral("色補正の設定"), 185, 96) {
    MakeBevel(185, 65);
    ScrollBar1 = MakeScrollBar(this, "ScrollBar1", QRect(56, 7, 121, 15), -100, 100, 0, 5);
    ScrollBar2 = MakeScrollBar(this, "ScrollBar2", QRect(56, 23, 121, 15), -100, 100, 0, 5);
    ScrollBar3 = MakeScrollBar(this, "ScrollBar3", QRect(56, 39, 121, 15), -100, 100, 0, 5);
    Label1 = MakeLabel(this, "Label1", QPoint(8, 7), QStringLiteral("R:0"));
    Label2 = MakeLabel(this, "Label2", QPoint(8, 23), QStringLiteral("G:0"));
    Label3 = MakeLabel(this, "Label3", QPoint(8, 39), QStringLiteral("B:0"));
    Button1 = MakeDecideButton(56, 69);
    connect(ScrollBar1, &QScrollBar::valueChanged, this, &TForm7::ScrollBar1Change);
    connect(ScrollBar2, &QScrollBar::valueChanged, this, &TForm7::ScrollBar2Change);
    connect(ScrollBar3, &QScrollBar::valueChanged, this, &TForm7::ScrollBar3Change);
}

void TForm7::ScrollBar1Change() {
    Label1->setText(QStringLiteral("R:%1").arg(ScrollBar1->value()));
    Label1->adjustSize();
}

void TForm7::ScrollBar2Change() {
    Label2->setText(QStringLiteral("G:%1").arg(ScrollBar2->value()));
    Label2->adjustSize();
}

void TForm7::ScrollBar3Change() {
    Label3->setText(QStringLiteral("B:%1").arg(ScrollBar3->value()));
    Label3->adjustSize();
}

TForm8::TForm8(QWidget* owner)
    : FilterDialog(owner, "TForm8", QStringLiteral("値抽出の設定"), 185, 64) {
    MakeBevel(185, 33);
    ScrollBar1 = MakeScrollBar(this, "ScrollBar1", QRect(40, 9, 121, 15), 1, 9, 5, 1);
    Label1 = MakeLabel(this, "Label1", QPoint(16, 9), QStringLiteral("5"));
    Button1 = MakeDecideButton(56, 37);
    connect(ScrollBar1, &QScrollBar::valueChanged, this, &TForm8::ScrollBar1Change);
}

void TForm8::ScrollBar1Change() {
    Label1->setText(QString::number(ScrollBar1->value()));
    Label1->adjustSize();
}
