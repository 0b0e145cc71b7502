// The zoom's mapping between the paint surface's screen pixels and picture pixels, at every
// step: the pixel under a pointer, the screen pixels of a picture rectangle and the picture
// pixels of a screen rectangle.
#include <gtest/gtest.h>

#include "platform/view_transform.h"

namespace {

struct StepCase {
    int step;
    const char* percent;
    QPoint underPointer;    // the picture pixel under screen position (10.5, 7.25)
    QPoint underNegative;   // under (-0.5, 0)
    QRect screenOfPicture;  // of picture rectangle (3, 5) 10 x 7
    QRect screenOfLeftTop;  // of picture rectangle (-5, -3) 4 x 4, a paste partly off the picture
    QRect pictureOfScreen;  // of screen rectangle (1, 2) 3 x 4
    QSize surface;          // of a 401 x 399 picture
};

const StepCase kSteps[] = {
    {0, "12.5%", {84, 58}, {-4, 0}, {0, 0, 2, 2}, {-1, -1, 1, 2}, {8, 16, 24, 32}, {51, 50}},
    {1, "25%", {42, 29}, {-2, 0}, {0, 1, 4, 2}, {-2, -1, 2, 2}, {4, 8, 12, 16}, {101, 100}},
    {2, "50%", {21, 14}, {-1, 0}, {1, 2, 6, 4}, {-3, -2, 3, 3}, {2, 4, 6, 8}, {201, 200}},
    {3, "100%", {10, 7}, {-1, 0}, {3, 5, 10, 7}, {-5, -3, 4, 4}, {1, 2, 3, 4}, {401, 399}},
    {4, "200%", {5, 3}, {-1, 0}, {6, 10, 20, 14}, {-10, -6, 8, 8}, {0, 1, 2, 2}, {802, 798}},
    {5, "400%", {2, 1}, {-1, 0}, {12, 20, 40, 28}, {-20, -12, 16, 16}, {0, 0, 1, 2}, {1604, 1596}},
    {6, "800%", {1, 0}, {-1, 0}, {24, 40, 80, 56}, {-40, -24, 32, 32}, {0, 0, 1, 1}, {3208, 3192}},
};

}  // namespace

TEST(ViewTransform, MapsBothWaysAtEveryStep) {
    for (const StepCase& c : kSteps) {
        SCOPED_TRACE(c.percent);
        ViewTransform view;
        view.SetStep(c.step);
        EXPECT_EQ(view.PercentText(), QString::fromLatin1(c.percent));
        EXPECT_EQ(view.PixelAt({10.5, 7.25}), c.underPointer);
        EXPECT_EQ(view.PixelAt({-0.5, 0}), c.underNegative);
        EXPECT_EQ(view.ScreenRect({3, 5, 10, 7}), c.screenOfPicture);
        EXPECT_EQ(view.ScreenRect({-5, -3, 4, 4}), c.screenOfLeftTop);
        EXPECT_EQ(view.PictureRect({1, 2, 3, 4}), c.pictureOfScreen);
        EXPECT_EQ(view.ScreenSize({401, 399}), c.surface);
        EXPECT_EQ(view.ScreenAt(view.PictureAt({10.5, -7.25})), QPointF(10.5, -7.25));
    }
}

// Whatever a pointer lands on is shown by the screen pixels of the picture pixel it maps to,
// so painting at any zoom lands where the pointer is.
TEST(ViewTransform, ThePixelUnderThePointerIsShownUnderIt) {
    for (const StepCase& c : kSteps) {
        SCOPED_TRACE(c.percent);
        ViewTransform view;
        view.SetStep(c.step);
        for (int y = -9; y < 20; y += 3) {
            for (int x = -17; x < 40; ++x) {
                const QPoint pixel = view.PixelAt(QPointF(x + 0.5, y + 0.5));
                ASSERT_TRUE(view.ScreenRect(QRect(pixel, QSize(1, 1))).contains(x, y));
                ASSERT_TRUE(view.PictureRect(QRect(x, y, 1, 1)).contains(pixel));
            }
        }
    }
}

TEST(ViewTransform, FitIsTheLargestStepThatShowsTheWholePicture) {
    const struct {
        QSize picture, room;
        int step;
    } cases[] = {
        {{4000, 3000}, {600, 500}, 0}, {{400, 400}, {900, 900}, 4}, {{400, 400}, {400, 400}, 3},
        {{100, 50}, {900, 900}, 6},    {{401, 10}, {200, 900}, 1},  {{32767, 10}, {100, 100}, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.step);
        EXPECT_EQ(ViewTransform::FitStep(c.picture, c.room), c.step);
    }
    ViewTransform view;
    view.SetStep(-2);
    EXPECT_EQ(view.Step(), 0);
    view.SetStep(9);
    EXPECT_EQ(view.Step(), ViewTransform::kSteps - 1);
}
