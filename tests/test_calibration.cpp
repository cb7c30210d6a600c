// The animation delay search on a scripted clock: drawing and loop costs
// with noise, and a counting loop that runs at another speed between frames
// than on its own.
#include "AnimationCalibration.h"
#include <QtTest>
#include <deque>

namespace {
// Each timed piece of work costs its exact price plus the next scripted
// noise (a process that took the core for a while).
struct ScriptedClock : Clock {
    double now = 0.0;
    double stepSeconds = 1e-9;
    std::deque<double> spinNoise;
    void shortDelay(int milliseconds) override { now += milliseconds / 1000.0; }
    void spin(int64_t count) override { now += count * stepSeconds + next(spinNoise); }
    double elapsedSeconds() const override { return now; }
    static double next(std::deque<double> &noise)
    {
        if (noise.empty())
            return 0.0;
        const double value = noise.front();
        noise.pop_front();
        return value;
    }
};
}

class TestCalibration : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void endsAtTheSmallestMultipleReachingTheTarget_data()
    {
        QTest::addColumn<int>("frames");
        QTest::addColumn<double>("target");
        QTest::addColumn<double>("drawing");
        QTest::addColumn<double>("stepInPass"); // a loop step between frames; 1 ns on its own
        QTest::addColumn<QList<double>>("passNoise");
        QTest::addColumn<QList<double>>("spinNoise");
        QTest::addColumn<int>("expected");
        QTest::addColumn<int>("passes"); // five drawing runs, then the checks
        const QList<double> none;
        // 0.0123 + 150,000 x d x 1 ns reaches 0.2 s at 1251.3.
        QTest::newRow("clean") << 150 << 0.2 << 0.0123 << 1e-9 << none << none << 1260 << 6;
        QTest::newRow("slow drawing and loop runs") << 150 << 0.2 << 0.0123 << 1e-9
                                                    << QList<double>{0.3, 0, 0, 0.05} << QList<double>{0.01, 0, 0.02}
                                                    << 1260 << 6;
        // A cold first pass makes the second faster than the first.
        QTest::newRow("second pass faster") << 150 << 0.2 << 0.0123 << 1e-9 << QList<double>{0.05} << none << 1260 << 6;
        QTest::newRow("first check slowed") << 150 << 0.2 << 0.0123 << 1e-9 << QList<double>{0, 0, 0, 0, 0, 0.04}
                                            << none << 1260 << 8;
        // The loop is slower between frames: the estimate overshoots (962.6)...
        QTest::newRow("corrected down") << 150 << 0.2 << 0.0123 << 1.3e-9 << none << none << 970 << 7;
        // ...but by less than 5 % it is kept (1203.2 would do).
        QTest::newRow("close enough") << 150 << 0.2 << 0.0123 << 1.04e-9 << none << none << 1260 << 6;
        QTest::newRow("not close enough") << 150 << 0.2 << 0.0123 << 1.06e-9 << none << none << 1190 << 7;
        // A loaded machine: the loop runs at a third of its speed in passes,
        // and the two checks after the first fall short; the search goes on
        // from there rather than keep the first, far too slow, delay.
        QTest::newRow("short after three") << 150 << 0.2 << 0.0123 << 3e-9
                                           << QList<double>{0, 0, 0, 0, 0, 0, -0.01, -0.02} << none << 470 << 9;
        // ...or faster: it falls short (1787.6).
        QTest::newRow("corrected up") << 150 << 0.2 << 0.0123 << 0.7e-9 << none << none << 1790 << 7;
        QTest::newRow("drawing alone is slow enough") << 150 << 0.2 << 0.25 << 1e-9 << none << none << 0 << 6;
        // The banner: 0.0301 + 61,000 x d x 1 ns reaches 0.3 s at 4424.6.
        QTest::newRow("banner") << 61 << 0.3 << 0.0301 << 1e-9 << QList<double>{0, 0.2} << none << 4430 << 6;
        // Each check slowed by 0.1 s: 1260, 820 and 700 all reach the target
        // far above it, and the third check ends the search where 590 would do.
        QTest::newRow("capped") << 150 << 0.2 << 0.0123 << 1e-9 << QList<double>{0, 0, 0, 0, 0, 0.1, 0.1, 0.1, 0.1}
                                << none << 700 << 8;
    }
    void endsAtTheSmallestMultipleReachingTheTarget()
    {
        QFETCH(int, frames);
        QFETCH(double, target);
        QFETCH(double, drawing);
        QFETCH(double, stepInPass);
        QFETCH(QList<double>, passNoise);
        QFETCH(QList<double>, spinNoise);
        QFETCH(int, expected);
        QFETCH(int, passes);
        ScriptedClock clock;
        clock.spinNoise.assign(spinNoise.begin(), spinNoise.end());
        std::deque<double> noise(passNoise.begin(), passNoise.end());
        AnimationCalibration calibration(clock);
        const int delay = calibration.delayFor({frames, target, [&](int d) {
            clock.now += drawing + frames * 1000.0 * d * stepInPass + ScriptedClock::next(noise);
        }});
        QCOMPARE(delay, expected);
        QCOMPARE(calibration.passesRun, passes);
    }
};

QTEST_GUILESS_MAIN(TestCalibration)
#include "test_calibration.moc"
