#include "brush/pen_pressure.h"

#include <algorithm>

int PenPressure::ScaleOf(int pressure) {
    if (pressure < 0) return kWhole;
    return kLightest + (kWhole - kLightest) * std::min(pressure, kFullPressure) / kFullPressure;
}

void PenPressure::Press(int pressure, bool used) {
    pressure_ = pressure;
    scale_ = used ? ScaleOf(pressure) : kWhole;
}

void PenPressure::Settle(bool used, int breadth) {
    const int target = used ? ScaleOf(pressure_) : kWhole;
    if (scale_ == target) return;
    // A change of kWhole / breadth in the scale moves the breadth by at most one pixel.
    const int step = kWhole / std::max(breadth, 1);
    scale_ = target > scale_ ? std::min(target, scale_ + step) : std::max(target, scale_ - step);
}

int PenPressure::Scaled(int n) const {
    if (scale_ == kWhole || n <= 0) return n;
    return int((static_cast<long long>(n) * scale_ + kWhole - 1) / kWhole);
}
