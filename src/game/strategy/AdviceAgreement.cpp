#include "AdviceAgreement.h"
#include <algorithm>

double AdviceAgreement::share(const ChartTable &table)
{
    chart = table;
    agreeing = decisions = 0.0;
    std::array<int, 14> ranksLeft;
    ranksLeft.fill(4);
    for (int up = 1; up <= 13; ++up) {
        const double pUp = ranksLeft[up]-- / 52.0;
        for (int first = 1; first <= 13; ++first) {
            const double pFirst = pUp * ranksLeft[first]-- / 51.0;
            for (int second = 1; second <= 13; ++second) {
                Shoe shoe = Shoe::fullDeck();
                shoe.remove(valueOf(up));
                shoe.remove(valueOf(first));
                shoe.remove(valueOf(second));
                decideTwoCards(first, second, valueOf(up), shoe, pFirst * ranksLeft[second] / 50.0,
                               ranksLeft[second] - (first == second), false, false);
            }
            ++ranksLeft[first];
        }
        ++ranksLeft[up];
        decideLaterHands();
    }
    return agreeing / decisions;
}

void AdviceAgreement::count(double weight, double advised, double best)
{
    decisions += weight;
    if (advised >= best - 1e-12) // a tie with the best is the best too
        agreeing += weight;
}

void AdviceAgreement::decideTwoCards(int rank1, int rank2, int upValue, const Shoe &shoe, double weight,
                                     int rankLeft, bool splitHand, bool setAside)
{
    const PlayerHand hand{valueOf(rank1) + valueOf(rank2), rank1 == 1 || rank2 == 1, 2};
    const int row = ChartTable::twoCardRow(rank1, rank2);
    if (hand.total() == 21 || row < 0) // a natural or a 21: nothing to decide
        return;
    const double stand = engine.stand(hand, upValue, shoe);
    const double hit = engine.hit(hand, upValue, shoe, setAside);
    const double doubled = engine.doubleDown(hand, upValue, shoe, setAside);
    const bool canSplit = rank1 == rank2 && !splitHand;
    const double splitValue = canSplit ? engine.split(valueOf(rank1), rankLeft, upValue, shoe) : -1e9;
    const double best = std::max({stand, hit, doubled, splitValue});
    switch (chart.code(row, ChartTable::column(upValue))) {
    case 's':
        count(weight, stand, best);
        break;
    case 'd':
        count(weight, doubled, best);
        break;
    case 'p':
        if (canSplit) {
            count(weight, splitValue, best);
            split(rank1, rankLeft, upValue, shoe, weight);
            break;
        }
        [[fallthrough]]; // split refused: the player draws
    default:
        count(weight, hit, best);
        reachByHitting(hand, upValue, shoe, setAside, weight);
    }
}

void AdviceAgreement::split(int pairRank, int rankLeft, int upValue, const Shoe &shoe, double weight)
{
    const int pairValue = valueOf(pairRank);
    auto rankOf = [&](int card) { return ChartTable::splitCardRank(pairRank, card); };
    Shoe marked = shoe;
    marked.markRank(pairValue, rankLeft);
    marked.forEachDraw(true, [&](double probability, int card, const Shoe &after) {
        decideTwoCards(pairRank, rankOf(card), upValue, after, weight * probability, 0, true, true);
    });
    // The first hand's own shoes are met by no other hand: decide them now,
    // while the engine still holds this split's values.
    decideLaterHands();
    marked.forEachDraw(false, [&](double upProbability, int newUp, const Shoe &afterUp) {
        afterUp.forEachDraw(true, [&](double probability, int card, const Shoe &after) {
            Shoe dealt = after;
            dealt.clearMark();
            decideTwoCards(pairRank, rankOf(card), newUp, dealt, weight * upProbability * probability, 0, true,
                           false);
        });
    });
}

void AdviceAgreement::reachByHitting(const PlayerHand &hand, int upValue, const Shoe &shoe, bool setAside,
                                     double weight)
{
    shoe.forEachDraw(setAside, [&](double probability, int card, const Shoe &after) {
        const PlayerHand next = hand.plus(card);
        if (ChartTable::laterRow(next.hardSum, next.hasAce) < 0) // 21 ends the hand, a bust too
            return;
        const uint64_t key = after.key() | uint64_t(upValue) << 48 | uint64_t(next.hardSum) << 52
                             | uint64_t(next.hasAce) << 58 | uint64_t(setAside) << 59;
        std::vector<LaterHand> &bucket = laterHands[after.total];
        if (const int *at = laterHandIndex.find(key)) {
            bucket[*at].weight += weight * probability;
        } else {
            laterHandIndex.insert(key, int(bucket.size()));
            bucket.push_back({next, upValue, after, setAside, weight * probability});
        }
    });
}

void AdviceAgreement::decideLaterHands()
{
    for (int left = int(laterHands.size()) - 1; left >= 0; --left) {
        std::vector<LaterHand> &bucket = laterHands[left];
        for (std::size_t i = 0; i < bucket.size(); ++i) {
            const LaterHand later = bucket[i];
            const double stand = engine.stand(later.hand, later.upValue, later.shoe);
            const double hit = engine.hit(later.hand, later.upValue, later.shoe, later.setAside);
            if (chart.laterAdvice(later.hand.hardSum, later.hand.hasAce, later.upValue) == 's') {
                count(later.weight, stand, std::max(stand, hit));
            } else {
                count(later.weight, hit, std::max(stand, hit));
                reachByHitting(later.hand, later.upValue, later.shoe, later.setAside, later.weight);
            }
        }
        bucket.clear();
    }
    laterHandIndex.clear();
}
