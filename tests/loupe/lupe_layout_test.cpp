// The magnifier's geometry: views, bars, steps, scrolling and the blocks a repaint draws.
#include <gtest/gtest.h>

#include "loupe/lupe_layout.h"

namespace {

// Scroll bars 17 pixels thick.
LupeLayout Laid(int sourceW, int sourceH, int w, int h, int power) {
    LupeLayout l;
    l.SourceWidth = sourceW;
    l.SourceHeight = sourceH;
    l.Relayout(w, h, power, 17, 17);
    return l;
}

}  // namespace

TEST(LupeLayout, SourceThatFitsGetsNoBarsAndAViewOfItsOwnSize) {
    LupeLayout l = Laid(48, 44, 190, 176, 4);  // exactly what 192 x 176 holds
    EXPECT_EQ(l.VertBarWidth, 0);
    EXPECT_EQ(l.HorzBarHeight, 0);
    EXPECT_EQ(l.ViewWidth, 192);
    EXPECT_EQ(l.ViewHeight, 176);
    l = Laid(10, 8, 190, 176, 4);
    EXPECT_EQ(l.ViewWidth, 40);
    EXPECT_EQ(l.ViewHeight, 32);
    EXPECT_EQ(l.VisibleCols, 10);
    EXPECT_EQ(l.VisibleRows, 8);
}

TEST(LupeLayout, LargeSourceGetsBothBarsAndASmallerView) {
    const LupeLayout l = Laid(100, 80, 190, 176, 4);
    EXPECT_EQ(l.VertBarWidth, 17);
    EXPECT_EQ(l.HorzBarHeight, 17);
    EXPECT_EQ(l.ViewWidth, 176);   // 173 rounded up to 4
    EXPECT_EQ(l.ViewHeight, 160);  // 159 rounded up to 4
    EXPECT_EQ(l.VisibleCols, 44);
    EXPECT_EQ(l.VisibleRows, 40);
    EXPECT_EQ(l.MaxClipTop(), 40);
    EXPECT_EQ(l.MaxClipLeft(), 56);
}

TEST(LupeLayout, SecondPassAddsTheBarThatTheFirstBarMadeNeeded) {
    // 44 rows fit until the horizontal bar takes 17 pixels: then only 40 do.
    const LupeLayout l = Laid(100, 44, 190, 176, 4);
    EXPECT_EQ(l.VertBarWidth, 17);
    EXPECT_EQ(l.HorzBarHeight, 17);
    EXPECT_EQ(l.VisibleRows, 40);
    EXPECT_EQ(l.VisibleCols, 44);
}

TEST(LupeLayout, LineAndPageSteps) {
    LupeLayout l = Laid(44, 1000, 176 + 17, 176, 4);  // 44 rows
    ASSERT_EQ(l.VisibleRows, 44);
    EXPECT_EQ(l.LineStepY, 5);
    EXPECT_EQ(l.PageStepY, 39);
    l = Laid(10, 1000, 40 + 17, 40, 4);  // 10 rows
    ASSERT_EQ(l.VisibleRows, 10);
    EXPECT_EQ(l.LineStepY, 2);
    EXPECT_EQ(l.PageStepY, 9);
    l = Laid(100, 80, 190, 176, 4);  // 40 rows: 4.5 rounds to the even 4
    EXPECT_EQ(l.LineStepY, 4);
    EXPECT_EQ(l.PageStepY, 36);
    EXPECT_EQ(l.LineStepX, 5);
}

TEST(LupeLayout, ScrollingStopsAtBothEndsAndReportsTheDistanceMoved) {
    LupeLayout l = Laid(100, 80, 190, 176, 4);  // 40 rows of 80, page 36
    EXPECT_EQ(l.ScrollVert(scPosition, 38), 38);
    EXPECT_EQ(l.ScrollVert(scPageDown, 0), 2);
    EXPECT_EQ(l.ClipTop, 40);
    EXPECT_EQ(l.ClipBottom, 80);
    EXPECT_EQ(l.ScrollVert(scLineDown, 0), 0);
    EXPECT_EQ(l.ScrollVert(scTrack, 3), -37);
    EXPECT_EQ(l.ScrollVert(scPageUp, 0), -3);
    EXPECT_EQ(l.ClipTop, 0);
    EXPECT_EQ(l.ScrollVert(scTop, 25), 0);
    EXPECT_EQ(l.ScrollHorz(scLineDown, 0), 5);
    EXPECT_EQ(l.ClipLeft, 5);
    EXPECT_EQ(l.ClipRight, 49);
}

TEST(LupeLayout, DoublingThePowerHalvesTheViewAndKeepsTheOrigin) {
    LupeLayout l = Laid(100, 80, 190, 176, 4);
    l.ScrollVert(scPosition, 30);
    l.ScrollHorz(scPosition, 50);
    l.Relayout(190, 176, 8, 17, 17);
    EXPECT_EQ(l.VisibleRows, 20);
    EXPECT_EQ(l.VisibleCols, 22);
    EXPECT_EQ(l.ClipTop, 30);
    EXPECT_EQ(l.ClipLeft, 50);
    // Back to 4 from column 70: 44 columns would run past 100, so the origin comes back.
    l.ScrollHorz(scPosition, 70);
    l.Relayout(190, 176, 4, 17, 17);
    EXPECT_EQ(l.ClipTop, 30);
    EXPECT_EQ(l.ClipLeft, 56);
}

TEST(LupeBlocks, AreaSnapsOutwardsToWholeBlocksWithinTheView) {
    EXPECT_EQ(SnapToBlocks(QRect(5, 7, 10, 3), 4, 176, 160), QRect(4, 4, 12, 8));
    EXPECT_EQ(SnapToBlocks(QRect(170, 150, 20, 26), 4, 176, 160), QRect(168, 148, 8, 12));
    EXPECT_TRUE(SnapToBlocks(QRect(176, 0, 14, 160), 4, 176, 160).isEmpty());
    EXPECT_EQ(SourceRectFor(QRect(4, 4, 12, 8), 4, 10, 20), QRect(11, 21, 3, 2));
}

TEST(LupeBlocks, GridIsTheLastColumnAndRowOfEachBlock) {
    Bitmap work(16, 12);
    DrawLupeGrid(work, QRect(4, 4, 8, 8), 4, Pen());
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 16; ++x) {
            const bool inside = x >= 4 && x < 12 && y >= 4 && y < 12;
            const bool line = x == 7 || x == 11 || y == 7 || y == 11;
            EXPECT_EQ(work.Pixel(x, y), inside && line ? clBlack : clWhite) << x << "," << y;
        }
}
