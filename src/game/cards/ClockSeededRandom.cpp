#include "ClockSeededRandom.h"
#include "SplitMix64.h"
#include <chrono>

ClockSeededRandom::ClockSeededRandom(ClockReading clockReading) : clock(std::move(clockReading)) {}

uint64_t ClockSeededRandom::systemClock()
{
    return static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
}

float ClockSeededRandom::next()
{
    return unitFloat(splitmix64(clock() ^ splitmix64(++draws)));
}
