// The record of decisions without the table: cells, values, the database's
// bad cases, the sums, and the drill's deals.
#include "ChartCell.h"
#include "ClockSeededRandom.h"
#include "DecisionValues.h"
#include "DrillDeckSource.h"
#include "FileBytes.h"
#include "HandOf.h"
#include "HistoryDatabase.h"
#include "HistoryStatistics.h"
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>
#include <algorithm>
#include <map>

namespace {
DecisionRecord decision(ChartCell cell, char action, char advice, double cost)
{
    DecisionRecord record;
    record.time = QDateTime::currentDateTimeUtc();
    record.handCards = QStringLiteral("10,6");
    record.upCard = QStringLiteral("10");
    record.cell = cell;
    record.action = action;
    record.advice = advice;
    record.cost = cost;
    return record;
}

int count(const HistoryDatabase &db, const QString &sql)
{
    QSqlQuery query(db.connection());
    return query.exec(sql) && query.next() ? query.value(0).toInt() : -1;
}

const ChartCell hard16v10{8, 8};
const ChartCell soft17v3{15, 1};
}

class TestHistory : public QObject {
    Q_OBJECT
    QTemporaryDir folder;
    QString path() const { return folder.filePath(QStringLiteral("history.sqlite")); }

private Q_SLOTS:
    void init() { QFile::remove(path()); }

    void cellsFollowTheChart_data()
    {
        QTest::addColumn<QList<int>>("ranks");
        QTest::addColumn<int>("up");
        QTest::addColumn<QString>("name");
        QTest::newRow("hard") << QList<int>{10, 6} << 10 << "hard 16 v 10";
        QTest::newRow("court cards") << QList<int>{13, 12} << 5 << "hard 17-20 v 5";
        QTest::newRow("low") << QList<int>{2, 3} << 2 << "hard 3-8 v 2";
        QTest::newRow("nine") << QList<int>{5, 4} << 13 << "hard 9 v 10";
        QTest::newRow("soft") << QList<int>{1, 6} << 3 << "soft 17 v 3";
        QTest::newRow("aces") << QList<int>{1, 1} << 1 << "pair of aces v A";
        QTest::newRow("eights") << QList<int>{8, 8} << 6 << "pair of 8s v 6";
        QTest::newRow("tens") << QList<int>{10, 10} << 7 << "pair of tens v 7";
        QTest::newRow("soft three cards") << QList<int>{1, 2, 4} << 6 << "soft 17 v 6";
        QTest::newRow("soft thirteen") << QList<int>{1, 1, 1} << 4 << "soft 13 v 4";
        QTest::newRow("soft turned hard") << QList<int>{1, 6, 9} << 9 << "hard 16 v 9";
        QTest::newRow("hard twenty") << QList<int>{1, 9, 10} << 2 << "hard 17-20 v 2";
    }
    void cellsFollowTheChart()
    {
        QFETCH(QList<int>, ranks);
        QFETCH(int, up);
        QFETCH(QString, name);
        QCOMPARE(ChartCell::of(handOf(ranks), Card::fromIndex((up - 1) * 4)).name(), name);
    }

    void costIsTheBestValueLessTheChosen()
    {
        LiveOdds odds;
        DecisionValues::Decision stiff;
        stiff.situation.playerHand = handOf({10, 6});
        stiff.situation.upCard = Card::fromIndex(9 * 4 + 3);
        stiff.odds = odds.compute(stiff.situation);
        stiff.action = 's';
        stiff.canDouble = true;
        const DecisionRecord stood = DecisionValues::record(stiff);
        const double best = std::max({stood.stand, stood.hit, *stood.doubleDown});
        QCOMPARE(stood.cost, best - stood.stand);
        QVERIFY(stood.cost > 0.5);
        QVERIFY(!stood.split);
        QCOMPARE(stood.handCards, QStringLiteral("10,6"));
        QCOMPARE(stood.cell, hard16v10);

        DecisionValues::Decision eights = stiff;
        eights.situation.playerHand = handOf({8, 8});
        eights.situation.upCard = Card::fromIndex(5 * 4 + 3);
        eights.odds = odds.compute(eights.situation);
        eights.canSplit = true;
        eights.action = 'p';
        const DecisionRecord split = DecisionValues::record(eights);
        QVERIFY(split.split && *split.split > split.stand && *split.split > split.hit);
        QCOMPARE(split.cost, 0.0);
        eights.action = 'h';
        QCOMPARE(DecisionValues::record(eights).cost, *split.split - split.hit);
        eights.canSplit = false; // a split not open is no best play
        QCOMPARE(DecisionValues::record(eights).cost, std::max({split.stand, split.hit, *split.doubleDown}) - split.hit);
    }

    void unwritableFolderRecordsNothing()
    {
        writeFile(folder.filePath(QStringLiteral("plain")), {});
        HistoryDatabase db(folder.filePath(QStringLiteral("plain/history.sqlite")));
        QVERIFY(!db.isRecording());
        QVERIFY(!db.problem().isEmpty());
        QVERIFY(!db.writeRound({decision(hard16v10, 's', 'h', 1.0)}, {}));
    }

    void secondCopyIsRefused()
    {
        auto first = std::make_unique<HistoryDatabase>(path());
        QVERIFY(first->isRecording());
        QVERIFY(first->writeRound({decision(hard16v10, 's', 'h', 1.0)}, {{QDateTime::currentDateTimeUtc(), -25, 975}}));
        {
            HistoryDatabase second(path());
            QVERIFY(!second.isRecording());
            QCOMPARE(second.problem(), QStringLiteral("another copy is recording"));
            QCOMPARE(count(second, QStringLiteral("SELECT count(*) FROM decisions")), 1); // still readable
            QVERIFY(!second.writeRound({decision(hard16v10, 's', 'h', 1.0)}, {}));
        }
        QVERIFY(first->writeRound({}, {{QDateTime::currentDateTimeUtc(), 25, 1000}}));
        first.reset();
        HistoryDatabase third(path());
        QVERIFY(third.isRecording());
        QCOMPARE(count(third, QStringLiteral("SELECT count(*) FROM hands")), 2);
    }

    void corruptFileIsMovedAside()
    {
        const QByteArray garbage = QByteArray("not a database at all ").repeated(300);
        writeFile(path(), garbage);
        HistoryDatabase db(path());
        QVERIFY(db.isRecording());
        QVERIFY(db.movedAside().startsWith(path() + QStringLiteral(".corrupt-")));
        QCOMPARE(readFile(db.movedAside()), garbage);
        QVERIFY(db.writeRound({decision(hard16v10, 's', 'h', 1.0)}, {}));
    }

    void fileBusyElsewhereStaysInPlace()
    {
        QSqlDatabase raw = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("busy"));
        raw.setDatabaseName(path());
        QVERIFY(raw.open());
        QSqlQuery hold(raw);
        QVERIFY(hold.exec(QStringLiteral("PRAGMA locking_mode = EXCLUSIVE")));
        QVERIFY(hold.exec(QStringLiteral("CREATE TABLE kept (x)")));
        {
            HistoryDatabase db(path());
            QVERIFY(!db.isRecording());
            QVERIFY(db.movedAside().isEmpty());
        }
        hold.finish();
        raw.close();
        raw = QSqlDatabase();
        QSqlDatabase::removeDatabase(QStringLiteral("busy"));
        HistoryDatabase db(path());
        QVERIFY(db.isRecording());
        QCOMPARE(count(db, QStringLiteral("SELECT count(*) FROM kept")), 0);
    }

    void newerFileIsOnlyRead()
    {
        {
            QSqlDatabase raw = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("raw"));
            raw.setDatabaseName(path());
            QVERIFY(raw.open());
            QSqlQuery(raw).exec(QStringLiteral("CREATE TABLE future (x)"));
            QSqlQuery(raw).exec(QStringLiteral("PRAGMA user_version = 99"));
            raw.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("raw"));
        const QByteArray before = readFile(path());
        {
            HistoryDatabase db(path());
            QCOMPARE(db.state(), HistoryDatabase::State::ReadOnly);
            QVERIFY(db.problem().contains(QStringLiteral("newer")));
            QVERIFY(!db.writeRound({decision(hard16v10, 's', 'h', 1.0)}, {}));
            QVERIFY(!db.reset());
        }
        QCOMPARE(readFile(path()), before);
    }

    void olderFileIsMigratedKeepingItsRows()
    {
        {
            HistoryDatabase db(path());
            QVERIFY(db.writeRound({decision(hard16v10, 's', 'h', 1.0)}, {}));
            QSqlQuery query(db.connection());
            QVERIFY(query.exec(QStringLiteral("DROP INDEX decisions_by_cell")));
            QVERIFY(query.exec(QStringLiteral("DROP INDEX decisions_by_session")));
            QVERIFY(query.exec(QStringLiteral("PRAGMA user_version = 1")));
        }
        HistoryDatabase db(path());
        QVERIFY(db.isRecording());
        QCOMPARE(count(db, QStringLiteral("PRAGMA user_version")), HistoryDatabase::schemaVersion);
        QCOMPARE(count(db, QStringLiteral("SELECT count(*) FROM sqlite_master WHERE type = 'index'")), 2);
        QCOMPARE(count(db, QStringLiteral("SELECT count(*) FROM decisions")), 1);
    }

    void statisticsSumByCellAndSession()
    {
        {
            HistoryDatabase first(path());
            QVERIFY(first.writeRound({decision(hard16v10, 's', 'h', 3.0), decision(hard16v10, 'h', 'h', 0.0),
                                      decision(hard16v10, 's', 'h', 2.0), decision(soft17v3, 'h', 'd', 1.5)},
                                     {}));
        }
        HistoryDatabase db(path());
        QVERIFY(db.writeRound({decision(hard16v10, 'd', 'h', 4.0)}, {}));
        const HistoryStatistics stats = HistoryStatistics::load(db.connection(), db.sessionId());
        QCOMPARE(stats.allTime.decisions, 5);
        QCOMPARE(stats.allTime.matched, 1);
        QCOMPARE(stats.allTime.cost, 10.5);
        QCOMPARE(stats.thisSession.decisions, 1);
        QCOMPARE(stats.thisSession.mistakes(), 1);
        QCOMPARE(stats.thisSession.cost, 4.0);
        QCOMPARE(int(stats.sessions.size()), 2);
        QCOMPARE(stats.sessions[0].tally.decisions, 4);
        QCOMPARE(stats.cell(hard16v10).tally.mistakes(), 3);
        QCOMPARE(stats.cell(hard16v10).tally.cost, 9.0);
        QCOMPARE(stats.cell(hard16v10).commonestWrong, 's');
        QCOMPARE(stats.cell(soft17v3).commonestWrong, 'h');
        QCOMPARE(stats.cell(soft17v3).costPer100(), 150.0);
        const std::vector<ChartCell> costliest = stats.costliest(10);
        QCOMPARE(int(costliest.size()), 2);
        QCOMPARE(costliest[0], hard16v10); // 225 per 100
        QCOMPARE(stats.costliest(1).size(), std::size_t(1));

        const QString csv = folder.filePath(QStringLiteral("out.csv"));
        QVERIFY(db.exportCsv(csv));
        const QList<QByteArray> lines = readFile(csv).trimmed().split('\n');
        QCOMPARE(lines.size(), 6);
        QVERIFY(lines[0].startsWith("time,session,hand_cards,up_card"));
        QVERIFY(lines[1].contains(",\"10,6\",10,8,8,"));

        QVERIFY(db.reset());
        QCOMPARE(HistoryStatistics::load(db.connection(), db.sessionId()).allTime.decisions, 0);
    }

    void drillDealsEveryCell()
    {
        ClockSeededRandom random([] { return uint64_t(7); });
        DrillDeckSource source(random, DrillPlan::commonWeakSpots());
        for (int row = 0; row < 28; ++row) {
            for (int column = 0; column < 10; ++column) {
                std::array<Card, 52> deck{};
                source.buildCell({row, column}, deck);
                Hand hand;
                hand.add(deck[50]);
                hand.add(deck[49]);
                QCOMPARE(ChartCell::of(hand, deck[51]), (ChartCell{row, column}));
                std::array<bool, 52> seen{};
                for (const Card &card : deck)
                    seen[card.cardIndex] = card.rank == card.cardIndex / 4 + 1;
                QVERIFY(std::all_of(seen.begin(), seen.end(), [](bool s) { return s; }));
            }
        }
    }

    void drillRemainderIsShuffledFairly()
    {
        // Where each of the 49 other cards lands, by its place among them in
        // card order: every place equally often at the top and in the middle.
        ClockSeededRandom random([] { return uint64_t(11); });
        DrillDeckSource source(random, DrillPlan({{soft17v3}}));
        constexpr int decks = 49 * 300;
        std::array<std::array<int, 49>, 2> landed{};
        for (int n = 0; n < decks; ++n) {
            std::array<Card, 52> deck{};
            source.build(deck);
            QCOMPARE(source.current(), soft17v3);
            std::array<int, 49> sorted;
            for (int i = 0; i < 49; ++i)
                sorted[i] = deck[i].cardIndex;
            std::sort(sorted.begin(), sorted.end());
            const auto place = [&](int position) {
                return int(std::lower_bound(sorted.begin(), sorted.end(), deck[position].cardIndex) - sorted.begin());
            };
            ++landed[0][place(48)];
            ++landed[1][place(24)];
        }
        for (const auto &counts : landed) {
            double chiSquare = 0.0;
            for (int seen : counts)
                chiSquare += (seen - 300.0) * (seen - 300.0) / 300.0;
            QVERIFY2(chiSquare < 84.0, qPrintable(QString::number(chiSquare))); // 48 degrees, p = 0.001
        }
    }

    void drillPlanRotatesTheCostliest()
    {
        HistoryStatistics stats;
        for (int i = 0; i < 12; ++i)
            stats.cells[i * 20] = {{10, 5, 12.0 - i}, 's'};
        const DrillPlan plan = DrillPlan::fromStatistics(stats);
        QCOMPARE(plan.cells().size(), DrillPlan::leastCells);
        QCOMPARE(plan.cells().front().cell.index(), 0);
        QCOMPARE(plan.cells().front().weight, 120.0);
        QCOMPARE(plan.cells().back().weight, 30.0);

        ClockSeededRandom random([] { return uint64_t(3); });
        DrillPlan rotating = plan;
        std::map<int, int> dealt;
        for (int rotation = 0; rotation < 200; ++rotation) {
            std::map<int, int> once;
            for (std::size_t i = 0; i < 2 * plan.cells().size(); ++i)
                ++once[rotating.next(random).index()];
            QCOMPARE(once.size(), plan.cells().size());
            for (const auto &[cell, times] : once)
                dealt[cell] += times;
        }
        QVERIFY(dealt[0] > dealt[9 * 20] + 100);

        HistoryStatistics few;
        few.cells[soft17v3.index()] = {{4, 2, 8.0}, 'h'};
        const DrillPlan filled = DrillPlan::fromStatistics(few);
        QCOMPARE(filled.cells().size(), DrillPlan::leastCells);
        QCOMPARE(filled.cells()[1].cell, (ChartCell{4, 0})); // hard 12 v 2, the first common spot
        QCOMPARE(filled.cells()[1].weight, 200.0);
        QCOMPARE(DrillPlan::fromStatistics(HistoryStatistics()).cells().size(), std::size_t(25 + 18 + 42));
    }
};

QTEST_GUILESS_MAIN(TestHistory)
#include "test_history.moc"
