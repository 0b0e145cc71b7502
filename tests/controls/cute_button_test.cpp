// The tool button as the user meets it: bevels, clicks, keys, drop-down menus and looks.
#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

#include <QApplication>
#include <QImage>
#include <QMenu>
#include <QTest>
#include <QTimer>

#include "controls/cute_button.h"

namespace {

// Delivers what the last input made pending (enter and leave, focus, posted clicks).
void DeliverPending() {
    QApplication::processEvents();
}

// Runs the event loop until the condition holds: for a timer of the button's to fire.
template <typename Condition>
void WaitFor(Condition holds) {
    while (!holds()) QApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

// A form with two tool buttons, shown and active so that focus events arrive.
class CuteButtonTest : public ::testing::Test {
  protected:
    void SetUp() override {
        form.resize(240, 120);
        button = new TCuteButton(&form);
        button->setGeometry(10, 10, 66, 20);
        button->SetCaption(QStringLiteral("筆"));
        button->OnClick = [this](QObject* sender) {
            EXPECT_EQ(sender, button);
            ++clicks;
        };
        other = new TCuteButton(&form);
        other->setGeometry(10, 60, 66, 20);
        form.show();
        form.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
        other->setFocus();
        DeliverPending();
    }
    void Enter() {
        QTest::mouseMove(button, QPoint(30, 10));
        DeliverPending();
    }
    void Leave() {
        QTest::mouseMove(&form, QPoint(200, 100));
        DeliverPending();
    }
    void MoveHeld(QPoint pos) {
        QMouseEvent move(QEvent::MouseMove, pos, button->mapToGlobal(pos), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(button, &move);
    }
    void Key(QEvent::Type type, int key, bool autoRepeat = false) {
        QKeyEvent event(type, key, Qt::NoModifier, QString(), autoRepeat);
        QApplication::sendEvent(button, &event);
    }

    QWidget form;
    TCuteButton* button = nullptr;
    TCuteButton* other = nullptr;
    int clicks = 0;
};

TEST_F(CuteButtonTest, HoverRaisesAndLeavingFlattens) {
    std::vector<TBevelCut> seenOnEnter;
    button->OnMouseEnter = [&](QObject*, TCuteButton::TShiftState, int, int) {
        seenOnEnter.push_back(button->BevelOuter());  // the notification comes first
    };
    int leaves = 0;
    button->OnMouseLeave = [&](QObject*, TCuteButton::TShiftState, int, int) { ++leaves; };
    EXPECT_EQ(button->BevelOuter(), bvNone);
    Enter();
    EXPECT_EQ(button->BevelOuter(), bvRaised);
    ASSERT_EQ(seenOnEnter.size(), 1u);
    EXPECT_EQ(seenOnEnter[0], bvNone);
    Leave();
    EXPECT_EQ(button->BevelOuter(), bvNone);
    EXPECT_EQ(leaves, 1);
}

TEST_F(CuteButtonTest, PressLowersTakesTheFocusAndReleaseInsideClicks) {
    Enter();
    QTest::mousePress(button, Qt::LeftButton, {}, QPoint(30, 10));
    EXPECT_EQ(button->BevelOuter(), bvLowered);
    EXPECT_TRUE(button->hasFocus());
    EXPECT_EQ(clicks, 0);
    QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(30, 10));
    EXPECT_EQ(button->BevelOuter(), bvRaised);
    EXPECT_EQ(clicks, 1);
}

TEST_F(CuteButtonTest, ReleaseOutsideGivesNoClickAndNoBevelWithoutTabFocusUp) {
    button->SetTabFocusUp(false);
    int leaves = 0;
    button->OnMouseLeave = [&](QObject*, TCuteButton::TShiftState shift, int, int) {
        EXPECT_TRUE(shift & TCuteButton::ssLeft);
        ++leaves;
    };
    Enter();
    QTest::mousePress(button, Qt::LeftButton, {}, QPoint(30, 10));
    MoveHeld(QPoint(150, 60));
    EXPECT_EQ(leaves, 1);
    EXPECT_EQ(button->BevelOuter(), bvNone);
    QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(150, 60));
    EXPECT_EQ(button->BevelOuter(), bvNone);
    EXPECT_EQ(clicks, 0);
    EXPECT_EQ(leaves, 1);
}

TEST_F(CuteButtonTest, FocusedButtonStaysPressedWhenDraggedOffAndRisesOnRelease) {
    Enter();
    QTest::mousePress(button, Qt::LeftButton, {}, QPoint(30, 10));
    MoveHeld(QPoint(150, 60));
    EXPECT_EQ(button->BevelOuter(), bvLowered);
    QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(150, 60));
    EXPECT_EQ(button->BevelOuter(), bvRaised);  // it keeps the focus
    EXPECT_EQ(clicks, 0);
}

TEST_F(CuteButtonTest, DraggingBackOnPressesAgainAndClicks) {
    button->SetTabFocusUp(false);
    Enter();
    QTest::mousePress(button, Qt::LeftButton, {}, QPoint(30, 10));
    MoveHeld(QPoint(150, 60));
    MoveHeld(QPoint(20, 5));
    EXPECT_EQ(button->BevelOuter(), bvLowered);
    QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(20, 5));
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(button->BevelOuter(), bvRaised);
}

TEST_F(CuteButtonTest, FocusRaisesOnlyWithTabFocusUp) {
    button->setFocus(Qt::TabFocusReason);
    DeliverPending();
    EXPECT_EQ(button->BevelOuter(), bvRaised);
    Enter();
    Leave();
    EXPECT_EQ(button->BevelOuter(), bvRaised);  // the focus keeps it up
    other->setFocus(Qt::TabFocusReason);
    DeliverPending();
    EXPECT_EQ(button->BevelOuter(), bvNone);

    button->SetTabFocusUp(false);
    button->setFocus(Qt::TabFocusReason);
    DeliverPending();
    EXPECT_EQ(button->BevelOuter(), bvNone);
    Enter();
    Leave();
    EXPECT_EQ(button->BevelOuter(), bvNone);
}

TEST_F(CuteButtonTest, SpaceClicksOnReleaseAndAnotherKeyCancels) {
    button->setFocus();
    Key(QEvent::KeyPress, Qt::Key_Space);
    EXPECT_EQ(button->BevelOuter(), bvLowered);
    Key(QEvent::KeyRelease, Qt::Key_Space, true);  // a repeating key is still held
    EXPECT_EQ(clicks, 0);
    Key(QEvent::KeyRelease, Qt::Key_Space);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(button->BevelOuter(), bvRaised);

    Key(QEvent::KeyPress, Qt::Key_Space);
    Key(QEvent::KeyPress, Qt::Key_Escape);
    EXPECT_EQ(button->BevelOuter(), bvRaised);
    Key(QEvent::KeyRelease, Qt::Key_Space);
    EXPECT_EQ(clicks, 1);
}

TEST_F(CuteButtonTest, EnterClicksAtOnce) {
    button->SetTabFocusUp(false);
    button->setFocus();
    Key(QEvent::KeyPress, Qt::Key_Return);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(button->BevelOuter(), bvNone);
}

TEST_F(CuteButtonTest, AcceleratorClicksOnlyWhileEnabled) {
    button->SetCaption(QStringLiteral("&Brush"));
    QTest::keyClick(&form, Qt::Key_B, Qt::AltModifier);
    EXPECT_EQ(clicks, 1);
    button->SetEnabled(false);
    QTest::keyClick(&form, Qt::Key_B, Qt::AltModifier);
    EXPECT_EQ(clicks, 1);
}

// Clicks that arrive while the handler runs: one made from inside it, and a press and release
// queued behind it.
TEST_F(CuteButtonTest, EgnoreContClickSwallowsClicksDuringTheHandler) {
    for (bool ignore : {true, false}) {
        SCOPED_TRACE(ignore);
        int runs = 0;
        button->SetEgnoreContClick(ignore);
        button->OnClick = [&](QObject*) {
            if (++runs > 1) return;
            button->Click();
            const QPoint at(30, 10);
            const QPoint global = button->mapToGlobal(at);
            QApplication::postEvent(
                button, new QMouseEvent(QEvent::MouseButtonPress, at, global, Qt::LeftButton,
                                        Qt::LeftButton, Qt::NoModifier));
            QApplication::postEvent(
                button, new QMouseEvent(QEvent::MouseButtonRelease, at, global, Qt::LeftButton,
                                        Qt::NoButton, Qt::NoModifier));
        };
        button->Click();
        DeliverPending();
        EXPECT_EQ(runs, ignore ? 1 : 3);
        button->Click();  // the handler is back
        EXPECT_EQ(runs, ignore ? 2 : 4);
    }
}

TEST_F(CuteButtonTest, EgnoreContClickKeepsAHandlerThatThrew) {
    button->SetEgnoreContClick(true);
    int runs = 0;
    button->OnClick = [&](QObject*) {
        if (++runs == 1) throw std::runtime_error("failed");
    };
    EXPECT_THROW(button->Click(), std::runtime_error);
    button->Click();
    EXPECT_EQ(runs, 2);
}

class DropDownTest : public CuteButtonTest {
  protected:
    void SetUp() override {
        CuteButtonTest::SetUp();
        menu.addAction(QStringLiteral("項目"));
        // Close the menu as soon as it is up, as a user choosing nothing would.
        QObject::connect(&menu, &QMenu::aboutToShow, [this] {
            ++menusShown;
            QTimer::singleShot(0, &menu, &QMenu::close);
        });
        button->SetDropDownMenu(&menu);
    }
    QMenu menu;
    int menusShown = 0;
};

TEST_F(DropDownTest, WithoutDelayAPressOpensTheMenuAndDoesNotClick) {
    QTest::mousePress(button, Qt::LeftButton, {}, QPoint(30, 10));
    EXPECT_EQ(menusShown, 1);
    QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(30, 10));
    EXPECT_EQ(clicks, 0);
    // The swallowed click was only the one that ended the menu's press.
    button->SetDropDownMenu(nullptr);
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(30, 10));
    EXPECT_EQ(clicks, 1);
}

TEST_F(DropDownTest, WithDelayAQuickClickClicksAndShowsNoMenu) {
    button->SetDropDownDelay(40);
    QTest::mousePress(button, Qt::LeftButton, {}, QPoint(30, 10));
    QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(30, 10));
    DeliverPending();
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(menusShown, 0);
    // And none can come later: the release stopped the delay's timer.
    for (const QTimer* timer : button->findChildren<QTimer*>()) EXPECT_FALSE(timer->isActive());
}

TEST_F(DropDownTest, WithDelayAHeldPressOpensTheMenuAndTheReleaseDoesNotClick) {
    button->SetDropDownDelay(40);
    QTest::mousePress(button, Qt::LeftButton, {}, QPoint(30, 10));
    EXPECT_EQ(menusShown, 0);
    WaitFor([&] { return menusShown > 0; });
    EXPECT_EQ(menusShown, 1);
    QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(30, 10));
    EXPECT_EQ(clicks, 0);
}

TEST_F(DropDownTest, KeyboardOpensTheMenuTooWithoutClicking) {
    button->setFocus();
    button->SetDropDownDelay(40);
    Key(QEvent::KeyPress, Qt::Key_Space);
    EXPECT_EQ(menusShown, 0);
    WaitFor([&] { return menusShown > 0; });
    EXPECT_EQ(menusShown, 1);
    Key(QEvent::KeyRelease, Qt::Key_Space);
    EXPECT_EQ(clicks, 0);

    // Enter opens the menu only when it would open at once; with a delay it clicks.
    Key(QEvent::KeyPress, Qt::Key_Return);
    EXPECT_EQ(menusShown, 1);
    EXPECT_EQ(clicks, 1);
    button->SetDropDownDelay(0);
    Key(QEvent::KeyPress, Qt::Key_Return);
    EXPECT_EQ(menusShown, 2);
    EXPECT_EQ(clicks, 1);
}

// ---- Looks ----

class CuteButtonLookTest : public ::testing::Test {
  protected:
    void SetUp() override {
        button.resize(66, 20);
        button.SetBorderStyle(bsSingle);
        button.SetColor(QColor(200, 210, 220));
        button.SetBevelHighlightColor(QColor(250, 250, 240));
        button.SetBevelShadowColor(QColor(64, 64, 64));
        button.SetFontColor(QColor(0, 0, 0));
        QFont font(QStringLiteral("IPAPGothic"));
        font.setPixelSize(14);
        font.setStyleStrategy(QFont::NoAntialias);  // crisp edges to count
        button.SetFont(font);
    }
    QImage Shot() { return button.grab().toImage().convertToFormat(QImage::Format_RGB32); }
    static int Count(const QImage& image, QColor colour) {
        int n = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) n += image.pixel(x, y) == colour.rgb();
        return n;
    }
    // The leftmost column holding the caption's colour, or -1.
    static int LeftmostColumn(const QImage& image, QColor colour) {
        for (int x = 0; x < image.width(); ++x)
            for (int y = 0; y < image.height(); ++y)
                if (image.pixel(x, y) == colour.rgb()) return x;
        return -1;
    }
    TCuteButton button;
};

TEST_F(CuteButtonLookTest, RaisedAndLoweredBevelsInsideTheBorder) {
    const QColor light(250, 250, 240), dark(64, 64, 64), face(200, 210, 220);
    button.SetFlat(true);
    button.SetBevelOuter(bvRaised);
    QImage shot = Shot();
    EXPECT_EQ(shot.pixelColor(0, 0), QColor(0, 0, 0));  // the single border
    EXPECT_EQ(shot.pixelColor(1, 1), light);
    EXPECT_EQ(shot.pixelColor(1, 17), light);
    EXPECT_EQ(shot.pixelColor(1, 18), dark);  // bottom row owns its corner
    EXPECT_EQ(shot.pixelColor(64, 1), dark);  // right column owns its corner
    EXPECT_EQ(shot.pixelColor(64, 18), dark);
    EXPECT_EQ(shot.pixelColor(2, 2), face);

    button.SetBevelOuter(bvLowered);
    shot = Shot();
    EXPECT_EQ(shot.pixelColor(1, 1), dark);
    EXPECT_EQ(shot.pixelColor(64, 18), light);

    button.SetFlat(false);  // the inner bevel comes back, raised
    shot = Shot();
    EXPECT_EQ(shot.pixelColor(2, 2), light);
    EXPECT_EQ(shot.pixelColor(63, 17), dark);
}

TEST_F(CuteButtonLookTest, DisabledFaceAndEngravedCaption) {
    button.SetBorderStyle(bsNone);
    button.SetFlat(true);
    button.SetCaption(QStringLiteral("■"));
    button.SetDisabledColor(QColor(90, 40, 40));
    const QColor face(200, 210, 220), disabledFace(90, 40, 40);
    const QColor light = button.palette().color(QPalette::Active, QPalette::Light);
    const QColor dark = button.palette().color(QPalette::Active, QPalette::Dark);

    QImage shot = Shot();
    EXPECT_EQ(shot.pixelColor(4, 4), face);
    EXPECT_GT(Count(shot, QColor(0, 0, 0)), 40);

    button.SetEnabled(false);
    shot = Shot();
    EXPECT_EQ(shot.pixelColor(4, 4), face);  // without UseDisabledColor the face stays
    EXPECT_GT(Count(shot, dark), 20);
    EXPECT_GT(Count(shot, light), 4);
    EXPECT_EQ(LeftmostColumn(shot, light), LeftmostColumn(shot, dark) + 1);

    button.SetUseDisabledColor(true);
    shot = Shot();
    EXPECT_EQ(shot.pixelColor(4, 4), disabledFace);
    button.SetEnabled(true);
    EXPECT_EQ(Shot().pixelColor(4, 4), face);
}

TEST_F(CuteButtonLookTest, PressedCaptionMovesTwoPixels) {
    button.SetBorderStyle(bsNone);
    button.SetFlat(true);
    button.SetCaption(QStringLiteral("■"));
    button.SetAlignment(taLeftJustify);
    button.SetMarginX(3);
    button.SetBevelOuter(bvRaised);
    const int up = LeftmostColumn(Shot(), QColor(0, 0, 0));
    button.SetBevelOuter(bvLowered);
    const int down = LeftmostColumn(Shot(), QColor(0, 0, 0));
    ASSERT_GE(up, 0);
    EXPECT_EQ(down, up + 2);
    button.SetAlignment(taCenter);  // centred text ignores MarginX: a shift of one
    button.SetBevelOuter(bvRaised);
    const int centredUp = LeftmostColumn(Shot(), QColor(0, 0, 0));
    button.SetBevelOuter(bvLowered);
    EXPECT_EQ(LeftmostColumn(Shot(), QColor(0, 0, 0)), centredUp + 1);
}

TEST(CuteButtonProperties, DefaultsAndClampedMargins) {
    TCuteButton button;
    EXPECT_EQ(button.size(), QSize(75, 25));
    EXPECT_EQ(button.BevelOuter(), bvNone);
    EXPECT_EQ(button.BevelInner(), bvRaised);
    EXPECT_TRUE(button.TabFocusUp());
    EXPECT_TRUE(button.TabStop());
    EXPECT_EQ(button.DisabledColor(), QColor(128, 128, 128));
    EXPECT_EQ(button.Color(), button.palette().color(QPalette::Active, QPalette::Button));
    button.SetMarginX(-5);
    button.SetMarginY(-9);
    EXPECT_EQ(button.MarginX(), -1);
    EXPECT_EQ(button.MarginY(), -1);
    button.SetMarginX(4);
    EXPECT_EQ(button.MarginX(), 4);
    button.SetFlat(true);
    EXPECT_EQ(button.BevelInner(), bvNone);
}

}  // namespace
