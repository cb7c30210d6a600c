#pragma once
#include "Clock.h"
#include <QElapsedTimer>

// Waits in a nested event loop ended by a precise single-shot timer: the
// window stays responsive and no core is spun.
class EventLoopClock : public Clock {
public:
    EventLoopClock();
    void shortDelay(int milliseconds) override;
    // Counts; about every 50 ms of counting it lets window-system events
    // through (a close request among them), but no input and no timer tick,
    // so that closing the table need not wait for a card to land.
    void spin(int64_t count) override;
    double elapsedSeconds() const override;
    double workSeconds() const override;

private:
    QElapsedTimer started;
    qint64 nextLookNs = 0;
};
