#include "EventLoopClock.h"
#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <ctime>

namespace {
constexpr qint64 lookEveryNs = 50'000'000;
}

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
    const qint64 now = started.nsecsElapsed();
    if (now >= nextLookNs) {
        nextLookNs = now + lookEveryNs;
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents | QEventLoop::X11ExcludeTimers);
    }
}

double EventLoopClock::elapsedSeconds() const
{
    return started.nsecsElapsed() / 1e9;
}

double EventLoopClock::workSeconds() const
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return now.tv_sec + now.tv_nsec / 1e9;
}
