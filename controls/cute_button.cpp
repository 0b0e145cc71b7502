#include "controls/cute_button.h"

#include <QApplication>
#include <QEnterEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QShortcut>

TCuteButtonTimer::TCuteButtonTimer(TCuteButton* button) : QTimer(button), FCuteButton(button) {}

TCuteButton::TCuteButton(QWidget* parent) : QWidget(parent) {
    const QPalette& system = palette();
    FColor = system.color(QPalette::Active, QPalette::Button);
    FFontColor = system.color(QPalette::Active, QPalette::ButtonText);
    FBevelHighlightColor = system.color(QPalette::Active, QPalette::Light);
    FBevelShadowColor = system.color(QPalette::Active, QPalette::Dark);
    setFocusPolicy(Qt::StrongFocus);
    resize(75, 25);
}

TCuteButton::~TCuteButton() = default;

// ---- Properties ----

void TCuteButton::SetCaption(const QString& value) {
    if (FCaption == value) return;
    FCaption = value;
    delete FAccelerator;
    FAccelerator = nullptr;
    const QKeySequence mnemonic = QKeySequence::mnemonic(value);
    if (!mnemonic.isEmpty()) {
        FAccelerator = new QShortcut(mnemonic, this);
        connect(FAccelerator, &QShortcut::activated, this, &TCuteButton::AcceleratorTyped);
    }
    update();
}

void TCuteButton::SetBrush(const QBrush& value) {
    if (FColor == value.color() && FBrushStyle == value.style()) return;
    FColor = value.color();
    FBrushStyle = value.style();
    update();
}

void TCuteButton::SetFont(const QFont& value) {
    setFont(value);
    update();
}

void TCuteButton::SetBorderStyle(TBorderStyle value) {
    if (FBorderStyle == value) return;
    FBorderStyle = value;
    const int border = value == bsSingle ? 1 : 0;
    setContentsMargins(border, border, border, border);
    update();
}

// The disabled face only shows while disabled, so only then is a repaint worth it.
void TCuteButton::SetDisabledColor(const QColor& value) {
    if (FDisabledColor == value) return;
    FDisabledColor = value;
    if (!isEnabled()) update();
}

void TCuteButton::SetUseDisabledColor(bool value) {
    if (FUseDisabledColor == value) return;
    FUseDisabledColor = value;
    if (!isEnabled()) update();
}

void TCuteButton::SetFlat(bool value) {
    if (FFlat == value) return;
    FFlat = value;
    FBevelInner = value ? bvNone : bvRaised;
    update();
}

// ---- Geometry and state queries ----

QPoint TCuteButton::ClientPoint(const QPointF& widgetPos) const {
    return widgetPos.toPoint() - contentsRect().topLeft();
}

TCuteButton::TShiftState TCuteButton::ShiftNow() const {
    const Qt::KeyboardModifiers keys = QGuiApplication::queryKeyboardModifiers();
    Qt::MouseButtons buttons = QGuiApplication::mouseButtons();
    if (FLeftHeld) buttons |= Qt::LeftButton;
    TShiftState shift = 0;
    if (keys & Qt::ShiftModifier) shift |= ssShift;
    if (keys & Qt::AltModifier) shift |= ssAlt;
    if (keys & Qt::ControlModifier) shift |= ssCtrl;
    if (buttons & Qt::LeftButton) shift |= ssLeft;
    if (buttons & Qt::RightButton) shift |= ssRight;
    if (buttons & Qt::MiddleButton) shift |= ssMiddle;
    return shift;
}

// The form's active control keeps its place while the form is inactive, unlike the focus.
bool TCuteButton::IsActiveControl() const {
    return window()->focusWidget() == this;
}

// ---- Click ----

void TCuteButton::Click() {
    if (SuppressClick) {
        SuppressClick = false;
        return;
    }
    if (FEgnoreContClick) {
        RunGuardedClick();
        return;
    }
    if (OnClick) OnClick(this);
}

// The handler is taken off while it runs and while the events queued behind it are handled,
// so that clicks arriving meanwhile find no handler. It is put back even when the handler
// throws, or the button would stay dead for the rest of the run.
void TCuteButton::RunGuardedClick() {
    struct Restore {
        QPointer<TCuteButton> button;
        TNotifyEvent handler;
        ~Restore() {
            if (button) button->OnClick = std::move(handler);
        }
    } restore{this, std::move(OnClick)};
    OnClick = nullptr;
    if (restore.handler) restore.handler(this);
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

// ---- Pointer ----

void TCuteButton::MouseEnter(TShiftState Shift, int X, int Y) {
    if (OnMouseEnter) OnMouseEnter(this, Shift, X, Y);
    SetBevelOuter((Shift & ssLeft) ? bvLowered : bvRaised);
}

void TCuteButton::MouseLeave(TShiftState Shift, int X, int Y) {
    if (OnMouseLeave) OnMouseLeave(this, Shift, X, Y);
    if (!(hasFocus() && FTabFocusUp)) SetBevelOuter(bvNone);
}

void TCuteButton::PointerEntered(TShiftState shift, QPoint pos) {
    if (FPointerInside) return;
    FPointerInside = true;
    MouseEnter(shift, pos.x(), pos.y());
}

void TCuteButton::PointerLeft(TShiftState shift, QPoint pos) {
    if (!FPointerInside) return;
    FPointerInside = false;
    MouseLeave(shift, pos.x(), pos.y());
}

void TCuteButton::enterEvent(QEnterEvent* event) {
    PointerEntered(ShiftNow(), ClientPoint(event->position()));
}

void TCuteButton::leaveEvent(QEvent*) {
    PointerLeft(ShiftNow(), ClientPoint(mapFromGlobal(QCursor::pos())));
}

// While a button is held the window system reports no crossings; the button sees the moves,
// so it finds them itself.
void TCuteButton::mouseMoveEvent(QMouseEvent* event) {
    const bool inside = rect().contains(event->position().toPoint());
    if (inside == FPointerInside) return;
    TShiftState shift = ShiftNow();
    if (event->buttons() & Qt::LeftButton) shift |= ssLeft;
    const QPoint pos = ClientPoint(event->position());
    if (inside)
        PointerEntered(shift, pos);
    else
        PointerLeft(shift, pos);
}

void TCuteButton::mousePressEvent(QMouseEvent* event) {
    setFocus(Qt::MouseFocusReason);
    const bool left = event->button() == Qt::LeftButton;
    if (left) {
        FLeftHeld = true;
        FClicked = true;
        SetBevelOuter(bvLowered);
    }
    const QPoint pos = ClientPoint(event->position());
    if (OnMouseDown) OnMouseDown(this, event->button(), ShiftNow(), pos.x(), pos.y());
    if (left && FDropDownMenu) {
        DropDownByKey = false;
        DropDown();
    }
}

// A second press in quick succession is a press like any other for a tool button.
void TCuteButton::mouseDoubleClickEvent(QMouseEvent* event) {
    mousePressEvent(event);
}

void TCuteButton::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint pos = ClientPoint(event->position());
    if (event->button() == Qt::LeftButton)
        LeftButtonUp(ShiftNow() & ~ssLeft, pos);
    else
        MouseUp(event->button(), ShiftNow(), pos);
}

void TCuteButton::LeftButtonUp(TShiftState shift, QPoint pos) {
    if (FClicked) {
        FClicked = false;
        QPointer<TCuteButton> self(this);
        if (ClientRect().contains(pos)) Click();
        if (!self) return;
    }
    MouseUp(Qt::LeftButton, shift, pos);
}

void TCuteButton::MouseUp(Qt::MouseButton button, TShiftState shift, QPoint pos) {
    if (button == Qt::LeftButton)
        SetBevelOuter(ReleasedBevel(ClientRect().contains(pos), FTabFocusUp, IsActiveControl()));
    QPointer<TCuteButton> self(this);
    if (OnMouseUp) OnMouseUp(this, button, shift, pos.x(), pos.y());
    if (!self) return;
    ReleaseDropDownTimer();
    FLeftHeld = false;
}

// ---- Focus and state ----

// Focus moves caused by a pop-up menu or by switching windows leave the button as it was:
// it still is the control the user is on.
void TCuteButton::focusInEvent(QFocusEvent* event) {
    update();
    if (event->reason() == Qt::PopupFocusReason || FEntered) return;
    FEntered = true;
    if (FTabFocusUp) SetBevelOuter(bvRaised);
}

void TCuteButton::focusOutEvent(QFocusEvent* event) {
    update();
    const Qt::FocusReason reason = event->reason();
    if (reason == Qt::PopupFocusReason || reason == Qt::ActiveWindowFocusReason) return;
    FEntered = false;
    SetBevelOuter(bvNone);
}

void TCuteButton::changeEvent(QEvent* event) {
    if (event->type() == QEvent::EnabledChange) update();
    QWidget::changeEvent(event);
}
