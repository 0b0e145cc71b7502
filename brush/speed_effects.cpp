#include "brush/speed_effects.h"

#include <algorithm>

namespace {

constexpr int kFastSpeedSquared = 20;

struct Rgb {
    int c[3];  // red, green, blue
};

Rgb Channels(TColor colour) {
    return {{RedOf(colour), GreenOf(colour), BlueOf(colour)}};
}

// Whether channel i's base value is the lowest of the three, ties between two allowed.
bool LowestBase(const Rgb& base, int i) {
    const int a = base.c[i];
    const int b = base.c[(i + 1) % 3];
    const int c = base.c[(i + 2) % 3];
    return (a < b && a < c) || (a == b && a < c) || (a == c && a < b);
}

// One step back toward the base. Which channels may come down depends on which differences
// from the base agree; every decision is taken on the values at the start of the step.
void ReturnStep(Rgb& pen, const Rgb& base) {
    const int dR = base.c[0] - pen.c[0];
    const int dG = base.c[1] - pen.c[1];
    const int dB = base.c[2] - pen.c[2];
    bool moves[3];
    if (dG == dR && dR == dB) {
        moves[0] = moves[1] = moves[2] = true;
    } else if (dG == dR) {
        moves[0] = moves[1] = true, moves[2] = false;
    } else if (dB == dR) {
        moves[0] = moves[2] = true, moves[1] = false;
    } else if (dB == dG) {
        moves[1] = moves[2] = true, moves[0] = false;
    } else {
        for (int i = 0; i < 3; ++i) moves[i] = LowestBase(base, i);
    }
    for (int i = 0; i < 3; ++i)
        if (moves[i] && pen.c[i] > base.c[i]) --pen.c[i];
}

}  // namespace

TColor DensityBySpeed(TColor pen, TColor base, int speedSquared) {
    Rgb colour = Channels(pen);
    if (speedSquared >= kFastSpeedSquared) {
        // One step per repetition up to 255 is the same as adding the count and stopping
        // there; a long jump of the pointer costs no long loop.
        const int steps = speedSquared / 10 + 1;
        for (int& c : colour.c) c = std::min(255, c + std::min(steps, 255));
    } else {
        const Rgb target = Channels(base);
        for (int n = speedSquared + 7; n > 0; --n) ReturnStep(colour, target);
    }
    return RgbColour(colour.c[0], colour.c[1], colour.c[2]);
}
