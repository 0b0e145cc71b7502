// Restored window rectangles: computed without overflow, kept within reach of a screen.
#include <gtest/gtest.h>

#include <climits>

#include "controls/placement_fit.h"

namespace {

const QRect kScreen(0, 0, 1280, 1024);
const QRect kRightScreen(1280, 0, 800, 600);

struct FitCase {
    const char* what;
    QRect window;
    QRect expected;
};

}  // namespace

TEST(PlacementFit, WindowsWithinReachStayAndOthersComeToTheNearestScreen) {
    const FitCase cases[] = {
        {"sound place", {227, 113, 493, 470}, {227, 113, 493, 470}},
        {"partly off the left, title still grabbable", {-400, 50, 493, 470}, {-400, 50, 493, 470}},
        {"bottom half below the screen", {100, 900, 300, 400}, {100, 900, 300, 400}},
        {"on the second screen", {1500, 100, 300, 200}, {1500, 100, 300, 200}},
        {"only 63 pixels of the title on screen", {-430, 50, 493, 470}, {0, 50, 493, 470}},
        {"title above the screen", {100, -10, 300, 200}, {100, 0, 300, 200}},
        {"far right of both screens", {5000, 5000, 1, 1}, {2079, 599, 1, 1}},
        {"far left", {-15536, 100, 200, 100}, {0, 100, 200, 100}},
        {"larger than every screen", {0, 0, 32767, 32767}, {0, 0, 1280, 1024}},
        {"as wide as the screen", {0, 0, 1280, 500}, {0, 0, 1280, 500}},
    };
    for (const FitCase& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(FitOnScreens(c.window, {kScreen, kRightScreen}), c.expected);
    }
    EXPECT_EQ(FitOnScreens({5000, 5000, 1, 1}, {}), QRect(5000, 5000, 1, 1));
}

TEST(PlacementFit, EdgesGiveTheRectangleWithoutOverflow) {
    EXPECT_EQ(RectFromEdges(10, 20, 510, 420), QRect(10, 20, 500, 400));
    EXPECT_EQ(RectFromEdges(INT_MIN, 0, INT_MAX, 100), QRect(-kFarAway, 0, kFarAway, 100));
    EXPECT_EQ(RectFromEdges(0, INT_MIN, 100, INT_MAX), QRect(0, -kFarAway, 100, kFarAway));
    // No size: an empty rectangle at the position.
    EXPECT_EQ(RectFromEdges(50, 60, 50, 90), QRect(50, 60, 0, 0));
    EXPECT_EQ(RectFromEdges(50, 60, 40, 90), QRect(50, 60, 0, 0));
    EXPECT_EQ(RectFromEdges(INT_MAX, 5, INT_MIN, 6), QRect(kFarAway, 5, 0, 0));
}
