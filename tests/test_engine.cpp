#include "AdviceAgreement.h"
#include "BestPlay.h"
#include "ChartDerivation.h"
#include "DealerOutcomes.h"
#include "DealerRule.h"
#include "HandOf.h"
#include "LiveOdds.h"
#include "RoundSimulator.h"
#include "SplitOdds.h"
#include "SplitSecondHands.h"
#include "StrategyChart.h"
#include <QtTest>
#include <fstream>
#include <iterator>
#include <sstream>

namespace {
Shoe shoeWithout(std::initializer_list<int> values)
{
    Shoe shoe = Shoe::fullDeck();
    for (int value : values)
        shoe.remove(value);
    return shoe;
}

void playEveryOrder(std::array<int, 11> &left, std::vector<Card> &cards, int player, double probability,
                    DealerDistribution &out)
{
    const int total = handTotal(cards);
    if (cards.size() >= 2 && !dealerDraws(total, player)) {
        out[std::min(total, 22)] += probability;
        return;
    }
    int remaining = 0;
    for (int value = 1; value <= 10; ++value)
        remaining += left[value];
    for (int value = 1; value <= 10; ++value) {
        if (left[value] == 0)
            continue;
        const double drawn = probability * left[value] / remaining;
        --left[value];
        cards.push_back(Card::fromIndex((value - 1) * 4));
        playEveryOrder(left, cards, player, drawn, out);
        cards.pop_back();
        ++left[value];
    }
}

ChartTable shippedChart()
{
    std::ifstream file(VANTREL_SOURCE_DIR "/data/bjdata.txt", std::ios::binary);
    ChartTable chart;
    chart.fromText(std::string(std::istreambuf_iterator<char>(file), {}));
    return chart;
}

// Up-card first, then the player's two cards; suits differ so equal ranks may repeat.
RoundSimulator::FirstCards deal(int up, int first, int second)
{
    return {(up - 1) * 4, (first - 1) * 4 + 1, (second - 1) * 4 + 2};
}

// The program's engine, shared by the tests that value whole charts and
// splits: its values are exact whatever was asked before, and each test
// need not work out again the hands the others met.
StrategyEngine &programEngine()
{
    static StrategyEngine engine;
    return engine;
}

ChartDerivation &derivation()
{
    static ChartDerivation derivation(programEngine());
    return derivation;
}

const ChartTable &derivedChart()
{
    static const ChartTable chart = derivation().derive();
    return chart;
}

// A first split hand played card by card from the top of the stock, as the
// program deals it: before each of the player's cards, up to two cards of
// the pair's rank are set aside. Counts ranks, not values, and plays the
// dealer by brute force. Results per unit staked.
struct FirstSplitHandByHand {
    int setAsideRank; // whose cards are set aside
    int up;
    std::array<int, 14> ranks{}; // cards left of each rank, 1..13

    // f(probability, value) for the player's next card, with the stock
    // (set-aside cards gone) as it stands after it.
    template <class F>
    void eachCard(double probability, int setAside, F &&f)
    {
        int total = 0;
        for (int rank = 1; rank <= 13; ++rank)
            total += ranks[rank];
        for (int rank = 1; rank <= 13; ++rank) {
            if (ranks[rank] == 0)
                continue;
            const double drawn = probability * ranks[rank] / total;
            --ranks[rank];
            if (rank == setAsideRank && setAside < 2)
                eachCard(drawn, setAside + 1, f);
            else
                f(drawn, valueOf(rank));
            ++ranks[rank];
        }
    }
    static int total(int hardSum, bool ace) { return ace && hardSum <= 11 ? hardSum + 10 : hardSum; }
    double stand(int player)
    {
        if (player > 21)
            return -1.0;
        std::array<int, 11> left{};
        for (int rank = 1; rank <= 13; ++rank)
            left[valueOf(rank)] += ranks[rank];
        DealerDistribution dealer{};
        std::vector<Card> cards{Card::fromIndex((up - 1) * 4)};
        playEveryOrder(left, cards, player, 1.0, dealer);
        double value = dealer[22];
        for (int final = 0; final < 22; ++final)
            value += dealer[final] * (player > final ? 1.0 : player < final ? -1.0 : 0.0);
        return value;
    }
    double hit(int hardSum, bool ace)
    {
        double value = 0.0;
        eachCard(1.0, 0, [&](double p, int card) { value += p * best(hardSum + card, ace || card == 1); });
        return value;
    }
    double best(int hardSum, bool ace)
    {
        const int player = total(hardSum, ace);
        return player > 21 ? -1.0 : std::max(stand(player), hit(hardSum, ace));
    }
    double doubleDown(int hardSum, bool ace)
    {
        double value = 0.0;
        eachCard(1.0, 0, [&](double p, int card) { value += p * 2 * stand(total(hardSum + card, ace || card == 1)); });
        return value;
    }
};
}

class TestEngine : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Ten-six against a ten, one deck, dealer stands on soft 17, dealer peeks.
    void standardRulesMatchPublishedFigures()
    {
        StrategyEngine engine(GameRules::standard());
        const Shoe shoe = shoeWithout({10, 10, 6});
        const PlayerHand tenSix{16, false, 2};
        QVERIFY(std::abs(engine.stand(tenSix, 10, shoe) - -0.542952) < 1e-6);
        QVERIFY(std::abs(engine.hit(tenSix, 10, shoe) - -0.506929) < 1e-6);
        QVERIFY(std::abs(engine.doubleDown(tenSix, 10, shoe) - -1.013858) < 1e-6);
    }

    // Against a brute-force play of every card order through the program's
    // own hand total and dealer rule; bust included, so a bust worked out
    // as "whatever is left" is checked too.
    void dealerOutcomesMatchBruteForce()
    {
        DealerOutcomes program(GameRules::program());
        const Shoe shoe = shoeWithout({10, 5, 3});
        for (int up = 1; up <= 10; ++up) {
            for (int player : {12, 16, 17, 21}) {
                DealerDistribution expected{};
                std::array<int, 11> left{};
                for (int value = 1; value <= 10; ++value)
                    left[value] = shoe.count(value);
                std::vector<Card> cards{Card::fromIndex((up - 1) * 4)};
                playEveryOrder(left, cards, player, 1.0, expected);
                const DealerDistribution got = program.distribution(up, shoe, player);
                for (int final = 0; final < 23; ++final)
                    QVERIFY2(std::abs(got[final] - expected[final]) < 1e-12,
                             qPrintable(QStringLiteral("up %1 player %2 final %3").arg(up).arg(player).arg(final)));
            }
        }
        // The brute force shares that rule, so it is pinned here: the dealer's
        // 16 stands against the player's 16 and draws against 17.
        QVERIFY(program.distribution(10, shoe, 16)[16] > 0.05);
        QCOMPARE(program.distribution(10, shoe, 17)[16], 0.0);
    }

    void sanityOfValues()
    {
        StrategyEngine engine;
        // Three-card 21 against a six: the dealer can at best tie.
        const double stand21 = engine.stand({21, false, 3}, 6, shoeWithout({6, 10, 6, 5}));
        QVERIFY(stand21 > 0.85 && stand21 < 1.0);
        for (int up = 1; up <= 10; ++up) {
            const Shoe shoe = shoeWithout({up, 5, 3});
            QVERIFY(engine.hit({8, false, 2}, up, shoe) >= engine.stand({8, false, 2}, up, shoe));
        }
    }

    // Two eights marked, a five and a ten: every way the program's set-aside rule deals.
    void setAsideDrawsFollowTheStock()
    {
        Shoe shoe;
        shoe.counts[7] = 2;
        shoe.counts[4] = 1;
        shoe.counts[9] = 1;
        shoe.total = 4;
        shoe.markRank(8, 2);
        double sum = 0.0, fiveWithBothEightsGone = 0.0, eight = 0.0;
        shoe.forEachDraw(true, [&](double p, int value, const Shoe &after) {
            sum += p;
            if (value == 8)
                eight += p;
            if (value == 5 && after.count(8) == 0)
                fiveWithBothEightsGone += p;
        });
        QVERIFY(std::abs(sum - 1.0) < 1e-12);
        QCOMPARE(eight, 0.0);
        QVERIFY(std::abs(fiveWithBothEightsGone - 1.0 / 12) < 1e-12);
    }

    // The engine's rows must be the tutor's rows, or the simulator would not
    // play what the program advises: every hand of two or three cards and
    // the four-card hands with two aces, on the shipped chart and on one
    // that doubles everywhere (where a drawn hand must stand or hit instead).
    void chartRowsMatchTheTutor()
    {
        StrategyChart shippedTutor, doublingTutor;
        shippedTutor.importChart(VANTREL_SOURCE_DIR "/data");
        ChartTable doubling;
        for (int row = 0; row < ChartTable::rows; ++row) {
            doublingTutor.strategyChart[std::size_t(row)].fill(QStringLiteral("d"));
            for (int column = 0; column < ChartTable::columns; ++column)
                doubling.setCode(row, column, 'd');
        }
        QList<Hand> hands;
        for (int a = 1; a <= 13; ++a)
            for (int b = 1; b <= 13; ++b)
                hands << handOf({a, b});
        for (int a = 1; a <= 10; ++a)
            for (int b = 1; b <= 10; ++b) {
                hands << handOf({1, 1, a, b});
                for (int c = 1; c <= 10; ++c)
                    hands << handOf({a, b, c});
            }
        const std::pair<const StrategyChart *, ChartTable> charts[] = {{&shippedTutor, shippedChart()},
                                                                      {&doublingTutor, doubling}};
        for (const auto &[tutorChart, chart] : charts) {
            const BestPlay bestPlay(*tutorChart);
            for (const Hand &hand : hands) {
                const int16_t total = handTotal(hand);
                if (total >= 21)
                    continue;
                for (int up = 1; up <= 10; ++up) {
                    int16_t dealerTotal = static_cast<int16_t>(up);
                    int16_t line = 0;
                    const QString tutor = bestPlay.chartLookup(hand, total, dealerTotal, line);
                    QCOMPARE(QString(QChar(chart.advice(hand, up))), tutor);
                }
            }
        }
    }

    // A soft hand that has drawn reads the soft row of its total; a "d" it
    // can no longer play stands on soft 18 or more and draws below. The
    // engine's values show each answer is the better play.
    void softHandsOfThreeCardsReadTheSoftRows()
    {
        struct Case {
            std::initializer_list<int> ranks;
            int up;
            char advice;
            double stand, hit;
        };
        const Case cases[] = {
            {{1, 2, 3}, 4, 'h', -0.2046, -0.0220}, // A5 v 4: h, where hard 16 would stand
            {{1, 2, 3}, 6, 'h', -0.2017, +0.0133},
            {{1, 2, 4}, 10, 'h', -0.4601, -0.2697},
            {{1, 3, 3}, 5, 'h', +0.0205, +0.0691}, // A6 v 5: "d" on soft 17 draws
            {{1, 3, 4}, 4, 's', +0.1844, +0.0920}, // A7 v 4: "d" on soft 18 stands
        };
        const ChartTable chart = shippedChart();
        StrategyEngine engine;
        for (const Case &c : cases) {
            const Hand hand = handOf(c.ranks);
            const QString label = QStringLiteral("%1 cards, total %2, v %3").arg(hand.count()).arg(handTotal(hand)).arg(c.up);
            QCOMPARE(chart.advice(hand, c.up), c.advice);
            Shoe shoe = shoeWithout({c.up});
            PlayerHand played;
            for (int rank : c.ranks) {
                shoe.remove(std::min(rank, 10));
                played = played.plus(std::min(rank, 10));
            }
            QVERIFY2(std::abs(engine.stand(played, c.up, shoe) - c.stand) < 6e-5, qPrintable(label));
            QVERIFY2(std::abs(engine.hit(played, c.up, shoe) - c.hit) < 6e-5, qPrintable(label));
        }
        // Soft 21 ends the hand; a soft 20 of three cards stands; a bust has no row.
        QCOMPARE(ChartTable::laterRow(11, true), -1);
        QCOMPARE(ChartTable::laterRow(10, true), 17);
        QCOMPARE(ChartTable::laterRow(3, true), 10);
        QCOMPARE(ChartTable::laterRow(16, true), ChartTable::hardRow(16));
        QCOMPARE(ChartTable::laterRow(22, false), -1);
    }

    void shippedChartIsTheDerivedChart()
    {
        QVERIFY2(shippedChart() == derivedChart(),
                 "data/bjdata.txt differs: run tools/derive_chart --write-source-chart");
        // No single-cell change gains: every cell leads its runner-up.
        for (const auto &row : derivation().margins())
            for (const ChartDerivation::Margin &margin : row)
                QVERIFY(margin.margin > -1e-6 && margin.runnerUp != 0);
    }

    // The search takes every single-cell change from one evaluation. Its
    // margins are held to the whole changed chart valued afresh, as the
    // reference search values it: in the merged rows, where a hand comes
    // back to the cell it left (hard 17 hits to 19), in cells read in split
    // hands, and in pair cells.
    void marginsAreExact_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("up");
        QTest::addRow("H17-20 v 10") << ChartTable::hardRow(17) << 10;
        QTest::addRow("H3-8 v 6") << ChartTable::hardRow(3) << 6;
        QTest::addRow("H12 v 4") << ChartTable::hardRow(12) << 4;
        QTest::addRow("H11 v 6") << ChartTable::hardRow(11) << 6;
        QTest::addRow("A7 v 3") << ChartTable::twoCardRow(1, 7) << 3;
        QTest::addRow("8-8 v 10") << ChartTable::twoCardRow(8, 8) << 10;
        QTest::addRow("2-2 v 5") << ChartTable::twoCardRow(2, 2) << 5;
        QTest::addRow("9-9 v 7") << ChartTable::twoCardRow(9, 9) << 7;
    }
    void marginsAreExact()
    {
        QFETCH(int, row);
        QFETCH(int, up);
        const ChartTable chart = derivedChart();
        const int column = ChartTable::column(up);
        const ChartDerivation::Margin margin = derivation().margins()[row][column];
        StrategyEngine &engine = programEngine();
        const double value = engine.chartRoundValue(chart);
        for (const char code : {'s', 'h', 'd', 'p'}) {
            if (code == chart.code(row, column) || (code == 'p' && !ChartTable::isPairRow(row)))
                continue;
            ChartTable changed = chart;
            changed.setCode(row, column, code);
            const double behind = value - engine.chartRoundValue(changed);
            if (code == margin.runnerUp)
                QVERIFY2(std::abs(behind - margin.margin) < 1e-12,
                         qPrintable(QString("%1: %2 v %3").arg(code).arg(behind).arg(margin.margin)));
            else
                QVERIFY(behind >= margin.margin - 1e-12);
        }
    }

    // Played by the chart, a round gives up little to the best play, and the
    // advice is the best allowed action almost everywhere.
    void chartPlayIsCloseToBestPlay()
    {
        const ChartTable chart = shippedChart();
        StrategyEngine &engine = programEngine();
        const double played = engine.chartRoundValue(chart);
        const double best = engine.bestRoundValue();
        QVERIFY2(played < best && best - played < 0.0005, qPrintable(QString("%1 v %2").arg(played).arg(best)));
        const double share = AdviceAgreement(engine).share(chart);
        QVERIFY2(share >= 0.99 && share < 1.0, qPrintable(QString::number(share)));
        QVERIFY(AdviceAgreement(engine).share(ChartTable::textbookSingleDeck()) < 0.95);
    }

    // The second split hand, dealt after the first hand and its dealer, is
    // valued exactly: the simulator's split hands agree with the engine.
    void splitHandsMatchPlay_data()
    {
        QTest::addColumn<int>("pair");
        QTest::addColumn<int>("up");
        QTest::addRow("8-8 v 10") << 8 << 10;
        QTest::addRow("A-A v 6") << 1 << 6;
    }
    void splitHandsMatchPlay()
    {
        QFETCH(int, pair);
        QFETCH(int, up);
        const ChartTable chart = shippedChart();
        RoundSimulator simulator(chart);
        const RoundSimulator::FirstCards cards = deal(up, pair, pair);
        const long long rounds = 2'000'000;
        std::array<double, 2> sum{}, squares{};
        for (long long round = 0; round < rounds; ++round) {
            simulator.playRound(17, static_cast<uint64_t>(round), &cards, 'p');
            const int results[2] = {simulator.lastSplit().first, simulator.lastSplit().second};
            for (int i = 0; i < 2; ++i) {
                sum[i] += results[i];
                squares[i] += double(results[i]) * results[i];
            }
        }
        StrategyEngine &engine = programEngine();
        const SplitValue exact = engine.chartSplit(chart, pair, 2, up, shoeWithout({up, pair, pair}));
        const double values[2] = {exact.first, exact.second};
        for (int i = 0; i < 2; ++i) {
            const double mean = sum[i] / rounds;
            const double error = std::sqrt((squares[i] / rounds - mean * mean) / rounds);
            QVERIFY2(std::abs(values[i] - mean) < 4 * error,
                     qPrintable(QString("hand %1: engine %2, simulated %3 +- %4").arg(i + 1).arg(values[i]).arg(mean).arg(error)));
        }
    }

    // The chart evaluation values the second split hands of all original
    // up-cards in one tree, a lane per up-card; each split's second hands are
    // still worth what the engine gives that split alone. A ten-value pair
    // against a ten of its own rank (one of the rank left) and of another
    // (two left) share a lane but not their chances.
    void secondSplitHandsInLanesMatchTheEngine()
    {
        struct Split {
            int pair, up, rankLeft;
        };
        const Split splits[] = {{8, 10, 2}, {8, 8, 1}, {8, 5, 2}, {1, 6, 2}, {1, 1, 1},
                                {2, 7, 2},  {9, 9, 1}, {10, 10, 1}, {10, 10, 2}, {10, 4, 2}};
        const ChartTable chart = ChartTable::textbookSingleDeck();
        const std::array<int, ChartTable::columns> columnStamps{};
        StrategyEngine &engine = programEngine();
        SplitSecondHands hands(engine, chart, columnStamps);
        std::vector<int> numbers;
        for (const Split &split : splits)
            numbers.push_back(hands.add(split.pair, split.rankLeft, split.up, shoeWithout({split.up, split.pair, split.pair})));
        hands.evaluate();
        for (std::size_t i = 0; i < std::size(splits); ++i) {
            const Split &split = splits[i];
            const Shoe shoe = shoeWithout({split.up, split.pair, split.pair});
            const double alone = engine.chartSplit(chart, split.pair, split.rankLeft, split.up, shoe).second;
            const double laned = hands.value(numbers[i]) / engine.dealer().noBlackjack(split.up, shoe);
            QVERIFY2(std::abs(laned - alone) < 1e-12, qPrintable(QString("%1-%1 v %2 (%3 left): %4 v %5")
                                                                     .arg(split.pair).arg(split.up).arg(split.rankLeft)
                                                                     .arg(laned).arg(alone)));
        }
    }

    void simulationAgreesWithEngine()
    {
        const ChartTable chart = shippedChart();
        StrategyEngine &engine = programEngine();
        const double exact = engine.chartRoundValue(chart);
        const RoundSimulator::Statistics played = RoundSimulator::run(chart, 200'000, 12345);
        QVERIFY2(std::abs(played.mean - exact) < 4 * played.standardError,
                 qPrintable(QString("engine %1, simulated %2 +- %3").arg(exact).arg(played.mean).arg(played.standardError)));
    }

    void liveOddsInChips()
    {
        LiveOdds odds;
        LiveOdds::Situation situation;
        situation.playerHand = handOf({10, 6});
        situation.upCard = Card::fromIndex(36); // a ten
        situation.stake = 25;
        const ActionOdds twoCards = odds.compute(situation);
        StrategyEngine engine;
        const Shoe shoe = shoeWithout({10, 6, 10});
        QVERIFY(std::abs(twoCards.stand - 25 * engine.stand({16, false, 2}, 10, shoe)) < 1e-9);
        QVERIFY(std::abs(twoCards.hit - 25 * engine.hit({16, false, 2}, 10, shoe)) < 1e-9);
        QVERIFY(twoCards.doubleDown.has_value());
        QVERIFY(!twoCards.split.has_value());
        situation.playerHand = handOf({10, 2, 4});
        QVERIFY(!odds.compute(situation).doubleDown.has_value());

        // A pair on the first two cards may split; a split hand may not split again.
        situation.playerHand = handOf({8, 8});
        const std::optional<double> split = odds.compute(situation).split;
        QVERIFY(split.has_value());
        QVERIFY(std::abs(*split - 25 * engine.split(8, 2, 10, shoeWithout({10, 8, 8}))) < 1e-9);
        situation.upCard = Card::fromIndex(28); // an eight: one eight left unseen
        QVERIFY(std::abs(*odds.compute(situation).split - 25 * engine.split(8, 1, 8, shoeWithout({8, 8, 8}))) < 1e-9);
        situation.firstSplitHand = true;
        QVERIFY(!odds.compute(situation).split.has_value());
        situation.firstSplitHand = false;
        situation.cardsOut = {Card::fromIndex(0)};
        QVERIFY(!odds.compute(situation).split.has_value());
    }

    // King-five on the first hand of split kings, the other king waiting,
    // against a ten: only kings are set aside before a hit, not every
    // ten-value card.
    void liveOddsOnTheFirstSplitHand()
    {
        LiveOdds odds;
        LiveOdds::Situation situation;
        situation.playerHand = handOf({13, 5});
        situation.upCard = Card::fromIndex(36);     // a ten
        situation.cardsOut = {Card::fromIndex(49)}; // the other king
        situation.firstSplitHand = true;
        const ActionOdds got = odds.compute(situation);

        FirstSplitHandByHand kings{13, 10};
        kings.ranks.fill(4);
        for (const int rank : {13, 5, 10, 13})
            --kings.ranks[rank];
        const double stand = 25 * kings.stand(15), hit = 25 * kings.hit(15, false);
        const double doubleDown = 25 * kings.doubleDown(15, false);
        QVERIFY2(std::abs(got.stand - stand) < 1e-9, qPrintable(QString("%1 %2").arg(got.stand).arg(stand)));
        QVERIFY2(std::abs(got.hit - hit) < 1e-9, qPrintable(QString("%1 %2").arg(got.hit).arg(hit)));
        QVERIFY(got.doubleDown.has_value());
        QVERIFY2(std::abs(*got.doubleDown - doubleDown) < 1e-9,
                 qPrintable(QString("%1 %2").arg(*got.doubleDown).arg(doubleDown)));
        QVERIFY(!got.split.has_value());
    }

    // The live odds' split values are the engine's, as derive_chart writes them.
    void splitOddsTableIsTheEngines()
    {
        std::ifstream file(VANTREL_SOURCE_DIR "/src/game/strategy/SplitOddsTable.h", std::ios::binary);
        StrategyEngine &engine = programEngine();
        auto numbers = [](std::string text) {
            text = text.substr(text.find('{'));
            for (char &c : text)
                c = c == '{' || c == '}' || c == ',' || c == ';' ? ' ' : c;
            std::istringstream in(text);
            return std::vector<double>(std::istream_iterator<double>(in), {});
        };
        const std::vector<double> expected = numbers(SplitOdds::tableText(engine));
        const std::vector<double> got = numbers(std::string(std::istreambuf_iterator<char>(file), {}));
        QCOMPARE(got.size(), std::size_t(200));
        QCOMPARE(got.size(), expected.size());
        for (std::size_t i = 0; i < got.size(); ++i)
            QVERIFY2(std::abs(got[i] - expected[i]) < 1e-12, "run tools/derive_chart --write-source-chart");
        QCOMPARE(SplitOdds::value(8, 10, 2), got[(7 * 10 + 9) * 2 + 1]);
    }

    // A split ten's second card is never of the pair's rank: a ten-value card
    // makes a hard 20 there, whatever the pair row says.
    void splitTensDrawOtherTenRanks()
    {
        StrategyEngine &engine = programEngine();
        const ChartTable standing = shippedChart();
        ChartTable hitting = standing;
        for (int column = 0; column < ChartTable::columns; ++column)
            hitting.setCode(ChartTable::twoCardRow(10, 10), column, 'h');
        const Shoe shoe = shoeWithout({10, 10, 10});
        for (int pairRank : {10, 13})
            QCOMPARE(engine.chartSplit(hitting, pairRank, 2, 10, shoe).total(),
                     engine.chartSplit(standing, pairRank, 2, 10, shoe).total());
    }

    // Every deal but a natural falls in one cell, with the up-card's card removed first.
    void dealtChancesCoverEveryDeal()
    {
        const ChartTable::CellValues chances = ChartTable::dealtChances();
        double sum = 0.0;
        for (const auto &row : chances)
            for (const double chance : row)
                sum += chance;
        QVERIFY(std::abs(sum - (1.0 - 2.0 * 4 / 52 * 16 / 51)) < 1e-12);
        const int sevens = ChartTable::twoCardRow(7, 7);
        QVERIFY(std::abs(chances[sevens][ChartTable::column(10)] - 16.0 / 52 * 4 / 51 * 3 / 50) < 1e-15);
        QVERIFY(std::abs(chances[sevens][ChartTable::column(7)] - 4.0 / 52 * 3 / 51 * 2 / 50) < 1e-15);
    }

    // Forcing the first action plays exactly like a chart whose cell for the
    // deal holds that action: the first decision changes, nothing after it.
    void firstActionIsTheOnlyDecisionForced_data()
    {
        QTest::addColumn<int>("pair");
        QTest::addColumn<int>("up");
        QTest::addColumn<char>("action");
        for (const char action : {'s', 'h', 'd', 'p'}) {
            QTest::addRow("8-8 v 10 %c", action) << 8 << 10 << action;
            QTest::addRow("2-2 v 5 %c", action) << 2 << 5 << action;
        }
    }
    void firstActionIsTheOnlyDecisionForced()
    {
        QFETCH(int, pair);
        QFETCH(int, up);
        QFETCH(char, action);
        const ChartTable chart = shippedChart();
        ChartTable charted = chart;
        charted.setCode(ChartTable::twoCardRow(pair, pair), ChartTable::column(valueOf(up)), action);
        RoundSimulator forced(chart), asCharted(charted), unforced(chart);
        const RoundSimulator::FirstCards cards = deal(up, pair, pair);
        int changed = 0;
        for (uint64_t round = 0; round < 3000; ++round) {
            const int result = forced.playRound(5, round, &cards, action);
            QCOMPARE(result, asCharted.playRound(5, round, &cards));
            changed += result != unforced.playRound(5, round, &cards);
        }
        // The test has teeth only where the action is not the chart's own.
        QCOMPARE(changed > 0, charted != chart);
    }

    // A split asked for on cards of unequal rank is a hit, as at the table.
    void splitOfUnequalRanksIsAHit()
    {
        RoundSimulator simulator(shippedChart());
        const RoundSimulator::FirstCards cards = deal(10, 10, 6);
        for (uint64_t round = 0; round < 2000; ++round) {
            const int hit = simulator.playRound(9, round, &cards, 'h');
            QCOMPARE(simulator.playRound(9, round, &cards, 'p'), hit);
            QVERIFY(!simulator.lastSplit().happened);
        }
    }

    // The forced deal is the one played: each action's mean agrees with the
    // engine's exact value for that deal.
    void forcedDealMatchesTheEngine_data()
    {
        QTest::addColumn<int>("up");
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("second");
        QTest::addColumn<QString>("actions");
        QTest::addRow("8-8 v 10") << 10 << 8 << 8 << "sdp";
        QTest::addRow("5-6 v 6") << 6 << 5 << 6 << "ds";
        QTest::addRow("A-7 v 9") << 9 << 1 << 7 << "sd";
    }
    void forcedDealMatchesTheEngine()
    {
        QFETCH(int, up);
        QFETCH(int, first);
        QFETCH(int, second);
        QFETCH(QString, actions);
        const ChartTable chart = shippedChart();
        const std::vector<RoundSimulator::Comparison> results = RoundSimulator::compareFirstActions(
            chart, deal(up, first, second), actions.toStdString(), 200'000, 31);
        QCOMPARE(int(results.size()), actions.size() - 1);
        StrategyEngine engine;
        Shoe shoe = Shoe::fullDeck();
        for (int rank : {up, first, second})
            shoe.remove(valueOf(rank));
        const PlayerHand hand{valueOf(first) + valueOf(second), first == 1 || second == 1, 2};
        for (int i = 0; i < actions.size(); ++i) {
            const char action = actions[i].toLatin1();
            const double exact = action == 's'   ? engine.stand(hand, valueOf(up), shoe)
                                 : action == 'd' ? engine.doubleDown(hand, valueOf(up), shoe)
                                                 : engine.chartSplit(chart, first, 2, valueOf(up), shoe).total();
            const RoundSimulator::Statistics &played = i == 0 ? results[0].first : results[i - 1].second;
            QVERIFY2(std::abs(played.mean - exact) < 4 * played.standardError,
                     qPrintable(QString("%1: engine %2, simulated %3 +- %4")
                                    .arg(actions[i]).arg(exact).arg(played.mean).arg(played.standardError)));
        }
    }

    // Every action of a comparison is played on the round's one deck: the
    // same action twice differs in no round, while different ones do.
    void actionsArePlayedOnTheSameDecks()
    {
        const std::vector<RoundSimulator::Comparison> results =
            RoundSimulator::compareFirstActions(shippedChart(), deal(10, 7, 7), "hph", 20'000, 3);
        QCOMPARE(results[1].difference.standardError, 0.0);
        QVERIFY(results[0].difference.standardError > 0);
    }
};

QTEST_APPLESS_MAIN(TestEngine)
#include "test_engine.moc"
