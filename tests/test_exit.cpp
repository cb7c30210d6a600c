// Exit chosen while the next automatic round is being dealt, with settings
// that cannot be written: the process must end right after the message box,
// every time. The table runs in a child process with real nested waits
// (each cut to a millisecond) and a message box that the player takes a
// moment to acknowledge, so the wait in which Exit was chosen ends inside
// the box, as it does for a real player.
#include "Alert.h"
#include "EventLoopClock.h"
#include "MainWindow.h"
#include "ProgramFolder.h"
#include "StackedDeckSource.h"
#include <QAction>
#include <QApplication>
#include <QMessageBox>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>
#include <cstdio>

namespace {
// Waits in real nested event loops of a millisecond; the time they skip
// counts as passed.
class QuickClock : public EventLoopClock {
public:
    std::function<void()> beforeWait;
    void shortDelay(int milliseconds) override
    {
        if (milliseconds <= 0)
            return;
        if (beforeWait)
            beforeWait();
        EventLoopClock::shortDelay(1);
        skipped += (milliseconds - 1) / 1000.0;
    }
    double elapsedSeconds() const override { return EventLoopClock::elapsedSeconds() + skipped; }

private:
    double skipped = 0.0;
};

int playThenExit(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vantrel"));
    QApplication::setOrganizationName(QStringLiteral("Vantrel"));
    Alert::setHandler([](const QString &text) {
        std::printf("%s\n", qPrintable(text));
        std::fflush(stdout);
        QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Vantrel"), text, QMessageBox::Ok);
        QTimer::singleShot(30, &box, &QDialog::accept);
        box.exec();
    });
    ProgramFolder::setPath(QStringLiteral(VANTREL_DATA_DIR));
    QuickClock clock;
    StackedDeckSource deck;
    deck.stackRanks({10, 10, 7, 9}); // 17 against the dealer's 19
    MainWindow table(clock, deck);
    table.prefs.prfAnimationDelay = 0;
    table.prefs.delayUnmeasured = false;
    if (!table.Form_Load())
        return 2;
    table.welcomeShown = true;
    int deals = 0;
    QString last;
    clock.beforeWait = [&] {
        const QString status = table.statusText();
        if (status == QLatin1String("Dealing..") && last != status && ++deals == 2)
            QTimer::singleShot(0, &table, [&] { table.findChild<QAction *>(QStringLiteral("mnuExit"))->trigger(); });
        last = status;
    };
    QTimer::singleShot(0, &table, [&] {
        table.prefs.prfAutoDeal = true;
        table.picDeal_Click();
        deck.stackRanks({10, 1, 13, 7}); // the next round is a natural: the dealer plays at once
        table.lblStand_Click();
    });
    return app.exec();
}
}

class TestExit : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void endsRightAfterTheSaveErrorEveryTime()
    {
        QTemporaryDir config;
        QDir().mkpath(config.filePath(QStringLiteral("Vantrel/Vantrel.conf"))); // unwritable, even by root
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), config.path());
        for (int run = 0; run < 20; ++run) {
            QProcess table;
            table.setProcessEnvironment(environment);
            table.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--play-then-exit")});
            QVERIFY(table.waitForStarted());
            // Starting may be slow on a busy machine; ending after the box may not.
            QByteArray shown;
            while (!shown.contains("Error  in  Form_Unload (  ") && table.waitForReadyRead(30000))
                shown += table.readAllStandardOutput();
            QVERIFY2(shown.contains("Error  in  Form_Unload (  "), shown.constData());
            // A process left running is killed as `table` goes out of scope.
            QVERIFY2(table.waitForFinished(3000), qPrintable(QStringLiteral("run %1 lived on after Exit").arg(run)));
            QCOMPARE(table.exitCode(), 0);
            shown += table.readAllStandardOutput();
            QCOMPARE(shown.count("Error  in  Form_Unload (  "), 1);
        }
    }
};

int main(int argc, char **argv)
{
    if (argc > 1 && qstrcmp(argv[1], "--play-then-exit") == 0)
        return playThenExit(argc, argv);
    QCoreApplication app(argc, argv);
    TestExit test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_exit.moc"
