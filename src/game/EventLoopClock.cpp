#include "EventLoopClock.h"
#include <QEventLoop>
#include <QTimer>

EventLoopClock::EventLoopClock()
{
    started.start();
}

void EventLoopClock::shortDelay(int milliseconds)
{
    if (milliseconds <= 0)
        return;
    QEventLoop loop;
    QTimer::singleShot(milliseconds, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
}

void EventLoopClock::spin(int64_t count)
{
    // volatile keeps the compiler from removing the loop that paces frames.
    for (volatile int64_t i = 1; i <= count; i = i + 1) {
    }
}

double EventLoopClock::elapsedSeconds() const
{
    return started.nsecsElapsed() / 1e9;
}
