// Density by speed: a fast hand lightens the pen, a slow one brings it back to its base.
#include <gtest/gtest.h>

#include "brush/speed_effects.h"

namespace {

struct Case {
    const char* rule;
    TColor pen, base;
    int speedSquared;
    TColor expected;
};

}  // namespace

TEST(DensityBySpeed, FollowsTheSpeedRules) {
    const TColor black = clBlack;
    const Case cases[] = {
        {"fast: Trunc(20 / 10) + 1 = 3 steps up", RgbColour(10, 20, 30), black, 20,
         RgbColour(13, 23, 33)},
        {"fast: 29 still 3 steps", RgbColour(10, 20, 30), black, 29, RgbColour(13, 23, 33)},
        {"lightening stops at 255", RgbColour(250, 255, 0), black, 100, RgbColour(255, 255, 11)},
        {"white stays white", clWhite, black, 20, clWhite},
        {"slow: 19 + 7 = 26 return steps", RgbColour(100, 100, 100), black, 19,
         RgbColour(74, 74, 74)},
        {"at rest: 7 return steps", RgbColour(100, 100, 100), black, 0, RgbColour(93, 93, 93)},
        {"a pen at its base stays", RgbColour(50, 60, 70), RgbColour(50, 60, 70), 0,
         RgbColour(50, 60, 70)},
        {"a channel below its base is never raised", RgbColour(50, 50, 50),
         RgbColour(100, 100, 100), 0, RgbColour(50, 50, 50)},
        // The case is chosen anew at every step: (10, 10, 5) would reach (5, 5, 5) and then
        // move all three.
        {"red and green agree: blue stays", RgbColour(20, 20, 5), black, 0, RgbColour(13, 13, 5)},
        {"red and blue agree: green stays", RgbColour(20, 5, 20), black, 0, RgbColour(13, 5, 13)},
        {"green and blue agree: red stays", RgbColour(5, 20, 20), black, 0, RgbColour(5, 13, 13)},
        {"all differ: the lowest base channel moves", RgbColour(40, 40, 40), RgbColour(10, 20, 30),
         0, RgbColour(33, 40, 40)},
        {"all differ, two lowest bases tie: both move", RgbColour(40, 30, 35),
         RgbColour(10, 10, 30), 0, RgbColour(33, 23, 35)},
        {"all differ, lowest already at base: stays above for good", RgbColour(0, 150, 210),
         RgbColour(0, 100, 200), 0, RgbColour(0, 150, 210)},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DensityBySpeed(c.pen, c.base, c.speedSquared), c.expected) << c.rule;
}
