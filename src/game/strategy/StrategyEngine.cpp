#include "StrategyEngine.h"
#include <algorithm>

namespace {
// Kinds of value kept in the memo next to hit values, above every key field.
constexpr uint64_t bestValueKey = uint64_t(1) << 60;
constexpr uint64_t splitValueKey = uint64_t(1) << 61;
constexpr uint64_t twoCardValueKey = uint64_t(1) << 62;

}

uint64_t StrategyEngine::handKey(const Shoe &shoe, int upValue, const PlayerHand &hand, bool setAside)
{
    return shoe.key() | uint64_t(upValue) << 48 | uint64_t(hand.hardSum) << 52 | uint64_t(hand.hasAce) << 58
           | uint64_t(setAside) << 59;
}

StrategyEngine::StrategyEngine(const GameRules &rules)
    : rules(rules), dealerOutcomes(rules), splitHandDealer(rules)
{
    for (int natural = 0; natural <= 1; ++natural) {
        const double win = natural ? rules.naturalPayout : 1.0;
        // Behind a peek the dealer's 21 is never a blackjack, so a natural beats it.
        const bool naturalBeats21 = natural && rules.dealerPeeks;
        for (int player = 0; player <= 21; ++player) {
            for (int total = lowestFinal; total <= 21; ++total) {
                resultAgainst[natural][player][total - lowestFinal] =
                    player > total || (total == 21 && naturalBeats21) ? win : player < total ? -1.0 : 0.0;
            }
        }
    }
}

double StrategyEngine::stand(const PlayerHand &hand, int upValue, const Shoe &shoe, bool natural)
{
    return standRaw(hand, upValue, shoe, natural) / dealerOutcomes.noBlackjack(upValue, shoe);
}

double StrategyEngine::hit(const PlayerHand &hand, int upValue, const Shoe &shoe, bool setAside)
{
    return hitRaw(hand, upValue, shoe, setAside) / dealerOutcomes.noBlackjack(upValue, shoe);
}

double StrategyEngine::doubleDown(const PlayerHand &hand, int upValue, const Shoe &shoe, bool setAside)
{
    return doubleRaw(hand, upValue, shoe, setAside) / dealerOutcomes.noBlackjack(upValue, shoe);
}

double StrategyEngine::split(int pairValue, int rankLeft, int upValue, const Shoe &shoe)
{
    return splitRaw(pairValue, rankLeft, upValue, shoe) / dealerOutcomes.noBlackjack(upValue, shoe);
}

double StrategyEngine::standRaw(const PlayerHand &hand, int upValue, const Shoe &shoe, bool natural)
{
    const int player = hand.total();
    if (player > 21)
        return bustRaw(upValue, shoe);
    return standAgainst(dealerFor(shoe).finals(upValue, shoe, player), player, natural);
}

double StrategyEngine::standAgainst(const DealerFinals &dealer, int player, bool natural) const
{
    const std::array<double, bustFinal> &result = resultAgainst[natural][player];
    // Impossible totals and ties add zeros, so the sum needs no tests.
    double value = dealer[bustFinal] * (natural ? rules.naturalPayout : 1.0);
    for (int final = 0; final < bustFinal; ++final)
        value += dealer[final] * result[final];
    return value;
}

void StrategyEngine::prepareStands(const PlayerHand &hand, int upValue, Draws &draws)
{
    std::array<const Shoe *, 32> shoes;
    std::array<int, 32> totals;
    std::array<int, 32> drawOf;
    int count = 0;
    for (int i = 0; i < draws.count; ++i) {
        const int total = hand.plus(draws.items[i].card).total();
        if (total <= 21) {
            shoes[count] = &draws.items[i].after;
            drawOf[count] = i;
            totals[count++] = total;
        }
    }
    if (count == 0)
        return;
    std::array<int, 32> places;
    dealerFor(*shoes[0]).prepare(upValue, shoes.data(), totals.data(), count, places.data());
    for (int k = 0; k < count; ++k)
        draws.dealerPlaces[drawOf[k]] = places[k];
}

double StrategyEngine::bustRaw(int upValue, const Shoe &shoe) const
{
    return -dealerOutcomes.noBlackjack(upValue, shoe);
}

double StrategyEngine::hitRaw(const PlayerHand &hand, int upValue, const Shoe &shoe, bool setAside)
{
    const uint64_t key = handKey(shoe, upValue, hand, setAside);
    if (const double *found = memoFor(shoe).find(key))
        return *found;
    Draws draws(shoe, setAside);
    prepareStands(hand, upValue, draws);
    double value = 0.0;
    for (const Draws::Draw &draw : draws) {
        const PlayerHand next = hand.plus(draw.card);
        const int total = next.total();
        double result;
        if (total > 21)
            result = bustRaw(upValue, draw.after);
        else if (total == 21) // any 21 ends the hand
            result = drawnStandRaw(draws, draw, next);
        else
            result = bestOfStandAndHitRaw(next, upValue, draw.after, setAside);
        value += draw.probability * result;
    }
    memoFor(shoe).insert(key, value);
    return value;
}

double StrategyEngine::bestOfStandAndHitRaw(const PlayerHand &hand, int upValue, const Shoe &shoe, bool setAside)
{
    // A hand is reached by many orders of the same cards: remember its best
    // value as well as its hit value, so a repeat visit is one lookup.
    const uint64_t key = handKey(shoe, upValue, hand, setAside) | bestValueKey;
    if (const double *found = memoFor(shoe).find(key))
        return *found;
    const double value = std::max(standRaw(hand, upValue, shoe, false), hitRaw(hand, upValue, shoe, setAside));
    memoFor(shoe).insert(key, value);
    return value;
}

double StrategyEngine::doubleRaw(const PlayerHand &hand, int upValue, const Shoe &shoe, bool setAside)
{
    Draws draws(shoe, setAside);
    prepareStands(hand, upValue, draws);
    double value = 0.0;
    for (const Draws::Draw &draw : draws) {
        const PlayerHand next = hand.plus(draw.card);
        value += draw.probability * (next.total() > 21 ? bustRaw(upValue, draw.after) : drawnStandRaw(draws, draw, next));
    }
    return 2.0 * value;
}

double StrategyEngine::bestTwoCardRaw(const PlayerHand &hand, int upValue, const Shoe &shoe, bool setAside)
{
    if (hand.total() == 21)
        return standRaw(hand, upValue, shoe, false);
    // Every split's second hand asks again for the hands of ordinary deals.
    const uint64_t key = handKey(shoe, upValue, hand, setAside) | twoCardValueKey;
    if (const double *found = memoFor(shoe).find(key))
        return *found;
    return memoFor(shoe).insert(key, std::max({standRaw(hand, upValue, shoe, false), hitRaw(hand, upValue, shoe, setAside),
                                      doubleRaw(hand, upValue, shoe, setAside)}));
}

template <class PlayHand>
SplitValue StrategyEngine::splitWith(int pairValue, int rankLeft, int upValue, const Shoe &shoe, PlayHand &&play)
{
    // Only splits of the same pair against the same up-card meet the same
    // shoes: start the others with small, cache-warm tables.
    const int splitKind = upValue * 16 + pairValue;
    if (splitKind != splitHandTablesFor) {
        splitHandMemo.clear();
        splitHandDealer.forget();
        splitHandTablesFor = splitKind;
    }
    Shoe marked = shoe;
    marked.markRank(pairValue, rankLeft);
    const PlayerHand oneCard{pairValue, pairValue == 1, 1};
    Draws draws(marked, true);
    prepareStands(oneCard, upValue, draws);
    double first = 0.0;
    for (const auto &[probability, card, after, marked] : draws)
        first += probability * play(oneCard.plus(card), card, upValue, after, true);
    // The second hand meets a new dealer hand: a new up-card, one set-aside
    // step, its second card; later hits set nothing aside. The first hand and
    // its dealer only take cards off the top before it, and the cards they
    // take depend on nothing the second hand does, so for a hand played
    // without looking at them it deals exactly as straight from the stock
    // left at the split.
    double second = 0.0;
    marked.forEachDraw(false, [&](double upProbability, int newUp, const Shoe &afterUp) {
        afterUp.forEachDraw(true, [&](double probability, int card, const Shoe &after) {
            Shoe dealt = after;
            dealt.clearMark();
            second += upProbability * probability * play(oneCard.plus(card), card, newUp, dealt, false);
        });
    });
    return {first, second};
}

double StrategyEngine::splitRaw(int pairValue, int rankLeft, int upValue, const Shoe &shoe)
{
    // Every ten-value rank asks for the same split.
    const uint64_t key = shoe.key() | uint64_t(upValue) << 48 | uint64_t(pairValue) << 52
                         | uint64_t(rankLeft) << 56 | splitValueKey;
    if (const double *found = memo.find(key))
        return *found;
    return memo.insert(key, splitWith(pairValue, rankLeft, upValue, shoe,
                     [this](const PlayerHand &hand, int, int up, const Shoe &after, bool setAside) {
                         return bestTwoCardRaw(hand, up, after, setAside);
                     })
                                .total());
}

void StrategyEngine::useChart(const ChartTable &chart)
{
    for (int upValue = 1; upValue <= 10; ++upValue) {
        const int column = ChartTable::column(upValue);
        for (int row = 0; row < ChartTable::rows; ++row) {
            if (chart.code(row, column) != chartMemoFor.code(row, column)) {
                chartMemo[upValue].clear();
                break;
            }
        }
    }
    chartMemoFor = chart;
}

SplitValue StrategyEngine::chartSplit(const ChartTable &chart, int pairRank, int rankLeft, int upValue,
                                     const Shoe &shoe)
{
    useChart(chart);
    const int pairValue = valueOf(pairRank);
    const double noBlackjack = dealerOutcomes.noBlackjack(upValue, shoe);
    const SplitValue raw = splitWith(pairValue, rankLeft, upValue, shoe,
                     [&](const PlayerHand &, int card, int up, const Shoe &after, bool setAside) {
                         return chartTwoCardRaw(chart, pairRank, ChartTable::splitCardRank(pairRank, card), up,
                                                after, false, 0, setAside);
                     });
    return {raw.first / noBlackjack, raw.second / noBlackjack};
}

double StrategyEngine::chartTwoCardRaw(const ChartTable &chart, int rank1, int rank2, int upValue,
                                       const Shoe &shoe, bool canSplit, int rankLeft, bool setAside)
{
    const PlayerHand hand{valueOf(rank1) + valueOf(rank2), rank1 == 1 || rank2 == 1, 2};
    const int row = ChartTable::twoCardRow(rank1, rank2);
    if (hand.total() == 21 || row < 0)
        return standRaw(hand, upValue, shoe, false);
    switch (chart.code(row, ChartTable::column(upValue))) {
    case 'h':
        return chartHitRaw(chart, hand, upValue, shoe, setAside);
    case 'd':
        return doubleRaw(hand, upValue, shoe, setAside);
    case 'p':
        if (canSplit)
            return splitWith(valueOf(rank1), rankLeft, upValue, shoe,
                             [&](const PlayerHand &, int card, int up, const Shoe &after, bool aside) {
                                 return chartTwoCardRaw(chart, rank1, ChartTable::splitCardRank(rank1, card), up,
                                                        after, false, 0, aside);
                             })
                .total();
        // Split refused: the player draws instead.
        return chartHitRaw(chart, hand, upValue, shoe, setAside);
    default:
        return standRaw(hand, upValue, shoe, false);
    }
}

double StrategyEngine::chartHitRaw(const ChartTable &chart, const PlayerHand &hand, int upValue, const Shoe &shoe,
                                   bool setAside)
{
    const uint64_t key = handKey(shoe, upValue, hand, setAside);
    if (const double *found = chartMemo[upValue].find(key))
        return *found;
    Draws draws(shoe, setAside);
    prepareStands(hand, upValue, draws);
    double value = 0.0;
    for (const Draws::Draw &draw : draws) {
        const PlayerHand next = hand.plus(draw.card);
        const int total = next.total();
        double result;
        if (total > 21) {
            result = bustRaw(upValue, draw.after);
        } else if (total == 21 || chart.laterAdvice(next.hardSum, next.hasAce, upValue) == 's') {
            result = drawnStandRaw(draws, draw, next);
        } else {
            result = chartHitRaw(chart, next, upValue, draw.after, setAside);
        }
        value += draw.probability * result;
    }
    chartMemo[upValue].insert(key, value);
    return value;
}

template <class PlayDeal> double StrategyEngine::overAllDeals(PlayDeal &&play)
{
    double expected = 0.0;
    forEachDeal([&](double chance, int up, int first, int second, bool natural, int rankLeft, const Shoe &shoe) {
        const double noBlackjack = dealerOutcomes.noBlackjack(valueOf(up), shoe);
        const double dealerBlackjack = (1.0 - noBlackjack) * (natural ? 0.0 : -1.0);
        expected += chance * (dealerBlackjack + play(valueOf(up), first, second, natural, rankLeft, shoe));
    });
    return expected;
}

double StrategyEngine::chartRoundValue(const ChartTable &chart)
{
    useChart(chart);
    return overAllDeals([&](int up, int first, int second, bool natural, int rankLeft, const Shoe &shoe) {
        if (natural)
            return standRaw({valueOf(first) + valueOf(second), true, 2}, up, shoe, true);
        return chartTwoCardRaw(chart, first, second, up, shoe, first == second, rankLeft, false);
    });
}

double StrategyEngine::bestRoundValue()
{
    return overAllDeals([&](int up, int first, int second, bool natural, int rankLeft, const Shoe &shoe) {
        const PlayerHand hand{valueOf(first) + valueOf(second), first == 1 || second == 1, 2};
        if (natural)
            return standRaw(hand, up, shoe, true);
        const double played = bestTwoCardRaw(hand, up, shoe, false);
        return first == second ? std::max(played, splitRaw(valueOf(first), rankLeft, up, shoe)) : played;
    });
}
