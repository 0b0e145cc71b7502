// The main window's zoom: the 表示 menu's zoom items, Ctrl and the wheel, and the zoom in the
// status bar. The zoom belongs to the view alone: the core and every tool work in picture
// pixels, and it is not kept in the settings.
#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QWheelEvent>
#include <cmath>

#include "app/main_window.h"
#include "app/paint_surface.h"
#include "controls/sel_shape.h"
#include "tools/paste_picture.h"

namespace {

// One notch of a mouse wheel; touchpads send parts of it.
constexpr int kWheelNotch = 120;

}  // namespace

void TForm1::AddZoomItems(QMenu* view) {
    view->addSeparator();
    QAction* in = AddItem(view, QStringLiteral("ZoomIn1"), QStringLiteral("拡大(&I)"));
    // Ctrl+= too: on many keyboards "+" needs Shift.
    in->setShortcuts(
        {QKeySequence(QStringLiteral("Ctrl++")), QKeySequence(QStringLiteral("Ctrl+="))});
    connect(in, &QAction::triggered, this, [this] { ZoomAroundCentre(Image1->View().Step() + 1); });
    connect(AddItem(view, QStringLiteral("ZoomOut1"), QStringLiteral("縮小(&O)"),
                    QKeySequence(QStringLiteral("Ctrl+-"))),
            &QAction::triggered, this, [this] { ZoomAroundCentre(Image1->View().Step() - 1); });
    connect(AddItem(view, QStringLiteral("ActualSize1"), QStringLiteral("等倍(&A)"),
                    QKeySequence(QStringLiteral("Ctrl+0"))),
            &QAction::triggered, this, [this] { ZoomAroundCentre(ViewTransform::kActualSize); });
    connect(
        AddItem(view, QStringLiteral("FitWindow1"), QStringLiteral("全体を表示(&W)")),
        &QAction::triggered, this, [this] {
            const QSize picture(core_.PictureWidth(), core_.PictureHeight());
            ZoomAroundCentre(ViewTransform::FitStep(picture, ScrollBox1->maximumViewportSize()));
        });
}

void TForm1::ConnectView() {
    ScrollBox1->viewport()->installEventFilter(this);
    ZoomPanel = new QLabel(this);
    ZoomPanel->setObjectName(QStringLiteral("ZoomPanel"));
    ZoomPanel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    statusBar()->insertWidget(1, ZoomPanel);
    ShowZoom();
}

void TForm1::ShowZoom() {
    ZoomPanel->setText(Image1->View().PercentText());
}

void TForm1::ZoomAroundCentre(int step) {
    ZoomTo(step, QRectF(ScrollBox1->viewport()->rect()).center());
}

void TForm1::ZoomTo(int step, const QPointF& anchor) {
    ViewTransform next = Image1->View();
    next.SetStep(step);
    if (next.Step() == Image1->View().Step()) return;
    const QPointF picture = Image1->View().PictureAt(anchor - QPointF(Image1->pos()));
    Image1->SetZoomStep(next.Step());
    ShowSelShape(core_.SelShape1.Rect(), core_.SelShape1.Visible);
    Image7->ViewChanged();
    // The surface has its new size, and the scroll bars their new ranges: the picture point
    // goes back under the anchor as far as they reach.
    const QPointF shown = next.ScreenAt(picture) - anchor;
    ScrollBox1->horizontalScrollBar()->setValue(int(std::lround(shown.x())));
    ScrollBox1->verticalScrollBar()->setValue(int(std::lround(shown.y())));
    ShowZoom();
}

bool TForm1::WheelZoom(QWheelEvent* event) {
    if (!(event->modifiers() & Qt::ControlModifier)) return false;
    wheelTurn_ += event->angleDelta().y();
    const int notches = wheelTurn_ / kWheelNotch;
    wheelTurn_ -= notches * kWheelNotch;
    if (notches != 0) ZoomTo(Image1->View().Step() + notches, event->position());
    event->accept();
    return true;
}
