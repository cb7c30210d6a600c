// The flash drill without a window: the card generator's weights, the
// Leitner boxes, judging against the chart, and what the record keeps.
#include "ChartTable.h"
#include "ClockSeededRandom.h"
#include "FlashDealer.h"
#include "FlashDrill.h"
#include "FlashJudge.h"
#include "HandOf.h"
#include "HistoryDatabase.h"
#include "HistoryStatistics.h"
#include "StrategyChart.h"
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>
#include <cmath>
#include <map>
#include <set>

namespace {
Card upCard(int rank)
{
    return Card::fromIndex((rank - 1) * 4 + 3);
}

FlashCard flashCard(const QList<int> &ranks, int up)
{
    FlashCard card;
    card.hand = handOf(ranks);
    card.upCard = upCard(up);
    card.cell = ChartCell::of(card.hand, card.upCard);
    return card;
}

// Pearson's statistic of observed against expected counts.
double chiSquare(const std::vector<int> &seen, const std::vector<double> &expected)
{
    double sum = 0.0;
    for (std::size_t i = 0; i < seen.size(); ++i)
        sum += (seen[i] - expected[i]) * (seen[i] - expected[i]) / expected[i];
    return sum;
}

int count(const HistoryDatabase &db, const QString &sql)
{
    QSqlQuery query(db.connection());
    return query.exec(sql) && query.next() ? query.value(0).toInt() : -1;
}
}

class TestFlash : public QObject {
    Q_OBJECT
    StrategyChart chart;
    QTemporaryDir folder;
    QString path() const { return folder.filePath(QStringLiteral("history.sqlite")); }

private Q_SLOTS:
    void initTestCase()
    {
        // A textbook chart, so the cases stand whatever chart is shipped.
        QFile data(folder.filePath(QStringLiteral("bjdata.txt")));
        QVERIFY(data.open(QIODevice::WriteOnly));
        data.write(ChartTable::textbookSingleDeck().toText().c_str());
        data.close();
        QVERIFY(QFile::copy(QStringLiteral(VANTREL_SOURCE_DIR "/data/bjstrings.txt"), folder.filePath(QStringLiteral("bjstrings.txt"))));
        chart.importChart(folder.path());
        QCOMPARE(chart.strategyChart[15][2], QStringLiteral("d"));
    }
    void init() { QFile::remove(path()); }

    void cellsComeUpByTheWeightOfTheirBox()
    {
        // Twenty cells, four in each box: box 1 should come up 16/31 of the
        // time, each box half as often as the one below it.
        std::vector<ChartCell> cells;
        LeitnerBoxes boxes;
        for (int i = 0; i < 20; ++i) {
            cells.push_back({i, i % 10});
            boxes.setBox(cells.back(), 1 + i % 5);
        }
        ClockSeededRandom random([] { return uint64_t(5); });
        FlashDealer dealer(FlashTable{}, random);
        constexpr int picks = 31000;
        std::map<int, int> seen;
        for (int n = 0; n < picks; ++n)
            ++seen[dealer.pickCell(cells, boxes).index()];
        std::vector<int> observed;
        std::vector<double> expected;
        std::vector<int> byBox(5);
        for (const ChartCell &cell : cells) {
            observed.push_back(seen[cell.index()]);
            expected.push_back(picks * LeitnerBoxes::weight(boxes.box(cell)) / (4 * 31.0));
            byBox[boxes.box(cell) - 1] += seen[cell.index()];
        }
        const double statistic = chiSquare(observed, expected);
        QVERIFY2(statistic < 43.82, qPrintable(QString::number(statistic))); // 19 degrees, p = 0.001
        const double boxStatistic = chiSquare(byBox, {16000.0, 8000.0, 4000.0, 2000.0, 1000.0});
        QVERIFY2(boxStatistic < 18.47, qPrintable(QString::number(boxStatistic))); // 4 degrees, p = 0.001
    }

    void handsComeAsOftenAsTheDeckDealsThem()
    {
        // Hard 3-8 against a 2 on two cards: the up-card takes one 2, so a
        // hand holding a 2 has 3 x 4 ways to be dealt and the others 4 x 4.
        ClockSeededRandom random([] { return uint64_t(9); });
        FlashDealer dealer(FlashTable{}, random);
        const std::map<QString, double> ways{{"2,3", 12}, {"2,4", 12}, {"2,5", 12}, {"2,6", 12}, {"3,4", 16}, {"3,5", 16}};
        std::map<QString, int> seen;
        int twoCards = 0;
        while (twoCards < 8000) {
            const FlashCard card = dealer.deal({0, 0});
            QCOMPARE(card.upCard.rank, int16_t(2));
            if (card.hand.count() != 2)
                continue;
            ++twoCards;
            const int low = std::min(card.hand[0].rank, card.hand[1].rank);
            const int high = std::max(card.hand[0].rank, card.hand[1].rank);
            ++seen[QStringLiteral("%1,%2").arg(low).arg(high)];
        }
        std::vector<int> observed;
        std::vector<double> expected;
        for (const auto &[hand, weight] : ways) {
            observed.push_back(seen[hand]);
            expected.push_back(twoCards * weight / 80.0);
        }
        QCOMPARE(seen.size(), ways.size());
        const double statistic = chiSquare(observed, expected);
        QVERIFY2(statistic < 20.52, qPrintable(QString::number(statistic))); // 5 degrees, p = 0.001
    }

    void everyCellIsDealtTrueAndOneInFiveDrawn()
    {
        ClockSeededRandom random([] { return uint64_t(13); });
        FlashDealer dealer(FlashTable{}, random);
        int drawn = 0;
        int dealt = 0;
        for (int round = 0; round < 10; ++round) {
            for (int row = 0; row < 28; ++row) {
                for (int column = 0; column < 10; ++column) {
                    const FlashCard card = dealer.deal({row, column});
                    QCOMPARE(ChartCell::of(card.hand, card.upCard), (ChartCell{row, column}));
                    QCOMPARE(card.cell, (ChartCell{row, column}));
                    std::set<int> distinct{card.upCard.cardIndex};
                    for (int i = 0; i < card.hand.count(); ++i)
                        distinct.insert(card.hand[i].cardIndex);
                    QCOMPARE(int(distinct.size()), card.hand.count() + 1); // one deck
                    QVERIFY(card.hand.count() >= 2 && card.hand.count() <= 4);
                    if (card.hand.count() == 2)
                        continue;
                    QVERIFY(!ChartTable::isPairRow(row));
                    ++drawn;
                    // Every total on the way was one the player could hit.
                    Hand before;
                    for (int i = 0; i + 1 < card.hand.count(); ++i) {
                        before.add(card.hand[i]);
                        QVERIFY(handTotal(before) < 21);
                    }
                }
                dealt += ChartTable::isPairRow(row) ? 0 : 10;
            }
        }
        // 1800 hands that may be drawn: one in five, within four standard deviations.
        QVERIFY2(std::abs(drawn - dealt / 5.0) < 4 * std::sqrt(dealt * 0.16), qPrintable(QString::number(drawn)));
    }

    void severalDecksShareOneShoe()
    {
        ClockSeededRandom random([] { return uint64_t(17); });
        FlashDealer dealer(FlashTable{6, &chart}, random);
        bool sameCardTwice = false;
        for (int n = 0; n < 400; ++n) {
            const FlashCard card = dealer.deal({25, 6}); // a pair of 8s against an 8
            QCOMPARE(ChartCell::of(card.hand, card.upCard), (ChartCell{25, 6}));
            sameCardTwice = sameCardTwice || card.hand[0].cardIndex == card.hand[1].cardIndex
                            || card.hand[0].cardIndex == card.upCard.cardIndex;
        }
        QVERIFY(sameCardTwice); // six decks hold six of each card
    }

    void choicesHoldTheirRows_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("cells");
        QTest::addColumn<int>("firstRow");
        QTest::addColumn<int>("lastRow");
        QTest::newRow("all") << int(FlashChoice::All) << 280 << 0 << 27;
        QTest::newRow("hard") << int(FlashChoice::Hard) << 100 << 0 << 9;
        QTest::newRow("soft") << int(FlashChoice::Soft) << 80 << 10 << 17;
        QTest::newRow("pairs") << int(FlashChoice::Pairs) << 100 << 18 << 27;
        // With nothing recorded yet: where most players go wrong.
        QTest::newRow("weak spots") << int(FlashChoice::WeakSpots) << 85 << 4 << 26;
    }
    void choicesHoldTheirRows()
    {
        QFETCH(int, kind);
        QFETCH(int, cells);
        QFETCH(int, firstRow);
        QFETCH(int, lastRow);
        const std::vector<ChartCell> chosen = FlashChoice::cells(FlashChoice::Kind(kind), HistoryStatistics());
        QCOMPARE(int(chosen.size()), cells);
        const auto [lowest, highest] = std::minmax_element(chosen.begin(), chosen.end(),
            [](const ChartCell &a, const ChartCell &b) { return a.row < b.row; });
        QCOMPARE(lowest->row, firstRow);
        QCOMPARE(highest->row, lastRow);
    }

    void boxesMove_data()
    {
        QTest::addColumn<int>("before");
        QTest::addColumn<bool>("right");
        QTest::addColumn<int>("after");
        QTest::newRow("right from 1") << 1 << true << 2;
        QTest::newRow("right from 4") << 4 << true << 5;
        QTest::newRow("right stays in 5") << 5 << true << 5;
        QTest::newRow("wrong from 3") << 3 << false << 1;
        QTest::newRow("wrong from 5") << 5 << false << 1;
        QTest::newRow("wrong stays in 1") << 1 << false << 1;
    }
    void boxesMove()
    {
        QFETCH(int, before);
        QFETCH(bool, right);
        QFETCH(int, after);
        LeitnerBoxes boxes;
        const ChartCell cell{15, 1};
        boxes.setBox(cell, before);
        boxes.answered(cell, right);
        QCOMPARE(boxes.box(cell), after);
        QCOMPARE(boxes.box({15, 2}), 1); // its neighbour untouched
    }

    void lowerBoxesWeighMore()
    {
        QCOMPARE(LeitnerBoxes::weight(1), 16.0);
        for (int box = 1; box < LeitnerBoxes::lastBox; ++box)
            QCOMPARE(LeitnerBoxes::weight(box), 2 * LeitnerBoxes::weight(box + 1));
        LeitnerBoxes boxes;
        const std::vector<ChartCell> cells{{0, 0}, {0, 1}, {0, 2}};
        QCOMPARE(boxes.inFirstBox(cells), 3);
        boxes.answered({0, 1}, true);
        QCOMPARE(boxes.inFirstBox(cells), 2);
    }

    void judgedAgainstTheChart_data()
    {
        QTest::addColumn<QList<int>>("ranks");
        QTest::addColumn<int>("up");
        QTest::addColumn<char>("play");
        QTest::addColumn<int>("line");
        // A-2-4 is soft 17: the chart doubles against a 5, which a drawn hand
        // cannot, so it hits; A-3-4, soft 18, stands instead.
        QTest::newRow("soft 17 of three cards v 5") << QList<int>{1, 2, 4} << 5 << 'h' << 9;
        QTest::newRow("soft 18 of three cards v 4") << QList<int>{1, 3, 4} << 4 << 's' << 10;
        QTest::newRow("soft 18 of three cards v 9") << QList<int>{4, 1, 3} << 9 << 'h' << 10;
        QTest::newRow("soft 17 of two cards v 5") << QList<int>{1, 6} << 5 << 'd' << 9;
        QTest::newRow("pair of 8s v 10") << QList<int>{8, 8} << 13 << 'p' << 18;
        QTest::newRow("pair of 9s v 7") << QList<int>{9, 9} << 7 << 's' << 19;
        QTest::newRow("pair of 9s v 9") << QList<int>{9, 9} << 9 << 'p' << 19;
        QTest::newRow("king and queen: hard 20") << QList<int>{13, 12} << 6 << 's' << 6;
    }
    void judgedAgainstTheChart()
    {
        QFETCH(QList<int>, ranks);
        QFETCH(int, up);
        QFETCH(char, play);
        QFETCH(int, line);
        const FlashJudge judge(chart);
        const FlashCard card = flashCard(ranks, up);
        for (char answer : {'h', 's', 'd', 'p'}) {
            if (!card.allows(answer))
                continue;
            const FlashVerdict verdict = judge.judge(card, answer, ActionOdds{});
            QCOMPARE(verdict.chartPlay, play);
            QCOMPARE(verdict.right(), answer == play);
            QCOMPARE(int(verdict.chartLine), line);
        }
        QCOMPARE(card.allows('d'), ranks.size() == 2);
        QCOMPARE(card.allows('p'), ranks.size() == 2 && ranks[0] == ranks[1]);
    }

    void chartLineInWords()
    {
        const FlashJudge judge(chart);
        QCOMPARE(judge.lineText(18), QStringLiteral("8-8: Always split"));
        QCOMPARE(judge.lineText(0), QStringLiteral("8 or less: Always hit"));
        QVERIFY(judge.lineText(21).isEmpty());
        QVERIFY(judge.lineText(-1).isEmpty());
    }

    void wrongAnswerIsPricedAgainstTheChartsPlay_data()
    {
        QTest::addColumn<double>("stand");
        QTest::addColumn<double>("hit");
        QTest::addColumn<QString>("text");
        QTest::newRow("loses") << -12.34 << -9.62
                               << "Stand loses 2.7 chips more than Hit on a 25 stake";
        QTest::newRow("these cards favour it") << -9.0 << -9.4
                               << "On these exact cards Stand wins 0.4 chips more than Hit on a 25 stake, "
                                  "but the chart plays Hit for the cell";
        QTest::newRow("equal as shown") << -9.04 << -8.96
                               << "On these exact cards Stand and Hit are worth the same on a 25 stake, "
                                  "but the chart plays Hit for the cell";
    }
    void wrongAnswerIsPricedAgainstTheChartsPlay()
    {
        QFETCH(double, stand);
        QFETCH(double, hit);
        QFETCH(QString, text);
        FlashVerdict verdict;
        verdict.answer = 's';
        verdict.chartPlay = 'h';
        verdict.odds.stand = stand;
        verdict.odds.hit = hit;
        QCOMPARE(FlashJudge::costText(verdict), text);
        verdict.answer = 'h';
        QVERIFY(FlashJudge::costText(verdict).isEmpty());
    }

    void answersAreRecordedAsFlashDecisions()
    {
        HistoryDatabase db(path());
        ClockSeededRandom random([] { return uint64_t(21); });
        FlashDrill drill(FlashTable::vantrel(chart), db, random);
        drill.choose(FlashChoice::Pairs);
        QCOMPARE(drill.cellCount(), 100);
        const FlashCard card = drill.deal();
        QVERIFY(ChartTable::isPairRow(card.cell.row));
        int16_t line = 0;
        const char play = drill.judge().chartPlay(card, line);
        const char wrong = play == 'h' ? 's' : 'h';
        QVERIFY(!drill.answer('x', 1.0));
        const std::optional<FlashVerdict> verdict = drill.answer(wrong, 2.5);
        QVERIFY(verdict && !verdict->right());
        QVERIFY(!drill.answer(play, 1.0)); // one answer per card
        QCOMPARE(drill.streak(), 0);

        QSqlQuery row(db.connection());
        QVERIFY(row.exec(QStringLiteral("SELECT flash, drill, action, advice, chart_row, chart_column, advice_mode,"
                                        " value_split IS NOT NULL, cost FROM decisions")));
        QVERIFY(row.next());
        QCOMPARE(row.value(0).toInt(), 1);
        QCOMPARE(row.value(1).toInt(), 0);
        QCOMPARE(row.value(2).toString(), QString(QLatin1Char(wrong)));
        QCOMPARE(row.value(3).toString(), QString(QLatin1Char(play)));
        QCOMPARE(row.value(4).toInt(), card.cell.row);
        QCOMPARE(row.value(5).toInt(), card.cell.column);
        QCOMPARE(row.value(6).toString(), QStringLiteral("after error"));
        QCOMPARE(row.value(7).toInt(), 1); // a pair's split value is kept
        QVERIFY(row.value(8).toDouble() >= 0.0);
        QVERIFY(!row.next());
        QCOMPARE(count(db, QStringLiteral("SELECT count(*) FROM hands")), 0);

        // The box moves with the answer, and a new drill finds it in the record.
        const ChartCell cell = card.cell;
        drill.deal();
        int16_t nextLine = 0;
        const char nextPlay = drill.judge().chartPlay(drill.card(), nextLine);
        QVERIFY(drill.answer(nextPlay, 1.5)->right());
        QCOMPARE(drill.streak(), 1);
        QCOMPARE(drill.medianSeconds(), 2.0);
        QCOMPARE(count(db, QStringLiteral("SELECT count(*) FROM decisions WHERE flash = 1")), 2);
        // Right after wrong: box 2 whether or not the same cell came again.
        const auto boxOf = [&](const ChartCell &at) {
            return count(db, QStringLiteral("SELECT box FROM flash_boxes WHERE chart_row = %1 AND chart_column = %2")
                                 .arg(at.row).arg(at.column));
        };
        QCOMPARE(boxOf(drill.card().cell), 2);
        if (drill.card().cell != cell)
            QCOMPARE(boxOf(cell), 1);
        FlashDrill again(FlashTable::vantrel(chart), db, random);
        again.choose(FlashChoice::Pairs);
        QCOMPARE(again.leitnerBoxes().box(drill.card().cell), drill.leitnerBoxes().box(drill.card().cell));
        QCOMPARE(again.cellsInFirstBox(), drill.cellsInFirstBox());
    }

    void recordRefusesBoxesAndMarksNoPlayGives_data()
    {
        QTest::addColumn<QString>("statement");
        QTest::addColumn<bool>("stored");
        QTest::newRow("box 5") << "INSERT INTO flash_boxes VALUES (27, 9, 5)" << true;
        QTest::newRow("box 6") << "INSERT INTO flash_boxes VALUES (0, 0, 6)" << false;
        QTest::newRow("box 0") << "INSERT INTO flash_boxes VALUES (0, 0, 0)" << false;
        QTest::newRow("row past the chart") << "INSERT INTO flash_boxes VALUES (28, 0, 1)" << false;
        QTest::newRow("column past the chart") << "INSERT INTO flash_boxes VALUES (0, 10, 1)" << false;
        QTest::newRow("flash mark 1") << "INSERT INTO decisions VALUES (1, 't', 1, '10,6', '10', 8, 8, 'after error',"
                                         " 's', 'h', -8, -5, NULL, NULL, 3, 0, 0, 1, 'program', NULL)" << true;
        QTest::newRow("flash mark 2") << "INSERT INTO decisions VALUES (1, 't', 1, '10,6', '10', 8, 8, 'after error',"
                                         " 's', 'h', -8, -5, NULL, NULL, 3, 0, 0, 2, 'program', NULL)" << false;
    }
    void recordRefusesBoxesAndMarksNoPlayGives()
    {
        QFETCH(QString, statement);
        QFETCH(bool, stored);
        HistoryDatabase db(path());
        QSqlQuery query(db.connection());
        QCOMPARE(query.exec(statement), stored);
        // A stored box is read back; the record's reset empties the boxes too.
        LeitnerBoxes boxes;
        boxes.load(db.connection());
        QCOMPARE(boxes.box({27, 9}), QTest::currentDataTag() == QByteArray("box 5") ? 5 : 1);
        QVERIFY(db.reset());
        QCOMPARE(count(db, QStringLiteral("SELECT count(*) FROM flash_boxes")), 0);
        QCOMPARE(count(db, QStringLiteral("SELECT count(*) FROM flash_session_totals")), 0);
    }

    void onlyCellsTheChartCanAnswerAreDrilled()
    {
        HistoryDatabase db(path());
        ClockSeededRandom random([] { return uint64_t(23); });
        StrategyChart unread;
        FlashDrill nothing(FlashTable::vantrel(unread), db, random);
        nothing.choose(FlashChoice::All);
        QVERIFY(!nothing.hasCards());
        nothing.deal();
        QVERIFY(!nothing.awaitingAnswer());
        QVERIFY(!nothing.answer('h', 1.0));

        // A split where no pair can be is no question; neither is a code
        // the tutor does not know.
        StrategyChart odd = chart;
        odd.strategyChart[8][8] = QStringLiteral("p");
        odd.strategyChart[8][9] = QStringLiteral("H");
        odd.strategyChart[25][0] = QStringLiteral("p");
        FlashDrill drill(FlashTable::vantrel(odd), db, random);
        drill.choose(FlashChoice::All);
        QCOMPARE(drill.cellCount(), 278);
    }

    void statisticsIncludeOrLeaveOutFlashAnswers()
    {
        HistoryDatabase db(path());
        DecisionRecord table;
        table.time = QDateTime::currentDateTimeUtc();
        table.handCards = QStringLiteral("10,6");
        table.upCard = QStringLiteral("10");
        table.cell = {8, 8};
        table.action = 's';
        table.advice = 'h';
        table.cost = 1.5;
        DecisionRecord flash = table;
        flash.flash = true;
        flash.cost = 2.0;
        QVERIFY(db.writeRound({table, flash, flash}, {}));
        const HistoryStatistics both = HistoryStatistics::load(db.connection(), db.sessionId());
        const HistoryStatistics tableOnly = HistoryStatistics::load(db.connection(), db.sessionId(), false);
        QCOMPARE(both.allTime.decisions, 3);
        QCOMPARE(both.thisSession.decisions, 3);
        QCOMPARE(both.cell({8, 8}).tally.cost, 5.5);
        QCOMPARE(both.cell({8, 8}).commonestWrong, 's');
        QCOMPARE(tableOnly.allTime.decisions, 1);
        QCOMPARE(tableOnly.thisSession.decisions, 1);
        QCOMPARE(tableOnly.cell({8, 8}).tally.cost, 1.5);
        QCOMPARE(tableOnly.sessions.size(), std::size_t(1));
    }
};

QTEST_GUILESS_MAIN(TestFlash)
#include "test_flash.moc"
