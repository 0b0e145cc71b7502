#pragma once
// The rounding rules every pixel formula names.
#include <cmath>

// Round to nearest, ties to the even neighbour: Round(0.5) = 0, Round(1.5) = 2, Round(2.5) = 2.
inline long long Round(double v) {
    return static_cast<long long>(std::nearbyint(v));
}

// Round toward zero.
inline long long Trunc(double v) {
    return static_cast<long long>(std::trunc(v));
}

// Real number to a colour channel: 255 at or above 255, 0 at or below 0, otherwise Round.
inline int ClampChannel(double v) {
    if (v >= 255.0) return 255;
    if (v <= 0.0) return 0;
    return static_cast<int>(Round(v));
}
