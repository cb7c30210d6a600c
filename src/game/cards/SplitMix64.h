#pragma once
#include <cstdint>

// The SplitMix64 step: the state advances by this constant, and each state
// is mixed into a well-spread 64-bit output.
constexpr uint64_t splitMixIncrement = 0x9E3779B97F4A7C15ull;

inline uint64_t splitmix64(uint64_t x)
{
    x += splitMixIncrement;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
    return x ^ (x >> 31);
}

// A float in [0, 1) from the top 24 bits, every representable step of that range.
inline float unitFloat(uint64_t bits)
{
    return static_cast<float>(bits >> 40) / 16777216.0f;
}
