#include "FakeClock.h"

void FakeClock::shortDelay(int milliseconds)
{
    if (milliseconds <= 0)
        return;
    ++waits;
    nowMs += milliseconds;
    if (onWait) {
        // A hook that waits itself must not recurse into itself.
        auto hook = std::move(onWait);
        hook(milliseconds);
        if (!onWait)
            onWait = std::move(hook);
    }
}

void FakeClock::spin(int64_t count)
{
    spun += count;
    nowMs += count * spinNanoseconds / 1e6;
    if (onSpin)
        onSpin();
}
