// The flash drill's window as the player meets it: keys and buttons, the
// verdict, the pace after right and wrong answers, the table's F key, and
// the statistics window's choice to count flash answers or not.
#include "FlashCardView.h"
#include "FlashDrillWindow.h"
#include "StatisticsWindow.h"
#include "TableFixture.h"
#include <QAction>
#include <QCheckBox>
#include <QPushButton>
#include <QtTest>
#include <memory>

namespace {
char chartPlay(const FlashDrillWindow &window)
{
    int16_t line = 0;
    return window.drill().judge().chartPlay(window.drill().card(), line);
}

Qt::Key keyFor(char play)
{
    return play == 'h' ? Qt::Key_H : play == 's' ? Qt::Key_S : play == 'd' ? Qt::Key_D : Qt::Key_P;
}

// A play the hand allows that is not the chart's.
char wrongPlay(const FlashDrillWindow &window)
{
    return chartPlay(window) == 'h' ? 's' : 'h';
}
}

class TestFlashView : public QObject {
    Q_OBJECT
    std::unique_ptr<TableFixture> fixture;
    std::unique_ptr<QTemporaryDir> data; // each test's own record

    FlashDrillWindow &openDrill()
    {
        fixture = std::make_unique<TableFixture>();
        [&] { QVERIFY(fixture->open()); }();
        MainWindow &table = fixture->table();
        table.flash.open();
        // The drill is the window the player types into; until it is active,
        // the table's own play keys would take H, S, D and P.
        FlashDrillWindow *drill = table.flash.window();
        drill->activateWindow();
        [&] { QTRY_COMPARE(QApplication::activeWindow(), drill); }();
        return *table.flash.window();
    }

private Q_SLOTS:
    void init()
    {
        data = std::make_unique<QTemporaryDir>();
        qputenv("XDG_DATA_HOME", data->path().toLocal8Bit());
    }
    void cleanup() { fixture.reset(); }

    void theTablesKeyFOpensTheDrill()
    {
        fixture = std::make_unique<TableFixture>();
        QVERIFY(fixture->open());
        MainWindow &table = fixture->table();
        QAction *entry = table.findChild<QAction *>(QStringLiteral("mnuFlash"));
        QVERIFY(entry);
        QCOMPARE(entry->text(), QStringLiteral("&Flash Drill"));
        QCOMPARE(entry->shortcut(), QKeySequence(Qt::Key_F));
        QCOMPARE(entry->shortcutContext(), Qt::WindowShortcut);
        table.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&table));
        QVERIFY(!table.flash.window());
        QTest::keyClick(&table, Qt::Key_F);
        QVERIFY(table.flash.window() && table.flash.window()->isVisible());
        QVERIFY(table.flash.window()->drill().awaitingAnswer());
        QTest::keyClick(table.flash.window(), Qt::Key_Escape);
        QTRY_VERIFY(!table.flash.window()); // closed and gone
    }

    void rightAnswerMovesOnAfterHalfASecondOrAtOnce()
    {
        FlashDrillWindow &window = openDrill();
        const FlashCard first = window.drill().card();
        QCOMPARE(window.cardView()->card().cell, first.cell);
        fixture->clock.nowMs += 1500;
        QTest::keyClick(&window, keyFor(chartPlay(window)));
        QVERIFY(window.verdictText().startsWith(QStringLiteral("Right: ")));
        QVERIFY(window.detailText().contains(first.cell.name()));
        QVERIFY(window.detailText().contains(QStringLiteral("Stand ")));
        QVERIFY(window.detailText().contains(QStringLiteral(" in chips on your 25 stake")));
        QVERIFY(!window.detailText().contains(QStringLiteral("loses")));
        QVERIFY(window.figuresText().startsWith(QStringLiteral("Streak 1    Accuracy 100 % (1 of 1)    Median answer 1.5 s")));
        QVERIFY(window.nextCardTimer().isActive());
        QVERIFY(window.nextCardTimer().isSingleShot());
        QCOMPARE(window.nextCardTimer().interval(), 500);
        for (QPushButton *button : window.findChildren<QPushButton *>())
            if (!button->isCheckable())
                QVERIFY(!button->isEnabled());

        // The timer's end deals the next card.
        QMetaObject::invokeMethod(const_cast<QTimer *>(&window.nextCardTimer()), "timeout");
        QVERIFY(window.drill().awaitingAnswer());
        QVERIFY(window.verdictText().isEmpty());

        // A key during the pause deals at once and answers nothing.
        QTest::keyClick(&window, keyFor(chartPlay(window)));
        QVERIFY(window.nextCardTimer().isActive());
        QTest::keyClick(&window, Qt::Key_S);
        QVERIFY(!window.nextCardTimer().isActive());
        QVERIFY(window.drill().awaitingAnswer());
        QCOMPARE(window.drill().answered(), 2);
    }

    void wrongAnswerShowsItsCostAndWaitsForAKey()
    {
        FlashDrillWindow &window = openDrill();
        const char play = chartPlay(window);
        QTest::keyClick(&window, keyFor(wrongPlay(window)));
        QCOMPARE(window.verdictText(), QStringLiteral("Wrong: the chart plays ") + FlashJudge::actionName(play));
        QVERIFY(window.detailText().contains(QStringLiteral(" on a 25 stake")));
        QVERIFY(window.detailText().contains(QStringLiteral("Press any key for the next card.")));
        QVERIFY(window.figuresText().startsWith(QStringLiteral("Streak 0    Accuracy 0 % (0 of 1)")));
        QVERIFY(!window.nextCardTimer().isActive());
        QVERIFY(!window.drill().awaitingAnswer());
        QTest::keyClick(&window, Qt::Key_Return);
        QVERIFY(window.drill().awaitingAnswer());
        QCOMPARE(window.drill().answered(), 1);
    }

    void buttonsAnswerAndOnlyPlaysTheHandAllowsCount()
    {
        FlashDrillWindow &window = openDrill();
        QTest::keyClick(&window, Qt::Key_2); // hard hands, some drawn
        QCOMPARE(window.drill().choice(), FlashChoice::Hard);
        QCOMPARE(window.drill().cellCount(), 100);
        int guard = 0;
        while (window.drill().card().hand.count() == 2 && ++guard < 200) {
            QTest::keyClick(&window, Qt::Key_S);
            QTest::keyClick(&window, Qt::Key_Space);
        }
        QVERIFY(window.drill().card().hand.count() > 2);
        QPushButton *doubleButton = nullptr;
        QPushButton *splitButton = nullptr;
        QPushButton *standButton = nullptr;
        for (QPushButton *button : window.findChildren<QPushButton *>()) {
            if (button->text() == QStringLiteral("&Double"))
                doubleButton = button;
            if (button->text() == QStringLiteral("S&plit"))
                splitButton = button;
            if (button->text() == QStringLiteral("&Stand"))
                standButton = button;
        }
        QVERIFY(doubleButton && splitButton && standButton);
        QVERIFY(!doubleButton->isEnabled());
        QVERIFY(!splitButton->isEnabled());
        const int answered = window.drill().answered();
        QTest::keyClick(&window, Qt::Key_D);
        QTest::keyClick(&window, Qt::Key_P);
        QCOMPARE(window.drill().answered(), answered);
        QVERIFY(window.drill().awaitingAnswer());
        QTest::mouseClick(standButton, Qt::LeftButton);
        QCOMPARE(window.drill().answered(), answered + 1);

        QTest::keyClick(&window, Qt::Key_4);
        QCOMPARE(window.drill().choice(), FlashChoice::Pairs);
        QVERIFY(splitButton->isEnabled() && doubleButton->isEnabled());
        QVERIFY(window.figuresText().endsWith(QStringLiteral("In box 1: 100 of 100 cells")));
        QTest::keyClick(&window, Qt::Key_5);
        QCOMPARE(window.drill().choice(), FlashChoice::WeakSpots);
        QTest::keyClick(&window, Qt::Key_Escape);
        QVERIFY(!window.isVisible());
    }

    void statisticsCountFlashAnswersUnlessLeftOut()
    {
        FlashDrillWindow &window = openDrill();
        MainWindow &table = fixture->table();
        QTest::keyClick(&window, keyFor(wrongPlay(window)));
        QTest::keyClick(&window, Qt::Key_Space);
        QTest::keyClick(&window, keyFor(chartPlay(window)));
        fixture->deal({10, 10, 6, 7});
        table.lblStand_Click();

        table.findChild<QAction *>(QStringLiteral("mnuStatistics"))->trigger();
        StatisticsWindow *statistics = table.training.statisticsWindow();
        QCheckBox *include = statistics->findChild<QCheckBox *>(QStringLiteral("chkFlash"));
        QVERIFY(include);
        QCOMPARE(include->text(), QStringLiteral("Include flash drill answers"));
        QVERIFY(include->isChecked());
        QCOMPARE(statistics->statistics().thisSession.decisions, 3);
        include->click();
        QCOMPARE(statistics->statistics().thisSession.decisions, 1);
        QVERIFY(statistics->accuracyText().contains(QStringLiteral("This session:</b> 1 decision,")));
        include->click();
        QCOMPARE(statistics->statistics().allTime.decisions, 3);
    }
};

QTEST_MAIN(TestFlashView)
#include "test_flashview.moc"
