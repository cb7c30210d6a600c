#include "SeededRandom.h"
#include "SplitMix64.h"

float SeededRandom::next()
{
    const uint64_t bits = splitmix64(state);
    state += splitMixIncrement;
    return unitFloat(bits);
}
