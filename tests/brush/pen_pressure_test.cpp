// How the brush takes a pen's pressure: a quarter of the line and of the inked bristles at the
// lightest touch, the whole at full pressure, rounded up, and never more than one pixel of
// the brush's breadth of change from one tick to the next.
#include <gtest/gtest.h>

#include <cstdlib>

#include "brush/pen_pressure.h"

TEST(PenPressure, ScaleRunsFromAQuarterToTheWhole) {
    const struct {
        int pressure, scale;
    } cases[] = {{kNoPressure, 1000}, {0, 250}, {1000, 1000}, {500, 625},
                 {200, 400},          {1, 250}, {999, 999},   {5000, 1000}};
    for (const auto& c : cases) EXPECT_EQ(PenPressure::ScaleOf(c.pressure), c.scale) << c.pressure;
}

// What a tick lays down is rounded up: a touching pen never loses a one-pixel line.
TEST(PenPressure, WidthAndBristlesAreScaledAndRoundedUp) {
    PenPressure lightest, half, none;
    lightest.Press(0, true);
    half.Press(500, true);
    none.Press(kNoPressure, true);
    const struct {
        const PenPressure& p;
        int n, laid;
    } cases[] = {
        {lightest, 13, 4}, {lightest, 1, 1}, {lightest, 0, 0}, {lightest, 124, 31},
        {half, 13, 9},     {half, 8, 5},     {half, 124, 78},  {half, 25, 16},
        {none, 13, 13},    {none, 124, 124}, {none, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.p.Scale() << " of " << c.n);
        EXPECT_EQ(c.p.Width(c.n), c.laid);
        EXPECT_EQ(c.p.Bristles(c.n), c.laid);
    }
}

TEST(PenPressure, OptionOffOrNoPressureGivesTheWhole) {
    PenPressure p;
    p.Press(100, false);
    EXPECT_EQ(p.Scale(), 1000);
    p.Feel(0);
    p.Settle(false, 13);
    EXPECT_EQ(p.Scale(), 1000);
    // Switched on in the middle of a stroke, the scale moves over as a pressure change does.
    p.Settle(true, 13);
    EXPECT_EQ(p.Scale(), 1000 - 1000 / 13);
    p.Press(kNoPressure, true);
    EXPECT_EQ(p.Scale(), 1000);
}

// Whatever the pen does, the laid width of a steady breadth moves by one pixel at most from
// one tick to the next.
TEST(PenPressure, LaidWidthNeverJumpsMoreThanOnePixel) {
    std::srand(7);
    for (int breadth = 1; breadth <= 40; ++breadth) {
        PenPressure p;
        p.Press(std::rand() % 1001, true);
        int laid = p.Width(breadth);
        int worst = 0;
        for (int tick = 0; tick < 400; ++tick) {
            // Now and then a wild jump of the pen, else a steady drift.
            if (tick % 37 == 0) p.Feel(std::rand() % 2 ? 0 : 1000);
            if (tick % 37 == 18) p.Feel(std::rand() % 1001);
            p.Settle(true, breadth);
            const int now = p.Width(breadth);
            worst = std::max(worst, std::abs(now - laid));
            laid = now;
        }
        EXPECT_LE(worst, 1) << "breadth " << breadth;
    }
}
