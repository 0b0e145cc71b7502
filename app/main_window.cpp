#include "app/main_window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QMouseEvent>
#include <QProgressBar>
#include <QScrollArea>
#include <QStatusBar>
#include <QWheelEvent>

#include "app/paint_surface.h"
#include "controls/error_box.h"
#include "platform/fonts.h"
#include "resources/artwork.h"

TForm1::TForm1(const QStringList& args, const QString& startDir) : core_(*this) {
    setObjectName(QStringLiteral("Form1"));
    setFont(UiFont(12));
    setWindowIcon(ProgramIcon());
    // Files and pictures may be dropped anywhere on the window, the paint surface among it.
    setAcceptDrops(true);

    auto* client = new QWidget(this);
    auto* layout = new QHBoxLayout(client);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    setCentralWidget(client);

    BuildMenus();
    BuildToolPanel();
    BuildStatusBar();
    // The design placement, 493 x 470 below the menu bar; the settings replace it.
    setGeometry(227, 113, 493, 470 + menuBar()->sizeHint().height());

    ScrollBox1 = new QScrollArea(client);
    ScrollBox1->setObjectName(QStringLiteral("ScrollBox1"));
    ScrollBox1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    ScrollBox1->setWidgetResizable(false);
    Image1 = new PaintSurface(&core_.Image1, ScrollBox1);
    ScrollBox1->setWidget(Image1);
    layout->addWidget(Panel1);
    layout->addWidget(ScrollBox1, 1);

    ConnectBrushSettings();
    ConnectBrush();
    ConnectEditing();
    ConnectTools();
    ConnectFilters();
    ConnectDocuments();
    ConnectView();

    core_.FormCreate(args, startDir);
}

// The children outlive this class's part of the window: whatever still calls into it from
// their destruction is cut off first.
TForm1::~TForm1() {
    delete selShapeWatcher_;
}

void TForm1::SetToolWindows(QWidget* layerWindow, QWidget* loupeWindow) {
    layerWindow_ = layerWindow;
    loupeWindow_ = loupeWindow;
}

void TForm1::SetCaption(const QString& caption) {
    setWindowTitle(caption);
}

void TForm1::SetStatusText(int panel, const QString& text) {
    (panel == 0 ? StatusPanel0 : StatusPanel1)->setText(text);
}

void TForm1::SetPaintCursor(int cursor) {
    paintCursor_ = cursor;
    if (cursor == crCross)
        Image1->setCursor(Qt::CrossCursor);
    else if (cursor == crDefault)
        Image1->unsetCursor();
    else
        Image1->setCursor(KasumiroCursor(cursor));
}

void TForm1::Beep() {
    QApplication::beep();
}

void TForm1::ErrorBox(const QString& text) {
    ShowErrorBox(this, text);
}

void TForm1::PaintSurfaceResized(int, int) {
    Image1->SyncSize();
}

void TForm1::RepaintPaintSurface(const QRect& area) {
    Image1->RepaintPicture(area);
}

void TForm1::SetToolPanelLeft(bool left) {
    auto* layout = static_cast<QHBoxLayout*>(centralWidget()->layout());
    layout->removeWidget(Panel1);
    layout->insertWidget(left ? 0 : 1, Panel1);
}

QWidget* TForm1::Window(WindowId window) {
    switch (window) {
        case wiMain:
            return this;
        case wiLayer:
            return layerWindow_;
        case wiLoupe:
            return loupeWindow_;
    }
    return nullptr;
}

WindowPlacement TForm1::Placement(WindowId window) {
    QWidget* w = Window(window);
    return w ? PlacementOf(w) : WindowPlacement();
}

void TForm1::SetPlacement(WindowId window, const WindowPlacement& placement) {
    if (QWidget* w = Window(window)) ApplyPlacement(w, placement);
}

bool TForm1::WindowVisible(WindowId window) {
    QWidget* w = Window(window);
    return w && w->isVisible();
}

void TForm1::SetWindowVisible(WindowId window, bool visible) {
    if (QWidget* w = Window(window)) w->setVisible(visible);
}

void TForm1::CloseMainWindow() {
    close();
}

void TForm1::SetProgressRange(int minimum, int maximum) {
    ProgressBar1->setRange(minimum, maximum);
}

void TForm1::SetProgressPosition(int position) {
    ProgressBar1->setValue(position);
}

void TForm1::ProcessMessages() {
    // Repaints and the bar only: a command must not act on pictures that are half done.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void TForm1::closeEvent(QCloseEvent* event) {
    if (core_.FilterRunning()) {
        core_.CloseAfterFilter();
        event->ignore();
        return;
    }
    if (!closing_) {
        closing_ = true;
        Run(&MainWindowCore::FormClose);
    }
    event->accept();
    // The main window's close ends the program, whatever tool windows are still open.
    QApplication::quit();
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
    // Qt passes a double click that a child leaves alone up to the panel: only one on the
    // panel's own surface moves it.
    if (watched == Panel1 && event->type() == QEvent::MouseButtonDblClick) {
        const QPointF at = static_cast<QMouseEvent*>(event)->position();
        if (Panel1->childAt(at.toPoint())) return true;
        core_.Panel1DblClick();
        return true;
    }
    if (watched == Panel1 && event->type() == QEvent::Resize) PlaceProgressBar();
    if (ScrollBox1 && watched == ScrollBox1->viewport() && event->type() == QEvent::Wheel)
        return WheelZoom(static_cast<QWheelEvent*>(event));
    return QMainWindow::eventFilter(watched, event);
}

void TForm1::BuildStatusBar() {
    StatusPanel0 = new QLabel(this);
    StatusPanel0->setFixedWidth(300);
    StatusPanel1 = new QLabel(this);
    StatusPanel1->setMinimumWidth(50);
    for (QLabel* panel : {StatusPanel0, StatusPanel1})
        panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    statusBar()->setObjectName(QStringLiteral("StatusBar1"));
    statusBar()->setSizeGripEnabled(false);
    statusBar()->addWidget(StatusPanel0);
    statusBar()->addWidget(StatusPanel1, 1);
}
