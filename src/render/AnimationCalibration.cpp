#include "AnimationCalibration.h"
#include <algorithm>
#include <array>
#include <cmath>

namespace {
// Enough runs that one run slowed by another process does not move the median.
constexpr int drawingRuns = 5;
constexpr int loopRuns = 7;
constexpr int64_t loopStepsPerRun = 2'000'000; // about a millisecond
// Full passes allowed for correcting once the target has been reached: each
// costs the target time itself. Past them, the search only goes on while the
// last pass fell short.
constexpr int checkingPasses = 3;
// A pass that overshoots the target by less than this is kept: one pass
// varies by more than that between runs, so another would not do better.
constexpr double closeEnough = 0.05;

template <std::size_t n, typename Run>
double medianOf(Run run)
{
    std::array<double, n> seconds{};
    for (double &each : seconds)
        each = run();
    std::nth_element(seconds.begin(), seconds.begin() + n / 2, seconds.end());
    return seconds[n / 2];
}

int multipleOfTenFrom(double delay)
{
    return delay <= 0.0 ? 0 : static_cast<int>(std::ceil(delay / 10.0)) * 10;
}
}

double AnimationCalibration::secondsPerLoopStep()
{
    if (loopStepSeconds <= 0.0) {
        loopStepSeconds = medianOf<loopRuns>([this] {
            const double started = clock.workSeconds();
            clock.spin(loopStepsPerRun);
            return clock.workSeconds() - started;
        }) / loopStepsPerRun;
    }
    return loopStepSeconds;
}

double AnimationCalibration::timedPass(const Pass &pass, int delay)
{
    ++passesRun;
    const double started = clock.workSeconds();
    pass.run(delay);
    return clock.workSeconds() - started;
}

int AnimationCalibration::delayFor(const Pass &pass)
{
    const double target = pass.targetSeconds;
    const double drawing = medianOf<drawingRuns>([&] { return timedPass(pass, 0); });
    // What one unit of delay adds to a pass; each full pass then tells it
    // again, as the loop can run slower between frames than on its own.
    double unitSeconds = pass.frames * 1000.0 * secondsPerLoopStep();
    auto smallestReaching = [&](double fromDelay, double missingSeconds) {
        if (unitSeconds <= 0.0)
            return static_cast<int>(fromDelay) + (missingSeconds > 0.0 ? 10 : 0);
        return multipleOfTenFrom(fromDelay + missingSeconds / unitSeconds);
    };

    int delay = smallestReaching(0.0, target - drawing);
    int reached = -1; // smallest delay whose pass reached the target
    int shortOf = -10; // largest delay that fell, or is reckoned to fall, short
    for (int checks = 0;; ++checks) {
        const double seconds = timedPass(pass, delay);
        if (delay > 0 && seconds > drawing)
            unitSeconds = (seconds - drawing) / delay;
        const bool reaches = seconds >= target;
        if (reaches) {
            reached = delay;
            if (seconds - 10 * unitSeconds < target || seconds < target * (1 + closeEnough))
                shortOf = std::max(shortOf, delay - 10);
        } else {
            shortOf = std::max(shortOf, delay);
        }
        if (reached >= 0 && (reached - shortOf <= 10 || (reaches && checks + 1 >= checkingPasses)))
            return reached;
        int next = std::max(smallestReaching(delay, target - seconds), shortOf + 10);
        if (reached >= 0)
            next = std::min(next, reached - 10);
        delay = next;
    }
}
