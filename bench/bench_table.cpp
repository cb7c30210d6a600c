// Table figures: time from the window's creation to the table shown, the
// cost of one 400-pixel card flight, the CPU a 2-second wait uses, the time
// to change to a casino table (its chart derived, or read back), and a
// round's deal and stand at the program's table and at a casino table.
// Run offscreen: QT_QPA_PLATFORM=offscreen bench_table
#include "DeckSource.h"
#include "EventLoopClock.h"
#include "MainWindow.h"
#include "ProgramFolder.h"
#include "RulesText.h"
#include "ShoeSource.h"
#include "TableSurface.h"
#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <cstdio>
#include <ctime>

namespace {
double cpuSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return now.tv_sec + now.tv_nsec / 1e9;
}

struct OrderedDeck : DeckSource {
    void build(std::array<Card, 52> &deck) override
    {
        for (int i = 0; i < 52; ++i)
            deck[i] = Card::fromIndex(i);
    }
};

// Leaves a casino shoe in the order it was filled: kings come first.
struct OrderedShoe : ShoeSource {
    void order(std::vector<Card> &) override {}
};

// One round dealt and stood, without card flights: the waits that pace it.
double roundMilliseconds(MainWindow &table)
{
    QElapsedTimer wall;
    wall.start();
    table.picDeal_Click();
    table.lblStand_Click();
    return wall.nsecsElapsed() / 1e6;
}
}

int main(int argc, char *argv[])
{
    QElapsedTimer sinceStart;
    sinceStart.start();
    QTemporaryDir settings;
    qputenv("XDG_CONFIG_HOME", settings.path().toLocal8Bit());
    qputenv("XDG_DATA_HOME", settings.path().toLocal8Bit()); // and a record of its own
    QApplication app(argc, argv);
    ProgramFolder::setPath(QStringLiteral(VANTREL_DATA_DIR));
    EventLoopClock clock;
    OrderedDeck deck;

    QElapsedTimer sinceCreation;
    sinceCreation.start();
    MainWindow table(clock, deck);
    table.prefs.prfAnimationDelay = 0;
    table.prefs.delayUnmeasured = false;
    table.prefs.prfAutoDeal = false; // measure the table, not the first deal
    if (!table.Form_Load())
        return 1;
    QCoreApplication::processEvents();
    std::printf("table shown: %.1f ms after the window's creation, %.1f ms after process start\n",
                sinceCreation.nsecsElapsed() / 1e6, sinceStart.nsecsElapsed() / 1e6);

    table.prefs.prfAnimation = true;
    const int flights = 20;
    table.table->screenPixelsPainted = 0;
    const double flightStart = cpuSeconds();
    for (int i = 0; i < flights; ++i)
        table.AnimateCard(100, 100, 500, 100, 1, 65, 1);
    const double perFlight = (cpuSeconds() - flightStart) / flights;
    std::printf("400-pixel flight, delay 0: %.2f ms CPU, %.4f ms per frame, %lld pixels painted per frame\n",
                perFlight * 1e3, perFlight * 1e3 / 400,
                static_cast<long long>(table.table->screenPixelsPainted / (flights * 401)));

    const double waitStart = cpuSeconds();
    QElapsedTimer wall;
    wall.start();
    clock.shortDelay(2000);
    const double waitCpu = cpuSeconds() - waitStart;
    std::printf("shortDelay(2000): %.1f ms wall, %.2f ms CPU (%.3f %% of a core)\n", wall.nsecsElapsed() / 1e6,
                waitCpu * 1e3, 100.0 * waitCpu / (wall.nsecsElapsed() / 1e9));

    table.prefs.prfAnimation = false;
    table.welcomeShown = true;
    std::printf("a round dealt and stood at the program's table: %.0f ms wall\n", roundMilliseconds(table));
    OrderedShoe shoe;
    table.casino.useShoeSource(shoe);
    // Each table new (its chart derived), then the first one again (read back).
    for (const char *rules : {"decks=6,soft17=stand,das=yes,surrender=late", "decks=2,soft17=hit", "decks=8,soft17=stand",
                              "decks=6,soft17=stand,das=yes,surrender=late"}) {
        QElapsedTimer change;
        change.start();
        const double changeCpu = cpuSeconds();
        table.casino.sitAt(*RulesText::parse(rules));
        std::printf("sitting at %s: %.0f ms wall, %.0f ms CPU\n", rules, change.nsecsElapsed() / 1e6,
                    (cpuSeconds() - changeCpu) * 1e3);
    }
    std::printf("a round dealt and stood at that casino table: %.0f ms wall\n", roundMilliseconds(table));
    return 0;
}
