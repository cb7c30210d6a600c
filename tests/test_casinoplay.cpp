#include "CasinoChartPlay.h"
#include "CasinoRound.h"
#include "DealingShoe.h"
#include "RulesText.h"
#include "SeededRandom.h"
#include "ShuffledShoeSource.h"
#include "StackedShoeSource.h"
#include <QtTest>
#include <map>

namespace {

using Action = CasinoRound::Action;
using Outcome = CasinoRound::Outcome;

GameRules rulesOf(const QString &text)
{
    std::string error;
    const auto rules = RulesText::parse(text.toStdString(), &error);
    if (!rules)
        qFatal("bad rules %s: %s", qPrintable(text), error.c_str());
    return *rules;
}

Action actionOf(QChar code)
{
    switch (code.toLatin1()) {
    case 'h': return Action::Hit;
    case 's': return Action::Stand;
    case 'd': return Action::Double;
    case 'p': return Action::Split;
    case 'r': return Action::Surrender;
    }
    qFatal("no action '%c'", code.toLatin1());
}

std::array<int, 10> countsOf(const Shoe &shoe)
{
    std::array<int, 10> counts{};
    for (int value = 1; value <= 10; ++value)
        counts[value - 1] = shoe.count(value);
    return counts;
}

std::array<int, 10> fullShoe(int decks)
{
    return countsOf(Shoe::fullShoe(decks));
}

// Everything a settled round must hold, whatever was played.
void checkSettled(const CasinoRound &round)
{
    QCOMPARE(round.phase(), CasinoRound::Phase::Over);
    QVERIFY(round.holeCardShown());
    int sum = round.insuranceResult();
    for (const CasinoRound::PlayerHand &hand : round.hands()) {
        QVERIFY(hand.outcome != Outcome::Open);
        sum += hand.result;
    }
    // The stakes and payments kept by the round against the hands' results.
    QCOMPARE(round.bankChange(), sum);
    QVERIFY(round.allowedActions().empty());
}

} // namespace

class TestCasinoPlay : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void cutCard_data()
    {
        QTest::addColumn<int>("decks");
        QTest::addColumn<int>("cutAt");
        QTest::newRow("single deck at 65 %") << 1 << 34;
        QTest::newRow("double deck at 65 %") << 2 << 68;
        QTest::newRow("four decks at 75 %") << 4 << 156;
        QTest::newRow("six decks at 75 %") << 6 << 234;
        QTest::newRow("eight decks at 75 %") << 8 << 312;
    }
    void cutCard()
    {
        QFETCH(int, decks);
        QFETCH(int, cutAt);
        SeededRandom random(7);
        ShuffledShoeSource source(random);
        DealingShoe shoe(decks, source);
        QCOMPARE(shoe.cutCardAt(), cutAt);
        QCOMPARE(shoe.cardsLeft(), decks * 52);
        QCOMPARE(countsOf(shoe.remaining()), fullShoe(decks));
        QVERIFY(!shoe.beginRound());
        std::array<int, 10> expected = fullShoe(decks);
        for (int i = 0; i < cutAt - 1; ++i)
            --expected[cardValue(shoe.deal()) - 1];
        shoe.endRound();
        // The discards stay out of the shoe from round to round.
        QVERIFY(!shoe.beginRound());
        QCOMPARE(countsOf(shoe.remaining()), expected);
        shoe.deal();
        QVERIFY(shoe.cutCardOut());
        shoe.endRound();
        QCOMPARE(shoe.shuffles(), 1);
        QVERIFY(shoe.beginRound());
        QCOMPARE(shoe.shuffles(), 2);
        QCOMPARE(shoe.cardsLeft(), decks * 52);
        QCOMPARE(countsOf(shoe.remaining()), fullShoe(decks));
    }

    void discardsShuffledBackWhenTheShoeRunsOut()
    {
        SeededRandom random(11);
        ShuffledShoeSource source(random);
        DealingShoe shoe(1, source);
        shoe.beginRound();
        std::map<int, int> discarded;
        for (int i = 0; i < 30; ++i)
            ++discarded[shoe.deal().cardIndex];
        shoe.endRound();
        QVERIFY(!shoe.beginRound());
        std::map<int, int> onTable;
        for (int i = 0; i < 22; ++i)
            ++onTable[shoe.deal().cardIndex];
        QCOMPARE(shoe.cardsLeft(), 0);
        const Card next = shoe.deal();
        QVERIFY(shoe.reshuffledThisRound());
        QCOMPARE(shoe.cardsLeft(), 29);
        QCOMPARE(discarded.count(next.cardIndex), std::size_t(1));
        QCOMPARE(onTable.count(next.cardIndex), std::size_t(0));
        shoe.endRound();
        QVERIFY(shoe.beginRound());
        QVERIFY(!shoe.reshuffledThisRound());
        QCOMPARE(shoe.cardsLeft(), 52);
        // A shuffle of everything takes back the cards on the table too.
        shoe.deal();
        shoe.deal();
        shoe.shuffleAll();
        QCOMPARE(shoe.cardsLeft(), 52);
        QCOMPARE(countsOf(shoe.remaining()), fullShoe(1));
        QVERIFY(!shoe.cutCardOut());
    }

    void shuffleReachesEveryPosition()
    {
        // A generator at 0 swaps each card with the first: a rotation. One
        // just below 1 swaps each card with itself.
        struct Fixed : RandomSource {
            float value;
            explicit Fixed(float value) : value(value) {}
            float next() override { return value; }
        };
        std::vector<Card> cards;
        for (int i = 0; i < 5; ++i)
            cards.push_back(Card::fromIndex(i));
        Fixed zero(0.0f);
        ShuffledShoeSource(zero).order(cards);
        QCOMPARE((QList<int>{cards[0].cardIndex, cards[1].cardIndex, cards[2].cardIndex, cards[3].cardIndex,
                             cards[4].cardIndex}),
                 (QList<int>{1, 2, 3, 4, 0}));
        Fixed top(0.99999994f);
        ShuffledShoeSource(top).order(cards);
        QCOMPARE(cards[0].cardIndex, int16_t(1));
        QCOMPARE(cards[4].cardIndex, int16_t(0));
    }

    void shuffledTopCardIsUniform()
    {
        SeededRandom random(3);
        ShuffledShoeSource source(random);
        std::array<int, 52> tops{};
        for (int i = 0; i < 52 * 200; ++i) {
            DealingShoe shoe(1, source);
            ++tops[shoe.deal().cardIndex];
        }
        for (int count : tops)
            QVERIFY2(count > 140 && count < 260, qPrintable(QString::number(count)));
    }

    void seededRandomRepeatsItsSequence()
    {
        SeededRandom a(42), b(42), c(43);
        bool differs = false;
        double sum = 0;
        for (int i = 0; i < 10000; ++i) {
            const float x = a.next();
            QCOMPARE(x, b.next());
            differs = differs || x != c.next();
            QVERIFY(x >= 0.0f && x < 1.0f);
            sum += x;
        }
        QVERIFY(differs);
        QVERIFY(std::abs(sum / 10000 - 0.5) < 0.01);
    }

    // Each row: the table's rules, the cards in dealing order (up-card,
    // player's two, hole card, then as drawn), and the player's script:
    // y / n answer insurance, h s d p r act, and "-x" is an action refused.
    void settlement_data()
    {
        QTest::addColumn<QString>("rules");
        QTest::addColumn<QList<int>>("cards");
        QTest::addColumn<QString>("script");
        QTest::addColumn<QList<int>>("results"); // tenths of a stake, per hand
        QTest::addColumn<int>("insurance");

        QTest::newRow("natural pays 3:2") << "decks=6" << QList<int>{9, 1, 13, 7} << "" << QList<int>{15} << 0;
        QTest::newRow("natural pays 6:5") << "natural=6:5" << QList<int>{9, 1, 13, 7} << "" << QList<int>{12} << 0;
        QTest::newRow("natural pays 1:1") << "natural=1:1" << QList<int>{9, 1, 13, 7} << "" << QList<int>{10} << 0;
        QTest::newRow("peeked natural ends the round")
            << "decks=6" << QList<int>{10, 9, 7, 1} << "-s" << QList<int>{-10} << 0;
        QTest::newRow("naturals on both sides push")
            << "decks=6" << QList<int>{1, 1, 12, 13} << "n" << QList<int>{0} << 0;
        QTest::newRow("insurance wins 2:1")
            << "decks=6" << QList<int>{1, 10, 6, 13} << "y" << QList<int>{-10} << 10;
        QTest::newRow("insurance lost")
            << "decks=6" << QList<int>{1, 10, 6, 7} << "ys" << QList<int>{-10} << -5;
        QTest::newRow("insurance declined")
            << "decks=6" << QList<int>{1, 10, 8, 6} << "-hns" << QList<int>{10} << 0;
        QTest::newRow("late surrender returns half")
            << "surrender=late" << QList<int>{10, 10, 6, 7} << "r" << QList<int>{-5} << 0;
        QTest::newRow("no surrender without the rule")
            << "surrender=no" << QList<int>{10, 10, 6, 7} << "-rs" << QList<int>{-10} << 0;
        QTest::newRow("no surrender after a hit")
            << "surrender=late" << QList<int>{10, 5, 3, 7, 2} << "h-rs" << QList<int>{-10} << 0;
        QTest::newRow("double wins twice")
            << "decks=6" << QList<int>{7, 5, 6, 10, 10} << "d" << QList<int>{20} << 0;
        QTest::newRow("doubled hand busts for two")
            << "decks=6" << QList<int>{7, 10, 2, 10, 10} << "d" << QList<int>{-20} << 0;
        QTest::newRow("double on 9-11 refused on 8")
            << "double=9-11" << QList<int>{7, 5, 3, 10, 10} << "-dhs" << QList<int>{10} << 0;
        QTest::newRow("double on 9-11 on 9")
            << "double=9-11" << QList<int>{7, 5, 4, 10, 10} << "d" << QList<int>{20} << 0;
        QTest::newRow("double on 9-11 refused on soft 19")
            << "double=9-11" << QList<int>{7, 1, 8, 10} << "-ds" << QList<int>{10} << 0;
        QTest::newRow("double on 10-11 refused on 9")
            << "double=10-11" << QList<int>{7, 5, 4, 10, 10} << "-dhs" << QList<int>{10} << 0;
        QTest::newRow("no double after a hit")
            << "decks=6" << QList<int>{7, 2, 3, 10, 5} << "h-ds" << QList<int>{-10} << 0;
        QTest::newRow("dealer stands on soft 17")
            << "soft17=stand" << QList<int>{6, 10, 8, 1} << "s" << QList<int>{10} << 0;
        QTest::newRow("dealer hits soft 17")
            << "soft17=hit" << QList<int>{6, 10, 8, 1, 3} << "s" << QList<int>{-10} << 0;
        QTest::newRow("dealer stands on hard 17 when hitting soft 17")
            << "soft17=hit" << QList<int>{6, 10, 8, 10, 1} << "s" << QList<int>{10} << 0;
        // 8-8 split three times against 6 with 10 under it: the first hand
        // doubles 8-3 after the split, the next 8-8 cannot split past four.
        QTest::newRow("resplit to four hands, double after split")
            << "split=4" << QList<int>{6, 8, 8, 10, 8, 8, 3, 10, 8, 5, 10, 10} << "pppd-psss"
            << QList<int>{20, 10, 10, 10} << 0;
        QTest::newRow("split to two hands only")
            << "split=2" << QList<int>{6, 8, 8, 10, 8, 10, 10} << "p-pss" << QList<int>{10, 10} << 0;
        QTest::newRow("no double after split without das")
            << "das=no" << QList<int>{6, 8, 8, 10, 3, 2, 10, 5} << "p-dhss" << QList<int>{-10, -10} << 0;
        QTest::newRow("ten-value cards split")
            << "decks=6" << QList<int>{6, 13, 12, 10, 9, 8, 10} << "pss" << QList<int>{10, 10} << 0;
        // Split aces take one card each; a 21 there is no natural.
        QTest::newRow("split aces one card each")
            << "decks=6" << QList<int>{6, 1, 1, 10, 13, 5, 2} << "p-h" << QList<int>{10, -10} << 0;
        QTest::newRow("no resplit of aces")
            << "resplitAces=no" << QList<int>{6, 1, 1, 10, 1, 9, 4} << "p" << QList<int>{-10, 0} << 0;
        QTest::newRow("aces resplit")
            << "resplitAces=yes" << QList<int>{6, 1, 1, 10, 1, 9, 7, 1, 4} << "p-hps" << QList<int>{0, -10, -10} << 0;
        // Without a hole card the dealer's second card comes after the
        // player's play; a natural then takes the original stake only.
        QTest::newRow("no hole card: natural takes the original stake")
            << "hole=none" << QList<int>{10, 8, 8, 3, 9, 10, 1} << "pds" << QList<int>{-10, 0} << 0;
        QTest::newRow("no hole card: surrender lost to a natural")
            << "hole=none,surrender=late" << QList<int>{10, 10, 6, 1} << "r" << QList<int>{-10} << 0;
        QTest::newRow("no hole card: natural pushes a natural, no insurance")
            << "hole=none" << QList<int>{1, 1, 13, 12} << "-n" << QList<int>{0} << 0;
        QTest::newRow("no hole card: natural paid")
            << "hole=none" << QList<int>{1, 1, 13, 9} << "" << QList<int>{15} << 0;
        QTest::newRow("no hole card: dealer draws after the player")
            << "hole=none" << QList<int>{10, 10, 9, 7} << "s" << QList<int>{10} << 0;
        QTest::newRow("dealer busts") << "decks=6" << QList<int>{10, 10, 2, 6, 10} << "s" << QList<int>{10} << 0;
        QTest::newRow("push") << "decks=6" << QList<int>{10, 10, 8, 8} << "s" << QList<int>{0} << 0;
        QTest::newRow("player busts first")
            << "decks=6" << QList<int>{10, 10, 6, 6, 10} << "h" << QList<int>{-10} << 0;
    }
    void settlement()
    {
        QFETCH(QString, rules);
        QFETCH(QList<int>, cards);
        QFETCH(QString, script);
        QFETCH(QList<int>, results);
        QFETCH(int, insurance);
        StackedShoeSource source;
        source.stackRanks(cards);
        const GameRules table = rulesOf(rules);
        DealingShoe shoe(table.decks, source);
        CasinoRound round(table, shoe);
        for (int i = 0; i < script.size(); ++i) {
            const QChar code = script[i];
            if (code == QLatin1Char('y') || code == QLatin1Char('n')) {
                QCOMPARE(round.phase(), CasinoRound::Phase::Insurance);
                round.insure(code == QLatin1Char('y'));
            } else if (code == QLatin1Char('-')) {
                const QChar refused = script[++i];
                if (refused == QLatin1Char('n'))
                    QVERIFY(round.phase() != CasinoRound::Phase::Insurance);
                else
                    QVERIFY2(!round.act(actionOf(refused)), qPrintable(QStringLiteral("%1 allowed").arg(refused)));
            } else {
                QVERIFY2(round.act(actionOf(code)), qPrintable(QStringLiteral("%1 refused").arg(code)));
            }
        }
        checkSettled(round);
        QList<int> got;
        for (const CasinoRound::PlayerHand &hand : round.hands())
            got << hand.result;
        QCOMPARE(got, results);
        QCOMPARE(round.insuranceResult(), insurance);
        // Every stacked card came out, and nothing after them.
        QCOMPARE(shoe.cardsLeft(), table.decks * 52 - int(cards.size()));
    }

    void outcomesOfSplitHands()
    {
        StackedShoeSource source;
        source.stackRanks({6, 8, 8, 10, 3, 10, 5, 10, 10});
        const GameRules table = rulesOf(QStringLiteral("decks=6"));
        DealingShoe shoe(6, source);
        CasinoRound round(table, shoe);
        QVERIFY(round.act(Action::Split));
        QCOMPARE(round.hands().size(), std::size_t(2));
        QCOMPARE(round.activeHand(), 0);
        QCOMPARE(round.hands()[0].cards.count(), 2);
        QCOMPARE(round.hands()[1].cards.count(), 1); // dealt when its turn comes
        QVERIFY(round.act(Action::Double)); // 8-3 doubled: 21
        QCOMPARE(round.activeHand(), 1);
        QCOMPARE(round.hands()[1].cards.count(), 2);
        QVERIFY(round.act(Action::Hit)); // 8-5-10 busts
        checkSettled(round);
        QCOMPARE(round.hands()[0].outcome, Outcome::Won);
        QCOMPARE(round.hands()[1].outcome, Outcome::Busted);
        QCOMPARE(handTotal(round.dealerCards()), 26);
    }

    void allowedActionsOfADeal()
    {
        StackedShoeSource source;
        source.stackRanks({9, 8, 8, 7});
        const GameRules table = rulesOf(QStringLiteral("surrender=late"));
        DealingShoe shoe(6, source);
        CasinoRound round(table, shoe);
        QCOMPARE(round.allowedActions(),
                 (std::vector<Action>{Action::Hit, Action::Stand, Action::Double, Action::Split, Action::Surrender}));
        // The live odds see the hole card as still to come.
        Shoe unseen = round.unseen();
        QCOMPARE(unseen.total, shoe.cardsLeft() + 1);
        QCOMPARE(unseen.count(7), 24);
        QCOMPARE(unseen.count(8), 22);
        QCOMPARE(unseen.count(9), 23);
        QVERIFY(round.act(Action::Stand));
        QCOMPARE(round.unseen().count(7), 23);
    }

    // A chart all hits but for one or two cells, and the action it plays
    // on the active hand after the script (as in settlement, p s h only).
    void chartPlay_data()
    {
        QTest::addColumn<QString>("rules");
        QTest::addColumn<QList<int>>("cards");
        QTest::addColumn<QString>("script");
        QTest::addColumn<QStringList>("cells"); // row label, up-card value, code
        QTest::addColumn<int>("action");
        const int hit = int(Action::Hit), stand = int(Action::Stand), doubleDown = int(Action::Double),
                  split = int(Action::Split), surrender = int(Action::Surrender);
        QTest::newRow("ds doubles") << "decks=6" << QList<int>{6, 1, 7, 10} << ""
                                    << QStringList{"A7", "6", "ds"} << doubleDown;
        QTest::newRow("ds stands on three cards") << "decks=6" << QList<int>{6, 1, 2, 10, 2} << "h"
                                                  << QStringList{"A4", "6", "ds"} << stand;
        QTest::newRow("d hits on three cards") << "decks=6" << QList<int>{6, 1, 2, 10, 2} << "h"
                                               << QStringList{"A4", "6", "d"} << hit;
        QTest::newRow("d hits after a split without das")
            << "das=no" << QList<int>{6, 8, 8, 10, 3} << "p" << QStringList{"H11", "6", "d"} << hit;
        QTest::newRow("d doubles after a split with das")
            << "das=yes" << QList<int>{6, 8, 8, 10, 3} << "p" << QStringList{"H11", "6", "d"} << doubleDown;
        QTest::newRow("r surrenders") << "surrender=late" << QList<int>{10, 10, 6, 7} << ""
                                      << QStringList{"H16", "10", "r"} << surrender;
        QTest::newRow("r hits without surrender") << "surrender=no" << QList<int>{10, 10, 6, 7} << ""
                                                  << QStringList{"H16", "10", "r"} << hit;
        QTest::newRow("rs stands without surrender") << "surrender=no" << QList<int>{10, 10, 6, 7} << ""
                                                     << QStringList{"H16", "10", "rs"} << stand;
        QTest::newRow("rp surrenders") << "surrender=late" << QList<int>{10, 8, 8, 7} << ""
                                       << QStringList{"88", "10", "rp"} << surrender;
        QTest::newRow("rp splits without surrender") << "surrender=no" << QList<int>{10, 8, 8, 7} << ""
                                                     << QStringList{"88", "10", "rp"} << split;
        QTest::newRow("a pair past the split limit reads its total")
            << "split=2" << QList<int>{6, 8, 8, 10, 8} << "p" << QStringList{"88", "6", "p", "H16", "6", "s"}
            << stand;
        QTest::newRow("ten-value pair reads 1010")
            << "decks=6" << QList<int>{6, 13, 11, 10} << "" << QStringList{"1010", "6", "p"} << split;
        QTest::newRow("split aces that may resplit never hit")
            << "resplitAces=yes" << QList<int>{6, 1, 1, 10, 1} << "p" << QStringList{"AA", "6", "h"} << stand;
    }
    void chartPlay()
    {
        QFETCH(QString, rules);
        QFETCH(QList<int>, cards);
        QFETCH(QString, script);
        QFETCH(QStringList, cells);
        QFETCH(int, action);
        CasinoChart chart;
        for (int i = 0; i < cells.size(); i += 3) {
            int row = 0;
            while (cells[i] != QLatin1String(CasinoChart::rowLabel(row)))
                ++row;
            int code = 0;
            while (cells[i + 2] != QLatin1String(CasinoChart::codeText(CasinoChart::Code(code))))
                ++code;
            chart.setCode(row, CasinoChart::column(cells[i + 1].toInt()), CasinoChart::Code(code));
        }
        StackedShoeSource source;
        source.stackRanks(cards);
        const GameRules table = rulesOf(rules);
        DealingShoe shoe(table.decks, source);
        CasinoRound round(table, shoe);
        for (QChar code : script)
            QVERIFY(round.act(actionOf(code)));
        QCOMPARE(round.phase(), CasinoRound::Phase::PlayerTurn);
        QCOMPARE(int(CasinoChartPlay::action(chart, round)), action);
    }

    void manyRandomRoundsKeepTheInvariants_data()
    {
        QTest::addColumn<QString>("rules");
        QTest::newRow("six decks") << "decks=6,surrender=late";
        QTest::newRow("single deck hit soft 17 resplit aces") << "decks=1,soft17=hit,resplitAces=yes,split=4";
        QTest::newRow("double deck no hole card") << "decks=2,hole=none,surrender=late,das=no";
        QTest::newRow("eight decks 6:5 split to 3") << "decks=8,natural=6:5,split=3,double=10-11";
    }
    void manyRandomRoundsKeepTheInvariants()
    {
        QFETCH(QString, rules);
        const GameRules table = rulesOf(rules);
        SeededRandom random(1234);
        ShuffledShoeSource source(random);
        DealingShoe shoe(table.decks, source);
        SeededRandom choices(99);
        std::array<int, 10> expected = fullShoe(table.decks);
        std::map<int, int> dealtSinceShuffle; // by card index
        int shuffles = shoe.shuffles();
        int splits = 0;
        for (int i = 0; i < 20000; ++i) {
            CasinoRound round(table, shoe);
            if (round.shuffledBeforeDeal()) {
                QCOMPARE(shoe.shuffles(), shuffles + 1);
                expected = fullShoe(table.decks);
                dealtSinceShuffle.clear();
            }
            while (round.phase() != CasinoRound::Phase::Over) {
                if (round.phase() == CasinoRound::Phase::Insurance) {
                    round.insure(choices.next() < 0.5f);
                    continue;
                }
                const std::vector<Action> allowed = round.allowedActions();
                QVERIFY(!allowed.empty());
                // Splits, the rarest chance, are taken more often than the rest.
                const Action action = round.allows(Action::Split) && choices.next() < 0.5f
                    ? Action::Split
                    : allowed[std::size_t(choices.next() * float(allowed.size()))];
                splits += action == Action::Split;
                QVERIFY(round.act(action));
            }
            checkSettled(round);
            // Per round, the cards on the table are distinct.
            std::map<int, int> onTable;
            auto count = [&](const Hand &hand) {
                for (int c = 0; c < hand.count(); ++c)
                    ++onTable[hand[c].cardIndex];
            };
            count(round.dealerCards());
            for (const CasinoRound::PlayerHand &hand : round.hands())
                count(hand.cards);
            for (const auto &[index, times] : onTable)
                QVERIFY(times <= table.decks);
            if (shoe.reshuffledThisRound()) {
                // The next round starts from a full shuffle.
                shuffles = shoe.shuffles() + 1;
                continue;
            }
            // Between shuffles no card comes twice: what is left is the
            // full shoe less what was dealt.
            for (const auto &[index, times] : onTable) {
                dealtSinceShuffle[index] += times;
                QVERIFY(dealtSinceShuffle[index] <= table.decks);
                expected[cardValue(Card::fromIndex(index)) - 1] -= times;
            }
            QCOMPARE(countsOf(shoe.remaining()), expected);
            shuffles = shoe.shuffles();
        }
        QVERIFY(splits > 1000);
    }
};

QTEST_APPLESS_MAIN(TestCasinoPlay)
#include "test_casinoplay.moc"
