#pragma once
#include "RandomSource.h"
#include <cstdint>
#include <functional>

// Reseeds from the clock before every draw. A draw counter is mixed into the
// seed, so draws within one clock tick still differ from each other.
class ClockSeededRandom : public RandomSource {
public:
    using ClockReading = std::function<uint64_t()>;
    explicit ClockSeededRandom(ClockReading clock = systemClock);
    float next() override;

    static uint64_t systemClock();

private:
    ClockReading clock;
    uint64_t draws = 0;
};
