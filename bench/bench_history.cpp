// Record figures: the cost of one decision (its exact values and its share of
// the round's write), the quick check that opens a record of 100,000
// decisions, and the statistics window opening on 1,000,000.
// Run offscreen: QT_QPA_PLATFORM=offscreen bench_history
#include "ClockSeededRandom.h"
#include "ShuffledDeckSource.h"
#include "StatisticsWindow.h"
#include "TrainingSession.h"
#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <ctime>

namespace {
// A fresh deal: the up-card and the player's two cards off a shuffled deck.
DecisionValues::Decision randomDecision(DeckSource &source)
{
    std::array<Card, 52> deck{};
    source.build(deck);
    DecisionValues::Decision decision;
    decision.situation.upCard = deck[51];
    Hand hand;
    hand.add(deck[50]);
    hand.add(deck[49]);
    decision.situation.playerHand = hand;
    decision.action = "hsd"[deck[0].cardIndex % 3];
    decision.advice = 'h';
    decision.canDouble = true;
    decision.canSplit = deck[50].rank == deck[49].rank;
    return decision;
}

void report(const char *what, std::vector<double> ms)
{
    std::sort(ms.begin(), ms.end());
    double total = 0.0;
    for (double each : ms)
        total += each;
    std::printf("%s: mean %.3f ms, median %.3f ms, 99th %.3f ms, worst %.3f ms over %zu\n", what,
                total / ms.size(), ms[ms.size() / 2], ms[ms.size() * 99 / 100], ms.back(), ms.size());
}
}

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QTemporaryDir folder;
    ClockSeededRandom random;
    ShuffledDeckSource shuffled(random);

    {
        TrainingSession session(random, folder.filePath(QStringLiteral("decisions.sqlite")));
        LiveOdds odds;
        const int rounds = 2000;
        std::vector<double> decide, write;
        for (int round = 0; round < rounds; ++round) {
            DecisionValues::Decision decision = randomDecision(shuffled);
            QElapsedTimer timer;
            timer.start();
            decision.odds = odds.compute(decision.situation); // the table works these out for its odds line too
            session.decide(decision);
            decide.push_back(timer.nsecsElapsed() / 1e6);
            timer.restart();
            session.handSettled(-25, 975, true);
            write.push_back(timer.nsecsElapsed() / 1e6);
        }
        report("decision (exact values and record)", decide);
        report("round write, one transaction", write);
        std::printf("%d rounds written\n", session.roundsWritten());
    }

    // Large records, grown in sessions of 500 decisions as play would store
    // them; the sums the statistics read are kept up on the way.
    const QString large = folder.filePath(QStringLiteral("large.sqlite"));
    int stored = 0;
    const auto growTo = [&](int decisions) {
        HistoryDatabase db(large);
        QSqlDatabase connection = db.connection();
        connection.transaction();
        QSqlQuery insert(connection);
        insert.prepare(QStringLiteral(
            "INSERT INTO decisions (time, session, hand_cards, up_card, chart_row, chart_column, advice_mode, action,"
            " advice, value_stand, value_hit, value_double, value_split, cost, off_chart, drill)"
            " VALUES ('2026-01-01T00:00:00.000Z', ?, '10,6', '10', ?, ?, 'always', ?, ?, ?, ?, ?, NULL, ?, 0, 0)"));
        for (; stored < decisions; ++stored) {
            const char action = "hsd"[stored % 3];
            const char advice = "hsd"[(stored / 3) % 3];
            const double cost = action == advice ? 0.0 : random.next() * 10;
            insert.addBindValue(1 + stored / 500);
            insert.addBindValue(int(random.next() * 28));
            insert.addBindValue(int(random.next() * 10));
            insert.addBindValue(QString(QLatin1Char(action)));
            insert.addBindValue(QString(QLatin1Char(advice)));
            insert.addBindValue(action == 's' ? -cost : 0.0);
            insert.addBindValue(action == 'h' ? -cost : 0.0);
            insert.addBindValue(action == 'd' ? -cost : 0.0);
            insert.addBindValue(cost);
            insert.exec();
        }
        connection.commit();
        QSqlQuery(connection).exec(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
    };

    growTo(100'000);
    // Wall time on a busy machine overstates the check; the process's own
    // processor time is given beside it.
    for (int run = 0; run < 3; ++run) {
        QElapsedTimer timer;
        timer.start();
        std::clock_t cpu = std::clock();
        HistoryDatabase db(large);
        const double open = timer.nsecsElapsed() / 1e6, openCpu = 1e3 * double(std::clock() - cpu) / CLOCKS_PER_SEC;
        QSqlQuery check(db.connection());
        check.exec(QStringLiteral("PRAGMA ignore_check_constraints = ON")); // as at open
        timer.restart();
        cpu = std::clock();
        check.exec(QStringLiteral("PRAGMA quick_check"));
        check.next();
        std::printf("100,000 decisions (%.1f MB): PRAGMA quick_check %.1f ms (%.1f ms processor), %s;"
                    " opening the record with it %.1f ms (%.1f ms processor)\n",
                    QFileInfo(large).size() / 1e6, timer.nsecsElapsed() / 1e6,
                    1e3 * double(std::clock() - cpu) / CLOCKS_PER_SEC, qPrintable(check.value(0).toString()), open,
                    openCpu);
    }

    growTo(1'000'000);
    TrainingSession session(random, large);
    for (int run = 0; run < 3; ++run) {
        QElapsedTimer timer;
        timer.start();
        StatisticsWindow window(session);
        window.show();
        QCoreApplication::processEvents();
        std::printf("statistics window shown over %d decisions in %d sessions: %.1f ms\n",
                    window.statistics().allTime.decisions, int(window.statistics().sessions.size()),
                    timer.nsecsElapsed() / 1e6);
    }
    return 0;
}
