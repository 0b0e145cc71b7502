// The paint surface turns Qt's pointer events into the handlers' arguments: the exact set of
// held buttons and keys, and the picture pixel the pointer is in.
#include <gtest/gtest.h>

#include <QMouseEvent>

#include "app/paint_surface.h"

namespace {

QMouseEvent Event(QPointF at, Qt::MouseButtons held, Qt::KeyboardModifiers keys) {
    return QMouseEvent(QEvent::MouseMove, at, at, Qt::NoButton, held, keys);
}

}  // namespace

TEST(PaintSurface, ButtonSetHoldsEveryButtonAndModifierKey) {
    struct Case {
        Qt::MouseButtons held;
        Qt::KeyboardModifiers keys;
        TShiftState shift;
    } const cases[] = {
        {Qt::LeftButton, Qt::NoModifier, ssLeft},
        {Qt::RightButton, Qt::NoModifier, ssRight},
        {Qt::NoButton, Qt::NoModifier, 0},
        {Qt::LeftButton | Qt::MiddleButton, Qt::NoModifier, ssLeft | ssMiddle},
        {Qt::LeftButton, Qt::ShiftModifier, ssLeft | ssShift},
        {Qt::RightButton, Qt::ControlModifier | Qt::AltModifier, ssRight | ssCtrl | ssAlt},
        // Keys that a button set has no place for are left out.
        {Qt::LeftButton, Qt::KeypadModifier, ssLeft},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.shift);
        EXPECT_EQ(PaintSurface::ShiftOf(Event({5, 5}, c.held, c.keys)), c.shift);
    }
}

// A fractional position belongs to the pixel it lies in: never rounded to the next one.
TEST(PaintSurface, PointerIsInThePixelItLiesIn) {
    struct Case {
        QPointF at;
        QPoint pixel;
    } const cases[] = {
        {{10.0, 3.0}, {10, 3}}, {{10.7, 3.5}, {10, 3}},     {{0.99, 0.2}, {0, 0}},
        {{-0.5, 2.9}, {-1, 2}}, {{399.6, -3.2}, {399, -4}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.at.x() << "," << c.at.y());
        EXPECT_EQ(PaintSurface::PixelOf(Event(c.at, Qt::NoButton, Qt::NoModifier)), c.pixel);
    }
}
