#pragma once

// A uniform number in [0, 1), freshly seeded from the clock for every draw.
class RandomSource {
public:
    virtual ~RandomSource() = default;
    virtual float next() = 0;
};
