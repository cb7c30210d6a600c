#include "CasinoEngine.h"
#include "SplitHandCounts.h"
#include <algorithm>
#include <cmath>
#include <functional>

namespace {
// The best value of every hand of a tree, hitting or standing.
class BestPlay {
public:
    explicit BestPlay(const CasinoHands &hands) : hands(hands) {}

    double best(int at)
    {
        if (memo.size() < static_cast<std::size_t>(hands.size()))
            memo.resize(hands.size(), NAN);
        if (std::isnan(memo[at]))
            memo[at] = hands[at].drawsForFree() ? hit(at) : std::max(hands.stand(at), hit(at));
        return memo[at];
    }
    double hit(int at)
    {
        const CasinoHands::Hand &hand = hands[at];
        if (hand.total() >= 21)
            return -1e9;
        double value = 0.0;
        for (int i = 0; i < 10; ++i)
            value += hand.chance[i] * (hand.next[i] == CasinoHands::busted ? hand.bustValue[i] : best(hand.next[i]));
        return value;
    }
    double doubleDown(int at) const
    {
        const CasinoHands::Hand &hand = hands[at];
        double value = 0.0;
        for (int i = 0; i < 10; ++i)
            value += hand.chance[i] * (hand.next[i] == CasinoHands::busted ? hand.bustValue[i] : hands.stand(hand.next[i]));
        return 2.0 * value;
    }

private:
    const CasinoHands &hands;
    std::vector<double> memo;
};
}

double CasinoEngine::Values::best() const
{
    double value = canHit ? std::max(stand, hit) : stand;
    if (canDouble)
        value = std::max(value, doubleDown);
    if (canSurrender)
        value = std::max(value, surrender);
    if (canSplit)
        value = std::max(value, split);
    return value;
}

CasinoEngine::CasinoEngine(const GameRules &rules) : tableRules(rules), casinoDealer(rules.dealerHitsSoft17) {}

CasinoEngine::Values CasinoEngine::values(const Shoe &unseen, int upValue, int first, int second) const
{
    return values(unseen, upValue, Position{{first, second}});
}

CasinoEngine::Values CasinoEngine::values(const Shoe &unseen, int upValue, const Position &position) const
{
    Shoe before = unseen;
    CasinoHands::Cards cards{};
    for (int value : position.cards) {
        before.put(value);
        ++cards[value - 1];
    }
    CasinoDealer::Memo memo;
    CasinoHands hands(casinoDealer, before, upValue, memo);
    const int start = hands.add(cards, !position.splitAces);
    BestPlay play(hands);
    const CasinoHands::Hand &hand = hands[start];
    const bool twoCards = position.cards.size() == 2;
    const bool split = position.hands > 1;

    Values values;
    values.stand = hands.stand(start);
    values.canHit = !position.splitAces;
    if (values.canHit)
        values.hit = play.hit(start);
    values.canDouble = twoCards && !position.splitAces && tableRules.mayDouble(hand.hardSum, hand.hasAce, split);
    if (values.canDouble)
        values.doubleDown = play.doubleDown(start);
    values.canSurrender = tableRules.lateSurrender && twoCards && !split;
    values.surrender = -0.5 * hand.noNatural;
    const int pair = position.cards.front();
    values.canSplit = twoCards && pair == position.cards.back() && position.hands < tableRules.splitHands &&
                      (!position.splitAces || tableRules.resplitAces);
    if (values.canSplit)
        values.split = splitValue(before, upValue, pair, tableRules.splitHands - position.hands + 1, memo);

    // From "joint with no dealer natural" to the values the player meets.
    const double natural = 1.0 - hand.noNatural;
    const double naturalCost = position.hand == 0 ? natural : 0.0;
    for (double *value : {&values.stand, &values.hit, &values.doubleDown, &values.surrender, &values.split})
        *value = tableRules.noHoleCard ? *value - naturalCost : *value / hand.noNatural;
    return values;
}

double CasinoEngine::splitValue(const Shoe &before, int upValue, int pair, int mostHands, CasinoDealer::Memo &memo) const
{
    Shoe otherHandOut = before; // each hand holds its own card of the pair
    otherHandOut.remove(pair);
    CasinoHands splitHands(casinoDealer, otherHandOut, upValue, memo);
    BestPlay splitPlay(splitHands);
    const bool aces = pair == 1;
    auto handValue = [&](int second) {
        CasinoHands::Cards two{};
        ++two[pair - 1];
        ++two[second - 1];
        const int at = splitHands.add(two, !aces);
        if (aces)
            return splitHands.stand(at);
        const double best = splitPlay.best(at);
        const bool doubles = tableRules.mayDouble(splitHands[at].hardSum, splitHands[at].hasAce, true);
        return doubles ? std::max(best, splitPlay.doubleDown(at)) : best;
    };
    CasinoHands::Cards one{};
    ++one[pair - 1];
    double otherMean = 0.0;
    double otherChance = 0.0;
    for (int value = 1; value <= 10; ++value) {
        const double chance = splitHands.drawChance(one, 1, value);
        if (value != pair && chance > 0.0) {
            otherMean += chance * handValue(value);
            otherChance += chance;
        }
    }
    const bool resplits = !aces || tableRules.resplitAces;
    const SplitHandCounts counts =
        SplitHandCounts::of(otherHandOut.count(pair) - 1, otherHandOut.total - 1, resplits ? mostHands : 2);
    return (otherChance > 0.0 ? counts.otherCard * otherMean / otherChance : 0.0) +
           (counts.pairAgain > 0.0 ? counts.pairAgain * handValue(pair) : 0.0);
}
