#include "loupe/loupe_window.h"

#include <QLabel>
#include <QMenuBar>
#include <QShowEvent>
#include <QStatusBar>

#include "controls/ini_gt.h"
#include "loupe/loupe_host.h"
#include "loupe/lupe.h"
#include "platform/fonts.h"

TForm11::TForm11(QWidget* owner, LoupeHost& host, const TIniGT* settings)
    : QMainWindow(owner, Qt::Tool | Qt::WindowStaysOnTopHint), host_(host), settings_(settings) {
    setObjectName(QStringLiteral("TForm11"));
    setWindowTitle(QStringLiteral("ルーぺ"));
    setFont(UiFont(12));

    Lupe1 = new TLupe(this);
    Lupe1->setObjectName(QStringLiteral("Lupe1"));
    Lupe1->SetPower(4);
    Lupe1->SetDrawGrid(true);
    Lupe1->SetStyle(lsStandard);
    Lupe1->SetColor(clWhite);
    Lupe1->SetClipWidth(48);
    Lupe1->SetClipHeight(44);
    setCentralWidget(Lupe1);
    BuildMenus();
    BuildStatusBar();
    // The magnifier's design size, 48 x 44 blocks at four times, between menu and status bar.
    resize(Lupe1->width(),
           menuBar()->sizeHint().height() + Lupe1->height() + StatusBar1->sizeHint().height());
    FormCreate();
}

void TForm11::BuildMenus() {
    QMenu* magnification = menuBar()->addMenu(QStringLiteral("倍率(&B)"));
    N1 = magnification->menuAction();
    N1->setObjectName(QStringLiteral("N1"));
    static const char* const captions[7] = {"2倍(&T)",  "4倍(&H)",  "6倍(&F)", "8倍(&F)",
                                            "10倍(&S)", "12倍(&E)", "14倍(&I)"};
    for (int i = 0; i < 7; ++i) {
        B[i] = magnification->addAction(QString::fromUtf8(captions[i]));
        B[i]->setObjectName(QStringLiteral("B%1").arg(i + 2));
        B[i]->setCheckable(true);
        connect(B[i], &QAction::triggered, this, [this, i] { MagnificationClick(i); });
    }
    QMenu* options = menuBar()->addMenu(QStringLiteral("オプション(&O)"));
    O1 = options->menuAction();
    O1->setObjectName(QStringLiteral("O1"));
    F1 = options->addAction(QStringLiteral("筆先を拡大(&F)"));
    F1->setObjectName(QStringLiteral("F1"));
    F1->setCheckable(true);
    connect(F1, &QAction::triggered, this, &TForm11::F1Click);
}

void TForm11::BuildStatusBar() {
    StatusBar1 = statusBar();
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setSizeGripEnabled(false);
    StatusPanel0 = new QLabel(QStringLiteral("ルーぺを使うと描画が遅くなります。"), StatusBar1);
    StatusPanel0->setMinimumWidth(50);
    StatusPanel0->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    StatusBar1->addWidget(StatusPanel0, 1);

    PopupMenu1 = new QMenu(this);
    D1 = PopupMenu1->addAction(QStringLiteral("表示しない(&D)"));
    D1->setObjectName(QStringLiteral("D1"));
    connect(D1, &QAction::triggered, this, &TForm11::D1Click);
    StatusBar1->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(StatusBar1, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { PopupMenu1->popup(StatusBar1->mapToGlobal(at)); });
}

void TForm11::FormCreate() {
    host_.ReadLoupeMagnification();
    Lupe1->SetPower(host_.LoupeMagnification(Lupe1->Power()));
    Lupe1->SetBitmap(Bitmap());
    ShowChecks();
}

// Every showing reads the stored options again, so changes made since the last exit give
// way to what the settings file holds.
void TForm11::FormShow() {
    host_.ReadLoupeShowOptions();
    if (settings_) settings_->LoadPlacement(QStringLiteral("Form11"), QStringLiteral("Pos"), this);
    StatusBar1->setVisible(host_.LoupeSettings().StatusBar);
    ShowChecks();
    // The picture shows from the first showing on, not only after the first recomposition.
    if (const Bitmap* picture = host_.LoupePicture()) CopyPicture(*picture);
}

void TForm11::showEvent(QShowEvent* event) {
    if (!event->spontaneous()) FormShow();
    QMainWindow::showEvent(event);
}

void TForm11::MagnificationClick(int item) {
    Lupe1->SetPower(host_.LoupeMagnificationClick(item));
    ShowChecks();
}

void TForm11::F1Click() {
    LoupeOptions& options = host_.LoupeSettings();
    options.F1 = !options.F1;
    ShowChecks();
}

void TForm11::D1Click() {
    host_.LoupeSettings().StatusBar = false;
    StatusBar1->hide();
}

void TForm11::ShowChecks() {
    const LoupeOptions& options = host_.LoupeSettings();
    for (int i = 0; i < 7; ++i) B[i]->setChecked(options.B[i]);
    F1->setChecked(options.F1);
}

void TForm11::CopyPicture(const Bitmap& picture) {
    Lupe1->SharePicture(&picture);
}
