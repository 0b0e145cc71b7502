#include "layers/layer_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QColorDialog>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <new>

#include "controls/error_box.h"
#include "controls/ini_gt.h"
#include "layers/layer_row.h"
#include "platform/runtime_errors.h"

namespace {

constexpr int kClientWidth = 190;
constexpr int kClientHeight = 183;
constexpr int kStatusHeight = 19;
constexpr int kRowWidth = 170;
constexpr int kStripWidth = 17;
constexpr int kStripHeight = 161;

}  // namespace

TForm10::TForm10(LayerStack& stack, const TIniGT* settings, QWidget* parent)
    : QMainWindow(parent, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint |
                              Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      stack_(stack) {
    setObjectName(QStringLiteral("Form10"));
    setWindowTitle(QStringLiteral("レイヤ"));
    QFont font(QStringLiteral("ＭＳ Ｐゴシック"));
    font.setPixelSize(12);
    setFont(font);
    BuildMenus();
    BuildRowList();
    BuildStatusBar();
    setFixedSize(kClientWidth, menuBar()->sizeHint().height() + kClientHeight);
    ColorDialog1 = new QColorDialog(this);
    FormCreate(settings);
}

TForm10::~TForm10() {
    stack_.SetHost(nullptr);
}

void TForm10::FormCreate(const TIniGT* settings) {
    if (settings) settings->LoadPlacement(QStringLiteral("Form10"), QStringLiteral("Pos"), this);
    stack_.SetHost(this);
    RefreshRows();
    StatusChanged();
}

void TForm10::BuildMenus() {
    QMenu* layerMenu = menuBar()->addMenu(QStringLiteral("新規レイヤ"));
    New1 = layerMenu->addAction(QStringLiteral("レイヤ作成"), this, &TForm10::New1Click);
    QMenu* edit = menuBar()->addMenu(QStringLiteral("編集"));
    N1 = edit->addAction(QStringLiteral("結合"), this, &TForm10::N1Click);
    edit->addSeparator();
    N2 = edit->addAction(QStringLiteral("上へ移動"), this, &TForm10::N2Click);
    N3 = edit->addAction(QStringLiteral("下へ移動"), this, &TForm10::N3Click);
    edit->addSeparator();
    Delete1 = edit->addAction(QStringLiteral("削除"), this, &TForm10::Delete1Click);
}

void TForm10::BuildRowList() {
    ScrollBox1 = new QScrollArea(this);
    ScrollBox1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    ScrollBox1->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    ScrollBox1->setWidgetResizable(false);
    ScrollBox1->setFixedSize(kClientWidth, kClientHeight - kStatusHeight);
    RowList = new QWidget;
    // The blank strip keeps the list at least as tall as the box and reserves its right edge.
    auto* strip = new QWidget(RowList);
    strip->setGeometry(kRowWidth, 0, kStripWidth, kStripHeight);
    RowList->resize(kRowWidth + kStripWidth, kStripHeight);
    ScrollBox1->setWidget(RowList);
    setCentralWidget(ScrollBox1);
}

void TForm10::BuildStatusBar() {
    StatusBar1 = new QStatusBar(this);
    StatusBar1->setSizeGripEnabled(false);
    StatusBar1->setFixedHeight(kStatusHeight);
    for (QLabel*& panel : panels_) {
        panel = new QLabel(StatusBar1);
        panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    }
    panels_[0]->setFixedWidth(80);
    panels_[1]->setMinimumWidth(50);
    // The last panel reaches the right edge, as status bars do.
    StatusBar1->addWidget(panels_[0], 0);
    StatusBar1->addWidget(panels_[1], 1);
    setStatusBar(StatusBar1);
}

// ---- Menus ----

void TForm10::New1Click() {
    Run(&LayerStack::CreateLayer);
}
void TForm10::N1Click() {
    Run(&LayerStack::Merge);
}
void TForm10::N2Click() {
    Run(&LayerStack::MoveUp);
}
void TForm10::N3Click() {
    Run(&LayerStack::MoveDown);
}
void TForm10::Delete1Click() {
    Run(&LayerStack::DeleteLayer);
}

void TForm10::Run(void (LayerStack::*operation)()) {
    try {
        (stack_.*operation)();
    } catch (const std::bad_alloc&) {
        ErrorBox(OutOfMemoryError().Text());
    }
}

// ---- Rows ----

void TForm10::RefreshRows() {
    for (int index = 0; index < kLayerSlots; ++index) {
        LayerRow*& row = rows_[std::size_t(index)];
        if (!stack_.InUse(index)) {
            if (row) row->deleteLater();
            if (row) row->hide();
            row = nullptr;
            continue;
        }
        if (!row) {
            row = new LayerRow(stack_, index, RowList);
            row->show();
        } else {
            row->Update();
        }
    }
    RowList->resize(kRowWidth + kStripWidth,
                    std::max(kStripHeight, kRowHeight * stack_.LayerCount()));
}

LayerRow* TForm10::Row(int index) const {
    return index >= 0 && index < kLayerSlots ? rows_[std::size_t(index)] : nullptr;
}

QString TForm10::PanelText(int panel) const {
    return panel == 0 || panel == 1 ? panels_[panel]->text() : QString();
}

void TForm10::closeEvent(QCloseEvent* event) {
    hide();
    event->accept();
}

// ---- What the stack asks of the screen ----

void TForm10::Beep() {
    QApplication::beep();
}

void TForm10::MessageBox(const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, QApplication::applicationDisplayName(), text,
                    QMessageBox::Ok, this);
    box.exec();
}

void TForm10::ConfirmLimit(const QString& text) {
    QMessageBox box(QMessageBox::Question, QStringLiteral("確認"), text, QMessageBox::NoButton,
                    this);
    box.addButton(QStringLiteral("はい(&Y)"), QMessageBox::YesRole);
    box.exec();
}

std::optional<TColor> TForm10::ChooseColour(TColor initial) {
    ColorDialog1->setCurrentColor(ToQColor(initial));
    if (ColorDialog1->exec() != QDialog::Accepted) return std::nullopt;
    return FromQColor(ColorDialog1->selectedColor());
}

void TForm10::RowsChanged() {
    RefreshRows();
}

void TForm10::RowChanged(int index) {
    if (LayerRow* row = Row(index)) row->Update();
}

void TForm10::StatusChanged() {
    panels_[0]->setText(stack_.ColourPanelText());
    panels_[1]->setText(stack_.RankPanelText());
}

void TForm10::ScrollRowsToTop() {
    ScrollBox1->verticalScrollBar()->setValue(0);
}

void TForm10::ErrorBox(const QString& text) {
    ShowErrorBox(this, text);
}
