// The record and the drill through the real table, with stacked decks.
#include "DecisionOf.h"
#include "FileBytes.h"
#include "MistakeMap.h"
#include "TrendPlot.h"
#include <QScreen>
#include <QStandardPaths>
#include "RecordLock.h"
#include "RecordingMark.h"
#include "RecordRows.h"
#include "TableFixture.h"
#include "RulesText.h"
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QSqlQuery>
#include <QtTest>

class TestTraining : public QObject {
    Q_OBJECT
    std::unique_ptr<QTemporaryDir> data;
    std::unique_ptr<TableFixture> fixture;

private Q_SLOTS:
    void init()
    {
        data = std::make_unique<QTemporaryDir>();
        qputenv("XDG_DATA_HOME", data->path().toLocal8Bit());
        fixture = std::make_unique<TableFixture>();
    }
    void cleanup() { fixture.reset(); }

    void overriddenStandIsStoredWithItsCost()
    {
        QVERIFY(fixture->open());
        MainWindow &table = fixture->table();
        table.prefs.prfAlwaysShowBestPlay = false;
        fixture->deal({10, 10, 6, 7}); // dealer 10 + 7
        QCOMPARE(table.theBestPlay, QStringLiteral("h"));
        table.lblStand_Click();
        QCOMPARE(table.statusText(), QStringLiteral("Should Hit.."));
        table.lblStand_Click();
        QVERIFY(table.roundOver);
        const QStringList decisions = recordRows(table, QStringLiteral(
            "SELECT hand_cards, up_card, action, advice, advice_mode, drill,"
            " round(max(value_hit, value_stand, value_double) - value_stand - cost, 9), cost > 0.5 FROM decisions"));
        QCOMPARE(decisions, QStringList{QStringLiteral("10,6|10|s|h|after error|0|0|1")});
        QCOMPARE(recordRows(table, QStringLiteral("SELECT result, amount, bank_after FROM hands")),
                 QStringList{QStringLiteral("loss|-25|975")});
    }

    void splitStoresTwoHands()
    {
        QVERIFY(fixture->open());
        MainWindow &table = fixture->table();
        // First hand 8 + 10 against 6 + ace; second 8 + 2 against 9 + 10.
        fixture->deal({6, 8, 8, 10, 1, 9, 2, 10});
        table.lblSplit_Click();
        table.lblStand_Click();
        QVERIFY(!table.roundOver);
        QVERIFY(recordRows(table, QStringLiteral("SELECT count(*) FROM hands")) == QStringList{QStringLiteral("0")});
        table.lblStand_Click();
        QVERIFY(table.roundOver);
        QCOMPARE(recordRows(table, QStringLiteral("SELECT hand_cards, up_card, action, value_split IS NOT NULL FROM decisions")),
                 (QStringList{QStringLiteral("8,8|6|p|1"), QStringLiteral("8,10|6|s|0"), QStringLiteral("8,2|9|s|0")}));
        QCOMPARE(recordRows(table, QStringLiteral("SELECT amount, bank_after FROM hands")),
                 (QStringList{QStringLiteral("25|1025"), QStringLiteral("-25|1000")}));
    }

    void drillDealsMarkedWeakSpots()
    {
        QVERIFY(fixture->open());
        MainWindow &table = fixture->table();
        table.findChild<QAction *>(QStringLiteral("mnuDrill"))->trigger();
        QLabel *marker = table.training.marker();
        QVERIFY(marker->isVisibleTo(&table));
        fixture->deal({10, 10, 6});
        const ChartCell cell = ChartCell::of(table.playerHand, table.dealerHand[0]);
        QCOMPARE(marker->text(), QStringLiteral("Drill: ") + cell.name());
        QCOMPARE(table.bank(), 1000);
        QCOMPARE(table.wager, int16_t(25));
        table.lblStand_Click();
        QCOMPARE(recordRows(table, QStringLiteral("SELECT DISTINCT drill FROM decisions")), QStringList{QStringLiteral("1")});
        QCOMPARE(recordRows(table, QStringLiteral("SELECT drill FROM hands")).value(0), QStringLiteral("1"));

        table.findChild<QAction *>(QStringLiteral("mnuDrill"))->trigger();
        QVERIFY(!marker->isVisibleTo(&table));
        table.roundOver = true;
        fixture->deal({5, 10, 6});
        QCOMPARE(table.dealerHand[0].rank, int16_t(5));
        QCOMPARE(table.playerHand[1].rank, int16_t(6));
    }

    // The drilled hand meets one up-card; a split's second hand meets a new
    // one, so the marker goes until the next deal.
    void drillMarkerLeavesTheSplitsSecondHand()
    {
        QVERIFY(fixture->open());
        MainWindow &table = fixture->table();
        table.findChild<QAction *>(QStringLiteral("mnuDrill"))->trigger();
        QLabel *marker = table.training.marker();
        // With no record the drill deals pair splits among its cells. A pair
        // of 2s to 9s: split aces take one card and stop, and a split hand of
        // an ace or a ten-value card can reach 21 and end at once.
        auto twoToNinePair = [&table] {
            return table.canSplit && table.playerHand[0].rank >= 2 && table.playerHand[0].rank <= 9;
        };
        for (int round = 0; round < 400 && !twoToNinePair(); ++round) {
            if (!table.roundOver)
                table.lblStand_Click();
            table.picDeal_Click();
        }
        QVERIFY(twoToNinePair());
        const QString firstUpCard = ChartCell::of(table.playerHand, table.dealerHand[0]).name();
        QCOMPARE(marker->text(), QStringLiteral("Drill: ") + firstUpCard);
        table.lblSplit_Click();
        QVERIFY(marker->isVisibleTo(&table));
        table.lblStand_Click(); // the first hand; the second is dealt against a new up-card
        QVERIFY(!table.roundOver);
        QCOMPARE(table.playerHand.count() >= 2 ? table.playerHand[0].rank : -1, table.splitHand[0].rank);
        QVERIFY(!marker->isVisibleTo(&table));
        table.lblStand_Click();
        QVERIFY(table.roundOver);
        table.picDeal_Click();
        QVERIFY(marker->isVisibleTo(&table));
        QCOMPARE(marker->text(), QStringLiteral("Drill: ") + ChartCell::of(table.playerHand, table.dealerHand[0]).name());
    }

    // Escape and Ctrl+W close the table's other windows.
    void closeKeysCloseTheWindows_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("window");
        QTest::addColumn<QKeySequence>("key");
        for (const auto &[entry, window] : {std::pair{"mnuStatistics", "frmStatistics"},
                                            std::pair{"mnuContents", "helpWindow"}, std::pair{"mnuAbout", "frmAbout"}}) {
            QTest::addRow("%s, Escape", window) << entry << window << QKeySequence(Qt::Key_Escape);
            QTest::addRow("%s, Ctrl+W", window) << entry << window << QKeySequence(Qt::CTRL | Qt::Key_W);
        }
    }
    void closeKeysCloseTheWindows()
    {
        QFETCH(QString, entry);
        QFETCH(QString, window);
        QFETCH(QKeySequence, key);
        QVERIFY(fixture->open());
        MainWindow &table = fixture->table();
        table.findChild<QAction *>(entry)->trigger();
        QWidget *opened = nullptr;
        for (QWidget *top : QApplication::topLevelWidgets()) {
            if (top->objectName() == window)
                opened = top;
        }
        QVERIFY(opened && opened->isVisible());
        opened->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(opened));
        // As a real key goes: a shortcut through the window system, a plain
        // key to the focus, and from there up to the window.
        if (key == QKeySequence(Qt::Key_Escape))
            QTest::keyClick(opened->focusWidget() ? opened->focusWidget() : opened, Qt::Key_Escape);
        else
            QTest::keySequence(opened->windowHandle(), key);
        QVERIFY(!opened->isVisible());
        QVERIFY(table.isVisible());
    }

    void statisticsWindowShowsTheSession()
    {
        QVERIFY(fixture->open());
        MainWindow &table = fixture->table();
        fixture->deal({10, 10, 6, 7});
        table.lblStand_Click();
        table.roundOver = true;
        fixture->deal({10, 10, 6, 7});
        table.lblHit_Click();
        table.findChild<QAction *>(QStringLiteral("mnuStatistics"))->trigger();
        StatisticsWindow *window = table.training.statisticsWindow();
        QVERIFY(window && window->isVisible());
        QCOMPARE(window->statistics().thisSession.decisions, 2);
        QCOMPARE(window->statistics().thisSession.matched(), 1);
        QVERIFY(window->accuracyText().contains(QStringLiteral("2 decisions, 50.0 % as advised")));
        QCOMPARE(window->costliestText(), QStringLiteral("No cell played 5 times or more has lost chips yet."));

        const ChartCell cell{8, 8};
        QTest::mouseClick(window->map(), Qt::LeftButton, {}, window->map()->cellRect(cell).center());
        QVERIFY(window->detailText().startsWith(QStringLiteral("hard 16 v 10: 2 decisions, 1 mistake, ")));
        QVERIFY(window->detailText().endsWith(QStringLiteral("most often wrong: Stand")));

        const QString csv = data->filePath(QStringLiteral("decisions.csv"));
        QCOMPARE(window->exportTo(csv), QString());
        QCOMPARE(readFile(csv).count('\n'), 3);

        QStringList asked;
        window->confirm = [&](const QString &question) { asked << question; return asked.size() > 1; };
        QVERIFY(!window->resetHistory());
        QCOMPARE(window->statistics().allTime.decisions, 2);
        QVERIFY(window->resetHistory());
        QCOMPARE(window->statistics().allTime.decisions, 0);

        // The open window follows the table to other rules.
        table.training.setRules(*RulesText::parse("decks=2,soft17=hit"));
        QCOMPARE(window->shownTable(), table.training.session().table());
        QCOMPARE(window->tableSelector()->currentText(), QStringLiteral("2 decks, H17, DAS, 3:2"));
    }

    void secondCopyPlaysOnWithoutRecording()
    {
        QDir().mkpath(QFileInfo(HistoryDatabase::defaultPath()).absolutePath());
        RecordLock other(HistoryDatabase::defaultPath() + QStringLiteral(".lock"));
        QVERIFY(other.held());
        QVERIFY(fixture->open());
        MainWindow &table = fixture->table();
        QCOMPARE(table.statusText(), QStringLiteral("Not recording history: another copy is recording"));
        fixture->deal({10, 10, 6, 7});
        table.lblStand_Click();
        QCOMPARE(table.bank(), 975);
        QVERIFY(fixture->alerts.texts.isEmpty());
        QVERIFY(!QFileInfo::exists(HistoryDatabase::defaultPath()));
        const RecordingMark *mark = table.training.recordingMark();
        QVERIFY(mark->isVisibleTo(&table));
        QCOMPARE(mark->text(), QStringLiteral("Not recording: another copy is recording"));
    }

    void recordLostMidSessionStaysMarked()
    {
        QVERIFY(fixture->open());
        MainWindow &table = fixture->table();
        const RecordingMark *mark = table.training.recordingMark();
        fixture->deal({10, 10, 6, 7});
        table.lblHit_Click();
        QVERIFY(table.roundOver);
        QVERIFY(!mark->isVisibleTo(&table));
        // The record can grow no more, as on a full disk: held at its size,
        // and the room left in it taken by copies of its rows.
        QSqlQuery full(table.training.session().database().connection());
        QVERIFY(full.exec(QStringLiteral("PRAGMA max_page_count = 1")));
        for (const char *copy : {"INSERT INTO decisions (time, session, hand_cards, up_card, chart_row, chart_column,"
                                 " advice_mode, action, advice, value_stand, value_hit, value_double, value_split, cost,"
                                 " off_chart, drill) SELECT time, session, hand_cards, up_card, chart_row, chart_column,"
                                 " advice_mode, action, advice, value_stand, value_hit, value_double, value_split, cost,"
                                 " off_chart, drill FROM decisions LIMIT 1",
                                 "INSERT INTO hands (time, session, result, amount, bank_after, drill)"
                                 " SELECT time, session, result, amount, bank_after, drill FROM hands LIMIT 1"}) {
            int copies = 0;
            while (copies < 1000 && full.exec(QLatin1String(copy)))
                ++copies;
            QVERIFY(copies < 1000);
        }
        for (int round = 0; round < 2; ++round) {
            fixture->deal({10, 10, 6, 7});
            table.lblStand_Click();
            QVERIFY(table.roundOver);
            QVERIFY(!table.statusText().startsWith(QStringLiteral("Not recording")));
            QVERIFY(mark->isVisibleTo(&table));
            QCOMPARE(mark->text(), QStringLiteral("Not recording: the disk is full"));
            QVERIFY(table.rect().contains(mark->geometry()));
        }
        QCOMPARE(table.training.session().roundsWritten(), 1);
    }

    void statisticsWindowShowsEachTable()
    {
        ClockSeededRandom random;
        TrainingSession session(random, data->filePath(QStringLiteral("tables.sqlite")));
        const GameRules casino = *RulesText::parse("decks=6,surrender=late");
        const QString casinoText = QString::fromStdString(RulesText::format(casino));
        DecisionRecord tens = decisionOf({29, 5}, 'p', 's', 6.0);
        tens.rules = casinoText;
        DecisionRecord givenUp = decisionOf({9, 8}, 'r', 'h', 1.0); // surrendered a hard 16 v 10
        givenUp.rules = casinoText;
        givenUp.split = 0.0;
        givenUp.surrender = -1.0;
        QVERIFY(session.database().writeRound({decisionOf({8, 8}, 's', 'h', 2.0), tens, givenUp}, {}));

        // The program's table is played: its figures first, the casino table listed.
        StatisticsWindow window(session);
        QComboBox *selector = window.tableSelector();
        QCOMPARE(selector->count(), 2);
        QCOMPARE(selector->currentText(), QStringLiteral("Vantrel table"));
        QCOMPARE(window.statistics().allTime.cost, 2.0);
        const QCheckBox *flash = window.findChild<QCheckBox *>(QStringLiteral("chkFlash"));
        QVERIFY(!flash->isHidden());
        QVERIFY(!window.map()->cellAt(window.map()->cellRect({28, 0}).center()).isValid());

        // Chosen in the selector: the casino table's figures on its 30 rows.
        selector->setFocus();
        QTest::keyClick(selector, Qt::Key_Down);
        QCOMPARE(window.shownTable(), casinoText);
        QCOMPARE(selector->currentText(), QStringLiteral("6 decks, S17, DAS, 3:2, late surrender"));
        QCOMPARE(window.statistics().allTime.cost, 7.0);
        QVERIFY(flash->isHidden()); // the flash drill is the program's table's alone
        QCOMPARE(window.map()->cellAt(window.map()->cellRect({29, 5}).center()), (ChartCell{29, 5}));
        QVERIFY(window.map()->sizeHint().height() > window.map()->cellRect({29, 0}).bottom());
        QVERIFY(window.map()->describe({29, 5}).startsWith(QStringLiteral("pair of tens v 7: 1 decision, 1 mistake")));
        QVERIFY(window.map()->describe({9, 8}).endsWith(QStringLiteral("most often wrong: Surrender")));
        QVERIFY(window.costliestText().contains(QStringLiteral("No cell played 5 times")));
        window.refresh();
        QCOMPARE(window.shownTable(), casinoText); // kept while the record is read again

        // A table played for the first time is listed and shown at once.
        const GameRules single = *RulesText::parse("decks=1,soft17=hit,natural=6:5");
        session.setRules(single);
        window.showTable(session.table());
        QCOMPARE(selector->count(), 3);
        QCOMPARE(selector->currentText(), QStringLiteral("1 deck, H17, DAS, 6:5"));
        QCOMPARE(window.statistics().allTime.decisions, 0);
    }

    void statisticsTextsCountProperly()
    {
        ClockSeededRandom random;
        TrainingSession session(random, data->filePath(QStringLiteral("texts.sqlite")));
        HistoryDatabase &db = session.database();
        const ChartCell once{3, 4}, often{8, 8}, cheap{4, 0};
        // One bad stand, 4 mistakes in 6 decisions, and 5 decisions costing less.
        std::vector<DecisionRecord> round{decisionOf(once, 's', 'h', 61.0)};
        for (int i = 0; i < 6; ++i)
            round.push_back(decisionOf(often, i < 4 ? 's' : 'h', 'h', i < 4 ? 2.0 : 0.0));
        for (int i = 0; i < 5; ++i)
            round.push_back(decisionOf(cheap, 's', 'h', 0.5));
        QVERIFY(db.writeRound({decisionOf(once, 's', 'h', 1.0)}, {}));
        StatisticsWindow window(session);
        QVERIFY(window.accuracyText().contains(QStringLiteral("<b>This session:</b> 1 decision, 0.0 % as advised")));
        QCOMPARE(window.map()->describe(once), QStringLiteral("hard 11 v 6: 1 decision, 1 mistake, 1.0 chips lost,"
                                                             " most often wrong: Stand"));
        QVERIFY(db.writeRound(round, {}));
        QVERIFY(QSqlQuery(db.connection()).exec(QStringLiteral("INSERT INTO damaged_decisions (id) VALUES (1)")));
        window.refresh();
        QCOMPARE(window.costliestText(), QStringLiteral(" 133.3  hard 16 v 10 (6 decisions)\n"
                                                        "  50.0  hard 12 v 2 (5 decisions)"));
        QVERIFY(window.accuracyText().contains(QStringLiteral("<br>1 damaged row ignored")));
        QVERIFY(QSqlQuery(db.connection()).exec(QStringLiteral("INSERT INTO damaged_decisions (id) VALUES (2)")));
        window.refresh();
        QVERIFY(window.accuracyText().contains(QStringLiteral("<br>2 damaged rows ignored")));
        QCOMPARE(window.map()->describe(often), QStringLiteral("hard 16 v 10: 6 decisions, 4 mistakes, 8.0 chips lost,"
                                                              " most often wrong: Stand"));
        QCOMPARE(TrendPlot::sessionsText(0), QStringLiteral("No sessions recorded yet"));
        QCOMPARE(TrendPlot::sessionsText(1), QStringLiteral("The last session"));
        QCOMPARE(TrendPlot::sessionsText(2), QStringLiteral("The last 2 sessions"));

        window.show();
        QVERIFY(window.width() <= window.screen()->availableGeometry().width());
        QCOMPARE(window.exportStart(), QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
        QVERIFY(QDir().mkpath(data->filePath(QStringLiteral("chosen"))));
        QCOMPARE(window.exportTo(data->filePath(QStringLiteral("chosen/out.csv"))), QString());
        QCOMPARE(window.exportStart(), data->filePath(QStringLiteral("chosen")));
    }
};

QTEST_MAIN(TestTraining)
#include "test_training.moc"
