// Where the tool button's caption goes and which bevel a release leaves.
#include <gtest/gtest.h>

#include "controls/cute_button_layout.h"

namespace {

// The client area of a 66 x 20 tool button with a single border.
const QRect kClient(0, 0, 64, 18);

QRect Rect(int left, int top, int right, int bottom) {
    return QRect(QPoint(left, top), QPoint(right, bottom));
}

}  // namespace

TEST(CuteCaptionRect, InsetByOneBevelWhenFlatAndTwoOtherwise) {
    TCaptionRules rules;
    EXPECT_EQ(CuteCaptionRect(kClient, rules), Rect(2, 2, 61, 15));
    rules.Flat = true;
    EXPECT_EQ(CuteCaptionRect(kClient, rules), Rect(1, 1, 62, 16));
    rules.BevelWidth = 3;
    EXPECT_EQ(CuteCaptionRect(kClient, rules), Rect(3, 3, 60, 14));
    rules.Flat = false;
    EXPECT_EQ(CuteCaptionRect(kClient, rules), Rect(6, 6, 57, 11));
}

TEST(CuteCaptionRect, MarginsApplyOnlyOnTheSideTheCaptionIsAlignedTo) {
    TCaptionRules rules;
    rules.Flat = true;
    rules.MarginX = 5;
    rules.MarginY = 3;
    rules.Alignment = taLeftJustify;
    rules.Layout = tlTop;
    EXPECT_EQ(CuteCaptionRect(kClient, rules), Rect(6, 4, 62, 16));
    rules.Alignment = taRightJustify;
    rules.Layout = tlBottom;
    EXPECT_EQ(CuteCaptionRect(kClient, rules), Rect(1, 1, 57, 13));
    rules.Alignment = taCenter;
    rules.Layout = tlCenter;
    EXPECT_EQ(CuteCaptionRect(kClient, rules), Rect(1, 1, 62, 16));
}

TEST(CuteCaptionRect, MinusOneMeansNoMargin) {
    TCaptionRules rules;
    rules.Alignment = taLeftJustify;
    rules.Layout = tlBottom;
    EXPECT_EQ(CuteCaptionRect(kClient, rules), Rect(2, 2, 61, 15));
    EXPECT_EQ(ClampCaptionMargin(-5), -1);
    EXPECT_EQ(ClampCaptionMargin(-1), -1);
    EXPECT_EQ(ClampCaptionMargin(0), 0);
    EXPECT_EQ(ClampCaptionMargin(7), 7);
}

TEST(CuteCaptionRect, PressedMovesTheTopLeftCornerByTwo) {
    TCaptionRules rules;
    rules.Alignment = taLeftJustify;
    rules.MarginX = 4;
    rules.Pressed = true;
    EXPECT_EQ(CuteCaptionRect(kClient, rules), Rect(8, 4, 61, 15));
}

TEST(ReleasedBevel, RaisedInsideOrWhileKeepingTheFocus) {
    EXPECT_EQ(ReleasedBevel(true, false, false), bvRaised);
    EXPECT_EQ(ReleasedBevel(false, true, true), bvRaised);
    EXPECT_EQ(ReleasedBevel(false, true, false), bvNone);
    EXPECT_EQ(ReleasedBevel(false, false, true), bvNone);
}
