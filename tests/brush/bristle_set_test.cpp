// The bristle cloud: offsets whose spread grows with the index, drawn two at a time from the
// program's random source.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>

#include "brush/bristle_set.h"

namespace {

// The generator's rule: s := s * 134775813 + 1 (mod 2^32).
std::uint32_t Advance(std::uint32_t s, int times) {
    for (int i = 0; i < times; ++i) s = s * 134775813u + 1u;
    return s;
}

BristleSet Drawn(std::uint32_t seed) {
    RandomSource random(seed);
    BristleSet set;
    int cursor = 0;
    set.Regenerate(random, cursor);
    return set;
}

}  // namespace

TEST(BristleSet, EachIndexSpansItsRange) {
    // Offset i is 0 .. Round(i / 5) - 1 less Round(i / 10), ties to even (25 and 35).
    struct Row {
        int first, last, low, high;
    };
    const Row rows[] = {{0, 5, 0, 0},       {6, 7, -1, -1},  {8, 12, -1, 0},  {13, 14, -1, 1},
                        {15, 17, -2, 0},    {20, 20, -2, 1}, {25, 25, -2, 2}, {35, 35, -4, 2},
                        {39, 39, -4, 3},    {64, 64, -6, 6}, {94, 94, -9, 9}, {124, 124, -12, 12},
                        {199, 199, -20, 19}};
    int low[BristleSet::kCount], high[BristleSet::kCount];
    std::fill(std::begin(low), std::end(low), 1000);
    std::fill(std::begin(high), std::end(high), -1000);
    for (std::uint32_t seed = 0; seed < 300; ++seed) {
        const BristleSet set = Drawn(seed * 7919u + 12345u);
        for (int i = 0; i < BristleSet::kCount; ++i) {
            low[i] = std::min({low[i], set.BristleX[i], set.BristleY[i]});
            high[i] = std::max({high[i], set.BristleX[i], set.BristleY[i]});
        }
    }
    for (const Row& row : rows)
        for (int i = row.first; i <= row.last; ++i) {
            EXPECT_EQ(low[i], row.low) << "bristle " << i;
            EXPECT_EQ(high[i], row.high) << "bristle " << i;
        }
    EXPECT_EQ(*std::min_element(std::begin(low), std::end(low)), -20);
    EXPECT_EQ(*std::max_element(std::begin(high), std::end(high)), 19);
}

TEST(BristleSet, RegenerationTakesTwoDrawsPerBristleFromTheCursor) {
    const std::uint32_t seed = 4242;
    RandomSource random(seed);
    BristleSet set;
    int cursor = 0;
    set.Regenerate(random, cursor);
    EXPECT_EQ(cursor, 200);
    EXPECT_EQ(random.State(), Advance(seed, 400));

    // Bristle 199 takes draws 399 (x) and 400 (y): the upper half of s * 40, less 20.
    const auto draw = [](std::uint32_t s) { return int((std::uint64_t(s) * 40u) >> 32) - 20; };
    EXPECT_EQ(set.BristleX[199], draw(Advance(seed, 399)));
    EXPECT_EQ(set.BristleY[199], draw(Advance(seed, 400)));

    // The next regeneration goes on from there and gives another cloud.
    const BristleSet before = set;
    cursor = 0;
    set.Regenerate(random, cursor);
    EXPECT_NE(set.BristleX, before.BristleX);

    // Only the bristles from the cursor on are drawn.
    const std::uint32_t state = random.State();
    cursor = 150;
    set.Regenerate(random, cursor);
    EXPECT_EQ(random.State(), Advance(state, 100));
}
