#pragma once
// The millisecond clock the idle timer measures its lag with.
#include <cstdint>

// Milliseconds from an arbitrary fixed point; wraps like a 32-bit counter.
std::uint32_t TimeGetTime();
