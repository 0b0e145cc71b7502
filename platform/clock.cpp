#include "platform/clock.h"

#include <chrono>

namespace {

std::uint32_t (*overridden)() = nullptr;

}  // namespace

std::uint32_t TimeGetTime() {
    if (overridden) return overridden();
    using namespace std::chrono;
    const auto ms = duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
    return static_cast<std::uint32_t>(ms);
}

void OverrideTimeGetTime(std::uint32_t (*clock)()) {
    overridden = clock;
}
