// Whole rounds played through the real table with stacked decks.
#include "PictureBox.h"
#include "RoundSimulator.h"
#include "StrategyWindow.h"
#include "TableFixture.h"
#include <QLabel>
#include <QKeyEvent>
#include <QtTest>
#include <algorithm>
#include <fstream>
#include <optional>
#include <random>
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

// The action buttons by their keys.
const QMap<QChar, void (MainWindow::*)()> buttons{{'D', &MainWindow::lblDouble_Click}, {'H', &MainWindow::lblHit_Click},
                                                  {'P', &MainWindow::lblSplit_Click}, {'S', &MainWindow::lblStand_Click}};

QString oddsLine(const MainWindow &table)
{
    return table.frmStrings->findChild<QLabel *>(QStringLiteral("lblOdds"))->text();
}

// A deck in dealing order (deck[51] first), the same for a given seed; with
// `pair` the player's two cards are of one rank.
std::array<Card, 52> seededDeck(unsigned seed, bool pair)
{
    std::array<Card, 52> cards{};
    for (int i = 0; i < 52; ++i)
        cards[i] = Card::fromIndex(i);
    std::shuffle(cards.begin(), cards.end(), std::mt19937(seed));
    for (int i = 0; pair && i < 49; ++i) {
        if (cards[i].rank == cards[50].rank)
            std::swap(cards[i], cards[49]);
    }
    return cards;
}
}

// Decks are stacked by rank in the order the stock gives them: dealer
// up-card, player, player, then hits, the hole card and the dealer's draws.
class TestRounds : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Whole rounds: the cards, the player's clicks (Hit, Stand, Double,
    // sPlit), then the bank, the outcome, the dealer's total, which hands the
    // losing hatch crosses and the last sound.
    void roundsSettle_data()
    {
        QTest::addColumn<QList<int>>("ranks");
        QTest::addColumn<QString>("clicks");
        QTest::addColumn<int>("bank");
        QTest::addColumn<QString>("status");
        QTest::addColumn<int>("dealerTotal");
        QTest::addColumn<QString>("hatched");
        QTest::addColumn<QString>("sound");
        QTest::newRow("natural pays even money") << QList<int>{5, 1, 13, 10, 2} << "" << 1025 << "You win" << 17
                                                 << "dealer" << "won.wav";
        QTest::newRow("natural ties a dealer 21") << QList<int>{10, 1, 12, 1} << "" << 1000 << "Push..(a tie)" << 21
                                                  << "both" << "won.wav";
        QTest::newRow("hit to 21 stands") << QList<int>{10, 1, 5, 5, 7} << "H" << 1025 << "You win" << 17 << "dealer"
                                          << "won.wav";
        QTest::newRow("bust by a hit") << QList<int>{9, 10, 6, 13} << "H" << 975 << "You bust..dealer wins" << 9 << ""
                                       << "deal.wav";
        QTest::newRow("dealer 16 draws against 18") << QList<int>{10, 10, 8, 6, 5} << "S" << 975 << "Dealer wins" << 21
                                                    << "player" << "deal.wav";
        QTest::newRow("dealer 16 stands against 16") << QList<int>{10, 10, 6, 6, 5} << "S" << 1000 << "Push..(a tie)"
                                                     << 16 << "both" << "deal.wav";
        QTest::newRow("soft 17 stands") << QList<int>{1, 10, 9, 6} << "S" << 1025 << "You win" << 17 << "dealer"
                                        << "deal.wav";
        QTest::newRow("dealer bust pays") << QList<int>{10, 10, 8, 6, 13} << "S" << 1025 << "Dealer busts, you win" << 26
                                          << "" << "deal.wav";
        QTest::newRow("double 11 to 20 wins two stakes") << QList<int>{6, 5, 6, 9, 10, 10} << "D" << 1050
                                                         << "Dealer busts, you win" << 26 << "" << "deal.wav";
        QTest::newRow("double 9 to 11 loses two stakes") << QList<int>{10, 5, 4, 2, 9} << "D" << 950 << "Dealer wins"
                                                         << 19 << "player" << "deal.wav";
        // First ace gets 10 (21 at once) against 6 + 10 + 2; the second ace
        // gets 5 against a new dealer 5 and doubles with 10 (16): 5 + 10 + 8.
        QTest::newRow("split aces, double on the second")
            << QList<int>{6, 1, 1, 10, 10, 2, 5, 5, 10, 10, 8} << "PD" << 1075 << "Dealer busts, you win" << 23 << ""
            << "won.wav";
        // First 9 gets 2 and doubles with 10 (21) against 10 + 8; the second 9
        // is back at one stake: 9 + 10 against 6 + 10 + 7.
        QTest::newRow("second split hand stakes 25 again")
            << QList<int>{10, 9, 9, 2, 10, 8, 6, 10, 10, 7} << "PDS" << 1075 << "Dealer busts, you win" << 23 << ""
            << "won.wav";
    }
    void roundsSettle()
    {
        QFETCH(QList<int>, ranks);
        QFETCH(QString, clicks);
        QFETCH(QString, hatched);
        OPEN_TABLE(fixture, table);
        table.prefs.prfSound = true;
        fixture.stacked.stackRanks(ranks);
        table.picDeal_Click();
        for (QChar click : clicks) {
            QVERIFY(!table.roundOver);
            (table.*buttons.value(click))();
        }
        QVERIFY(table.roundOver);
        QTEST(table.bank(), "bank");
        QTEST(table.statusText(), "status");
        QTEST(int(table.dealerTotal), "dealerTotal");
        QCOMPARE(hatchPixels(table.picPlayerHand) > 100, hatched == "player" || hatched == "both");
        QCOMPARE(hatchPixels(table.picComputerHand) > 100, hatched == "dealer" || hatched == "both");
        QFETCH(QString, sound);
        QVERIFY(table.sounds.lastStarted().endsWith(sound));
        QCOMPARE(oddsLine(table), QString()); // no decision is left

        // Between rounds no button deals or moves the bank.
        const int stock = table.deck.stockCount();
        for (auto button : buttons)
            (table.*button)();
        QCOMPARE(table.deck.stockCount(), stock);
        QTEST(table.bank(), "bank");
        QCOMPARE(table.statusText(), QStringLiteral("Doubling is not allowed after drawing.."));
    }

    void dealLeavesFortyNineCardsAndPrompts()
    {
        OPEN_TABLE(fixture, table);
        fixture.deal({1, 8, 8});
        QCOMPARE(table.deck.stockCount(), 49);
        QCOMPARE(table.dealerHand.count(), 1);
        QCOMPARE(table.lblDealer->text(), QStringLiteral("1"));
        QCOMPARE(table.statusText(), QStringLiteral("Hit, Stand, Double or Split.."));
        QVERIFY(table.canSplit);
        QVERIFY(oddsLine(table).contains(QStringLiteral("  Double ")));
        QVERIFY(oddsLine(table).contains(QStringLiteral("  Split ")));
        table.roundOver = true;
        fixture.deal({2, 10, 13});
        QCOMPARE(table.statusText(), QStringLiteral("Hit, Stand, or Double.."));
        QVERIFY(!table.canSplit);
        QVERIFY(!oddsLine(table).contains(QStringLiteral("Split"))); // a ten and a king
        table.roundOver = true;
        fixture.deal({2, 1, 1});
        QCOMPARE(table.lblPlayer->text(), QStringLiteral("12"));
    }

    void doubleToTwentyOneWithAutoDealStandsOnlyItsHand()
    {
        OPEN_TABLE(fixture, table);
        table.prefs.prfAutoDeal = true;
        // Between rounds the deck deals, also with auto-deal switched on.
        fixture.deal({10, 5, 6, 10, 8}); // 11 doubles to 21; dealer 18
        fixture.stacked.stackRanks({9, 10, 3});
        fixture.clock.onWait = [&](int ms) {
            if (ms >= 1000)
                table.Timer1_Timer();
        };
        table.lblDouble_Click();
        QCOMPARE(table.bank(), 1050);
        QCOMPARE(table.picCtr, int16_t(1)); // the banner turned in the pause before the next deal
        // The next round was dealt and waits for the player.
        QVERIFY(!table.roundOver);
        QCOMPARE(table.playerHand.count(), 2);
        QCOMPARE(table.dealerHand.count(), 1);
        QCOMPARE(table.wager, int16_t(25));
        table.picDeal_Click(); // a round in play: the deck does nothing
        QCOMPARE(table.deck.stockCount(), 49);
    }

    void splitEightsAgainstTen()
    {
        OPEN_TABLE(fixture, table);
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
        QVERIFY(oddsLine(table).contains(QStringLiteral("  Double "))); // each split hand may double
        table.lblHit_Click(); // 21: the dealer plays, then the second hand opens
        QVERIFY(!table.splitting);
        QVERIFY(!table.roundOver);
        QCOMPARE(table.bank(), 1025);
        QCOMPARE(table.dealerHand.count(), 1);
        QCOMPARE(table.dealerHand[0].rank, int16_t(9));
        QCOMPARE(table.playerHand.count(), 2);
        QCOMPARE(table.playerTotal, int16_t(18));
        QVERIFY(oddsLine(table).contains(QStringLiteral("  Double ")));
        table.lblStand_Click();
        QVERIFY(table.roundOver);
        QCOMPARE(oddsLine(table), QString());
        QCOMPARE(table.statusText(), QStringLiteral("Push..(a tie)"));
        QCOMPARE(table.bank(), 1025);
        table.roundOver = false;
        table.lblSplit_Click(); // no re-split
        QCOMPARE(table.statusText(), QStringLiteral("Can only split same rank pair"));
    }

    void tutorStopsAWrongChoiceOnce()
    {
        OPEN_TABLE(fixture, table);
        table.prefs.prfAlwaysShowBestPlay = false;
        table.prefs.prfSound = true;
        fixture.deal({6, 10, 9, 2}); // hard 19: the chart stands
        QCOMPARE(table.theBestPlay, QStringLiteral("s"));
        QVERIFY(oddsLine(table).isEmpty()); // nothing revealed before the player acts
        table.lblHit_Click();
        QVERIFY(oddsLine(table).startsWith(QStringLiteral("Stand ")));
        QVERIFY(oddsLine(table).contains(QStringLiteral("  Double ")));
        QVERIFY(oddsLine(table).contains(QStringLiteral("  (Hit costs ")));
        QCOMPARE(table.statusText(), QStringLiteral("Should Stand.."));
        QCOMPARE(table.playerHand.count(), 2);
        QCOMPARE(table.hitMistakes, int16_t(1));
        QVERIFY(table.sounds.lastStarted().endsWith(QStringLiteral("wrong2.wav")));
        QCOMPARE(table.frmStrings->highlightedLine(), table.theChartLine);
        table.lblHit_Click();
        QCOMPARE(table.playerHand.count(), 3);
        QCOMPARE(table.hitMistakes, int16_t(0));

        // A-2-3 against a 4 is advised from its soft row: hitting goes through.
        table.roundOver = true;
        fixture.deal({4, 1, 2, 3, 2});
        table.lblHit_Click();
        table.lblHit_Click();
        QCOMPARE(table.playerHand.count(), 4);
        QCOMPARE(table.statusText(), QStringLiteral("Click an action button"));

        // An empty chart cell stops the first choice too, without advice.
        table.roundOver = true;
        table.chart.strategyChart[9].fill(QString()); // hard 19
        fixture.deal({6, 10, 9, 2});
        table.lblStand_Click();
        QCOMPARE(table.statusText(), QString());
        QVERIFY(!table.roundOver);
        table.lblStand_Click();
        QVERIFY(table.roundOver);
    }

    void tutorWithAdviceShownNeverStops()
    {
        OPEN_TABLE(fixture, table);
        fixture.deal({10, 2, 3, 2, 4}); // hard 5, 7, 11...
        QCOMPARE(table.frmStrings->highlightedLine(), int16_t(0));
        table.lblStand_Click(); // wrong, but never stopped
        QVERIFY(table.roundOver);
        QCOMPARE(oddsLine(table), QString());
        fixture.deal({10, 2, 3, 2, 2, 2});
        table.lblHit_Click();
        QCOMPARE(table.statusText(), QStringLiteral("Hit again.."));
        // Odds in chips on the stake; a drawn hand can no longer double.
        QVERIFY(oddsLine(table).startsWith(QStringLiteral("Stand -")));
        QVERIFY(!oddsLine(table).contains(QStringLiteral("Double")));
        table.lblHit_Click();
        QCOMPARE(table.statusText(), QStringLiteral("and again.."));
        table.lblHit_Click();
        QCOMPARE(table.statusText(), QStringLiteral("Hit.."));
    }

    // A stopped choice lets only the very same decision through: a new card
    // or a new split hand is judged afresh.
    void stoppedChoiceDoesNotCarryToLaterDecisions()
    {
        OPEN_TABLE(fixture, table);
        table.prefs.prfAlwaysShowBestPlay = false;
        fixture.deal({10, 10, 2, 2}); // hard 12, then 14, against a ten: hit
        table.lblStand_Click();
        QCOMPARE(table.statusText(), QStringLiteral("Should Hit.."));
        table.lblHit_Click();
        table.lblStand_Click();
        QCOMPARE(table.statusText(), QStringLiteral("Should Hit.."));
        QVERIFY(!table.roundOver);

        table.roundOver = true;
        // 8-8 against a ten: the first hand 8-3 is dealt 17 by 10-7; the
        // second hand 8-10 meets a new dealer 9.
        fixture.deal({10, 8, 8, 3, 7, 9, 10});
        table.lblStand_Click();
        QCOMPARE(table.statusText(), QStringLiteral("Should Split.."));
        QVERIFY(oddsLine(table).contains(QStringLiteral("  Split ")));
        QVERIFY(oddsLine(table).contains(QStringLiteral("  (Stand costs ")));
        table.lblSplit_Click();
        table.lblStand_Click();
        QCOMPARE(table.statusText(), QStringLiteral("Should Hit.."));
        QVERIFY(table.splitting);
        table.lblDouble_Click();
        QCOMPARE(table.playerHand.count(), 2);
        table.lblStand_Click(); // the same Stand again goes through
        QCOMPARE(table.bank(), 975);
        QVERIFY(!table.splitting);
        table.lblDouble_Click(); // the second hand's Double is a new decision
        QCOMPARE(table.statusText(), QStringLiteral("Should Stand.."));
        QCOMPARE(table.playerHand.count(), 2);
        QCOMPARE(table.wager, int16_t(25));
    }

    void inputDuringEveryWaitIsIgnored()
    {
        OPEN_TABLE(fixture, table);
        table.welcomeShown = false;
        table.prefs.prfAnimation = true;
        int fired = 0;
        auto fireEverything = [&](int) {
            ++fired;
            const int stock = table.deck.stockCount();
            const int bank = table.bank();
            table.picDeal_Click();
            for (auto button : buttons)
                (table.*button)();
            for (Qt::Key key : {Qt::Key_H, Qt::Key_S, Qt::Key_D, Qt::Key_P, Qt::Key_N, Qt::Key_Space})
                QTest::keyClick(&table, key);
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
        OPEN_TABLE(fixture, table);
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
        OPEN_TABLE(fixture, table);
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

    // The table and the simulator play the same decks by the chart and must
    // settle every hand alike.
    void tableAndSimulatorAgreeRoundByRound()
    {
        OPEN_TABLE(fixture, table);
        ChartTable chart;
        std::ifstream file(fixture.folder.filePath(QStringLiteral("bjdata.txt")).toStdString(), std::ios::binary);
        QVERIFY(chart.fromText(std::string(std::istreambuf_iterator<char>(file), {})));
        RoundSimulator simulator(chart);
        std::optional<int> bankAfterFirstHand;
        fixture.clock.onWait = [&](int) {
            // The last wait of a split's first hand is the pause after its settlement.
            if (table.splitting)
                bankAfterFirstHand = table.bank();
        };
        int splits = 0;
        for (unsigned round = 0; round < 400; ++round) {
            const std::array<Card, 52> deck = seededDeck(round, round % 3 == 0);
            fixture.stacked.stackDeck(deck);
            const int bankBefore = table.bank();
            bankAfterFirstHand.reset();
            table.picDeal_Click();
            for (int action = 0; !table.roundOver; ++action) {
                QVERIFY(action < 12);
                if (table.theBestPlay == QLatin1String("p"))
                    table.lblSplit_Click();
                else if (table.theBestPlay == QLatin1String("d"))
                    table.lblDouble_Click();
                else if (table.theBestPlay == QLatin1String("h"))
                    table.lblHit_Click();
                else
                    table.lblStand_Click();
            }
            QByteArray where = "round " + QByteArray::number(round) + ", cards dealt";
            for (int i = 51; i > 39; --i)
                where += ' ' + QByteArray::number(deck[i].rank);
            const int units = simulator.playRound(deck);
            QVERIFY2(table.bank() - bankBefore == 25 * units, where);
            const RoundSimulator::SplitHands &split = simulator.lastSplit();
            QVERIFY2(bankAfterFirstHand.has_value() == split.happened, where);
            if (split.happened) {
                ++splits;
                QVERIFY2(*bankAfterFirstHand - bankBefore == 25 * split.first, where);
            }
        }
        QVERIFY(splits > 30);
    }
};

QTEST_MAIN(TestRounds)
#include "test_rounds.moc"
