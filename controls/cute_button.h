#pragma once
// The owner-painted tool button. It looks flat until the pointer is over it or it has the
// focus (raised bevel), shows a lowered bevel and a shifted caption while pressed, an
// engraved caption while disabled, and can open a drop-down menu below itself, at once or
// after a delay. With EgnoreContClick it swallows clicks that arrive while its click handler
// still runs.
#include <functional>

#include <QColor>
#include <QMenu>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <QWidget>

#include "controls/cute_button_layout.h"

class QShortcut;
class TCuteButton;

enum TBorderStyle { bsNone, bsSingle };

// A pending delayed drop-down; it knows the button it belongs to, which owns it.
class TCuteButtonTimer : public QTimer {
    Q_OBJECT
  public:
    explicit TCuteButtonTimer(TCuteButton* button);
    TCuteButton* FCuteButton;
};

class TCuteButton : public QWidget {
    Q_OBJECT
  public:
    // Modifier keys and held mouse buttons, as the mouse notifications report them.
    enum TShiftFlag { ssShift = 1, ssAlt = 2, ssCtrl = 4, ssLeft = 8, ssRight = 16, ssMiddle = 32 };
    using TShiftState = int;
    using TNotifyEvent = std::function<void(QObject* Sender)>;
    using TMouseMoveEvent = std::function<void(QObject* Sender, TShiftState Shift, int X, int Y)>;
    using TMouseEvent = std::function<void(QObject* Sender, Qt::MouseButton Button,
                                           TShiftState Shift, int X, int Y)>;

    explicit TCuteButton(QWidget* parent = nullptr);
    ~TCuteButton() override;

    QString Caption() const { return FCaption; }
    void SetCaption(const QString& value);
    QColor Color() const { return FColor; }
    void SetColor(const QColor& value) { Assign(FColor, value); }
    QBrush Brush() const { return QBrush(FColor, FBrushStyle); }
    void SetBrush(const QBrush& value);
    QColor FontColor() const { return FFontColor; }
    void SetFontColor(const QColor& value) { Assign(FFontColor, value); }
    QFont Font() const { return font(); }
    void SetFont(const QFont& value);
    QString Hint() const { return toolTip(); }
    void SetHint(const QString& value) { setToolTip(value); }
    bool Enabled() const { return isEnabled(); }
    void SetEnabled(bool value) { setEnabled(value); }
    bool TabStop() const { return focusPolicy() == Qt::StrongFocus; }
    void SetTabStop(bool value) { setFocusPolicy(value ? Qt::StrongFocus : Qt::ClickFocus); }
    TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle value);

    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment value) { Assign(FAlignment, value); }
    TTextLayout Layout() const { return FLayout; }
    void SetLayout(TTextLayout value) { Assign(FLayout, value); }
    int BevelWidth() const { return FBevelWidth; }
    void SetBevelWidth(int value) { Assign(FBevelWidth, value < 1 ? 1 : value); }
    TBevelCut BevelOuter() const { return FBevelOuter; }
    void SetBevelOuter(TBevelCut value) { Assign(FBevelOuter, value); }
    TBevelCut BevelInner() const { return FBevelInner; }
    void SetBevelInner(TBevelCut value) { Assign(FBevelInner, value); }
    QColor BevelHighlightColor() const { return FBevelHighlightColor; }
    void SetBevelHighlightColor(const QColor& value) { Assign(FBevelHighlightColor, value); }
    QColor BevelShadowColor() const { return FBevelShadowColor; }
    void SetBevelShadowColor(const QColor& value) { Assign(FBevelShadowColor, value); }
    QColor DisabledColor() const { return FDisabledColor; }
    void SetDisabledColor(const QColor& value);
    bool UseDisabledColor() const { return FUseDisabledColor; }
    void SetUseDisabledColor(bool value);
    QMenu* DropDownMenu() const { return FDropDownMenu; }
    void SetDropDownMenu(QMenu* value) { FDropDownMenu = value; }
    int DropDownDelay() const { return FDropDownDelay; }
    void SetDropDownDelay(int value) { FDropDownDelay = value; }
    bool EgnoreContClick() const { return FEgnoreContClick; }
    void SetEgnoreContClick(bool value) { FEgnoreContClick = value; }
    bool Flat() const { return FFlat; }
    void SetFlat(bool value);
    int MarginX() const { return FMarginX; }
    void SetMarginX(int value) { Assign(FMarginX, ClampCaptionMargin(value)); }
    int MarginY() const { return FMarginY; }
    void SetMarginY(int value) { Assign(FMarginY, ClampCaptionMargin(value)); }
    bool ShowFocusRect() const { return FShowFocusRect; }
    void SetShowFocusRect(bool value) { Assign(FShowFocusRect, value); }
    bool TabFocusUp() const { return FTabFocusUp; }
    void SetTabFocusUp(bool value) { Assign(FTabFocusUp, value); }

    // Runs the click: ignored once after a drop-down, guarded by EgnoreContClick.
    virtual void Click();

    TNotifyEvent OnClick;
    TMouseMoveEvent OnMouseEnter;
    TMouseMoveEvent OnMouseLeave;
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;

  protected:
    // Starts the drop-down: at once, or through the timer when DropDownDelay is set.
    virtual void DropDown();
    // Pops the menu up below the button and waits until it closes.
    virtual void ShowDropDownMenu();
    virtual void MouseEnter(TShiftState Shift, int X, int Y);
    virtual void MouseLeave(TShiftState Shift, int X, int Y);

    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    template <typename T>
    void Assign(T& field, const T& value) {
        if (field == value) return;
        field = value;
        update();
    }
    QRect ClientRect() const { return QRect(QPoint(0, 0), contentsRect().size()); }
    QPoint ClientPoint(const QPointF& widgetPos) const;
    TShiftState ShiftNow() const;
    TBevelCut RestingBevel() const { return FTabFocusUp ? bvRaised : bvNone; }
    bool IsActiveControl() const;

    void PointerEntered(TShiftState shift, QPoint pos);
    void PointerLeft(TShiftState shift, QPoint pos);
    void LeftButtonUp(TShiftState shift, QPoint pos);
    void MouseUp(Qt::MouseButton button, TShiftState shift, QPoint pos);
    void KeyUp(int key);
    void AcceleratorTyped();
    void DropDownTimerFired();
    void ReleaseDropDownTimer();
    void RunGuardedClick();

    void PaintFace(QPainter& p, const QRect& client);
    void PaintBevel(QPainter& p, QRect& r, TBevelCut cut);
    void PaintCaption(QPainter& p, const QRect& client);

    QString FCaption;
    QColor FColor;
    Qt::BrushStyle FBrushStyle = Qt::SolidPattern;
    QColor FFontColor;
    TBorderStyle FBorderStyle = bsNone;
    TAlignment FAlignment = taCenter;
    TTextLayout FLayout = tlCenter;
    int FBevelWidth = 1;
    TBevelCut FBevelOuter = bvNone;
    TBevelCut FBevelInner = bvRaised;
    QColor FBevelHighlightColor;
    QColor FBevelShadowColor;
    QColor FDisabledColor{128, 128, 128};
    bool FUseDisabledColor = false;
    QPointer<QMenu> FDropDownMenu;
    int FDropDownDelay = 0;
    bool FEgnoreContClick = false;
    bool FFlat = false;
    int FMarginX = -1;
    int FMarginY = -1;
    bool FShowFocusRect = false;
    bool FTabFocusUp = true;
    QShortcut* FAccelerator = nullptr;

    bool SuppressClick = false;  // the next click is ignored (a drop-down ended the press)
    bool SpaceDown = false;      // the space key went down here; its release clicks
    bool DropDownByKey = false;  // the drop-down was started from the keyboard
    QPointer<TCuteButtonTimer> DropDownTimer;

    bool FLeftHeld = false;       // the left button went down here and is still held
    bool FClicked = false;        // a left press here whose release inside clicks
    bool FPointerInside = false;  // enter and leave come once each, even while dragging
    bool FEntered = false;        // the focus came in and has not left the button
};
