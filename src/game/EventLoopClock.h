#pragma once
#include "Clock.h"
#include <QElapsedTimer>

// Waits in a nested event loop ended by a precise single-shot timer: the
// window stays responsive and no core is spun.
class EventLoopClock : public Clock {
public:
    EventLoopClock();
    void shortDelay(int milliseconds) override;
    void spin(int64_t count) override;
    double elapsedSeconds() const override;

private:
    QElapsedTimer started;
};
