// Memory over a scripted session: plays rounds with every wait skipped and
// prints the resident and peak memory at round 10 and at the last round.
// Run offscreen: QT_QPA_PLATFORM=offscreen bench_memory [rounds]
#include "ClockSeededRandom.h"
#include "MainWindow.h"
#include "ProgramFolder.h"
#include "ShuffledDeckSource.h"
#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>

namespace {
// Waits take no time, so a long session runs in seconds.
struct InstantClock : Clock {
    void shortDelay(int) override {}
    void spin(int64_t) override {}
    double elapsedSeconds() const override { return 0.0; }
};

QByteArray memoryLine(const char *key)
{
    QFile status(QStringLiteral("/proc/self/status"));
    status.open(QIODevice::ReadOnly);
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(key))
            return line.simplified();
    }
    return "?";
}
}

int main(int argc, char *argv[])
{
    QTemporaryDir settings;
    qputenv("XDG_CONFIG_HOME", settings.path().toLocal8Bit());
    qputenv("XDG_DATA_HOME", settings.path().toLocal8Bit()); // and a record of its own
    QApplication app(argc, argv);
    const int rounds = argc > 1 ? std::atoi(argv[1]) : 200;
    ProgramFolder::setPath(QStringLiteral(VANTREL_DATA_DIR));
    InstantClock clock;
    ClockSeededRandom random;
    ShuffledDeckSource deck(random);
    MainWindow table(clock, deck);
    table.prefs.prfAnimationDelay = 0;
    table.prefs.delayUnmeasured = false;
    if (!table.Form_Load())
        return 1;
    table.prefs.prfAutoDeal = false;
    table.prefs.prfAlwaysShowBestPlay = qEnvironmentVariableIsEmpty("VANTREL_NO_ODDS");
    for (int round = 1; round <= rounds; ++round) {
        table.picDeal_Click();
        if (table.canSplit)
            table.lblSplit_Click();
        while (!table.roundOver)
            table.playerTotal < 17 ? table.lblHit_Click() : table.lblStand_Click();
        table.Timer2_Timer();
        if (round == 10 || round == rounds)
            std::printf("round %d: %s, %s\n", round, memoryLine("VmRSS").constData(),
                        memoryLine("VmHWM").constData());
    }
    table.close();
    return 0;
}
