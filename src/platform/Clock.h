#pragma once
#include <algorithm>
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
    // Seconds since an arbitrary start.
    virtual double elapsedSeconds() const = 0;
    // Seconds the program itself has run, for measuring how fast frames
    // draw here: time other processes take from the core does not count,
    // so a measurement taken while the machine is busy stays right after.
    virtual double workSeconds() const { return elapsedSeconds(); }

    // Counts like spin(), but in pieces, and stops once the clock has passed
    // `deadline` (in elapsedSeconds()): no stored count can hold the program
    // for longer than its caller allows.
    void spinUntil(int64_t count, double deadline)
    {
        constexpr int64_t piece = 1 << 20; // well under a millisecond
        while (count > 0 && elapsedSeconds() < deadline) {
            const int64_t steps = std::min(count, piece);
            spin(steps);
            count -= steps;
        }
    }
};
