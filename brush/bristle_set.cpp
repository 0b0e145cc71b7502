#include "brush/bristle_set.h"

#include "platform/rounding.h"

void BristleSet::Regenerate(RandomSource& random, int& bristleCursor) {
    if (bristleCursor < 0) bristleCursor = 0;
    for (; bristleCursor < kCount; ++bristleCursor) {
        const int i = bristleCursor;
        const int spread = static_cast<int>(Round(i / 5.0));
        const int shift = static_cast<int>(Round(i / 10.0));
        BristleX[i] = random.Random(spread) - shift;
        BristleY[i] = random.Random(spread) - shift;
    }
}
