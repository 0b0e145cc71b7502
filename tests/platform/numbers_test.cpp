// Rounding, channel clamping and the random sequence.
#include <gtest/gtest.h>

#include "platform/random_source.h"
#include "platform/rounding.h"

TEST(Rounding, TiesGoToTheEvenNeighbour) {
    EXPECT_EQ(Round(0.5), 0);
    EXPECT_EQ(Round(1.5), 2);
    EXPECT_EQ(Round(2.5), 2);
    EXPECT_EQ(Round(-0.5), 0);
    EXPECT_EQ(Round(-1.5), -2);
    EXPECT_EQ(Round(2.500001), 3);
    EXPECT_EQ(Round(4.4 / 10 + 0.5), 1);  // a line step of 4 rows
}

TEST(Rounding, TruncGoesTowardZero) {
    EXPECT_EQ(Trunc(2.9), 2);
    EXPECT_EQ(Trunc(-2.9), -2);
    EXPECT_EQ(Trunc(44 / 10.0 * 9), 39);
}

TEST(Rounding, ClampChannelLimitsAndRounds) {
    EXPECT_EQ(ClampChannel(300.0), 255);
    EXPECT_EQ(ClampChannel(255.0), 255);
    EXPECT_EQ(ClampChannel(-3.0), 0);
    EXPECT_EQ(ClampChannel(0.0), 0);
    EXPECT_EQ(ClampChannel(127.5), 128);
    EXPECT_EQ(ClampChannel(126.5), 126);
}

TEST(RandomSource, KnownSeedGivesTheFixedSequence) {
    RandomSource r(0);
    const int expected[] = {0, 3, 86, 20, 27, 67};
    for (int e : expected) EXPECT_EQ(r.Random(100), e);
    EXPECT_EQ(r.State(), 2884733762u);

    RandomSource s(12345);
    const int expected2[] = {385, 289, 79, 553, 633};
    for (int e : expected2) EXPECT_EQ(s.Random(1000), e);
}

TEST(RandomSource, ZeroRangeGivesZeroButStillAdvances) {
    RandomSource r(0);
    EXPECT_EQ(r.Random(0), 0);
    EXPECT_EQ(r.State(), 1u);
    EXPECT_EQ(r.Random(-5), 0);
    EXPECT_EQ(r.State(), 134775814u);
}

TEST(RandomSource, ClockSeedIsWithinOneDay) {
    RandomSource r;
    r.SeedFromClock();
    EXPECT_LT(r.State(), 24u * 60 * 60 * 1000);
}
