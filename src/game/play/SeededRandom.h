#pragma once
#include "RandomSource.h"
#include <cstdint>

// A fast generator (SplitMix64) that repeats its sequence for a seed: for
// simulations that must be run again on the same cards.
class SeededRandom : public RandomSource {
public:
    explicit SeededRandom(uint64_t seed) : state(seed) {}
    float next() override;

private:
    uint64_t state;
};
