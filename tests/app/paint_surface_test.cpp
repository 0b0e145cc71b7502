// The paint surface turns Qt's pointer events into the handlers' arguments: the exact set of
// held buttons and keys, and the picture pixel the pointer is in; a pen's events go to the pen
// handler, and the mouse events Qt makes of them go nowhere.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QMouseEvent>
#include <QPointingDevice>
#include <QTabletEvent>
#include <QTemporaryDir>
#include <vector>

#include "app/main_window.h"
#include "app/paint_surface.h"
#include "app/stroke_recording.h"
#include "platform/app_paths.h"
#include "platform/bitmap.h"

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

namespace {

using Caps = QInputDevice::Capability;

struct Devices {
    QPointingDevice pen{QStringLiteral("pen"),
                        1,
                        QInputDevice::DeviceType::Stylus,
                        QPointingDevice::PointerType::Pen,
                        Caps::Position | Caps::Pressure | Caps::Hover,
                        1,
                        3};
    QPointingDevice puck{QStringLiteral("puck"),
                         2,
                         QInputDevice::DeviceType::Puck,
                         QPointingDevice::PointerType::Cursor,
                         Caps::Position,
                         1,
                         3};
};

QTabletEvent Tablet(QEvent::Type type, const QPointingDevice& device, QPointF at,
                    Qt::MouseButton button, Qt::MouseButtons held, qreal pressure) {
    return QTabletEvent(type, &device, at, at, pressure, 0, 0, 0, 0, 0, Qt::NoModifier, button,
                        held);
}

// A surface that records what it hands on.
struct PenSurface {
    PenSurface() : surface(&picture, nullptr) {
        surface.OnPen = [this](const PenEvent& e) { pens.push_back(e); };
        surface.OnPenAway = [this] { ++aways; };
        surface.OnMouseDown = [this](TMouseButton, TShiftState, int, int) { ++mice; };
        surface.OnMouseMove = [this](TShiftState, int, int) { ++mice; };
        surface.OnMouseUp = [this](TMouseButton, TShiftState, int, int) { ++mice; };
    }
    // Sends the event; true when the surface took it.
    bool Send(QEvent&& event) {
        QCoreApplication::sendEvent(&surface, &event);
        return event.isAccepted();
    }
    Bitmap picture = WhitePicture();
    PaintSurface surface;
    std::vector<PenEvent> pens;
    int aways = 0;
    int mice = 0;

    static Bitmap WhitePicture() {
        Bitmap b;
        b.MakeWhite(100, 100);
        return b;
    }
};

}  // namespace

// A pen's press, move and release reach the pen handler at the pixel they lie in, with the
// pressure in thousandths, and are accepted so that Qt makes no mouse event of them.
TEST(PaintSurface, PenEventsAreTakenAtTheirPixel) {
    Devices d;
    PenSurface s;
    EXPECT_TRUE(s.Send(
        Tablet(QEvent::TabletPress, d.pen, {10.7, 3.5}, Qt::LeftButton, Qt::LeftButton, 0.4)));
    EXPECT_TRUE(
        s.Send(Tablet(QEvent::TabletMove, d.pen, {-0.5, 99.9}, Qt::NoButton, Qt::LeftButton, 0.6)));
    EXPECT_TRUE(
        s.Send(Tablet(QEvent::TabletRelease, d.pen, {20, 30}, Qt::LeftButton, Qt::NoButton, 0)));
    ASSERT_EQ(s.pens.size(), 3u);
    EXPECT_EQ(QPoint(s.pens[0].x, s.pens[0].y), QPoint(10, 3));
    EXPECT_EQ(s.pens[0].pressure, 400);
    EXPECT_EQ(QPoint(s.pens[1].x, s.pens[1].y), QPoint(-1, 99));
    EXPECT_EQ(s.pens[1].kind, PenEvent::Move);
    EXPECT_EQ(s.pens[2].kind, PenEvent::Release);
    EXPECT_EQ(s.mice, 0);
}

// Qt's mouse events made from a pen's are dropped, or the stroke would get every press and
// move twice; the mouse's own, and a puck's, go on.
TEST(PaintSurface, MouseEventsMadeFromThePenAreDropped) {
    Devices d;
    PenSurface s;
    const QPointF at(5, 5);
    s.Send(QMouseEvent(QEvent::MouseButtonPress, at, at, at, Qt::LeftButton, Qt::LeftButton,
                       Qt::NoModifier, &d.pen));
    s.Send(QMouseEvent(QEvent::MouseMove, at, at, at, Qt::NoButton, Qt::LeftButton, Qt::NoModifier,
                       &d.pen));
    s.Send(QMouseEvent(QEvent::MouseButtonRelease, at, at, at, Qt::LeftButton, Qt::NoButton,
                       Qt::NoModifier, &d.pen));
    EXPECT_EQ(s.mice, 0);
    s.Send(QMouseEvent(QEvent::MouseMove, at, at, at, Qt::NoButton, Qt::NoButton, Qt::NoModifier,
                       &d.puck));
    s.Send(Event(at, Qt::LeftButton, Qt::NoModifier));
    EXPECT_EQ(s.mice, 2);
    // A puck's tablet events are left to Qt, which makes mouse events of them.
    EXPECT_FALSE(
        s.Send(Tablet(QEvent::TabletPress, d.puck, at, Qt::LeftButton, Qt::LeftButton, 1)));
    EXPECT_TRUE(s.pens.empty());
}

// Over the selection rectangle or the floating paste the pen is left to Qt, so its mouse
// events reach them; a stroke begun on the surface keeps its pen wherever it goes.
TEST(PaintSurface, PenOverAChildIsLeftToQtUnlessItIsDrawing) {
    Devices d;
    PenSurface s;
    QWidget child(&s.surface);
    child.setGeometry(0, 0, 20, 20);
    child.show();
    const QPointF onChild(5, 5), free(50, 50);
    const struct {
        QEvent::Type type;
        QPointF at;
        Qt::MouseButton button;
        Qt::MouseButtons held;
        bool taken;
    } steps[] = {
        {QEvent::TabletMove, onChild, Qt::NoButton, {}, false},
        {QEvent::TabletMove, free, Qt::NoButton, {}, true},
        // A drag that begins on the child stays the child's.
        {QEvent::TabletPress, onChild, Qt::LeftButton, Qt::LeftButton, false},
        {QEvent::TabletMove, free, Qt::NoButton, Qt::LeftButton, false},
        {QEvent::TabletRelease, free, Qt::LeftButton, {}, false},
        // A stroke begun on the surface takes the pen over the child.
        {QEvent::TabletPress, free, Qt::LeftButton, Qt::LeftButton, true},
        {QEvent::TabletMove, onChild, Qt::NoButton, Qt::LeftButton, true},
        {QEvent::TabletRelease, onChild, Qt::LeftButton, {}, true},
        {QEvent::TabletMove, onChild, Qt::NoButton, {}, false},
    };
    int step = 0;
    for (const auto& c : steps) {
        SCOPED_TRACE(step++);
        EXPECT_EQ(s.Send(Tablet(c.type, d.pen, c.at, c.button, c.held, 0.5)), c.taken);
    }
    EXPECT_EQ(s.pens.size(), 4u);
}

// Qt tells the application, not a widget, that the pen left the tablet's reach.
TEST(PaintSurface, PenLeavingTheTabletIsSeen) {
    Devices d;
    PenSurface s;
    QTabletEvent away = Tablet(QEvent::TabletLeaveProximity, d.pen, {}, Qt::NoButton, {}, 0);
    QCoreApplication::sendEvent(QCoreApplication::instance(), &away);
    EXPECT_EQ(s.aways, 1);
    QTabletEvent near = Tablet(QEvent::TabletEnterProximity, d.pen, {}, Qt::NoButton, {}, 0);
    QCoreApplication::sendEvent(QCoreApplication::instance(), &near);
    EXPECT_EQ(s.aways, 1);
}

namespace {

class PenWindowTest : public ::testing::Test {
  protected:
    void SetUp() override { AppPaths::OverrideExecutableDir(dir.path()); }
    void TearDown() override { AppPaths::OverrideExecutableDir(QString()); }

    // A pen stroke through the main window's paint surface, with a tick after every event.
    // With doubled, every pen event is followed by the mouse event Qt would make of it.
    QString Stroke(bool doubled, qreal lightest) {
        TForm1 form({}, dir.path());
        MainWindowCore& core = form.Core();
        core.Checks.K1 = true, core.Checks.K3 = false;
        core.Random.Seed(1);
        core.RegenerateBristles();
        Devices d;
        const auto send = [&](QEvent::Type type, QPointF at, Qt::MouseButton button,
                              Qt::MouseButtons held, qreal pressure) {
            QTabletEvent pen = Tablet(type, d.pen, at, button, held, pressure);
            QCoreApplication::sendEvent(form.Image1, &pen);
            if (doubled) {
                const QEvent::Type mouse = type == QEvent::TabletPress ? QEvent::MouseButtonPress
                                           : type == QEvent::TabletRelease
                                               ? QEvent::MouseButtonRelease
                                               : QEvent::MouseMove;
                QMouseEvent copy(mouse, at, at, at, button, held, Qt::NoModifier, &d.pen);
                QCoreApplication::sendEvent(form.Image1, &copy);
            }
            core.Timer1Timer(1);
        };
        send(QEvent::TabletPress, {40.5, 100.5}, Qt::LeftButton, Qt::LeftButton, lightest);
        for (int i = 1; i <= 40; ++i) {
            const qreal pressure = lightest + (1 - lightest) * (i <= 20 ? i : 40 - i) / 20.0;
            send(QEvent::TabletMove, {40.5 + 5 * i, 100.5}, Qt::NoButton, Qt::LeftButton, pressure);
        }
        send(QEvent::TabletRelease, {240.5, 100.5}, Qt::LeftButton, {}, 0);
        for (int i = 1; i <= 30; ++i)
            send(QEvent::TabletMove, {240.5 + 4 * i, 100.5}, Qt::NoButton, {}, 0);
        EXPECT_FALSE(core.Stroke.StrokeActive);
        return PixelChecksum(core.Compositor.CurrentLayerImage());
    }

    QTemporaryDir dir;
};

}  // namespace

// Driven by a pen through the real window, a stroke draws, thinner with light pressure, and the
// mouse events Qt would add change nothing.
TEST_F(PenWindowTest, PenStrokeThroughTheWindowIsTakenOnce) {
    const QString light = Stroke(false, 0.1);
    EXPECT_EQ(Stroke(true, 0.1), light);
    const QString full = Stroke(false, 1.0);
    EXPECT_NE(full, light);
    EXPECT_EQ(Stroke(true, 1.0), full);
}
