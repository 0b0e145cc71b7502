// The main window's widgets and menu items for this group of commands, wired to the core.
#include <QAction>
#include <QEvent>
#include <functional>

#include "app/main_window.h"
#include "app/paint_surface.h"
#include "controls/cute_button.h"
#include "controls/sel_shape.h"
#include "tools/clipboard_picture.h"
#include "tools/paste_picture.h"
#include "tools/undo_levels_dialog.h"

namespace {

// Passes a widget's events to a function, leaving them to the widget.
class EventWatcher : public QObject {
  public:
    EventWatcher(QObject* parent, std::function<void(QEvent*)> watch)
        : QObject(parent), watch_(std::move(watch)) {}
    bool eventFilter(QObject*, QEvent* event) override {
        watch_(event);
        return false;
    }

  private:
    std::function<void(QEvent*)> watch_;
};

}  // namespace

void TForm1::ConnectEditing() {
    SelShape1 = new TSelShape(Image1);
    SelShape1->setObjectName(QStringLiteral("SelShape1"));
    SelShape1->SetMinWidth(0);
    SelShape1->SetMinHeight(0);
    SelShape1->SetPen(QPen(Qt::black, 1, Qt::DotLine));
    SelShape1->SetBounds(0, 0, 0, 0);
    SelShape1->hide();
    selShapeWatcher_ =
        new EventWatcher(SelShape1, [this](QEvent* event) { WatchSelShape1(event); });
    SelShape1->installEventFilter(selShapeWatcher_);

    Image7 = new PastePicture(Image1);
    Image7->SetView(&Image1->View());
    Image7->OnMouseDown = [this](TMouseButton button, TShiftState shift, int x, int y) {
        core_.Guarded([&] { core_.Image7MouseDown(button, shift, x, y); });
    };
    Image7->OnMouseMove = [this](TShiftState shift, int x, int y) {
        core_.Image7MouseMove(shift, x, y);
    };

    Button2->OnClick = [this](QObject*) { Run(&MainWindowCore::Button2Click); };
    Button1->OnClick = [this](QObject*) { Run(&MainWindowCore::Button1Click); };
    const std::pair<const char*, void (MainWindowCore::*)()> items[] = {
        {"Undo1", &MainWindowCore::Undo1Click},
        {"Redo1", &MainWindowCore::Redo1Click},
        {"UndoLevels1", &MainWindowCore::UndoLevels1Click},
        {"Cut1", &MainWindowCore::Cut1Click},
        {"Copy1", &MainWindowCore::Copy1Click},
        {"Paste1", &MainWindowCore::Paste1Click},
        {"C1", &MainWindowCore::C1Click},
    };
    for (const auto& [name, handler] : items)
        connect(MenuItem(QString::fromLatin1(name)), &QAction::triggered, this,
                [this, handler = handler] { Run(handler); });
}

void TForm1::ShowSelShape(const QRect& bounds, bool visible) {
    // A hidden rectangle hears of its new place only when shown.
    placingSelShape_ = true;
    SelShape1->setGeometry(Image1->View().ScreenRect(bounds));
    SelShape1->setVisible(visible);
    placingSelShape_ = false;
    if (visible) SelShape1->raise();
}

void TForm1::ShowFloatingPaste(const Bitmap& picture, int left, int top, bool visible) {
    Image7->Show(picture, left, top, visible);
}

void TForm1::PutClipboardPicture(const Bitmap& picture) {
    PutPictureOnClipboard(picture);
}

bool TForm1::TakeClipboardPicture(Bitmap& picture, int maxSide) {
    return TakePictureFromClipboard(picture, maxSide);
}

// With one level the items read as they always have and undo never greys; with more, each
// shows how many steps it can take.
void TForm1::ShowUndoSteps(int levels, int back, int forward) {
    QAction* undo = MenuItem(QStringLiteral("Undo1"));
    QAction* redo = MenuItem(QStringLiteral("Redo1"));
    const bool deep = levels > 1;
    undo->setText(deep ? QStringLiteral("元に戻す(&U) (%1)").arg(back)
                       : QStringLiteral("元に戻す(&U)"));
    redo->setText(deep ? QStringLiteral("やり直し(&R) (%1)").arg(forward)
                       : QStringLiteral("やり直し(&R)"));
    undo->setEnabled(!deep || back > 0);
    redo->setEnabled(deep && forward > 0);
}

bool TForm1::AskUndoLevels(int& levels) {
    if (!undoLevelsDialog_) undoLevelsDialog_ = new TUndoLevelsDlg(this);
    return undoLevelsDialog_->Execute(levels);
}

// The selection rectangle's own dragging moves it: the core keeps its copy in step, in the
// picture pixels the rectangle covers.
void TForm1::WatchSelShape1(QEvent* event) {
    switch (event->type()) {
        case QEvent::Move:
        case QEvent::Resize:
            if (!placingSelShape_)
                core_.SelShape1Changed(Image1->View().PictureRect(SelShape1->geometry()));
            break;
        case QEvent::Enter:
            core_.SelShape1MouseEnter();
            break;
        default:
            break;
    }
}
