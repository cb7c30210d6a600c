// Whole rounds played through the real table with stacked decks.
#include "ClockSeededRandom.h"
#include "ShuffledDeckSource.h"
#include "PictureBox.h"
#include "StrategyWindow.h"
#include "TableFixture.h"
#include <QLabel>
#include <QKeyEvent>
#include <QtTest>
#include <optional>
#include <tuple>

namespace {
// Pixels of the hatch's blue lines: a hand crossed by the losing overlay.
int hatchPixels(const PictureBox *hand)
{
    const QImage image = hand->image().toImage();
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += image.pixelColor(x, y) == QColor(30, 60, 200);
    return count;
}
}

// Decks are stacked by rank in the order the stock gives them: dealer
// up-card, player, player, then hits, the hole card and the dealer's draws.
class TestRounds : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void naturalPaysEvenMoney()
    {
        TableFixture fixture;
        QVERIFY(fixture.open());
        MainWindow &table = fixture.table();
        fixture.deal({5, 1, 13, 10, 2}); // dealer 5 + 10 + 2 = 17
        QVERIFY(table.roundOver);
        QCOMPARE(table.bank(), 1025);
        QCOMPARE(table.statusText(), QStringLiteral("You win"));
        QCOMPARE(table.dealerHand.count(), 3);
        QVERIFY(table.sounds.lastStarted().endsWith(QStringLiteral("won.wav")));
    }

    void naturalTiesADealerTwentyOne()
    {
        TableFixture fixture;
        QVERIFY(fixture.open());
        fixture.deal({10, 1, 12, 1});
        QCOMPARE(fixture.table().bank(), 1000);
        QCOMPARE(fixture.table().statusText(), QStringLiteral("Push..(a tie)"));
    }

    void dealLeavesFortyNineCardsAndPrompts()
    {
        TableFixture fixture;
        QVERIFY(fixture.open());
        MainWindow &table = fixture.table();
        fixture.deal({1, 8, 8});
        QCOMPARE(table.deck.stockCount(), 49);
        QCOMPARE(table.dealerHand.count(), 1);
        QCOMPARE(table.lblDealer->text(), QStringLiteral("1"));
        QCOMPARE(table.statusText(), QStringLiteral("Hit, Stand, Double or Split.."));
        QVERIFY(table.canSplit);
        table.roundOver = true;
        fixture.deal({2, 10, 13});
        QCOMPARE(table.statusText(), QStringLiteral("Hit, Stand, or Double.."));
        QVERIFY(!table.canSplit);
        table.roundOver = true;
        fixture.deal({2, 1, 1});
        QCOMPARE(table.lblPlayer->text(), QStringLiteral("12"));
    }

    void bustByHitIsSettledAtOnce()
    {
        TableFixture fixture;
        QVERIFY(fixture.open());
        MainWindow &table = fixture.table();
        fixture.deal({9, 10, 6, 13});
        table.lblHit_Click();
        QCOMPARE(table.bank(), 975);
        QCOMPARE(table.statusText(), QStringLiteral("You bust..dealer wins"));
        QVERIFY(table.roundOver);
        const int stock = table.deck.stockCount();
        table.lblHit_Click();
        table.lblStand_Click();
        table.lblDouble_Click();
        QCOMPARE(table.deck.stockCount(), stock);
        QCOMPARE(table.bank(), 975);
        QCOMPARE(table.statusText(), QStringLiteral("Doubling is not allowed after drawing.."));
    }

    void hitToTwentyOneHandsOverToTheDealer()
    {
        TableFixture fixture;
        QVERIFY(fixture.open());
        MainWindow &table = fixture.table();
        fixture.deal({10, 1, 5, 5, 7}); // A+5+5 = 21; dealer 10 + 7
        table.lblHit_Click();
        QVERIFY(table.roundOver);
        QCOMPARE(table.dealerHand.count(), 2);
        QCOMPARE(table.bank(), 1025);
    }

    void dealerSixteenDependsOnThePlayer()
    {
        TableFixture fixture;
        QVERIFY(fixture.open());
        MainWindow &table = fixture.table();
        fixture.deal({10, 10, 8, 6, 5}); // 16 against 18 draws to 21
        table.lblStand_Click();
        QCOMPARE(table.dealerTotal, int16_t(21));
        QCOMPARE(table.statusText(), QStringLiteral("Dealer wins"));
        fixture.deal({10, 10, 6, 6, 5}); // 16 against 16 stands
        table.lblStand_Click();
        QCOMPARE(table.dealerHand.count(), 2);
        QCOMPARE(table.statusText(), QStringLiteral("Push..(a tie)"));
        QCOMPARE(table.bank(), 975);
        QVERIFY(hatchPixels(table.picPlayerHand) > 100);
        QVERIFY(hatchPixels(table.picComputerHand) > 100);
    }

    void softSeventeenStandsAndDealerBustPays()
    {
        TableFixture fixture;
        QVERIFY(fixture.open());
        MainWindow &table = fixture.table();
        fixture.deal({1, 10, 9, 6});
        table.lblStand_Click();
        QCOMPARE(table.dealerTotal, int16_t(17));
        QCOMPARE(table.statusText(), QStringLiteral("You win"));
        QVERIFY(hatchPixels(table.picComputerHand) > 100);
        QCOMPARE(hatchPixels(table.picPlayerHand), 0);
        fixture.deal({10, 10, 8, 6, 13});
        table.lblStand_Click();
        QCOMPARE(table.statusText(), QStringLiteral("Dealer busts, you win"));
        QCOMPARE(table.bank(), 1050);
    }

    void doubleWinsAndLosesTwoStakes()
    {
        TableFixture fixture;
        QVERIFY(fixture.open());
        MainWindow &table = fixture.table();
        fixture.deal({6, 5, 6, 9, 10, 10}); // 11 doubles to 20; dealer 6+10+10 busts
        table.lblDouble_Click();
        QCOMPARE(table.playerHand.count(), 3);
        QCOMPARE(table.bank(), 1050);
        fixture.deal({10, 5, 4, 2, 9}); // 9 doubles to 11; dealer 19
        table.lblDouble_Click();
        QCOMPARE(table.bank(), 1000);
        QCOMPARE(table.statusText(), QStringLiteral("Dealer wins"));
    }

    void doubleToTwentyOneWithAutoDealStandsOnlyItsHand()
    {
        TableFixture fixture;
        QVERIFY(fixture.open());
        MainWindow &table = fixture.table();
        table.prefs.prfAutoDeal = true;
        fixture.deal({10, 5, 6, 10, 8}); // 11 doubles to 21; dealer 18
        fixture.stacked.stackRanks({9, 10, 3});
        table.lblDouble_Click();
        QCOMPARE(table.bank(), 1050);
        // The next round was dealt and waits for the player.
        QVERIFY(!table.roundOver);
        QCOMPARE(table.playerHand.count(), 2);
        QCOMPARE(table.dealerHand.count(), 1);
        QCOMPARE(table.wager, int16_t(25));
    }

    void splitEightsAgainstTen()
    {
        TableFixture fixture;
        QVERIFY(fixture.open());
        MainWindow &table = fixture.table();
        // First hand: two eights discarded, then 3 (11) and a hit of 10 (21);
        // dealer 10 + 7. Second hand: new dealer 9, then 10 gives 18; dealer
        // hole 9 makes 18.
        fixture.deal({10, 8, 8, 8, 8, 3, 10, 7, 9, 10, 9});
        table.lblSplit_Click();
        QVERIFY(table.splitting);
        QCOMPARE(table.playerHandX, 0);
        QCOMPARE(table.splitHand[0].rank, int16_t(8));
        QCOMPARE(table.playerHand.count(), 2);
        QCOMPARE(table.playerHand[1].rank, int16_t(3));
        QCOMPARE(table.deck.stockCount(), 52 - 6);
        QVERIFY(table.canDouble);
        table.lblHit_Click(); // 21: the dealer plays, then the second hand opens
        QVERIFY(!table.splitting);
        QVERIFY(!table.roundOver);
        QCOMPARE(table.bank(), 1025);
        QCOMPARE(table.dealerHand.count(), 1);
        QCOMPARE(table.dealerHand[0].rank, int16_t(9));
        QCOMPARE(table.playerHand.count(), 2);
        QCOMPARE(table.playerTotal, int16_t(18));
        table.lblStand_Click();
        QVERIFY(table.roundOver);
        QCOMPARE(table.statusText(), QStringLiteral("Push..(a tie)"));
        QCOMPARE(table.bank(), 1025);
        table.roundOver = false;
        table.lblSplit_Click(); // no re-split
        QCOMPARE(table.statusText(), QStringLiteral("Can only split same rank pair"));
    }

    void splitAcesAndADoubleOnTheFirstHandOnly()
    {
        TableFixture fixture;
        QVERIFY(fixture.open());
        MainWindow &table = fixture.table();
        // First ace gets 10 (21 at once): dealer 6 + 10 + 2 = 18. Second ace
        // gets 5 against a new dealer 5, doubles with 10 (16).
        fixture.deal({6, 1, 1, 10, 10, 2, 5, 5, 10, 10, 8});
        table.lblSplit_Click();
        QCOMPARE(table.bank(), 1025);
        QVERIFY(!table.roundOver);
        QCOMPARE(table.playerTotal, int16_t(16));
        QCOMPARE(table.wager, int16_t(25));
        table.lblDouble_Click();
        QCOMPARE(table.wager, int16_t(50));
        QCOMPARE(table.playerTotal, int16_t(16));
        QVERIFY(table.roundOver);
        QCOMPARE(table.dealerTotal, int16_t(23));
        QCOMPARE(table.bank(), 1075);
    }

    void secondSplitHandStakesTwentyFiveAgain()
    {
        TableFixture fixture;
        QVERIFY(fixture.open());
        MainWindow &table = fixture.table();
        // First 9 gets 2, doubles with 10 (21) and wins 50 against 10+8;
        // the second 9 starts at 25.
        fixture.deal({10, 9, 9, 2, 10, 8, 6, 10});
        table.lblSplit_Click();
        table.lblDouble_Click();
        QCOMPARE(table.bank(), 1050);
        QVERIFY(!table.roundOver);
        QCOMPARE(table.wager, int16_t(25));
    }

    void tutorStopsAWrongChoiceOnce()
    {
        TableFixture fixture;
        QVERIFY(fixture.open());
        MainWindow &table = fixture.table();
        table.prefs.prfAlwaysShowBestPlay = false;
        table.prefs.prfSound = true;
        fixture.deal({6, 10, 9, 2}); // hard 19: the chart stands
        QCOMPARE(table.theBestPlay, QStringLiteral("s"));
        auto *odds = table.frmStrings->findChild<QLabel *>(QStringLiteral("lblOdds"));
        QVERIFY(odds->text().isEmpty()); // nothing revealed before the player acts
        table.lblHit_Click();
        QVERIFY(odds->text().startsWith(QStringLiteral("Stand ")));
        QVERIFY(odds->text().contains(QStringLiteral("Double ")));
        QCOMPARE(table.statusText(), QStringLiteral("Should Stand.."));
        QCOMPARE(table.playerHand.count(), 2);
        QCOMPARE(table.hitMistakes, int16_t(1));
        QVERIFY(table.sounds.lastStarted().endsWith(QStringLiteral("wrong2.wav")));
        QCOMPARE(table.frmStrings->highlightedLine(), table.theChartLine);
        table.lblHit_Click();
        QCOMPARE(table.playerHand.count(), 3);
        QCOMPARE(table.hitMistakes, int16_t(0));
    }

    void tutorWithAdviceShownNeverStops()
    {
        TableFixture fixture;
        QVERIFY(fixture.open());
        MainWindow &table = fixture.table();
        fixture.deal({10, 2, 3, 2, 4}); // hard 5, 7, 11...
        QCOMPARE(table.frmStrings->highlightedLine(), int16_t(0));
        table.lblStand_Click(); // wrong, but never stopped
        QVERIFY(table.roundOver);
        fixture.deal({10, 2, 3, 2, 2, 2});
        table.lblHit_Click();
        QCOMPARE(table.statusText(), QStringLiteral("Hit again.."));
        // Odds in chips on the stake; a drawn hand can no longer double.
        const QString odds = table.frmStrings->findChild<QLabel *>(QStringLiteral("lblOdds"))->text();
        QVERIFY(odds.startsWith(QStringLiteral("Stand -")));
        QVERIFY(!odds.contains(QStringLiteral("Double")));
        table.lblHit_Click();
        QCOMPARE(table.statusText(), QStringLiteral("and again.."));
        table.lblHit_Click();
        QCOMPARE(table.statusText(), QStringLiteral("Hit.."));
    }

    void emptyChartCellStopsWithoutAdvice()
    {
        TableFixture fixture;
        QVERIFY(fixture.open());
        MainWindow &table = fixture.table();
        table.prefs.prfAlwaysShowBestPlay = false;
        table.chart.strategyChart[9].fill(QString());
        fixture.deal({6, 10, 9, 2});
        table.lblStand_Click();
        QCOMPARE(table.statusText(), QString());
        QVERIFY(!table.roundOver);
        table.lblStand_Click();
        QVERIFY(table.roundOver);
    }

    void inputDuringEveryWaitIsIgnored()
    {
        TableFixture fixture;
        QVERIFY(fixture.open());
        MainWindow &table = fixture.table();
        table.welcomeShown = false;
        table.prefs.prfAnimation = true;
        int fired = 0;
        auto fireEverything = [&](int) {
            ++fired;
            const int stock = table.deck.stockCount();
            const int bank = table.bank();
            table.picDeal_Click();
            table.lblHit_Click();
            table.lblStand_Click();
            table.lblDouble_Click();
            table.lblSplit_Click();
            for (int key : {Qt::Key_H, Qt::Key_S, Qt::Key_D, Qt::Key_P, Qt::Key_N, Qt::Key_Space}) {
                QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
                QCoreApplication::sendEvent(&table, &press);
            }
            QCOMPARE(table.deck.stockCount(), stock);
            QCOMPARE(table.bank(), bank);
        };
        fixture.clock.onWait = fireEverything;
        fixture.deal({10, 8, 8, 3, 10, 7, 9, 10, 9});
        table.lblSplit_Click();
        table.lblStand_Click();
        table.lblStand_Click();
        QVERIFY(table.roundOver);
        QVERIFY(fired > 60);
        // Keys act between waits like the buttons.
        fixture.clock.onWait = nullptr;
        fixture.stacked.stackRanks({10, 10, 6, 13});
        QTest::keyClick(&table, Qt::Key_N);
        QVERIFY(!table.roundOver);
        QTest::keyClick(&table, Qt::Key_H);
        QCOMPARE(table.statusText(), QStringLiteral("You bust..dealer wins"));
    }

    void closingMidRoundEndsItThere_data()
    {
        QTest::addColumn<QString>("moment");
        QTest::newRow("mid-flip") << QStringLiteral("flip");
        QTest::newRow("mid-flight") << QStringLiteral("flight");
        QTest::newRow("mid-fade") << QStringLiteral("fade");
        QTest::newRow("before the next deal") << QStringLiteral("pause");
    }
    void closingMidRoundEndsItThere()
    {
        QFETCH(QString, moment);
        TableFixture fixture;
        QVERIFY(fixture.open());
        MainWindow &table = fixture.table();
        table.prefs.prfAnimation = true;
        table.prefs.prfAnimationDelay = 1;
        table.prefs.prfAutoDeal = true;
        fixture.deal({10, 10, 7, 5, 2}); // the dealer's 15 draws a 2
        auto state = [&] {
            return std::make_tuple(table.bank(), table.deck.stockCount(), table.dealerHand.count(),
                                   fixture.clock.waits, fixture.clock.spun, table.statusText());
        };
        std::optional<decltype(state())> atClose;
        auto closeNow = [&] {
            if (!atClose) {
                table.close();
                atClose = state();
            }
        };
        fixture.clock.onWait = [&](int ms) {
            if ((moment == QLatin1String("flip") && ms == 8) || (moment == QLatin1String("fade") && ms == 10) ||
                (moment == QLatin1String("pause") && ms >= 1000))
                closeNow();
        };
        fixture.clock.onSpin = [&] {
            if (moment == QLatin1String("flight"))
                closeNow();
        };
        table.lblStand_Click();
        QVERIFY(atClose.has_value());
        QVERIFY(!table.isVisible());
        // Not a frame, a wait, a card or a chip more.
        QVERIFY(state() == *atClose);
        QVERIFY(!table.isBusy());
    }

    void oneShortPauseAfterASplitAndInputIsTaken_data()
    {
        QTest::addColumn<bool>("clickDuringPause");
        QTest::newRow("auto-deal") << false;
        QTest::newRow("deck clicked in the pause") << true;
    }
    void oneShortPauseAfterASplitAndInputIsTaken()
    {
        QFETCH(bool, clickDuringPause);
        TableFixture fixture;
        QVERIFY(fixture.open());
        MainWindow &table = fixture.table();
        table.prefs.prfAutoDeal = true;
        // Tens split: 10+5 hits a king and busts; the second ten gets an ace
        // against a new dealer 7 with a ten in the hole: 21 wins.
        fixture.deal({6, 10, 10, 5, 13, 7, 1, 10});
        table.lblSplit_Click();
        QCOMPARE(table.playerTotal, int16_t(15));
        fixture.stacked.stackRanks({9, 10, 6});
        QList<int> pauses;
        bool inputTaken = false;
        fixture.clock.onWait = [&](int ms) {
            if (ms >= 1000)
                pauses << ms;
            if (clickDuringPause && ms >= 1000 && !table.isBusy()) {
                table.picDeal_Click();
                inputTaken = !table.roundOver;
            }
        };
        table.lblHit_Click();
        // One pause between the hands, then one 1.5 s before the next deal.
        QCOMPARE(pauses, (QList<int>{1500, 1500}));
        QCOMPARE(inputTaken, clickDuringPause);
        QCOMPARE(table.bank(), 1000);
        // One new round, dealt once: from the stack given before the pause.
        QVERIFY(!table.roundOver);
        QCOMPARE(table.deck.stockCount(), 49);
        QCOMPARE(table.playerHand[1].rank, int16_t(6));
    }

    void bannersTurnBetweenAutomaticRounds()
    {
        TableFixture fixture;
        QVERIFY(fixture.open());
        MainWindow &table = fixture.table();
        table.prefs.prfAutoDeal = true;
        fixture.clock.onWait = [&](int ms) {
            if (ms >= 1000)
                table.Timer1_Timer();
        };
        fixture.deal({9, 10, 6, 13});
        table.lblHit_Click(); // bust; the next round is dealt after the pause
        QVERIFY(!table.roundOver);
        QCOMPARE(table.picCtr, int16_t(1));
    }

    void deckDealsWhenAutoDealWasSwitchedOnBetweenRounds()
    {
        TableFixture fixture;
        QVERIFY(fixture.open());
        MainWindow &table = fixture.table();
        table.prefs.prfAutoDeal = true;
        fixture.deal({10, 10, 8});
        QVERIFY(!table.roundOver);
        table.picDeal_Click(); // a round in play: the deck does nothing
        QCOMPARE(table.deck.stockCount(), 49);
    }

    void bankFollowsTheSettlementsOverManyRounds()
    {
        TableFixture fixture;
        QVERIFY(fixture.open());
        MainWindow &table = fixture.table();
        ClockSeededRandom random;
        ShuffledDeckSource shuffled(random);
        int expected = 1000;
        for (int round = 0; round < 60; ++round) {
            std::array<Card, 52> cards{};
            shuffled.build(cards);
            fixture.stacked.stackDeck(cards);
            table.picDeal_Click();
            while (!table.roundOver)
                table.playerTotal < 17 ? table.lblHit_Click() : table.lblStand_Click();
            const int player = table.playerTotal, dealer = table.dealerTotal;
            if (player > 21 || (dealer <= 21 && dealer > player))
                expected -= table.wager;
            else if (dealer > 21 || player > dealer)
                expected += table.wager;
            QCOMPARE(table.bank(), expected);
        }
    }
};

QTEST_MAIN(TestRounds)
#include "test_rounds.moc"
