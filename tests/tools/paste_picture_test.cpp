// The floating paste's widget reads its pointer events as the paint surface does: the exact
// set of held buttons and keys, and the pixel a fractional position lies in.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QMouseEvent>
#include <QPointF>
#include <string>
#include <vector>

#include "platform/bitmap.h"
#include "tools/paste_picture.h"

namespace {

// "down <button> <shift> x,y" or "move <shift> x,y".
std::string Down(TMouseButton b, TShiftState s, int x, int y) {
    return "down " + std::to_string(b) + " " + std::to_string(s) + " " + std::to_string(x) + "," +
           std::to_string(y);
}
std::string Move(TShiftState s, int x, int y) {
    return "move " + std::to_string(s) + " " + std::to_string(x) + "," + std::to_string(y);
}

TEST(PastePicture, PointerIsInThePixelItLiesInWithTheExactButtonSet) {
    Bitmap picture(40, 30);
    PastePicture image7(nullptr);
    image7.Show(picture, 0, 0, true);
    std::vector<std::string> seen;
    image7.OnMouseDown = [&](TMouseButton b, TShiftState s, int x, int y) {
        seen.push_back(Down(b, s, x, y));
    };
    image7.OnMouseMove = [&](TShiftState s, int x, int y) { seen.push_back(Move(s, x, y)); };
    const auto send = [&](QEvent::Type type, QPointF at, Qt::MouseButton button,
                          Qt::MouseButtons held, Qt::KeyboardModifiers keys) {
        QMouseEvent event(type, at, at, button, held, keys);
        QCoreApplication::sendEvent(&image7, &event);
    };
    send(QEvent::MouseMove, {10.7, 3.5}, Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    send(QEvent::MouseButtonPress, {0.6, 29.5}, Qt::RightButton, Qt::RightButton,
         Qt::ShiftModifier | Qt::KeypadModifier);
    send(QEvent::MouseMove, {-0.5, 2.9}, Qt::NoButton, Qt::LeftButton | Qt::MiddleButton,
         Qt::ControlModifier | Qt::AltModifier);
    // A button that belongs to no button set presses nothing.
    send(QEvent::MouseButtonPress, {5, 5}, Qt::BackButton, Qt::BackButton, Qt::NoModifier);
    const std::vector<std::string> expected = {
        Move(0, 10, 3),
        Down(mbRight, ssRight | ssShift, 0, 29),
        Move(ssLeft | ssMiddle | ssCtrl | ssAlt, -1, 2),
    };
    EXPECT_EQ(seen, expected);
}

}  // namespace
