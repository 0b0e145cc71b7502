#pragma once
// Hands a plain widget's pointer presses, moves and releases to the core as button sets and
// pixel positions (the palette picture and the two swatches).
#include <QObject>
#include <functional>

#include "platform/shift_state.h"

class QMouseEvent;
class QWidget;

class PointerRelay : public QObject {
  public:
    // Watches widget; the relay lives as long as the widget.
    explicit PointerRelay(QWidget* widget);

    std::function<void(TShiftState, int x, int y)> OnPress;
    std::function<void(TShiftState, int x, int y)> OnMove;
    std::function<void()> OnRelease;

    // The exact set of held buttons and modifier keys of a pointer event.
    static TShiftState ShiftOf(const QMouseEvent& event);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};
