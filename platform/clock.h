#pragma once
// The millisecond clock the idle timer measures its lag with.
#include <cstdint>

// Milliseconds from an arbitrary fixed point; wraps like a 32-bit counter.
std::uint32_t TimeGetTime();

// Puts a clock of the caller's in place of the platform's, so that what is timed runs alike on
// any machine, however loaded; null puts the platform's clock back. For tests.
void OverrideTimeGetTime(std::uint32_t (*clock)());
