// The zoomed main view: every tool keeps working in picture pixels, the selection and the
// floating paste stand where their pictures are, and the view shows squares enlarged and
// averages reduced.
#include <gtest/gtest.h>

#include <QAction>
#include <QCoreApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabletEvent>
#include <QTemporaryDir>
#include <QWheelEvent>

#include "app/main_window.h"
#include "app/paint_surface.h"
#include "app/stroke_recording.h"
#include "controls/error_box.h"
#include "controls/sel_shape.h"
#include "document/picture_files.h"
#include "platform/app_paths.h"
#include "tools/clipboard_picture.h"
#include "tools/paste_picture.h"
#include "tools/picture_edit.h"

#include "window_test.h"

namespace {

constexpr TColor kRed = RgbColour(255, 0, 0);

class ZoomTest : public WindowTest {
  protected:
    // Zooms with the menu items from 100 % by steps (negative: reduce).
    static void Zoom(TForm1& form, int steps) {
        const char* item = steps > 0 ? "ZoomIn1" : "ZoomOut1";
        for (int i = 0; i < std::abs(steps); ++i)
            form.MenuItem(QString::fromLatin1(item))->trigger();
    }

    // The mouse at the middle of a picture pixel's square on the screen, sent to a widget over
    // the paint surface (the surface itself when null).
    static void Mouse(TForm1& form, QEvent::Type type, QPoint picture, Qt::MouseButton button,
                      Qt::MouseButtons held, QWidget* over = nullptr) {
        QWidget* target = over ? over : form.Image1;
        const QPointF onSurface =
            form.Image1->View().ScreenAt(QPointF(picture) + QPointF(0.5, 0.5));
        const QPointF at = onSurface - QPointF(target == form.Image1 ? QPoint() : target->pos());
        QMouseEvent event(type, at, at, at, button, held, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &event);
    }

    // A stroke with a tick after every event, its tail swept on after the release; the layer's
    // checksum.
    QString Stroke(int zoomSteps) {
        TForm1 form({}, dir.path());
        MainWindowCore& core = form.Core();
        core.Random.Seed(1);
        core.RegenerateBristles();
        Zoom(form, zoomSteps);
        EXPECT_EQ(form.Image1->View().Step(), ViewTransform::kActualSize + zoomSteps);
        const auto send = [&](QEvent::Type type, QPoint at, Qt::MouseButton button,
                              Qt::MouseButtons held) {
            Mouse(form, type, at, button, held);
            core.Timer1Timer(1);
        };
        send(QEvent::MouseButtonPress, {40, 100}, Qt::LeftButton, Qt::LeftButton);
        for (int i = 1; i <= 40; ++i)
            send(QEvent::MouseMove, {40 + 5 * i, 100 + 2 * i}, Qt::NoButton, Qt::LeftButton);
        send(QEvent::MouseButtonRelease, {240, 180}, Qt::LeftButton, {});
        for (int i = 1; i <= 30; ++i)
            send(QEvent::MouseMove, {240 + 3 * i, 180 - i}, Qt::NoButton, {});
        EXPECT_FALSE(core.Stroke.StrokeActive);
        EXPECT_EQ(form.StatusPanel0->text(), QStringLiteral("位置( 330 , 150 )"));
        return PixelChecksum(core.Compositor.CurrentLayerImage());
    }
};

}  // namespace

// The same picture positions give the same layer pixels enlarged, reduced and at 100 %.
TEST_F(ZoomTest, AStrokeLandsOnTheSamePicturePixelsAtAnyZoom) {
    const QString actual = Stroke(0);
    EXPECT_NE(actual, PixelChecksum(Bitmap(400, 400)));
    EXPECT_EQ(Stroke(2), actual);   // 400 %
    EXPECT_EQ(Stroke(-2), actual);  // 25 %
}

// A pen's position maps as the mouse's does.
TEST_F(ZoomTest, APenPressesOnThePicturePixelUnderIt) {
    TForm1 form({}, dir.path());
    Zoom(form, 2);
    const QPointingDevice pen(
        QStringLiteral("pen"), 1, QInputDevice::DeviceType::Stylus,
        QPointingDevice::PointerType::Pen,
        QInputDevice::Capability::Position | QInputDevice::Capability::Pressure, 1, 3);
    const QPointF at(163.75, 403.5);
    QTabletEvent press(QEvent::TabletPress, &pen, at, at, 0.5, 0, 0, 0, 0, 0, Qt::NoModifier,
                       Qt::LeftButton, Qt::LeftButton);
    QCoreApplication::sendEvent(form.Image1, &press);
    EXPECT_EQ(QPoint(form.Core().Stroke.PointerX, form.Core().Stroke.PointerY), QPoint(40, 100));
}

// At 50 % the cut rectangle follows the pointer in picture pixels and is shown over the screen
// pixels of that rectangle; the floating paste centres on the picture pixel under the pointer,
// on the surface and over itself, and drops there.
TEST_F(ZoomTest, SelectionAndPasteWorkInPicturePixelsAtHalfSize) {
    TForm1 form({}, dir.path());
    form.show();
    MainWindowCore& core = form.Core();
    FillRectangle(core.Compositor.CurrentLayerImage(), QRect(0, 0, 100, 100), kRed);
    Zoom(form, -1);
    EXPECT_EQ(form.Image1->size(), QSize(200, 200));

    form.MenuItem(QStringLiteral("Cut1"))->trigger();
    Mouse(form, QEvent::MouseButtonPress, {21, 41}, Qt::LeftButton, Qt::LeftButton);
    Mouse(form, QEvent::MouseMove, {71, 91}, Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(form.StatusPanel0->text(),
              QStringLiteral("位置( 21 , 41 ) -> ( 71 , 91 ) = ( 50 x 50 )"));
    EXPECT_EQ(form.SelShape1->geometry(), QRect(10, 20, 26, 26));
    EXPECT_EQ(core.SelShape1.Rect(), QRect(21, 41, 50, 50));
    // Zooming places it anew over the same picture pixels.
    Zoom(form, 2);
    EXPECT_EQ(form.SelShape1->geometry(), QRect(42, 82, 100, 100));
    Zoom(form, -2);
    EXPECT_EQ(core.SelShape1.Rect(), QRect(21, 41, 50, 50));
    Mouse(form, QEvent::MouseButtonRelease, {71, 91}, Qt::LeftButton, {});
    const Bitmap& layer = core.Compositor.CurrentLayerImage();
    for (QPoint white : {QPoint(21, 41), QPoint(70, 90)})
        EXPECT_EQ(layer.Pixel(white.x(), white.y()), clWhite);
    for (QPoint red : {QPoint(20, 41), QPoint(71, 90), QPoint(21, 40), QPoint(70, 91)})
        EXPECT_EQ(layer.Pixel(red.x(), red.y()), kRed);

    form.MenuItem(QStringLiteral("Paste1"))->trigger();
    Mouse(form, QEvent::MouseMove, {201, 201}, Qt::NoButton, {});
    EXPECT_EQ(form.Image7->geometry(), QRect(88, 88, 25, 25));  // picture (176, 176) 50 x 50
    Mouse(form, QEvent::MouseMove, {187, 187}, Qt::NoButton, {}, form.Image7);
    EXPECT_EQ(QPoint(core.Image7.Left, core.Image7.Top), QPoint(162, 162));
    EXPECT_EQ(form.Image7->geometry(), QRect(81, 81, 25, 25));
    Zoom(form, 1);
    EXPECT_EQ(form.Image7->geometry(), QRect(162, 162, 50, 50));
    Zoom(form, -1);
    Mouse(form, QEvent::MouseButtonPress, {187, 187}, Qt::LeftButton, Qt::LeftButton, form.Image7);
    EXPECT_FALSE(form.Image7->isVisible());
    for (QPoint red : {QPoint(162, 162), QPoint(211, 211)})
        EXPECT_EQ(layer.Pixel(red.x(), red.y()), kRed);
    for (QPoint white : {QPoint(161, 162), QPoint(162, 161), QPoint(212, 211), QPoint(211, 212)})
        EXPECT_EQ(layer.Pixel(white.x(), white.y()), clWhite);
}

// The picture seen at every zoom: enlarged, each picture pixel is a square of its colour;
// reduced, each screen pixel is the average of the picture pixels it covers, rounded half up,
// fewer of them at the right and bottom edges of a picture whose sides the step does not
// divide. One-pixel lines stay visible, lighter.
TEST_F(ZoomTest, TheViewShowsSquaresEnlargedAndAveragesReduced) {
    const auto colour = [](int x, int y) {
        if (y == 10) return kRed;
        if (x % 8 == 3) return clBlack;
        return RgbColour(255, 255, (x * 7 + y * 3) % 256);
    };
    Bitmap picture(43, 29);
    for (int y = 0; y < 29; ++y)
        for (int x = 0; x < 43; ++x) picture.SetPixel(x, y, colour(x, y));
    const QString path = dir.path() + QStringLiteral("/lines.png");
    SavePngFile(path, picture);
    TForm1 form({}, dir.path());
    form.show();
    form.Core().DropFiles({path});
    for (int step = 0; step < ViewTransform::kSteps; ++step) {
        SCOPED_TRACE(step);
        Zoom(form, step - form.Image1->View().Step());
        const int factor = 1 << std::abs(step - ViewTransform::kActualSize);
        const bool reduced = step < ViewTransform::kActualSize;
        const QImage seen = form.Image1->grab().toImage();
        const QSize size = reduced ? QSize((43 + factor - 1) / factor, (29 + factor - 1) / factor)
                                   : QSize(43 * factor, 29 * factor);
        ASSERT_EQ(seen.size(), size);
        for (int sy = 0; sy < size.height(); ++sy) {
            for (int sx = 0; sx < size.width(); ++sx) {
                int sum[3] = {}, count = 0;
                const int x0 = reduced ? sx * factor : sx / factor;
                const int y0 = reduced ? sy * factor : sy / factor;
                const int side = reduced ? factor : 1;
                for (int y = y0; y < std::min(y0 + side, 29); ++y) {
                    for (int x = x0; x < std::min(x0 + side, 43); ++x, ++count) {
                        sum[0] += RedOf(colour(x, y));
                        sum[1] += GreenOf(colour(x, y));
                        sum[2] += BlueOf(colour(x, y));
                    }
                }
                const QColor expected((sum[0] + count / 2) / count, (sum[1] + count / 2) / count,
                                      (sum[2] + count / 2) / count);
                ASSERT_EQ(seen.pixelColor(sx, sy), expected) << sx << "," << sy;
            }
        }
    }
}

// The keys keep the picture point at the view's centre in place, the wheel with Ctrl the one
// under the pointer; the status bar shows the zoom, and 等倍 and 全体を表示 go to 100 % and to the
// largest step that shows the whole picture.
TEST_F(ZoomTest, ZoomKeepsItsAnchorAndShowsItsStep) {
    TForm1 form({}, dir.path());
    form.show();
    EXPECT_EQ(form.ZoomPanel->text(), QStringLiteral("100%"));
    EXPECT_EQ(form.MenuItem("ZoomIn1")->text(), QStringLiteral("拡大(&I)"));
    EXPECT_EQ(form.MenuItem("ZoomIn1")->shortcuts(),
              QList<QKeySequence>({QKeySequence("Ctrl++"), QKeySequence("Ctrl+=")}));
    EXPECT_EQ(form.MenuItem("ZoomOut1")->shortcut(), QKeySequence("Ctrl+-"));
    EXPECT_EQ(form.MenuItem("ActualSize1")->shortcut(), QKeySequence("Ctrl+0"));
    EXPECT_EQ(form.MenuItem("FitWindow1")->text(), QStringLiteral("全体を表示(&W)"));

    QWidget* viewport = form.ScrollBox1->viewport();
    const auto pictureAt = [&](QPointF inViewport) {
        return form.Image1->View().PictureAt(inViewport - QPointF(form.Image1->pos()));
    };
    const QPointF centre = QRectF(viewport->rect()).center();
    const QPointF centred = pictureAt(centre);
    Zoom(form, 2);
    EXPECT_EQ(form.ZoomPanel->text(), QStringLiteral("400%"));
    EXPECT_NEAR(pictureAt(centre).x(), centred.x(), 0.25);
    EXPECT_NEAR(pictureAt(centre).y(), centred.y(), 0.25);

    const QPointF pointer(37, 91);
    const QPointF pointed = pictureAt(pointer);
    QWheelEvent wheel(pointer, viewport->mapToGlobal(pointer), {}, {0, -120}, Qt::NoButton,
                      Qt::ControlModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(viewport, &wheel);
    EXPECT_EQ(form.ZoomPanel->text(), QStringLiteral("200%"));
    EXPECT_NEAR(pictureAt(pointer).x(), pointed.x(), 0.5);
    EXPECT_NEAR(pictureAt(pointer).y(), pointed.y(), 0.5);

    form.MenuItem("ActualSize1")->trigger();
    EXPECT_EQ(form.Image1->size(), QSize(400, 400));
    form.MenuItem("FitWindow1")->trigger();
    EXPECT_EQ(form.Image1->View().Step(),
              ViewTransform::FitStep({400, 400}, form.ScrollBox1->maximumViewportSize()));
    EXPECT_EQ(TForm1({}, dir.path()).ZoomPanel->text(), QStringLiteral("100%"));
}
