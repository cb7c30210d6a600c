#pragma once
#include <cstdint>

// Every wait of the program goes through one clock, so that tests can play
// whole rounds without real waiting.
class Clock {
public:
    virtual ~Clock() = default;
    // Waits while window events keep being processed; 0 or less returns at once.
    virtual void shortDelay(int milliseconds) = 0;
    // The empty counting loop that paces animation frames.
    virtual void spin(int64_t count) = 0;
    // Seconds since an arbitrary start, for measuring how fast frames draw.
    virtual double elapsedSeconds() const = 0;
};
