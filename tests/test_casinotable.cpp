// Rounds at a casino table played through the window, with stacked shoes and
// keys as the player presses them.
#include "CasinoChartPlay.h"
#include "ChartRows.h"
#include "RulesText.h"
#include "SeededRandom.h"
#include "SettingsStore.h"
#include "ShuffledShoeSource.h"
#include "StrategyWindow.h"
#include "RecordRows.h"
#include "TableFixture.h"
#include "TableRulesDialog.h"
#include "TableRulesPresets.h"
#include "TableSurface.h"
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QMenuBar>
#include <QTest>
#include <map>

namespace {
using Outcome = CasinoRound::Outcome;

void storeRules(const QString &text)
{
    SettingsStore store(QStringLiteral("Table"));
    store.write(QStringLiteral("rules"), text);
    QVERIFY(store.commit());
}

void press(MainWindow &table, const QString &keys)
{
    for (const QChar key : keys)
        QTest::keyClick(&table, static_cast<Qt::Key>(key.toUpper().unicode()));
}

// A casino table under `rules` whose shoe deals `ranks` first.
#define OPEN_CASINO(fixture, table, rules, ...)                                                                        \
    storeRules(QStringLiteral(rules));                                                                                 \
    TableFixture fixture;                                                                                              \
    fixture.shoe.stackRanks(__VA_ARGS__);                                                                              \
    QVERIFY(fixture.open());                                                                                           \
    MainWindow &table = fixture.table()

QString rulesTextOf(const char *rules)
{
    return QString::fromStdString(RulesText::format(*RulesText::parse(rules)));
}

QList<Outcome> outcomes(const CasinoRound &round)
{
    QList<Outcome> list;
    for (const CasinoRound::PlayerHand &hand : round.hands())
        list << hand.outcome;
    return list;
}
} // namespace

Q_DECLARE_METATYPE(QList<Outcome>)

class CasinoTableTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void cleanup() { storeRules(QStringLiteral("program")); }

    // Cards come off the shoe as: up-card, player, player, hole card (none
    // without a hole card), then every card drawn in turn.
    void roundsSettle_data()
    {
        QTest::addColumn<QString>("rules");
        QTest::addColumn<QList<int>>("ranks");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("bank");
        QTest::addColumn<QList<Outcome>>("hands");
        QTest::newRow("natural pays 3:2") << "decks=6" << QList<int>{9, 1, 13, 7} << "" << "1037.5"
                                          << QList<Outcome>{Outcome::Natural};
        QTest::newRow("natural pays 6:5") << "decks=1,soft17=hit,natural=6:5" << QList<int>{9, 1, 13, 7} << ""
                                          << "1030" << QList<Outcome>{Outcome::Natural};
        QTest::newRow("natural against a dealer natural pushes")
            << "decks=6" << QList<int>{1, 1, 13, 10} << "n" << "1000" << QList<Outcome>{Outcome::Pushed};
        QTest::newRow("ten up: the peek ends the round before any choice")
            << "decks=6,surrender=late" << QList<int>{10, 9, 9, 1} << "" << "975" << QList<Outcome>{Outcome::Lost};
        QTest::newRow("late surrender returns half") << "decks=6,surrender=late" << QList<int>{10, 10, 6, 7} << "r"
                                                     << "987.5" << QList<Outcome>{Outcome::Surrendered};
        QTest::newRow("insured dealer natural evens out") << "decks=6" << QList<int>{1, 10, 9, 13} << "y"
                                                          << "1000" << QList<Outcome>{Outcome::Lost};
        QTest::newRow("insurance by I") << "decks=6" << QList<int>{1, 10, 9, 13} << "i" << "1000"
                                        << QList<Outcome>{Outcome::Lost};
        QTest::newRow("declined, the dealer natural takes the stake")
            << "decks=6" << QList<int>{1, 10, 9, 13} << "n" << "975" << QList<Outcome>{Outcome::Lost};
        QTest::newRow("insurance lost, hand won") << "decks=6" << QList<int>{1, 10, 9, 7} << "ys" << "1012.5"
                                                  << QList<Outcome>{Outcome::Won};
        QTest::newRow("no hole card: a dealer natural takes the first stake only")
            << "decks=6,hole=none" << QList<int>{10, 8, 8, 10, 9, 1} << "pss" << "975"
            << QList<Outcome>{Outcome::Lost, Outcome::Pushed};
        QTest::newRow("resplit and double after split")
            << "decks=6" << QList<int>{6, 8, 8, 10, 8, 3, 10, 10, 9, 10} << "ppdss" << "1100"
            << QList<Outcome>{Outcome::Won, Outcome::Won, Outcome::Won};
        QTest::newRow("no double after split: the double is refused")
            << "decks=6,das=no" << QList<int>{6, 8, 8, 10, 3, 9, 5} << "pdss" << "950"
            << QList<Outcome>{Outcome::Lost, Outcome::Lost};
        QTest::newRow("split aces take one card each")
            << "decks=6" << QList<int>{7, 1, 1, 10, 10, 5} << "p" << "1000"
            << QList<Outcome>{Outcome::Won, Outcome::Lost};
    }

    void roundsSettle()
    {
        QFETCH(QString, rules);
        QFETCH(QList<int>, ranks);
        QFETCH(QString, keys);
        QFETCH(QString, bank);
        QFETCH(QList<Outcome>, hands);
        storeRules(rules);
        TableFixture fixture;
        fixture.shoe.stackRanks(ranks);
        QVERIFY(fixture.open());
        MainWindow &table = fixture.table();
        QVERIFY(table.casino.isOn());
        table.picDeal_Click();
        press(table, keys);
        const CasinoRound &round = *table.casino.round();
        QCOMPARE(round.phase(), CasinoRound::Phase::Over);
        QCOMPARE(outcomes(round), hands);
        QCOMPARE(table.casino.bankText(), bank);
        QCOMPARE(table.lblBank->text(), bank);
        QVERIFY(table.roundOver);
        // Every hand settled once, by the window.
        QCOMPARE(static_cast<int>(table.casino.settledHands().size()), hands.size());
    }

    // Insurance lost on a won hand; a resplit with a double after it; a
    // stand the tutor stopped, then played.
    void roundsAreRecordedUnderTheTablesRules()
    {
        OPEN_CASINO(fixture, table, "decks=6,surrender=late",
                    {1, 10, 9, 7, 6, 8, 8, 10, 8, 3, 10, 10, 9, 10, 10, 10, 6, 7});
        const QString casinoRules = rulesTextOf("decks=6,surrender=late");
        QCOMPARE(table.training.session().table(), casinoRules);
        table.picDeal_Click();
        press(table, QStringLiteral("ys"));
        table.picDeal_Click();
        press(table, QStringLiteral("pp"));
        // Every decision of a split has its odds line: 8, 3 of three hands may double, not surrender.
        const QString odds = table.frmStrings->findChild<QLabel *>(QStringLiteral("lblOdds"))->text();
        QVERIFY2(odds.contains(QLatin1String("Double ")) && !odds.contains(QLatin1String("Surrender")), qPrintable(odds));
        press(table, QStringLiteral("dss"));
        table.prefs.prfAlwaysShowBestPlay = false;
        table.picDeal_Click();
        press(table, QStringLiteral("ss"));
        QVERIFY(table.roundOver);
        QCOMPARE(table.casino.bankText(), QStringLiteral("1087.5"));

        QCOMPARE(recordRows(table, QStringLiteral("SELECT hand_cards, up_card, action, advice, advice_mode, rules"
                                            " FROM decisions WHERE session = SESSION ORDER BY id")),
                 (QStringList{QStringLiteral("10,9|A|s|s|always|") + casinoRules,
                              QStringLiteral("8,8|6|p|p|always|") + casinoRules,
                              QStringLiteral("8,8|6|p|p|always|") + casinoRules,
                              QStringLiteral("8,3|6|d|d|always|") + casinoRules,
                              QStringLiteral("8,10|6|s|s|always|") + casinoRules,
                              QStringLiteral("8,9|6|s|s|always|") + casinoRules,
                              QStringLiteral("10,6|10|s|r|after error|") + casinoRules}));
        // The insurance lost goes with its hand: the hands add up to the bank.
        QCOMPARE(recordRows(table, QStringLiteral("SELECT amount, bank_after, rules FROM hands WHERE session = SESSION ORDER BY id")),
                 (QStringList{QStringLiteral("12.5|1012.5|") + casinoRules, QStringLiteral("50|1062.5|") + casinoRules,
                              QStringLiteral("25|1087.5|") + casinoRules, QStringLiteral("25|1112.5|") + casinoRules,
                              QStringLiteral("-25|1087.5|") + casinoRules}));

        // The statistics show this table's record.
        table.training.showStatistics();
        StatisticsWindow *statistics = table.training.statisticsWindow();
        QCOMPARE(statistics->shownTable(), casinoRules);
        QCOMPARE(statistics->statistics().thisSession.decisions, 7);
        // Back at the program's table, its own record is shown and kept.
        table.casino.sitAt(GameRules::program());
        QCOMPARE(statistics->shownTable(), DecisionRecord::programRules());
        fixture.deal({10, 10, 7, 9});
        table.lblStand_Click();
        QCOMPARE(recordRows(table, QStringLiteral("SELECT rules FROM hands WHERE session = SESSION ORDER BY id DESC LIMIT 1")),
                 QStringList{DecisionRecord::programRules()});
    }

    void drillDealsTheDrilledCellFromTheShoe()
    {
        OPEN_CASINO(fixture, table, "decks=2,soft17=hit", {});
        table.findChild<QAction *>(QStringLiteral("mnuDrill"))->trigger();
        const ChartRows casinoRows = ChartRows::casino();
        for (int round = 0; round < 5; ++round) {
            table.picDeal_Click();
            const CasinoRound &dealt = *table.casino.round();
            const ChartCell cell = casinoRows.cellOf(dealt.hands()[0].cards, dealt.upCard(), true);
            QCOMPARE(table.training.marker()->text(), QStringLiteral("Drill: ") + casinoRows.cellName(cell));
            QVERIFY(table.training.marker()->isVisible());
            // The whole shoe was gathered for the deal: every card not on the table is in it.
            QCOMPARE(table.casino.shoe()->cardsLeft() + dealt.hands()[0].cards.count() + dealt.dealerCards().count(),
                     table.casino.shoe()->size());
            for (int guard = 0; dealt.phase() != CasinoRound::Phase::Over; ++guard) {
                QVERIFY(guard < 10);
                press(table, dealt.phase() == CasinoRound::Phase::Insurance ? QStringLiteral("n") : QStringLiteral("s"));
            }
        }
        QCOMPARE(recordRows(table, QStringLiteral("SELECT DISTINCT drill FROM hands WHERE session = SESSION")),
                 QStringList{QStringLiteral("1")});
    }

    void badStoredRulesGiveOneMessageAndTheProgramTable()
    {
        storeRules(QStringLiteral("decks=7,soft17=stand"));
        TableFixture fixture;
        QVERIFY(fixture.open());
        QCOMPARE(fixture.alerts.texts.size(), 1);
        QVERIFY(fixture.alerts.texts[0].contains(QLatin1String("decks")));
        QVERIFY(!fixture.table().casino.isOn());
        QVERIFY(fixture.table().casino.surrenderButton()->isHidden());
        fixture.deal({10, 10, 7, 9});
        QCOMPARE(fixture.table().playerHand.count(), 2); // the program's own deal
    }

    void tutorStopsAWrongChoiceOnceAndComparesSurrender()
    {
        OPEN_CASINO(fixture, table, "decks=6,surrender=late", {10, 10, 6, 7});
        table.prefs.prfAlwaysShowBestPlay = false;
        table.picDeal_Click();
        QTest::keyClick(&table, Qt::Key_S);
        QCOMPARE(table.statusText(), QStringLiteral("Should Surrender.."));
        QCOMPARE(table.casino.round()->phase(), CasinoRound::Phase::PlayerTurn);
        QVERIFY(table.frmStrings->highlightedLine() >= 0);
        QTest::keyClick(&table, Qt::Key_S); // the second time it is played
        QCOMPARE(table.casino.round()->phase(), CasinoRound::Phase::Over);
        QCOMPARE(outcomes(*table.casino.round()), QList<Outcome>{Outcome::Lost});
    }

    void tutorStopsASplitAgainstTheChart()
    {
        OPEN_CASINO(fixture, table, "decks=6", {6, 10, 10, 7});
        table.prefs.prfAlwaysShowBestPlay = false;
        table.picDeal_Click();
        QTest::keyClick(&table, Qt::Key_P);
        QCOMPARE(table.statusText(), QStringLiteral("Should Stand.."));
        QCOMPARE(table.casino.round()->hands().size(), std::size_t(1));
    }

    void insuranceIsDeclinedByTheTutorAndValuedOnTheOddsLine()
    {
        OPEN_CASINO(fixture, table, "decks=6", {1, 10, 9, 7});
        table.prefs.prfAlwaysShowBestPlay = false;
        table.picDeal_Click();
        QCOMPARE(table.casino.round()->phase(), CasinoRound::Phase::Insurance);
        QVERIFY(table.statusText().startsWith(QLatin1String("Insurance?")));
        QTest::keyClick(&table, Qt::Key_Y);
        QCOMPARE(table.statusText(), QStringLiteral("Should decline insurance.."));
        QCOMPARE(table.casino.round()->phase(), CasinoRound::Phase::Insurance);
        // A full shoe less the ace, ten and nine: 95 tens in 309 cards.
        const QString odds = table.frmStrings->findChild<QLabel *>(QStringLiteral("lblOdds"))->text();
        const double insurance = 12.5 * (3.0 * 95 / 309 - 1.0);
        QVERIFY2(odds.contains(QStringLiteral("Insurance %1").arg(insurance, 0, 'f', 1)), qPrintable(odds));
        QVERIFY(insurance < 0);
        QTest::keyClick(&table, Qt::Key_N);
        QCOMPARE(table.casino.round()->phase(), CasinoRound::Phase::PlayerTurn);
        QVERIFY(!table.casino.round()->insured());
    }

    void oddsLineShowsEveryAllowedAction()
    {
        OPEN_CASINO(fixture, table, "decks=6,surrender=late", {10, 8, 8, 7});
        table.picDeal_Click();
        const QString odds = table.frmStrings->findChild<QLabel *>(QStringLiteral("lblOdds"))->text();
        for (const char *action : {"Stand ", "Hit ", "Double ", "Split ", "Surrender "})
            QVERIFY2(odds.contains(QLatin1String(action)), qPrintable(odds));
        QVERIFY(!odds.contains(QLatin1String("Insurance")));
    }

    // The longest advice of these rules runs to 232 characters: every line
    // is shown whole, wrapped where it must be, and the window holds them all.
    void strategyWindowShowsEveryLineWhole()
    {
        OPEN_CASINO(fixture, table, "decks=6,surrender=late", {10, 10, 6, 7});
        StrategyWindow &window = *table.frmStrings;
        window.showWindow();
        table.picDeal_Click();
        int wrapped = 0;
        for (int i = 0; i < StrategyWindow::lineCount; ++i) {
            const QLabel *advice = window.findChild<QLabel *>(QStringLiteral("lblAction_%1").arg(i));
            const QLabel *hand = window.findChild<QLabel *>(QStringLiteral("lblPlayerHand_%1").arg(i));
            const QRect needed = advice->fontMetrics().boundingRect(advice->contentsRect(), Qt::AlignLeft | Qt::TextWordWrap,
                                                                    advice->text());
            QVERIFY2(advice->contentsRect().contains(needed), qPrintable(advice->text()));
            QVERIFY(advice->wordWrap() || advice->fontMetrics().horizontalAdvance(advice->text()) <= advice->width());
            wrapped += advice->height() > hand->fontMetrics().height() * 2 ? 1 : 0;
            QVERIFY(hand->fontMetrics().horizontalAdvance(hand->text()) <= hand->width());
            QCOMPARE(hand->geometry().top(), advice->geometry().top());
            QVERIFY(window.rect().contains(advice->geometry().bottomRight()));
        }
        QVERIFY(wrapped > 0);
        QVERIFY(window.font().pixelSize() >= 9);
        auto *odds = window.findChild<QLabel *>(QStringLiteral("lblOdds"));
        QVERIFY(odds->isVisible());
        QCOMPARE(odds->geometry().top(), window.findChild<QLabel *>(QStringLiteral("lblAction_20"))->geometry().bottom() + 1);
        QCOMPARE(odds->geometry().bottom(), window.rect().bottom());
        qInfo("strategy window %d x %d", window.width(), window.height());
        // Back at the program's table, one line a row as before.
        const int casinoHeight = window.height();
        table.casino.sitAt(GameRules::program());
        QVERIFY(!window.findChild<QLabel *>(QStringLiteral("lblAction_0"))->wordWrap());
        QVERIFY(window.height() < casinoHeight);
    }

    void oneButtonFramedAtATime()
    {
        OPEN_CASINO(fixture, table, "decks=6,surrender=late", {10, 10, 6, 7});
        table.picDeal_Click();
        auto *surrenderFrame = table.findChild<QFrame *>(QStringLiteral("shpSurrender"));
        QTest::mouseMove(table.lblHit);
        QVERIFY(table.Shape[0]->isVisible());
        QTest::mouseMove(table.casino.surrenderButton());
        QVERIFY(surrenderFrame->isVisible());
        QVERIFY(table.Shape[0]->isHidden());
        QTest::mouseMove(table.lblStand);
        QVERIFY(surrenderFrame->isHidden());
        QVERIFY(table.Shape[1]->isVisible());
        QTest::mouseMove(table.table, QPoint(20, 20));
        QVERIFY(table.Shape[1]->isHidden());
    }

    void tableRulesChangeTheTableAndAreStored()
    {
        TableFixture fixture;
        QVERIFY(fixture.open());
        MainWindow &table = fixture.table();
        QVERIFY(!table.casino.isOn());
        QVERIFY(table.menuBar()->findChild<QAction *>(QStringLiteral("mnuTableRules")));
        const GameRules withSurrender = *RulesText::parse("decks=2,soft17=hit,surrender=late");
        fixture.deal({10, 10, 7, 9});
        QCOMPARE(table.lblDealer->text(), QStringLiteral("10"));
        table.casino.sitAt(withSurrender);
        QVERIFY(table.casino.isOn());
        // The abandoned round's totals go with it.
        QCOMPARE(table.lblDealer->text(), QStringLiteral("0"));
        QCOMPARE(table.lblPlayer->text(), QStringLiteral("0"));
        QVERIFY(table.casino.surrenderButton()->isVisible());
        QCOMPARE(SettingsStore(QStringLiteral("Table")).read(QStringLiteral("rules"), QString()),
                 QString::fromStdString(RulesText::format(withSurrender)));
        table.casino.sitAt(*RulesText::parse("decks=2,soft17=hit"));
        QVERIFY(table.casino.surrenderButton()->isHidden());
        // The strategy window reads the derived chart.
        QCOMPARE(table.frmStrings->findChild<QLabel *>(QStringLiteral("lblPlayerHand_0"))->text(),
                 QStringLiteral("4 to 8"));
        table.casino.sitAt(GameRules::program());
        QVERIFY(!table.casino.isOn());
        QVERIFY(table.casino.surrenderButton()->isHidden());
        QCOMPARE(table.frmStrings->findChild<QLabel *>(QStringLiteral("lblPlayerHand_0"))->text(),
                 table.chart.chartStrings[0][0].trimmed());
        fixture.deal({10, 10, 7, 9});
        QCOMPARE(table.playerHand.count(), 2);
    }

    void rulesDialogOffersEveryTable()
    {
        OPEN_TABLE(fixture, table);
        const auto text = [](const GameRules &rules) { return RulesText::format(rules); };
        TableRulesDialog dialog(GameRules::program(), &table);
        QCOMPARE(dialog.choice(), 0);
        QVERIFY(!dialog.chosen().casino);
        const auto &presets = TableRulesPresets::all();
        for (int row = 1; row < static_cast<int>(presets.size()); ++row) {
            dialog.choose(row);
            QCOMPARE(text(dialog.chosen()), text(*RulesText::parse(presets[static_cast<std::size_t>(row)].rulesText)));
        }
        // Changing one option keeps the others of the table last chosen.
        QComboBox *decks = dialog.optionBox(0);
        decks->setCurrentText(QStringLiteral("4"));
        Q_EMIT decks->activated(decks->currentIndex());
        QCOMPARE(dialog.choice(), static_cast<int>(presets.size()));
        QCOMPARE(text(dialog.chosen()), text(*RulesText::parse("decks=4,hole=none")));

        // A table that no name covers opens as the custom one.
        const GameRules custom = *RulesText::parse("decks=4,split=3,double=10-11");
        TableRulesDialog reopened(custom, &table);
        QCOMPARE(reopened.choice(), static_cast<int>(presets.size()));
        QCOMPARE(text(reopened.chosen()), text(custom));
    }

    // 200 rounds by key presses at a six-deck table, splitting every pair it
    // may, doubling split hands where it may, surrendering 15 and 16,
    // declining insurance and otherwise playing the chart.
    void twoHundredRoundsKeepTheBooks()
    {
        storeRules(QStringLiteral("decks=6,soft17=stand,das=yes,surrender=late"));
        TableFixture fixture;
        SeededRandom random(20261207);
        ShuffledShoeSource shuffled(random);
        fixture.window = std::make_unique<MainWindow>(fixture.clock, fixture.stacked);
        fixture.window->casino.useShoeSource(shuffled);
        fixture.window->prefs.prfAnimationDelay = 0;
        fixture.window->prefs.delayUnmeasured = false;
        QVERIFY(fixture.window->Form_Load());
        MainWindow &table = fixture.table();
        table.welcomeShown = true;
        table.prefs.prfAutoDeal = false;
        table.prefs.prfAnimation = false;
        table.prefs.prfAlwaysShowBestPlay = true;
        table.activateWindow();
        QCoreApplication::processEvents();

        QStringList statuses;
        fixture.clock.onWait = [&](int) {
            if (statuses.isEmpty() || statuses.last() != table.statusText())
                statuses << table.statusText();
        };
        int shuffleMessages = 0;
        int lastShuffles = 1;
        std::map<int, int> dealtSinceShuffle; // card index -> copies dealt
        int cardsSinceShuffle = 0;
        int bankHalves = 2000;
        std::size_t settledSoFar = 0;
        int stats[5] = {}; // splits, resplits, doubles after a split, surrenders, insurance offers
        for (int played = 0; played < 200; ++played) {
            statuses.clear();
            QTest::keyClick(&table, Qt::Key_N);
            const CasinoRound &round = *table.casino.round();
            const DealingShoe &shoe = *table.casino.shoe();
            if (round.shuffledBeforeDeal()) {
                QVERIFY(statuses.contains(QStringLiteral("Shuffling..")));
                ++shuffleMessages;
            } else {
                QVERIFY(!statuses.contains(QStringLiteral("Shuffling..")));
            }
            for (int guard = 0; round.phase() != CasinoRound::Phase::Over; ++guard) {
                QVERIFY(guard < 40);
                if (round.phase() == CasinoRound::Phase::Insurance) {
                    ++stats[4];
                    QTest::keyClick(&table, Qt::Key_N);
                    continue;
                }
                const auto &hand = round.hands()[static_cast<std::size_t>(round.activeHand())];
                const bool split = round.hands().size() > 1;
                Qt::Key key;
                if (round.allows(CasinoRound::Action::Split)) {
                    key = Qt::Key_P;
                    ++stats[split ? 1 : 0];
                } else if (split && round.allows(CasinoRound::Action::Double) && hand.total() >= 9) {
                    key = Qt::Key_D;
                    ++stats[2];
                } else if (round.allows(CasinoRound::Action::Surrender) && (hand.total() == 15 || hand.total() == 16)) {
                    key = Qt::Key_R;
                    ++stats[3];
                } else {
                    static const Qt::Key keys[] = {Qt::Key_H, Qt::Key_S, Qt::Key_D, Qt::Key_P, Qt::Key_R};
                    key = keys[static_cast<int>(CasinoChartPlay::action(table.casino.chart(), round))];
                }
                QTest::keyClick(&table, key);
            }
            QVERIFY(table.roundOver);
            QVERIFY(!shoe.reshuffledThisRound());
            // No card more often than the shoe holds it between two shuffles.
            if (shoe.shuffles() != lastShuffles) {
                dealtSinceShuffle.clear();
                cardsSinceShuffle = 0;
                lastShuffles = shoe.shuffles();
            }
            std::vector<Card> cards;
            const auto take = [&cards](const Hand &hand) {
                for (int i = 0; i < hand.count(); ++i)
                    cards.push_back(hand[i]);
            };
            take(round.dealerCards());
            for (const auto &hand : round.hands())
                take(hand.cards);
            for (const Card &card : cards)
                QVERIFY(++dealtSinceShuffle[card.cardIndex] <= 6);
            cardsSinceShuffle += static_cast<int>(cards.size());
            QCOMPARE(cardsSinceShuffle + shoe.cardsLeft(), shoe.size());
            // Every hand settled once, and the bank is the sum of their results.
            const auto &settled = table.casino.settledHands();
            QCOMPARE(settled.size() - settledSoFar, round.hands().size());
            for (std::size_t i = settledSoFar; i < settled.size(); ++i) {
                QCOMPARE(settled[i].hand, static_cast<int>(i - settledSoFar));
                QCOMPARE(settled[i].result, round.hands()[i - settledSoFar].result);
                QVERIFY(round.hands()[i - settledSoFar].outcome != Outcome::Open);
                bankHalves += settled[i].result * 5;
            }
            settledSoFar = settled.size();
            QCOMPARE(table.casino.bankText(), QString::number(bankHalves / 2) + (bankHalves % 2 ? ".5" : ""));
        }
        QVERIFY2(stats[0] > 0 && stats[1] > 0 && stats[2] > 0 && stats[3] > 0 && stats[4] > 0,
                 qPrintable(QStringLiteral("splits %1, resplits %2, doubles after a split %3, surrenders %4, insurance offers %5")
                                .arg(stats[0]).arg(stats[1]).arg(stats[2]).arg(stats[3]).arg(stats[4])));
        QVERIFY(shuffleMessages > 0);
        // The record holds every hand, under this table's rules, adding up to the bank.
        QCOMPARE(recordRows(table, QStringLiteral("SELECT count(*), total(amount) * 2, count(DISTINCT rules) FROM hands"
                                            " WHERE session = SESSION")),
                 QStringList{QStringLiteral("%1|%2|1").arg(settledSoFar).arg(bankHalves - 2000)});
        QCOMPARE(recordRows(table, QStringLiteral("SELECT DISTINCT rules FROM decisions WHERE session = SESSION")),
                 QStringList{rulesTextOf("decks=6,soft17=stand,das=yes,surrender=late")});
    }
};

QTEST_MAIN(CasinoTableTest)
#include "test_casinotable.moc"
