// The tool button's keyboard, accelerator and drop-down menu.
#include <QApplication>
#include <QKeyEvent>

#include "controls/cute_button.h"

// ---- Keyboard ----

void TCuteButton::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    if (key == Qt::Key_Space) {
        SpaceDown = true;
        SetBevelOuter(bvLowered);
        if (FDropDownMenu) {
            DropDownByKey = true;
            DropDown();
        }
    } else if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        SetBevelOuter(bvLowered);
        QPointer<TCuteButton> self(this);
        if (!FDropDownMenu || FDropDownDelay != 0)
            Click();
        else
            ShowDropDownMenu();
        if (self) SetBevelOuter(RestingBevel());
    } else if (SpaceDown) {
        // Another key cancels the press that space began.
        SpaceDown = false;
        SetBevelOuter(RestingBevel());
        QWidget::keyPressEvent(event);
    } else {
        QWidget::keyPressEvent(event);
    }
}

void TCuteButton::keyReleaseEvent(QKeyEvent* event) {
    // A held key repeats as release and press pairs; only the real release counts.
    if (event->isAutoRepeat()) return;
    KeyUp(event->key());
}

void TCuteButton::KeyUp(int key) {
    ReleaseDropDownTimer();
    if (!SpaceDown || key != Qt::Key_Space) return;
    SpaceDown = false;
    QPointer<TCuteButton> self(this);
    Click();
    if (self) SetBevelOuter(RestingBevel());
}

void TCuteButton::AcceleratorTyped() {
    const QWidget* owner = parentWidget() ? parentWidget() : this;
    if (!isEnabled() || !owner->isVisible()) return;
    SetBevelOuter(bvLowered);
    QPointer<TCuteButton> self(this);
    if (FDropDownMenu && FDropDownDelay == 0)
        ShowDropDownMenu();
    else
        Click();
    if (self) SetBevelOuter(RestingBevel());
}

// ---- Drop-down menu ----

void TCuteButton::DropDown() {
    if (FDropDownDelay <= 0) {
        ShowDropDownMenu();
        return;
    }
    if (DropDownTimer) return;
    DropDownTimer = new TCuteButtonTimer(this);
    DropDownTimer->setSingleShot(true);
    DropDownTimer->setInterval(FDropDownDelay);
    connect(DropDownTimer, &QTimer::timeout, this, &TCuteButton::DropDownTimerFired);
    DropDownTimer->start();
}

void TCuteButton::ReleaseDropDownTimer() {
    if (!DropDownTimer) return;
    DropDownTimer->stop();
    DropDownTimer->deleteLater();
    DropDownTimer = nullptr;
}

void TCuteButton::DropDownTimerFired() {
    ReleaseDropDownTimer();
    if (DropDownByKey) {
        ShowDropDownMenu();
    } else if (FLeftHeld) {
        // Only a press still held this long opens the menu; a shorter one has clicked.
        ShowDropDownMenu();
        FLeftHeld = false;
    }
}

void TCuteButton::ShowDropDownMenu() {
    if (!FDropDownMenu) return;
    const QPoint below = mapToGlobal(QPoint(0, height()));
    // The press that opened the menu ends in a click, which must not count.
    SuppressClick = true;
    QPointer<TCuteButton> self(this);
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    if (!self || !FDropDownMenu) {
        if (self) SuppressClick = false;
        return;
    }
    FDropDownMenu->exec(below);
    if (!self) return;
    // Finish the press as if it had ended here.
    if (DropDownByKey)
        KeyUp(Qt::Key_Space);
    else
        LeftButtonUp(ShiftNow() & ~ssLeft, QPoint(0, 0));
    if (self) SuppressClick = false;
}
