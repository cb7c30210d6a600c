// The record of decisions without the table: cells, values, the database's
// bad cases, the sums, and the drill's deals.
#include "ChartCell.h"
#include "CasinoRound.h"
#include "ChartRows.h"
#include "ClockSeededRandom.h"
#include "DecisionOf.h"
#include "DecisionValues.h"
#include "DrillDeckSource.h"
#include "DrillShoeSource.h"
#include "FileBytes.h"
#include "HandOf.h"
#include "HistoryDatabase.h"
#include "HistoryStatistics.h"
#include "RulesText.h"
#include "TrainingSession.h"
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>
#include <algorithm>
#include <cmath>
#include <map>
#include "StackedDeckSource.h"
#include "ShuffledShoeSource.h"

namespace {
int count(const HistoryDatabase &db, const QString &sql)
{
    QSqlQuery query(db.connection());
    return query.exec(sql) && query.next() ? query.value(0).toInt() : -1;
}

const ChartCell hard16v10{8, 8};
const ChartCell soft17v3{15, 1};
// Read when first asked for: the rules' own tables are set up by then.
GameRules casinoRules()
{
    return *RulesText::parse("decks=6,surrender=late");
}

QString casinoTable()
{
    return QString::fromStdString(RulesText::format(casinoRules()));
}
const ChartCell tensV7{29, 5}; // a casino chart's last row

DecisionRecord atCasino(ChartCell cell, char action, char advice, double cost)
{
    DecisionRecord record = decisionOf(cell, action, advice, cost);
    record.rules = casinoTable();
    record.surrender = 0.0;
    return record;
}

// Builds a record as the fourth schema left it: two decisions at the table
// and one flash answer in session 1, one hand, and their sums.
void writeVersionFourRecord(const QString &path)
{
    {
        QSqlDatabase raw = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("four"));
        raw.setDatabaseName(path);
        QVERIFY(raw.open());
        QSqlQuery query(raw);
        for (const char *statement : {
                 "CREATE TABLE sessions (id INTEGER PRIMARY KEY, started TEXT NOT NULL)",
                 "CREATE TABLE hands (id INTEGER PRIMARY KEY, time TEXT NOT NULL, session INTEGER NOT NULL,"
                 " result TEXT NOT NULL, amount INTEGER NOT NULL, bank_after INTEGER NOT NULL, drill INTEGER NOT NULL)",
                 "CREATE TABLE decisions (id INTEGER PRIMARY KEY, time TEXT NOT NULL, session INTEGER NOT NULL,"
                 " hand_cards TEXT NOT NULL, up_card TEXT NOT NULL, chart_row INTEGER NOT NULL,"
                 " chart_column INTEGER NOT NULL, advice_mode TEXT NOT NULL, action TEXT NOT NULL, advice TEXT NOT NULL,"
                 " value_stand REAL NOT NULL, value_hit REAL NOT NULL, value_double REAL, value_split REAL,"
                 " cost REAL NOT NULL, off_chart INTEGER NOT NULL, drill INTEGER NOT NULL, flash INTEGER NOT NULL DEFAULT 0)",
                 "CREATE TABLE damaged_decisions (id)",
                 "CREATE TABLE session_totals (session INTEGER PRIMARY KEY, decisions INTEGER NOT NULL,"
                 " mistakes INTEGER NOT NULL, off_chart INTEGER NOT NULL, cost REAL NOT NULL)",
                 "CREATE TABLE flash_session_totals (session INTEGER PRIMARY KEY, decisions INTEGER NOT NULL,"
                 " mistakes INTEGER NOT NULL, off_chart INTEGER NOT NULL, cost REAL NOT NULL)",
                 "CREATE TABLE cell_totals (chart_row INTEGER NOT NULL, chart_column INTEGER NOT NULL, action TEXT NOT NULL,"
                 " decisions INTEGER NOT NULL, mistakes INTEGER NOT NULL, off_chart INTEGER NOT NULL, cost REAL NOT NULL,"
                 " PRIMARY KEY (chart_row, chart_column, action)) WITHOUT ROWID",
                 "CREATE TABLE flash_cell_totals (chart_row INTEGER NOT NULL, chart_column INTEGER NOT NULL,"
                 " action TEXT NOT NULL, decisions INTEGER NOT NULL, mistakes INTEGER NOT NULL, off_chart INTEGER NOT NULL,"
                 " cost REAL NOT NULL, PRIMARY KEY (chart_row, chart_column, action)) WITHOUT ROWID",
                 "CREATE TABLE flash_boxes (chart_row INTEGER NOT NULL, chart_column INTEGER NOT NULL,"
                 " box INTEGER NOT NULL, PRIMARY KEY (chart_row, chart_column)) WITHOUT ROWID",
                 "INSERT INTO sessions VALUES (1, 't')",
                 "INSERT INTO hands VALUES (1, 't', 1, 'loss', -25, 975, 0)",
                 "INSERT INTO decisions VALUES (1, 't', 1, '10,6', '10', 8, 8, 'always', 's', 'h', -8, -5, -12, NULL, 3, 0, 0, 0)",
                 "INSERT INTO decisions VALUES (2, 't', 1, '10,6', '10', 8, 8, 'always', 'h', 'h', -8, -5, -12, NULL, 0, 0, 0, 0)",
                 "INSERT INTO decisions VALUES (3, 't', 1, 'A,6', '3', 15, 1, 'after error', 'h', 'd', 0, -1, 1, NULL, 2, 0, 0, 1)",
                 "INSERT INTO session_totals VALUES (1, 3, 2, 0, 5)",
                 "INSERT INTO flash_session_totals VALUES (1, 1, 1, 0, 2)",
                 "INSERT INTO cell_totals VALUES (8, 8, 's', 1, 1, 0, 3)",
                 "INSERT INTO cell_totals VALUES (8, 8, 'h', 1, 0, 0, 0)",
                 "INSERT INTO cell_totals VALUES (15, 1, 'h', 1, 1, 0, 2)",
                 "INSERT INTO flash_cell_totals VALUES (15, 1, 'h', 1, 1, 0, 2)",
                 "INSERT INTO flash_boxes VALUES (15, 1, 1)",
                 "PRAGMA user_version = 4"})
            QVERIFY2(query.exec(QLatin1String(statement)), statement);
        raw.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("four"));
}
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

    void costIsMeasuredAgainstTheAdvice_data()
    {
        // Values of stand, hit, double and split; NaN for an action not open.
        QTest::addColumn<QList<double>>("values");
        QTest::addColumn<char>("action");
        QTest::addColumn<char>("advice");
        QTest::addColumn<bool>("recorded");
        QTest::addColumn<double>("cost");
        QTest::addColumn<bool>("offChart");
        const double no = std::nan("");
        QTest::newRow("advice followed though stand is better here") << QList<double>{-5, -6, -12, no} << 'h' << 'h' << true << 0.0 << false;
        QTest::newRow("worse than the advice") << QList<double>{-8, -5, -10, no} << 's' << 'h' << true << 3.0 << false;
        QTest::newRow("better than the advice") << QList<double>{-5, -6, -12, no} << 's' << 'h' << true << 0.0 << true;
        QTest::newRow("as good as the advice") << QList<double>{-5, -5, -12, no} << 's' << 'h' << true << 0.0 << false;
        QTest::newRow("double advised, hit chosen") << QList<double>{-2, 1, 4, no} << 'h' << 'd' << true << 3.0 << false;
        QTest::newRow("split advised, double chosen") << QList<double>{-10, -4, -6, 2} << 'd' << 'p' << true << 8.0 << false;
        QTest::newRow("advised split not open") << QList<double>{-10, -4, -6, no} << 'h' << 'p' << false << 0.0 << false;
        QTest::newRow("chosen double not open") << QList<double>{-10, -4, no, no} << 'd' << 'h' << false << 0.0 << false;
        QTest::newRow("no advice") << QList<double>{-10, -4, -6, no} << 'h' << char(0) << false << 0.0 << false;
    }
    void costIsMeasuredAgainstTheAdvice()
    {
        QFETCH(QList<double>, values);
        QFETCH(char, action);
        QFETCH(char, advice);
        QFETCH(bool, recorded);
        QFETCH(double, cost);
        QFETCH(bool, offChart);
        DecisionValues::Decision decision;
        decision.situation.playerHand = handOf({10, 6});
        decision.situation.upCard = Card::fromIndex(9 * 4 + 3);
        decision.odds = {values[0], values[1], values[2], values[3]};
        decision.canDouble = !std::isnan(values[2]);
        decision.canSplit = !std::isnan(values[3]);
        decision.action = action;
        decision.advice = advice;
        const std::optional<DecisionRecord> record = DecisionValues::record(decision, DecisionRecord::programRules());
        QCOMPARE(record.has_value(), recorded);
        if (!record)
            return;
        QCOMPARE(record->cost, cost);
        QCOMPARE(record->offChart, offChart);
        QCOMPARE(record->handCards, QStringLiteral("10,6"));
        QCOMPARE(record->cell, hard16v10);
    }

    void unwritableFolderRecordsNothing()
    {
        writeFile(folder.filePath(QStringLiteral("plain")), {});
        HistoryDatabase db(folder.filePath(QStringLiteral("plain/history.sqlite")));
        QVERIFY(!db.isRecording());
        QVERIFY(!db.problem().isEmpty());
        QVERIFY(!db.writeRound({decisionOf(hard16v10, 's', 'h', 1.0)}, {}));
    }

    void secondCopyIsRefused()
    {
        auto first = std::make_unique<HistoryDatabase>(path());
        QVERIFY(first->isRecording());
        QVERIFY(first->writeRound({decisionOf(hard16v10, 's', 'h', 1.0)}, {{QDateTime::currentDateTimeUtc(), -25, 975}}));
        {
            HistoryDatabase second(path());
            QVERIFY(!second.isRecording());
            QCOMPARE(second.problem(), QStringLiteral("another copy is recording"));
            QCOMPARE(count(second, QStringLiteral("SELECT count(*) FROM decisions")), 1); // still readable
            QVERIFY(!second.writeRound({decisionOf(hard16v10, 's', 'h', 1.0)}, {}));
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
        QVERIFY(db.writeRound({decisionOf(hard16v10, 's', 'h', 1.0)}, {}));
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
            QVERIFY(!db.writeRound({decisionOf(hard16v10, 's', 'h', 1.0)}, {}));
            QVERIFY(!db.reset());
        }
        QCOMPARE(readFile(path()), before);
    }

    void olderFileIsMigratedKeepingItsRows()
    {
        // A record as the second schema left it, with its costs measured
        // against the best action, and rows no play can give.
        {
            QSqlDatabase raw = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("old"));
            raw.setDatabaseName(path());
            QVERIFY(raw.open());
            QSqlQuery query(raw);
            for (const char *statement : {
                     "CREATE TABLE sessions (id INTEGER PRIMARY KEY, started TEXT NOT NULL)",
                     "CREATE TABLE decisions (id INTEGER PRIMARY KEY, time TEXT NOT NULL, session INTEGER NOT NULL,"
                     " hand_cards TEXT NOT NULL, up_card TEXT NOT NULL, chart_row INTEGER NOT NULL,"
                     " chart_column INTEGER NOT NULL, advice_mode TEXT NOT NULL, action TEXT NOT NULL,"
                     " advice TEXT NOT NULL, value_stand REAL NOT NULL, value_hit REAL NOT NULL, value_double REAL,"
                     " value_split REAL, cost REAL NOT NULL, drill INTEGER NOT NULL)",
                     "CREATE TABLE hands (id INTEGER PRIMARY KEY, time TEXT NOT NULL, session INTEGER NOT NULL,"
                     " result TEXT NOT NULL, amount INTEGER NOT NULL, bank_after INTEGER NOT NULL, drill INTEGER NOT NULL)",
                     "CREATE INDEX decisions_by_cell ON decisions (chart_row, chart_column, action, advice, cost)",
                     "CREATE INDEX decisions_by_session ON decisions (session, action, advice, cost)",
                     // advice followed, charged against a better stand
                     "INSERT INTO decisions VALUES (1, 't', 1, '10,6', '10', 8, 8, 'always', 'h', 'h', -5, -6, -12, NULL, 1, 0)",
                     // off the chart and better for the cards
                     "INSERT INTO decisions VALUES (2, 't', 1, '10,6', '10', 8, 8, 'always', 's', 'h', -5, -6, -12, NULL, 0, 0)",
                     // a plain mistake
                     "INSERT INTO decisions VALUES (3, 't', 2, '10,6', '10', 8, 8, 'always', 's', 'h', -8, -5, -12, NULL, 3, 0)",
                     "INSERT INTO decisions VALUES (4, 't', 2, '10,6', '10', 8, 8, 'always', 's', 'h', -1e308, 1e308, NULL, NULL, 1e308, 0)",
                     "INSERT INTO decisions VALUES (5, 't', 2, '10,6', '10', 8, 8, 'always', 's', 'h', -1e308, 1e308, NULL, NULL, 1e308, 0)",
                     "INSERT INTO decisions VALUES (6, 't', 2, '10,6', '10', 8, 8, 'always', 's', 'h', -9e999, 0, NULL, NULL, 9e999, 0)",
                     "INSERT INTO decisions VALUES (7, 't', 2, '10,6', '10', 'x', 'y', 'always', 's', 'h', -8, -5, NULL, NULL, 3, 0)",
                     "INSERT INTO decisions VALUES (8, 't', 2, '10,6', '10', 8, 8, 'always', 'z', 'h', -8, -5, NULL, NULL, 3, 0)",
                     "INSERT INTO decisions VALUES (9, 't', 2, '10,6', '10', 8, 8, 'always', 's', 'd', -8, -5, NULL, NULL, 3, 0)",
                     "INSERT INTO decisions VALUES (10, 't', 2, '10,6', '10', 28, 8, 'always', 's', 'h', -8, -5, NULL, NULL, 3, 0)",
                     "PRAGMA user_version = 2"})
                QVERIFY2(query.exec(QLatin1String(statement)), statement);
            raw.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("old"));
        HistoryDatabase db(path());
        QVERIFY(db.isRecording());
        QCOMPARE(count(db, QStringLiteral("PRAGMA user_version")), HistoryDatabase::schemaVersion);
        QSqlQuery rows(db.connection());
        QVERIFY(rows.exec(QStringLiteral("SELECT group_concat(id || ':' || cost || ':' || off_chart, ' ') FROM decisions")));
        QVERIFY(rows.next());
        QCOMPARE(rows.value(0).toString(), QStringLiteral("1:0.0:0 2:0.0:1 3:3.0:0"));
        QCOMPARE(count(db, QStringLiteral("SELECT count(*) FROM damaged_decisions")), 7);

        const HistoryStatistics stats = HistoryStatistics::load(db.connection(), 0);
        QCOMPARE(stats.damagedRows, 7);
        QCOMPARE(stats.allTime.decisions, 3);
        QCOMPARE(stats.allTime.mistakes, 1);
        QCOMPARE(stats.allTime.offChart, 1);
        QCOMPARE(stats.allTime.matched(), 1);
        QCOMPARE(stats.allTime.cost, 3.0);
        QCOMPARE(int(stats.sessions.size()), 2);
        QCOMPARE(stats.sessions[1].tally.cost, 3.0);
        QCOMPARE(stats.cell(hard16v10).tally.decisions, 3);
        QCOMPARE(stats.cell(hard16v10).commonestWrong, 's');
        QCOMPARE(stats.cell({0, 0}).tally.decisions, 0);
        // Rows from before the flash drill are the table's.
        QCOMPARE(count(db, QStringLiteral("SELECT count(*) FROM decisions WHERE flash = 0")), 3);
        QCOMPARE(HistoryStatistics::load(db.connection(), 0, false).allTime.cost, 3.0);

        // The sums keep up with what is stored after the change.
        QVERIFY(db.writeRound({decisionOf(hard16v10, 'd', 'h', 4.0)}, {}));
        const HistoryStatistics after = HistoryStatistics::load(db.connection(), db.sessionId());
        QCOMPARE(after.allTime.cost, 7.0);
        QCOMPARE(after.thisSession.mistakes, 1);
        QCOMPARE(after.cell(hard16v10).tally.mistakes, 2);
    }

    void damagedRowsAreRefused_data()
    {
        QTest::addColumn<QString>("values");
        const QString good = QStringLiteral("1, 't', 1, '10,6', '10', 8, 8, 'always', 's', 'h', -8, -5, NULL, NULL, 3, 0, 0");
        QTest::newRow("sound row") << good;
        QTest::newRow("infinite cost") << QStringLiteral("1, 't', 1, '10,6', '10', 8, 8, 'always', 's', 'h', -8, -5, NULL, NULL, 9e999, 0, 0");
        QTest::newRow("negative cost") << QStringLiteral("1, 't', 1, '10,6', '10', 8, 8, 'always', 's', 'h', -8, -5, NULL, NULL, -1, 0, 0");
        QTest::newRow("cost beyond a double") << QStringLiteral("1, 't', 1, '10,6', '10', 8, 8, 'always', 's', 'h', -8, -5, NULL, NULL, 100.5, 0, 0");
        QTest::newRow("huge value") << QStringLiteral("1, 't', 1, '10,6', '10', 8, 8, 'always', 's', 'h', -1e308, -5, NULL, NULL, 3, 0, 0");
        QTest::newRow("text row") << QStringLiteral("1, 't', 1, '10,6', '10', 'H3-8', 8, 'always', 's', 'h', -8, -5, NULL, NULL, 3, 0, 0");
        QTest::newRow("fractional column") << QStringLiteral("1, 't', 1, '10,6', '10', 8, 2.5, 'always', 's', 'h', -8, -5, NULL, NULL, 3, 0, 0");
        QTest::newRow("NULL row") << QStringLiteral("1, 't', 1, '10,6', '10', NULL, 8, 'always', 's', 'h', -8, -5, NULL, NULL, 3, 0, 0");
        QTest::newRow("row past the chart") << QStringLiteral("1, 't', 1, '10,6', '10', 28, 8, 'always', 's', 'h', -8, -5, NULL, NULL, 3, 0, 0");
        QTest::newRow("column past the chart") << QStringLiteral("1, 't', 1, '10,6', '10', 8, 10, 'always', 's', 'h', -8, -5, NULL, NULL, 3, 0, 0");
        QTest::newRow("unknown action") << QStringLiteral("1, 't', 1, '10,6', '10', 8, 8, 'always', 'x', 'h', -8, -5, NULL, NULL, 3, 0, 0");
        QTest::newRow("unknown advice") << QStringLiteral("1, 't', 1, '10,6', '10', 8, 8, 'always', 's', '', -8, -5, NULL, NULL, 3, 0, 0");
        QTest::newRow("double without its value") << QStringLiteral("1, 't', 1, '10,6', '10', 8, 8, 'always', 'd', 'h', -8, -5, NULL, NULL, 3, 0, 0");
        QTest::newRow("off the chart as advised") << QStringLiteral("1, 't', 1, '10,6', '10', 8, 8, 'always', 'h', 'h', -8, -5, NULL, NULL, 0, 1, 0");
    }
    void damagedRowsAreRefused()
    {
        QFETCH(QString, values);
        HistoryDatabase db(path());
        QSqlQuery query(db.connection());
        const bool sound = QLatin1String(QTest::currentDataTag()) == QLatin1String("sound row");
        QCOMPARE(query.exec(QStringLiteral("INSERT INTO decisions VALUES (%1, 0, 'program', NULL)").arg(values)), sound); // a table decision
        QCOMPARE(count(db, QStringLiteral("SELECT count(*) FROM decisions")), sound ? 1 : 0);
    }

    void damagedSumsAreLeftOutAndCounted()
    {
        HistoryDatabase db(path());
        QVERIFY(db.writeRound({decisionOf(hard16v10, 's', 'h', 3.0), decisionOf(soft17v3, 'h', 'd', 1.5)}, {}));
        QSqlQuery query(db.connection());
        for (const char *statement : {"INSERT INTO session_totals VALUES ('program', 7, 2, 0, 0, 1e308)",
                                      "INSERT INTO session_totals VALUES ('program', 8, 1, 0, 0, 9e999)",
                                      "INSERT INTO session_totals VALUES ('program', 9, 'x', 0, 0, 1)",
                                      "INSERT INTO session_totals VALUES ('program', 10, 2, 2, 1, 1)",
                                      "INSERT INTO cell_totals VALUES ('program', 2.5, 0, 's', 1, 1, 0, 1)",
                                      "INSERT INTO cell_totals VALUES ('program', 'a', 0, 's', 1, 1, 0, 1)",
                                      "INSERT INTO cell_totals VALUES ('program', 0, 0, 'q', 1, 1, 0, 1)",
                                      "INSERT INTO cell_totals VALUES ('program', 0, 1, 's', 1, 1, 0, -1)",
                                      "INSERT INTO cell_totals VALUES ('program', 0, 2, 's', 0, 0, 0, 0)"})
            QVERIFY2(query.exec(QLatin1String(statement)), statement);
        const HistoryStatistics stats = HistoryStatistics::load(db.connection(), db.sessionId());
        QCOMPARE(stats.damagedRows, 9);
        QCOMPARE(stats.allTime.decisions, 2);
        QCOMPARE(stats.allTime.cost, 4.5);
        QCOMPARE(int(stats.sessions.size()), 1);
        for (int column = 0; column < 3; ++column)
            QCOMPARE(stats.cell({0, column}).tally.decisions, 0);
        QCOMPARE(stats.cell(soft17v3).tally.cost, 1.5);
    }

    void commonestWrongActionTieGoesToTheFirstCode()
    {
        // Stored in the order that would win a tie if the order decided it.
        HistoryDatabase db(path());
        QVERIFY(db.writeRound({decisionOf(hard16v10, 's', 'h', 1.0), decisionOf(hard16v10, 'd', 'h', 2.0),
                               decisionOf(hard16v10, 's', 'h', 1.0), decisionOf(hard16v10, 'd', 'h', 2.0),
                               decisionOf(soft17v3, 'p', 'd', 1.0), decisionOf(soft17v3, 's', 'd', 1.0),
                               decisionOf(soft17v3, 'p', 'd', 1.0), decisionOf(soft17v3, 'h', 'd', 1.0),
                               decisionOf(soft17v3, 'h', 'd', 1.0), decisionOf(soft17v3, 'd', 'd', 0.0)},
                              {}));
        const HistoryStatistics stats = HistoryStatistics::load(db.connection(), db.sessionId());
        QCOMPARE(stats.cell(hard16v10).commonestWrong, 'd');
        QCOMPARE(stats.cell(soft17v3).commonestWrong, 'h');
    }

    void statisticsSumByCellAndSession()
    {
        {
            HistoryDatabase first(path());
            QVERIFY(first.writeRound({decisionOf(hard16v10, 's', 'h', 3.0), decisionOf(hard16v10, 'h', 'h', 0.0),
                                      decisionOf(hard16v10, 's', 'h', 2.0), decisionOf(soft17v3, 'h', 'd', 1.5)},
                                     {}));
        }
        HistoryDatabase db(path());
        QVERIFY(db.writeRound({decisionOf(hard16v10, 'd', 'h', 4.0)}, {}));
        const HistoryStatistics stats = HistoryStatistics::load(db.connection(), db.sessionId());
        QCOMPARE(stats.allTime.decisions, 5);
        QCOMPARE(stats.allTime.matched(), 1);
        QCOMPARE(stats.allTime.cost, 10.5);
        QCOMPARE(stats.thisSession.decisions, 1);
        QCOMPARE(stats.thisSession.mistakes, 1);
        QCOMPARE(stats.thisSession.cost, 4.0);
        QCOMPARE(int(stats.sessions.size()), 2);
        QCOMPARE(stats.sessions[0].tally.decisions, 4);
        QCOMPARE(stats.cell(hard16v10).tally.mistakes, 3);
        QCOMPARE(stats.cell(hard16v10).tally.cost, 9.0);
        QCOMPARE(stats.cell(hard16v10).commonestWrong, 's');
        QCOMPARE(stats.cell(soft17v3).commonestWrong, 'h');
        QCOMPARE(stats.cell(soft17v3).costPer100(), 150.0);
        const std::vector<ChartCell> costliest = stats.costliest(10);
        QCOMPARE(int(costliest.size()), 2);
        QCOMPARE(costliest[0], hard16v10); // 225 per 100
        QCOMPARE(stats.costliest(1).size(), std::size_t(1));

        const QString csv = folder.filePath(QStringLiteral("out.csv"));
        QCOMPARE(db.exportCsv(csv), QString());
        const QList<QByteArray> lines = readFile(csv).trimmed().split('\n');
        QCOMPARE(lines.size(), 6);
        QVERIFY(lines[0].startsWith("time,session,hand_cards,up_card"));
        QVERIFY(lines[1].contains(",\"10,6\",10,8,8,"));

        QVERIFY(db.reset());
        QCOMPARE(HistoryStatistics::load(db.connection(), db.sessionId()).allTime.decisions, 0);
    }

    void versionFourRowsAreTheProgramsTable()
    {
        writeVersionFourRecord(path());
        HistoryDatabase db(path());
        QVERIFY(db.isRecording());
        QCOMPARE(count(db, QStringLiteral("PRAGMA user_version")), 5);
        QCOMPARE(count(db, QStringLiteral("SELECT count(*) FROM decisions WHERE rules = 'program'")), 3);
        QCOMPARE(count(db, QStringLiteral("SELECT count(*) FROM hands WHERE rules = 'program'")), 1);
        QCOMPARE(HistoryStatistics::tables(db.connection()), std::vector<QString>{QStringLiteral("program")});
        const HistoryStatistics stats = HistoryStatistics::load(db.connection(), 1);
        QCOMPARE(stats.allTime.decisions, 3);
        QCOMPARE(stats.thisSession.cost, 5.0);
        QCOMPARE(stats.cell(hard16v10).commonestWrong, 's');
        QCOMPARE(stats.damagedRows, 0);
        QCOMPARE(HistoryStatistics::load(db.connection(), 1, false).allTime.decisions, 2);
        QCOMPARE(HistoryStatistics::load(db.connection(), 1, true, casinoTable()).allTime.decisions, 0);

        // The sums carry on by table, the migrated ones included.
        QVERIFY(db.writeRound({decisionOf(hard16v10, 's', 'h', 4.0), atCasino(tensV7, 'p', 's', 6.0)},
                              {{QDateTime::currentDateTimeUtc(), 37.5, 1012.5, false, casinoTable()}}));
        QCOMPARE(HistoryStatistics::load(db.connection(), 1).cell(hard16v10).tally.cost, 7.0);
        QCOMPARE(HistoryStatistics::load(db.connection(), 1, false, casinoTable()).allTime.cost, 6.0);
        QSqlQuery hand(db.connection());
        QVERIFY(hand.exec(QStringLiteral("SELECT amount, bank_after, result FROM hands WHERE rules <> 'program'")));
        QVERIFY(hand.next());
        QCOMPARE(hand.value(0).toDouble(), 37.5);
        QCOMPARE(hand.value(1).toDouble(), 1012.5);
        QCOMPARE(hand.value(2).toString(), QStringLiteral("win"));
    }

    void tableRowsAreChecked_data()
    {
        // A row's cell, action and advice, then its flash, rules and surrender
        // value; and whether it is stored.
        QTest::addColumn<QString>("row");
        QTest::addColumn<bool>("stored");
        const QString casino = QLatin1Char('\'') + casinoTable() + QLatin1Char('\'');
        auto values = [](const QString &cell, const QString &actions, const QString &tail) {
            return QStringLiteral("1, 't', 1, '10,6', '10', %1, 'always', %2, -8, -5, 0, 0, 3, 0, 0, %3")
                .arg(cell, actions, tail);
        };
        QTest::newRow("the program's last row") << values("27, 0", "'s', 'h'", "0, 'program', NULL") << true;
        QTest::newRow("past the program's rows") << values("28, 0", "'s', 'h'", "0, 'program', NULL") << false;
        QTest::newRow("a casino chart's last row") << values("29, 0", "'s', 'h'", "0, " + casino + ", NULL") << true;
        QTest::newRow("past a casino chart's rows") << values("30, 0", "'s', 'h'", "0, " + casino + ", NULL") << false;
        QTest::newRow("surrender at a casino table") << values("9, 8", "'h', 'r'", "0, " + casino + ", -12.5") << true;
        QTest::newRow("surrender without its value") << values("9, 8", "'r', 'h'", "0, " + casino + ", NULL") << false;
        QTest::newRow("surrender at the program's table") << values("8, 8", "'h', 'r'", "0, 'program', -12.5") << false;
        QTest::newRow("surrender value out of range") << values("9, 8", "'h', 'r'", "0, " + casino + ", -100.5") << false;
        QTest::newRow("flash answer at a casino table") << values("9, 8", "'s', 'h'", "1, " + casino + ", NULL") << false;
        QTest::newRow("no table") << values("8, 8", "'s', 'h'", "0, '', NULL") << false;
        QTest::newRow("table not a text") << values("8, 8", "'s', 'h'", "0, X'70726F6772616D', NULL") << false;
    }
    void tableRowsAreChecked()
    {
        QFETCH(QString, row);
        QFETCH(bool, stored);
        HistoryDatabase db(path());
        QSqlQuery query(db.connection());
        QCOMPARE(query.exec(QStringLiteral("INSERT INTO decisions VALUES (%1)").arg(row)), stored);
        QCOMPARE(count(db, QStringLiteral("SELECT count(*) FROM cell_totals")), stored ? 1 : 0);
    }

    void statisticsAreKeptByTable()
    {
        HistoryDatabase db(path());
        QVERIFY(db.writeRound({atCasino(tensV7, 'p', 's', 6.0), atCasino(tensV7, 's', 's', 0.0),
                               atCasino({9, 8}, 'h', 'r', 1.5)},
                              {}));
        QVERIFY(db.writeRound({decisionOf(hard16v10, 's', 'h', 3.0)}, {}));
        QSqlQuery damage(db.connection());
        QVERIFY(damage.exec(QStringLiteral("INSERT INTO session_totals VALUES ('decks=5', 1, 1, 1, 0, 1)")));
        // The program's table first, though the casino's came first and sorts first.
        QCOMPARE(HistoryStatistics::tables(db.connection()), (std::vector<QString>{QStringLiteral("program"), casinoTable()}));

        const HistoryStatistics casino = HistoryStatistics::load(db.connection(), db.sessionId(), true, casinoTable());
        QVERIFY(casino.rows.isCasino());
        QCOMPARE(casino.rows.count(), 30);
        QCOMPARE(casino.thisSession.decisions, 3);
        QCOMPARE(casino.allTime.mistakes, 2);
        QCOMPARE(casino.allTime.cost, 7.5);
        QCOMPARE(casino.cell(tensV7).tally.decisions, 2);
        QCOMPARE(casino.cell(tensV7).commonestWrong, 'p');
        QCOMPARE(casino.cell({9, 8}).commonestWrong, 'h');
        QCOMPARE(casino.cell(hard16v10).tally.decisions, 0);
        QCOMPARE(casino.costliest(10), (std::vector<ChartCell>{tensV7, {9, 8}}));
        QCOMPARE(casino.damagedRows, 1); // the table no rules text names

        const HistoryStatistics program = HistoryStatistics::load(db.connection(), db.sessionId());
        QVERIFY(!program.rows.isCasino());
        QCOMPARE(program.allTime.decisions, 1);
        QCOMPARE(program.cell(hard16v10).tally.cost, 3.0);
        QCOMPARE(program.cell(tensV7).tally.decisions, 0);

        // A surrender counts only at a casino table; its sums read as damage elsewhere.
        QVERIFY(damage.exec(QStringLiteral("INSERT INTO cell_totals VALUES ('program', 9, 8, 'r', 1, 1, 0, 1)")));
        QCOMPARE(HistoryStatistics::load(db.connection(), db.sessionId()).damagedRows, 2);

        const QString csv = folder.filePath(QStringLiteral("tables.csv"));
        QCOMPARE(db.exportCsv(csv), QString());
        const QList<QByteArray> lines = readFile(csv).trimmed().split('\n');
        QVERIFY(lines[0].endsWith(",flash,rules,value_surrender"));
        QVERIFY(lines[3].endsWith(QByteArray(",0,\"") + casinoTable().toUtf8() + "\",0"));
    }

    void casinoCellsFollowItsChart_data()
    {
        QTest::addColumn<QList<int>>("ranks");
        QTest::addColumn<int>("up");
        QTest::addColumn<bool>("maySplit");
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("name");
        QTest::newRow("low") << QList<int>{2, 3} << 2 << true << 0 << "hard 4-7 v 2";
        QTest::newRow("eight") << QList<int>{5, 3} << 7 << true << 1 << "hard 8 v 7";
        QTest::newRow("sixteen") << QList<int>{10, 6} << 13 << true << 9 << "hard 16 v 10";
        QTest::newRow("seventeen") << QList<int>{10, 7} << 1 << true << 10 << "hard 17 v A";
        QTest::newRow("eighteen to twenty") << QList<int>{10, 4, 5} << 6 << true << 11 << "hard 18-20 v 6";
        QTest::newRow("soft") << QList<int>{1, 6} << 3 << true << 16 << "soft 17 v 3";
        QTest::newRow("soft twenty") << QList<int>{1, 2, 7} << 9 << true << 19 << "soft 20 v 9";
        QTest::newRow("aces") << QList<int>{1, 1} << 1 << true << 20 << "pair of aces v A";
        QTest::newRow("twos") << QList<int>{2, 2} << 4 << true << 21 << "pair of 2s v 4";
        QTest::newRow("unlike tens") << QList<int>{10, 13} << 7 << true << 29 << "pair of tens v 7";
        QTest::newRow("tens not to split") << QList<int>{10, 13} << 7 << false << 11 << "hard 18-20 v 7";
        QTest::newRow("eights not to split") << QList<int>{8, 8} << 5 << false << 9 << "hard 16 v 5";
    }
    void casinoCellsFollowItsChart()
    {
        QFETCH(QList<int>, ranks);
        QFETCH(int, up);
        QFETCH(bool, maySplit);
        QFETCH(int, row);
        QFETCH(QString, name);
        const ChartRows casino = ChartRows::forTable(casinoTable());
        const ChartCell cell = casino.cellOf(handOf(ranks), Card::fromIndex((up - 1) * 4), maySplit);
        QCOMPARE(cell.row, row);
        QCOMPARE(casino.cellName(cell), name);
        if (ranks.size() == 2 && maySplit)
            QCOMPARE(casino.twoCardRow(ranks[0], ranks[1]), row);
    }

    void chartRowsOfEachTable()
    {
        const ChartRows program = ChartRows::forTable(QString::fromStdString(RulesText::format(GameRules::program())));
        const ChartRows casino = ChartRows::forTable(casinoTable());
        QVERIFY(!program.isCasino());
        QCOMPARE(program.count(), 28);
        QCOMPARE(casino.count(), 30);
        QCOMPARE(program.label(27), QStringLiteral("1010"));
        QCOMPARE(casino.label(0), QStringLiteral("H4-7"));
        QCOMPARE(casino.label(29), QStringLiteral("1010"));
        QCOMPARE(program.name(9), QStringLiteral("hard 17-20"));
        QCOMPARE(casino.name(10), QStringLiteral("hard 17"));
        // The cell a card cannot be placed in: 21 and a soft 12 not to be split.
        QVERIFY(!casino.cellOf(handOf({1, 10}), Card::fromIndex(0), true).isValid());
        QVERIFY(!casino.cellOf(handOf({1, 1}), Card::fromIndex(0), false).isValid());

        // The common weak spots are the same hands in either chart.
        const DrillPlan programSpots = DrillPlan::commonWeakSpots(program);
        const DrillPlan casinoSpots = DrillPlan::commonWeakSpots(casino);
        QCOMPARE(casinoSpots.cells().size(), programSpots.cells().size());
        for (std::size_t i = 0; i < casinoSpots.cells().size(); ++i)
            QCOMPARE(casino.cellName(casinoSpots.cells()[i].cell), program.cellName(programSpots.cells()[i].cell));
    }

    void shoeDrillTakesOnlyTheDrilledCards()
    {
        // Every cell of a casino chart, from a whole shoe of six decks.
        ClockSeededRandom random([] { return uint64_t(5); });
        std::vector<Card> shoe;
        for (int deck = 0; deck < 6; ++deck)
            for (int index = 0; index < 52; ++index)
                shoe.push_back(Card::fromIndex(index));
        const ChartRows casino = ChartRows::casino();
        for (int row = 0; row < casino.count(); ++row) {
            for (int column = 0; column < 10; ++column) {
                DrillShoeSource source(random, DrillPlan({DrillPlan::Weighted{{row, column}}}));
                std::vector<Card> cards = shoe;
                source.order(cards);
                QCOMPARE(source.current(), (ChartCell{row, column}));
                Hand hand;
                hand.add(cards[cards.size() - 2]);
                hand.add(cards[cards.size() - 3]);
                QCOMPARE(casino.cellOf(hand, cards.back(), true), (ChartCell{row, column}));
                std::vector<int> sorted;
                for (const Card &card : cards)
                    sorted.push_back(card.cardIndex);
                QVERIFY(!std::is_sorted(sorted.begin(), sorted.end() - 3)); // the rest is shuffled
                std::sort(sorted.begin(), sorted.end());
                for (std::size_t i = 0; i < sorted.size(); ++i)
                    QCOMPARE(sorted[i], int(i / 6));
            }
        }
    }

    void drillAtACasinoTableDealsItsWeakSpotsFromTheShoe()
    {
        ClockSeededRandom random([] { return uint64_t(9); });
        TrainingSession session(random, path());
        session.setRules(casinoRules());
        QCOMPARE(session.table(), casinoTable());
        // A pair of eights not split against a ten, in the casino chart's row 27.
        DecisionValues::Decision decision;
        decision.situation.playerHand = handOf({8, 8});
        decision.situation.upCard = Card::fromIndex(9 * 4);
        decision.odds = {-12.0, -13.0, -25.0, -11.0};
        decision.canDouble = decision.canSplit = true;
        decision.surrender = -12.5;
        decision.action = 'h';
        decision.advice = 'r';
        session.decide(decision);
        session.handSettled(-12.5, 987.5, true);
        const HistoryStatistics stats = session.statistics();
        QCOMPARE(stats.table, casinoTable());
        QCOMPARE(stats.cell({27, 8}).tally.cost, 0.5);
        QCOMPARE(session.statistics(true, QStringLiteral("program")).allTime.decisions, 0);

        ShuffledShoeSource shuffled(random);
        DealingShoe shoe(6, shuffled);
        QVERIFY(!session.startShoeRound(shoe)); // no drill: the shoe deals on
        QCOMPARE(shoe.shuffles(), 1);
        session.startDrill();
        QVERIFY(session.drilling());
        const DrillPlan plan = DrillPlan::fromStatistics(stats);
        QCOMPARE(plan.cells().front().cell, (ChartCell{27, 8}));
        std::map<QString, int> marked;
        for (int round = 0; round < 40; ++round) {
            for (int dealt = 0; dealt < 20; ++dealt) // whatever the last round left
                shoe.deal();
            const int shuffles = shoe.shuffles();
            QVERIFY(session.startShoeRound(shoe));
            QCOMPARE(shoe.shuffles(), shuffles + 1);
            QCOMPARE(shoe.cardsLeft(), 6 * 52);
            const CasinoRound dealt(casinoRules(), shoe);
            QVERIFY(!dealt.shuffledBeforeDeal());
            const ChartCell cell = ChartRows::casino().cellOf(dealt.hands()[0].cards, dealt.upCard(), true);
            QVERIFY(std::any_of(plan.cells().begin(), plan.cells().end(),
                                [&](const DrillPlan::Weighted &spot) { return spot.cell == cell; }));
            QCOMPARE(session.drillMarker(), QStringLiteral("Drill: ") + ChartRows::casino().cellName(cell));
            ++marked[session.drillMarker()];
            shoe.endRound(); // as the round would once played
        }
        QVERIFY(marked[QStringLiteral("Drill: pair of 8s v 10")] > 0);
        session.handSettled(25, 1012.5, true);
        HistoryDatabase &db = session.database();
        QCOMPARE(count(db, QStringLiteral("SELECT drill FROM hands ORDER BY id DESC LIMIT 1")), 1);

        // Back at the program's table the drill deals its deck.
        session.setRules(GameRules::program());
        QVERIFY(session.drilling());
        StackedDeckSource normal;
        QVERIFY(&session.startRound(normal) != &normal);
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
            stats.cells[i * 20] = {{10, 5, 0, 12.0 - i}, 's'};
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
        few.cells[soft17v3.index()] = {{4, 2, 0, 8.0}, 'h'};
        const DrillPlan filled = DrillPlan::fromStatistics(few);
        QCOMPARE(filled.cells().size(), DrillPlan::leastCells);
        QCOMPARE(filled.cells()[1].cell, (ChartCell{4, 0})); // hard 12 v 2, the first common spot
        QCOMPARE(filled.cells()[1].weight, 200.0);
        QCOMPARE(DrillPlan::fromStatistics(HistoryStatistics()).cells().size(), std::size_t(25 + 18 + 42));
    }
};

QTEST_GUILESS_MAIN(TestHistory)
#include "test_history.moc"
