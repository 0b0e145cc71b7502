#pragma once
// The program's one pseudo-random generator: a 32-bit linear congruential sequence.
#include <cstdint>

class RandomSource {
  public:
    explicit RandomSource(std::uint32_t seed = 0) : state_(seed) {}

    void Seed(std::uint32_t seed) { state_ = seed; }
    // Seeds from the time of day in UTC, in milliseconds since midnight.
    void SeedFromClock();
    std::uint32_t State() const { return state_; }

    // A uniform integer from 0 to n - 1 (0 for n <= 0); always advances the state.
    int Random(int n);

  private:
    std::uint32_t state_;
};

// Milliseconds since midnight UTC, the seed the program starts from.
std::uint32_t MillisecondsOfDayUtc();
