// A pen on the paint surface: its tip, eraser end and barrel buttons as the paint surface's
// buttons, and its pressure for the brush.
#include "app/main_core.h"

namespace {

constexpr TShiftState kKeys = ssShift | ssCtrl | ssAlt;

TShiftState HeldSetOf(TMouseButton button) {
    return button == mbRight ? ssRight : ssLeft;
}

// The pressure is handed to the handlers for the length of one call.
class PressureFor {
  public:
    PressureFor(int& slot, int pressure) : slot_(slot) { slot_ = pressure; }
    ~PressureFor() { slot_ = kNoPressure; }
    PressureFor(const PressureFor&) = delete;
    PressureFor& operator=(const PressureFor&) = delete;

  private:
    int& slot_;
};

}  // namespace

void MainWindowCore::Image1Pen(const PenEvent& e) {
    const TShiftState keys = e.shift & kKeys;
    // A release that never came (the tip is no longer held) is made up for here, so a stroke
    // cannot go on swelling under a pen in the air.
    if (pen_.touching && !(e.shift & ssLeft)) PenRelease(keys, e.x, e.y);
    pen_.x = e.x;
    pen_.y = e.y;
    switch (e.kind) {
        case PenEvent::Press: {
            // Barrel buttons only choose which button the tip presses as.
            if (e.button != mbLeft || pen_.touching) return;
            const bool barrel = e.shift & (ssMiddle | ssRight);
            pen_.touching = true;
            pen_.button = e.pointer == ptEraser || barrel ? mbRight : mbLeft;
            pen_.pressure = e.pressure;
            const PressureFor pressure(penPressure_, pen_.pressure);
            return Image1MouseDown(pen_.button, keys | HeldSetOf(pen_.button), e.x, e.y);
        }
        case PenEvent::Move: {
            // Only a touching pen says how hard; in the air the stroke keeps its last pressure.
            if (pen_.touching) pen_.pressure = e.pressure;
            const PressureFor pressure(penPressure_, pen_.pressure);
            return Image1MouseMove(keys | (pen_.touching ? HeldSetOf(pen_.button) : 0), e.x, e.y);
        }
        case PenEvent::Release:
            if (e.button == mbLeft && pen_.touching) PenRelease(keys, e.x, e.y);
            return;
    }
}

void MainWindowCore::PenRelease(TShiftState keys, int x, int y) {
    pen_.touching = false;
    Image1MouseUp(pen_.button, keys, x, y);
}

void MainWindowCore::Image1PenAway() {
    if (pen_.touching) PenRelease(0, pen_.x, pen_.y);
    // Moves in place with no tick between them draw nothing. Each tail step lowers the ink,
    // so a move that leaves it as it was did not reach the tail (another tool took it).
    const PressureFor pressure(penPressure_, pen_.pressure);
    while (Stroke.StrokeActive && Stroke.StrokePhase == 2) {
        const int ink = Stroke.InkLevel;
        Image1MouseMove(0, Stroke.PointerX, Stroke.PointerY);
        if (Stroke.InkLevel == ink) break;
    }
}
