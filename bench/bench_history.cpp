// Record figures: the cost of one decision (its exact values and its share of
// the round's write), and the statistics window opening on 100,000 decisions.
// Run offscreen: QT_QPA_PLATFORM=offscreen bench_history
#include "ClockSeededRandom.h"
#include "ShuffledDeckSource.h"
#include "StatisticsWindow.h"
#include "TrainingSession.h"
#include <QApplication>
#include <QElapsedTimer>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>

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

    TrainingSession session(random, folder.filePath(QStringLiteral("large.sqlite")));
    {
        std::vector<DecisionRecord> records;
        for (int i = 0; i < 100'000; ++i) {
            DecisionRecord record;
            record.time = QDateTime::currentDateTimeUtc();
            record.handCards = QStringLiteral("10,6");
            record.upCard = QStringLiteral("10");
            record.cell = {int(random.next() * 28), int(random.next() * 10)};
            record.action = "hsdp"[i % 4];
            record.advice = "hsdp"[(i / 4) % 4];
            record.cost = record.action == record.advice ? 0.0 : random.next() * 10;
            records.push_back(record);
            // Sessions of 500 decisions.
            if (records.size() == 500) {
                session.database().writeRound(records, {});
                records.clear();
                QSqlQuery(session.database().connection())
                    .exec(QStringLiteral("UPDATE decisions SET session = %1 WHERE session = 1").arg(1000 + i));
            }
        }
    }
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
