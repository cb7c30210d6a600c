#pragma once
#include "Clock.h"
#include <functional>

// Finds the delay (thousands of counting-loop steps after each frame) at
// which a pass of frames first takes a target time: the smallest multiple of
// 10 whose timed pass reaches it. Timing one pass per multiple would take
// hundreds of passes, and two single passes are too noisy to extrapolate
// from; so the drawing and the counting loop are timed apart, as medians of
// several runs, the delay is computed from them, and full passes then check
// it and correct it up or down. Times are the program's own running time, so
// that a busy machine does not leave a wrong delay stored for good.
class AnimationCalibration {
public:
    struct Pass {
        int frames = 0;                     // each frame is followed by delay x 1000 loop steps
        double targetSeconds = 0.0;
        std::function<void(int delay)> run; // draws one whole pass at this delay
    };

    explicit AnimationCalibration(Clock &clock) : clock(clock) {}

    int delayFor(const Pass &pass);
    // Seconds one counting-loop step takes here; measured on first use.
    double secondsPerLoopStep();

    int passesRun = 0; // every pass drawn, to see what the search cost

private:
    double timedPass(const Pass &pass, int delay);

    Clock &clock;
    double loopStepSeconds = 0.0;
};
