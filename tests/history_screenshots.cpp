// Pictures of the record: the statistics window after scripted sessions with
// mistakes, and the table in drill mode. history_screenshots <output folder>.
// Under a real display (Xvfb) it also saves the whole screen.
#include "MistakeMap.h"
#include "TableFixture.h"
#include <QApplication>
#include <QRandomGenerator>
#include <QScreen>
#include <QThread>
#include <QtTest>

namespace {
void settle(int milliseconds)
{
    for (int i = 0; i < milliseconds / 20; ++i) {
        QCoreApplication::processEvents();
        QThread::msleep(20);
    }
}

// Plays rounds dealt from random cards, choosing a wrong action with the
// given chance and the tutor's otherwise.
void playSession(TableFixture &fixture, QRandomGenerator &random, int rounds, double wrongChance)
{
    MainWindow &table = fixture.table();
    for (int round = 0; round < rounds; ++round) {
        table.roundOver = true;
        fixture.stacked.stackRanks({random.bounded(1, 14), random.bounded(1, 14), random.bounded(1, 14)});
        table.picDeal_Click();
        while (!table.roundOver) {
            QString action = table.theBestPlay;
            if (random.generateDouble() < wrongChance)
                action = QStringLiteral("hsd").at(random.bounded(3));
            if (action == QLatin1String("p") && table.canSplit)
                table.lblSplit_Click();
            else if (action == QLatin1String("d") && table.canDouble)
                table.lblDouble_Click();
            else if (action == QLatin1String("s"))
                table.lblStand_Click();
            else
                table.lblHit_Click();
        }
    }
}
}

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QTemporaryDir record;
    qputenv("XDG_DATA_HOME", record.path().toLocal8Bit());
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    const bool realDisplay = QGuiApplication::platformName() != QLatin1String("offscreen");
    QRandomGenerator random(2026);

    // Sessions that grow more accurate.
    for (double wrongChance : {0.45, 0.35, 0.3, 0.22, 0.15, 0.1}) {
        TableFixture fixture;
        if (!fixture.open())
            return 1;
        playSession(fixture, random, 60, wrongChance);
    }

    TableFixture fixture;
    if (!fixture.open())
        return 1;
    MainWindow &table = fixture.table();
    playSession(fixture, random, 40, 0.25);
    table.training.showStatistics();
    StatisticsWindow *statistics = table.training.statisticsWindow();
    statistics->move(40, 20);
    statistics->adjustSize();
    const auto costliest = statistics->statistics().costliest(1);
    if (!costliest.empty())
        QTest::mouseClick(statistics->map(), Qt::LeftButton, {}, statistics->map()->cellRect(costliest[0]).center());
    settle(realDisplay ? 1500 : 0);
    statistics->grab().save(folder + QStringLiteral("/statistics.png"));
    if (realDisplay)
        QGuiApplication::primaryScreen()->grabWindow(0).save(folder + QStringLiteral("/statistics-screen.png"));
    statistics->close();

    table.training.setDrill(true);
    table.roundOver = true;
    table.picDeal_Click();
    settle(realDisplay ? 1500 : 0);
    table.grab().save(folder + QStringLiteral("/drill.png"));
    if (realDisplay)
        QGuiApplication::primaryScreen()->grabWindow(0).save(folder + QStringLiteral("/drill-screen.png"));
    return 0;
}
