#pragma once
// The brush as a cloud of up to 200 bristles, each a fixed pixel offset from the brush point.
// Bristles are used in table order and the spread of an offset grows with its index, so more
// ink gives a wider, fuller stroke and little ink a thin, broken one.
#include <array>

#include "platform/random_source.h"

struct BristleSet {
    static constexpr int kCount = 200;

    std::array<int, kCount> BristleX{};
    std::array<int, kCount> BristleY{};

    // Draws the offsets of bristles bristleCursor to 199, x before y, two draws each: offset
    // i is a random integer from 0 to Round(i / 5) - 1, less Round(i / 10). bristleCursor
    // counts along and ends at 200.
    void Regenerate(RandomSource& random, int& bristleCursor);
};
