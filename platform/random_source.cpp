#include "platform/random_source.h"

#include <chrono>

std::uint32_t MillisecondsOfDayUtc() {
    using namespace std::chrono;
    const auto now = duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
    return static_cast<std::uint32_t>(now % (24LL * 60 * 60 * 1000));
}

void RandomSource::SeedFromClock() {
    state_ = MillisecondsOfDayUtc();
}

int RandomSource::Random(int n) {
    state_ = state_ * 134775813u + 1u;
    if (n <= 0) return 0;
    return static_cast<int>((std::uint64_t(state_) * std::uint64_t(n)) >> 32);
}
