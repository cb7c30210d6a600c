#include "TerminationSignals.h"
#include <QProcess>
#include <QSignalSpy>
#include <QtTest>
#include <unistd.h>

namespace {
const char *childOption = "--child";

// The child: says "ready" once its handlers are in, then the number of
// each signal it receives, and ends at SIGTERM.
int runChild(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    TerminationSignals termination;
    QTextStream out(stdout);
    QObject::connect(&termination, &TerminationSignals::received, &app, [&](int signalNumber) {
        out << signalNumber << Qt::endl;
        if (signalNumber == SIGTERM)
            QCoreApplication::quit();
    });
    out << "ready" << Qt::endl;
    return app.exec();
}

sighandler_t handlerOf(int signalNumber)
{
    struct sigaction current = {};
    sigaction(signalNumber, nullptr, &current);
    return current.sa_handler;
}
}

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
        std::signal(SIGTERM, SIG_DFL);
        std::signal(SIGINT, SIG_IGN);
        std::signal(SIGHUP, SIG_IGN);
        {
            TerminationSignals termination;
            QVERIFY(handlerOf(SIGTERM) != SIG_DFL);
            QVERIFY(handlerOf(SIGTERM) != SIG_IGN);
            QVERIFY(handlerOf(SIGINT) == SIG_IGN);
            QVERIFY(handlerOf(SIGHUP) == SIG_IGN);
        }
        QVERIFY(handlerOf(SIGTERM) == SIG_DFL);
        QVERIFY(handlerOf(SIGINT) == SIG_IGN);
        QVERIFY(handlerOf(SIGHUP) == SIG_IGN);
        std::signal(SIGINT, SIG_DFL);
        std::signal(SIGHUP, SIG_DFL);
    }

    // As `nohup` and a shell's background job start a program: a signal
    // ignored from the start stays ignored. SIGTERM, sent last, ends the
    // child; the kernel drops an ignored signal as it is sent.
    void ignoredSignalStaysIgnored_data()
    {
        QTest::addColumn<int>("ignored"); // 0: none
        QTest::addColumn<int>("sent");
        QTest::addColumn<QByteArrayList>("received");
        QTest::newRow("nohup, hang-up") << int(SIGHUP) << int(SIGHUP) << QByteArrayList{"15"};
        QTest::newRow("background job, Ctrl+C") << int(SIGINT) << int(SIGINT) << QByteArrayList{"15"};
        QTest::newRow("nohup, Ctrl+C") << int(SIGHUP) << int(SIGINT) << QByteArrayList{"15", "2"};
        QTest::newRow("nothing ignored, hang-up") << 0 << int(SIGHUP) << QByteArrayList{"1", "15"};
    }

    void ignoredSignalStaysIgnored()
    {
        QFETCH(int, ignored);
        QFETCH(int, sent);
        QProcess child;
        child.setChildProcessModifier([ignored] {
            for (const int signalNumber : {SIGTERM, SIGINT, SIGHUP})
                std::signal(signalNumber, signalNumber == ignored ? SIG_IGN : SIG_DFL);
        });
        child.start(QCoreApplication::applicationFilePath(), {QString::fromLatin1(childOption)});
        QVERIFY(child.waitForStarted(30000));
        while (!child.canReadLine())
            QVERIFY(child.waitForReadyRead(30000));
        QCOMPARE(child.readLine(), QByteArray("ready\n"));
        for (const int signalNumber : {sent, int(SIGTERM)})
            QCOMPARE(kill(pid_t(child.processId()), signalNumber), 0);
        QVERIFY(child.waitForFinished(30000));
        QCOMPARE(child.exitStatus(), QProcess::NormalExit);
        QCOMPARE(child.exitCode(), 0);
        // In the order the child's threads happened to take them.
        QByteArrayList received = child.readAllStandardOutput().split('\n');
        received.removeAll(QByteArray());
        std::sort(received.begin(), received.end());
        QTEST(received, "received");
    }
};

int main(int argc, char *argv[])
{
    if (argc == 2 && qstrcmp(argv[1], childOption) == 0)
        return runChild(argc, argv);
    QCoreApplication app(argc, argv);
    TestTerminationSignals test;
    return QTest::qExec(&test, argc, argv);
}
#include "test_terminationsignals.moc"
