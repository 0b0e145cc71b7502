// A Qt tablet event in the program's terms: which end of the pen, the held buttons, the pixel
// and the pressure in thousandths.
#include <gtest/gtest.h>

#include <QPointingDevice>
#include <QTabletEvent>
#include <cmath>
#include <memory>

#include "platform/pen_event.h"

namespace {

using Caps = QInputDevice::Capability;

std::unique_ptr<QPointingDevice> Device(QPointingDevice::PointerType type, bool pressure) {
    QInputDevice::Capabilities caps = Caps::Position | Caps::Hover;
    if (pressure) caps |= Caps::Pressure;
    return std::make_unique<QPointingDevice>(QStringLiteral("test pen"), 1,
                                             QInputDevice::DeviceType::Stylus, type, caps, 1, 3);
}

QTabletEvent Tablet(QEvent::Type type, const QPointingDevice* device, Qt::MouseButton button,
                    Qt::MouseButtons held, qreal pressure,
                    Qt::KeyboardModifiers keys = Qt::NoModifier) {
    const QPointF at(12.5, 7.25);
    return QTabletEvent(type, device, at, at, pressure, 0, 0, 0, 0, 0, keys, button, held);
}

}  // namespace

TEST(PenEvent, PressureLevelIsThousandthsHeldToTheRange) {
    const struct {
        double pressure;
        int level;
    } cases[] = {{0.0, 0},  {1.0, 1000}, {0.35, 350}, {0.0004, 0},     {0.0015, 2},
                 {-0.2, 0}, {1.7, 1000}, {NAN, 0},    {INFINITY, 1000}};
    for (const auto& c : cases) EXPECT_EQ(PressureLevel(c.pressure), c.level) << c.pressure;
}

TEST(PenEvent, TabletEventsBecomePenEvents) {
    const auto penDevice = Device(QPointingDevice::PointerType::Pen, true);
    const auto eraserDevice = Device(QPointingDevice::PointerType::Eraser, true);
    const auto plainDevice = Device(QPointingDevice::PointerType::Pen, false);
    const QPointingDevice* pen = penDevice.get();
    const QPointingDevice* eraser = eraserDevice.get();
    const QPointingDevice* noPressure = plainDevice.get();
    const struct {
        QTabletEvent event;
        PenEvent::Kind kind;
        TPointerType pointer;
        TMouseButton button;
        TShiftState shift;
        int pressure;
    } cases[] = {
        {Tablet(QEvent::TabletPress, pen, Qt::LeftButton, Qt::LeftButton, 0.25), PenEvent::Press,
         ptPen, mbLeft, ssLeft, 250},
        {Tablet(QEvent::TabletMove, pen, Qt::NoButton, Qt::LeftButton | Qt::MiddleButton, 0.5,
                Qt::ShiftModifier),
         PenEvent::Move, ptPen, mbLeft, ssLeft | ssMiddle | ssShift, 500},
        {Tablet(QEvent::TabletPress, pen, Qt::RightButton, Qt::RightButton, 0), PenEvent::Press,
         ptPen, mbRight, ssRight, 0},
        {Tablet(QEvent::TabletRelease, eraser, Qt::LeftButton, Qt::NoButton, 0), PenEvent::Release,
         ptEraser, mbLeft, 0, 0},
        {Tablet(QEvent::TabletMove, noPressure, Qt::NoButton, Qt::LeftButton, 0.8), PenEvent::Move,
         ptPen, mbLeft, ssLeft, kNoPressure},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.event.type());
        PenEvent e;
        ASSERT_TRUE(PenEventOf(c.event, QPoint(12, 7), &e));
        EXPECT_EQ(e.kind, c.kind);
        EXPECT_EQ(e.pointer, c.pointer);
        if (c.kind != PenEvent::Move) {
            EXPECT_EQ(e.button, c.button);
        }
        EXPECT_EQ(e.shift, c.shift);
        EXPECT_EQ(e.pressure, c.pressure);
        EXPECT_EQ(e.x, 12);
        EXPECT_EQ(e.y, 7);
    }
}

// A puck and the other pointers stay Qt's mouse; so does a button that is no part of a set.
TEST(PenEvent, OtherPointersAndButtonsAreLeftToTheMouse) {
    const auto puckDevice = Device(QPointingDevice::PointerType::Cursor, false);
    const auto penDevice = Device(QPointingDevice::PointerType::Pen, true);
    const QPointingDevice* puck = puckDevice.get();
    const QPointingDevice* pen = penDevice.get();
    PenEvent e;
    EXPECT_FALSE(PenEventOf(Tablet(QEvent::TabletPress, puck, Qt::LeftButton, Qt::LeftButton, 1),
                            QPoint(), &e));
    EXPECT_FALSE(PenEventOf(Tablet(QEvent::TabletPress, pen, Qt::BackButton, Qt::BackButton, 1),
                            QPoint(), &e));
    EXPECT_FALSE(
        PenEventOf(Tablet(QEvent::TabletEnterProximity, pen, Qt::NoButton, {}, 0), QPoint(), &e));
}
