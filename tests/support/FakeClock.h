#pragma once
#include "Clock.h"
#include <QStringList>
#include <functional>

// A clock whose waits take no real time. Each wait advances the virtual time
// and runs the hook (a test fires clicks and timer ticks from it), so the
// re-entry that real waits allow can be reproduced deterministically.
class FakeClock : public Clock {
public:
    void shortDelay(int milliseconds) override;
    void spin(int64_t count) override;
    double elapsedSeconds() const override { return nowMs / 1000.0; }

    std::function<void(int milliseconds)> onWait;
    std::function<void()> onSpin; // runs after each count, as if events came in
    double nowMs = 0;
    static constexpr double spinNanoseconds = 1.0; // one counted loop step
    int waits = 0;
    int64_t spun = 0;
};
