#include "TerminationSignals.h"
#include <QSignalSpy>
#include <QtTest>

class TestTerminationSignals : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void deliveredOnTheEventLoop_data()
    {
        QTest::addColumn<int>("signalNumber");
        QTest::newRow("SIGTERM") << SIGTERM;
        QTest::newRow("SIGINT") << SIGINT;
        QTest::newRow("SIGHUP") << SIGHUP;
    }

    void deliveredOnTheEventLoop()
    {
        QFETCH(int, signalNumber);
        TerminationSignals termination;
        QSignalSpy spy(&termination, &TerminationSignals::received);
        QVERIFY(raise(signalNumber) == 0); // the process would end without the handler
        QVERIFY(spy.isEmpty());            // nothing is emitted inside the signal handler
        QVERIFY(spy.wait(5000));
        QCOMPARE(spy.size(), 1);
        QCOMPARE(spy.at(0).at(0).toInt(), signalNumber);
    }

    void previousHandlersComeBack()
    {
        const auto handlerOf = [](int signalNumber) {
            struct sigaction current = {};
            sigaction(signalNumber, nullptr, &current);
            return current.sa_handler;
        };
        for (const int signalNumber : {SIGTERM, SIGINT, SIGHUP})
            std::signal(signalNumber, SIG_IGN);
        {
            TerminationSignals termination;
            for (const int signalNumber : {SIGTERM, SIGINT, SIGHUP})
                QVERIFY(handlerOf(signalNumber) != SIG_IGN);
        }
        for (const int signalNumber : {SIGTERM, SIGINT, SIGHUP})
            QVERIFY(handlerOf(signalNumber) == SIG_IGN);
    }
};

QTEST_GUILESS_MAIN(TestTerminationSignals)
#include "test_terminationsignals.moc"
