// The "新規作成" dialog's field rules.
#include <gtest/gtest.h>

#include "document/new_picture_form.h"

namespace {

NewPictureForm Locked(int width, int height) {
    NewPictureForm f;
    f.Width = width;
    f.Height = height;
    f.SetKeepAspect(true);
    return f;
}

TEST(NewPictureForm, KeptAspectSetsTheOtherSideRoundedHalfToEven) {
    const struct {
        int refWidth, refHeight;
        bool widthTyped;
        int typed;
        int width, height;
    } cases[] = {
        {400, 300, true, 800, 800, 600},
        {400, 300, false, 150, 200, 150},
        {400, 300, true, 2, 2, 2},    // 1.5 rounds to 2
        {400, 300, true, 6, 6, 4},    // 4.5 rounds to 4
        {400, 300, true, -5, 0, 0},   // below 1 is 0, and so is its partner
        {0, 300, true, 50, 50, 300},  // no reference width: no ratio, the height stays
        // The typed side keeps its value: the linked side does not link back.
        {400, 300, true, 802, 802, 602},
    };
    for (const auto& c : cases) {
        NewPictureForm f = Locked(c.refWidth, c.refHeight);
        if (c.widthTyped)
            f.WidthTyped(c.typed);
        else
            f.HeightTyped(c.typed);
        EXPECT_EQ(f.Width, c.width) << c.typed;
        EXPECT_EQ(f.Height, c.height) << c.typed;
    }
}

TEST(NewPictureForm, UnlockedFieldsAreIndependentAndBelowOneIsZero) {
    NewPictureForm f;
    f.Width = 400;
    f.Height = 300;
    for (int typed : {0, -1, -2147483647}) {
        f.WidthTyped(typed);
        EXPECT_EQ(f.Width, 0);
    }
    f.HeightTyped(7);
    EXPECT_EQ(f.Height, 7);
    EXPECT_EQ(f.Width, 0);
}

TEST(NewPictureForm, ConfirmFillsTheFirstEmptyFieldWithZeroAndBeeps) {
    NewPictureForm f;
    EXPECT_TRUE(f.Confirm());
    EXPECT_EQ(f.Width, 0);
    EXPECT_FALSE(f.Height.has_value());
    EXPECT_TRUE(f.Confirm());
    EXPECT_EQ(f.Height, 0);
    EXPECT_FALSE(f.Confirm());
}

}  // namespace
