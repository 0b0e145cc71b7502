// The swelling and tail steps: ink and width per move for every size, blur and dry brush,
// and where a stroke stops widening or runs out.
#include <gtest/gtest.h>

#include "brush/stroke_steps.h"

namespace {

enum Blur { kNone, kWeak, kMedium, kStrong };

struct Brush {
    MenuChecks checks;
    StrokeState stroke;
    Canvas layer;
    Canvas surface;

    Brush(int sizeIndex, bool dry, Blur blur) {
        static const int kSizes[5] = {25, 19, 13, 8, 3};
        checks.S1 = sizeIndex == 0;
        checks.S2 = sizeIndex == 1;
        checks.S3 = sizeIndex == 2;
        checks.S4 = sizeIndex == 3;
        checks.S5 = sizeIndex == 4;
        checks.K1 = blur == kNone;
        checks.K4 = blur == kWeak;
        checks.K3 = blur == kMedium;
        checks.K2 = blur == kStrong;
        checks.H1 = dry;
        stroke.BrushSize = kSizes[sizeIndex];
    }
    StrokePens Pens() { return {layer, surface}; }
    void Swell() { SwellingStep(stroke, Pens(), checks); }
    bool Tail() { return TailStep(stroke, Pens(), checks); }
};

// Net ink per step by size (極太, 太筆, 中筆, 細筆, 極細), for dry brush off with any blur and
// for dry brush on with blur none, 弱, 中, 強.
struct StepRow {
    int sizeIndex;
    int dryOff;
    int dryOn[4];
};

const StepRow kSwelling[] = {
    {0, 15, {15, 17, 18, 18}}, {1, 13, {13, 14, 14, 15}}, {2, 10, {10, 10, 10, 11}},
    {3, 10, {10, 10, 10, 10}}, {4, 10, {10, 10, 10, 10}},
};
const StepRow kTail[] = {
    {0, -16, {-16, -18, -20, -19}}, {1, -12, {-12, -14, -13, -14}}, {2, -7, {-7, -7, -7, -8}},
    {3, -7, {-7, -7, -7, -7}},      {4, -7, {-7, -7, -7, -7}},
};

// Width per step: +1, or +2 for 極太 with medium blur; the tail -1, or -2 for 極太 with
// medium or strong blur and for 太筆 with strong blur.
int SwellWidth(int size, Blur blur) {
    return size == 0 && blur == kMedium ? 2 : 1;
}
int TailWidth(int size, Blur blur) {
    return (size == 0 && (blur == kMedium || blur == kStrong)) || (size == 1 && blur == kStrong)
               ? 2
               : 1;
}

}  // namespace

TEST(StrokeSteps, SwellingAddsInkAndWidthBySizeBlurAndDryBrush) {
    for (const StepRow& row : kSwelling)
        for (int dry = 0; dry < 2; ++dry)
            for (int blur = kNone; blur <= kStrong; ++blur) {
                SCOPED_TRACE(testing::Message()
                             << "size " << row.sizeIndex << " dry " << dry << " blur " << blur);
                Brush b(row.sizeIndex, dry, Blur(blur));
                b.layer.pen.SetWidth(1);
                b.stroke.InkLevel = 5;
                b.Swell();
                EXPECT_EQ(b.stroke.InkLevel, 5 + (dry ? row.dryOn[blur] : row.dryOff));
                const int width = 1 + SwellWidth(row.sizeIndex, Blur(blur));
                EXPECT_EQ(b.layer.pen.Width(), width);
                EXPECT_EQ(b.surface.pen.Width(), width);
            }
}

TEST(StrokeSteps, TailTakesInkAndWidthBySizeBlurAndDryBrush) {
    for (const StepRow& row : kTail)
        for (int dry = 0; dry < 2; ++dry)
            for (int blur = kNone; blur <= kStrong; ++blur) {
                SCOPED_TRACE(testing::Message()
                             << "size " << row.sizeIndex << " dry " << dry << " blur " << blur);
                Brush b(row.sizeIndex, dry, Blur(blur));
                b.layer.pen.SetWidth(10);
                b.stroke.InkLevel = 100;
                EXPECT_FALSE(b.Tail());
                EXPECT_EQ(b.stroke.InkLevel, 100 + (dry ? row.dryOn[blur] : row.dryOff));
                const int width = 10 - TailWidth(row.sizeIndex, Blur(blur));
                EXPECT_EQ(b.layer.pen.Width(), width);
                EXPECT_EQ(b.surface.pen.Width(), width);
            }
}

// Without dry brush the ink cap is tested before the width, so a stroke can stop widening
// below its size: 極太 at 17 (ink 255 cut to 250), 太筆 at 15, 中筆 at 13; medium blur lets
// 極太 reach 25.
TEST(StrokeSteps, SwellingStopsAtTheInkCapOrTheBrushSize) {
    struct Case {
        int sizeIndex;
        Blur blur;
        int width;
        int ink;
    } const cases[] = {
        {0, kNone, 17, 250},   {0, kWeak, 17, 250},   {0, kStrong, 17, 250},
        {1, kMedium, 15, 190}, {2, kMedium, 13, 130}, {0, kMedium, 25, 195},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "size " << c.sizeIndex << " blur " << c.blur);
        Brush b(c.sizeIndex, false, c.blur);
        b.layer.pen.SetWidth(0);
        for (int move = 0; move < 60; ++move) b.Swell();
        EXPECT_EQ(b.layer.pen.Width(), c.width);
        EXPECT_EQ(b.surface.pen.Width(), c.width);
        EXPECT_EQ(b.stroke.InkLevel, c.ink);
    }
}

TEST(StrokeSteps, SwellingAtACapChangesOnlyWhatTheCapSays) {
    Brush atInk(2, false, kNone);
    atInk.layer.pen.SetWidth(4);
    atInk.stroke.InkLevel = 200;
    atInk.Swell();
    EXPECT_EQ(atInk.stroke.InkLevel, 130);
    EXPECT_EQ(atInk.layer.pen.Width(), 4);

    Brush atWidth(2, false, kNone);
    atWidth.layer.pen.SetWidth(20);
    atWidth.surface.pen.SetWidth(3);
    atWidth.stroke.InkLevel = 40;
    atWidth.Swell();
    EXPECT_EQ(atWidth.stroke.InkLevel, 40);
    EXPECT_EQ(atWidth.layer.pen.Width(), 13);
    EXPECT_EQ(atWidth.surface.pen.Width(), 13);
}

// Without dry brush the tail lasts w moves from width w (w / 2 rounded up where it falls by
// two); with dry brush it ends at the move that brings the ink to 0 or below.
TEST(StrokeSteps, TailLengthFollowsWidthOrInk) {
    struct Case {
        int sizeIndex;
        bool dry;
        Blur blur;
        int width;
        int ink;
        int moves;
    } const cases[] = {
        {2, false, kNone, 13, 500, 13}, {0, false, kMedium, 25, 500, 13},
        {1, false, kStrong, 8, 500, 4}, {4, false, kWeak, 1, 0, 1},
        {2, true, kNone, 13, 70, 10},   {0, true, kMedium, 25, 41, 3},
        {2, true, kNone, 0, 1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "size " << c.sizeIndex << " dry " << c.dry);
        Brush b(c.sizeIndex, c.dry, c.blur);
        b.layer.pen.SetWidth(c.width);
        b.stroke.InkLevel = c.ink;
        int moves = 1;
        while (!b.Tail() && moves < 100) ++moves;
        EXPECT_EQ(moves, c.moves);
    }
}
