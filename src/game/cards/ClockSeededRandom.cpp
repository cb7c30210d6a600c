#include "ClockSeededRandom.h"
#include <chrono>

namespace {
uint64_t splitmix64(uint64_t x)
{
    x += 0x9E3779B97F4A7C15ull;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
    return x ^ (x >> 31);
}
}

ClockSeededRandom::ClockSeededRandom(ClockReading clockReading) : clock(std::move(clockReading)) {}

uint64_t ClockSeededRandom::systemClock()
{
    return static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
}

float ClockSeededRandom::next()
{
    const uint64_t seed = splitmix64(clock() ^ splitmix64(++draws));
    // 24 random bits give every representable float step in [0, 1).
    return static_cast<float>(seed >> 40) / 16777216.0f;
}
