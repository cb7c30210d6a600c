#pragma once
#include "ChartTable.h"
#include "DealerOutcomes.h"
#include "FlatMap.h"
#include "GameRules.h"
#include "Shoe.h"
#include <array>
#include <cstdint>
#include <utility>

template <int Lanes> class ChartPlayTree;

// The two hands of a split, each per unit staked on it.
struct SplitValue {
    double first = 0.0;
    double second = 0.0;
    double total() const { return first + second; }
};

// A player hand as the engine needs it: the sum with every ace counted 1,
// whether it holds an ace, and the number of cards.
struct PlayerHand {
    int hardSum = 0;
    bool hasAce = false;
    int cards = 0;

    int total() const { return bestTotal(hardSum, hasAce); }
    PlayerHand plus(int value) const { return {hardSum + value, hasAce || value == 1, cards + 1}; }
};

// Exact expected results, per unit staked, from the composition of the cards
// still to come (every card removed that has been seen). The shoe passed in
// holds the unseen cards: the up-card and the player's cards already taken out.
//
// `setAside` marks the first hand of a split under the program's rule: before
// each of its hits up to two cards of the pair's rank (the shoe's marked rank)
// are dropped from the top of the stock.
//
// Under the standard rules values are conditioned on the dealer having no
// blackjack (the dealer peeks).
class StrategyEngine {
public:
    explicit StrategyEngine(const GameRules &rules = GameRules::program());

    double stand(const PlayerHand &hand, int upValue, const Shoe &shoe, bool natural = false);
    // Hit, then go on playing the best way (hit or stand) after every card.
    double hit(const PlayerHand &hand, int upValue, const Shoe &shoe, bool setAside = false);
    // One card at twice the stake, then stand. The result is per unit of the
    // original stake, so -2 is the worst.
    double doubleDown(const PlayerHand &hand, int upValue, const Shoe &shoe, bool setAside = false);
    // Both hands of a split of a pair of this value, played the best way;
    // `rankLeft` cards of the pair's rank are still unseen. The first hand is
    // exact. The second hand (new up-card, one set-aside step, its second
    // card) is dealt from the cards unseen at the split: exact for a hand
    // played without regard to the cards the first hand and its dealer took,
    // and so a little below a player who counts those cards.
    double split(int pairValue, int rankLeft, int upValue, const Shoe &shoe);
    // The best of stand, hit, double (two cards only) and split (when allowed).

    // Expected result of one round from a full deck, per unit staked,
    // when every decision follows the chart as the tutor reads it ("p" is
    // only possible on the first two cards). Exact, split hands included.
    double chartRoundValue(const ChartTable &chart);
    // The same for each hand of a split of one pair against one up-card.
    SplitValue chartSplit(const ChartTable &chart, int pairRank, int rankLeft, int upValue, const Shoe &shoe);
    // Expected result of a round played the best way, decision by decision.
    double bestRoundValue();

    DealerOutcomes &dealer() { return dealerOutcomes; }
    std::size_t cachedCount() const
    {
        std::size_t chartValues = 0;
        for (const FlatMap<double> &values : chartMemo)
            chartValues += values.size();
        return memo.size() + chartValues + splitHandMemo.size() + dealerOutcomes.cachedCount()
               + splitHandDealer.cachedCount();
    }

private:
    template <int Lanes> friend class ChartPlayTree;
    friend class ChartEvaluation;
    friend class SplitSecondHands;
    // The next cards a hand can receive, listed first so the dealer outcomes
    // they lead to can be worked out together.
    struct Draws {
        struct Draw {
            double probability;
            int card;
            Shoe after;
            bool marked; // the card was of the set-aside rank
        };
        std::array<Draw, 32> items; // ten values, three times over with cards set aside
        // Where the dealer outcomes against each draw's hand are kept, once
        // `prepareStands` has worked them out (not for a bust).
        std::array<int, 32> dealerPlaces;
        int count = 0;

        Draws(const Shoe &shoe, bool setAside)
        {
            shoe.forEachCard(setAside, [this](double probability, int card, const Shoe &from, bool marked) {
                // Field by field: a whole-struct temporary would be stored in
                // pieces and read back whole, which stalls the processor.
                Draw &draw = items[count++];
                draw.probability = probability;
                draw.card = card;
                draw.after = from;
                draw.marked = marked;
                if (marked)
                    draw.after.removeMarked();
                else
                    draw.after.remove(card);
            });
        }
        const Draw *begin() const { return items.data(); }
        const Draw *end() const { return items.data() + count; }
    };
    static uint64_t handKey(const Shoe &shoe, int upValue, const PlayerHand &hand, bool setAside);

    // Values before dividing by the chance of no dealer blackjack.
    double standRaw(const PlayerHand &hand, int upValue, const Shoe &shoe, bool natural);
    double bustRaw(int upValue, const Shoe &shoe) const;
    // Works out together the dealer outcomes the next cards' stand values need.
    void prepareStands(const PlayerHand &hand, int upValue, Draws &draws);
    // Stand value of the hand after a prepared draw (not a bust).
    double drawnStandRaw(const Draws &draws, const Draws::Draw &draw, const PlayerHand &next) const
    {
        return standAgainst(dealerFor(draw.after).at(draws.dealerPlaces[&draw - draws.begin()]), next.total(), false);
    }
    double standAgainst(const DealerFinals &dealer, int player, bool natural) const;
    double hitRaw(const PlayerHand &hand, int upValue, const Shoe &shoe, bool setAside);
    double bestOfStandAndHitRaw(const PlayerHand &hand, int upValue, const Shoe &shoe, bool setAside);
    double doubleRaw(const PlayerHand &hand, int upValue, const Shoe &shoe, bool setAside);
    double bestTwoCardRaw(const PlayerHand &hand, int upValue, const Shoe &shoe, bool setAside);
    double splitRaw(int pairValue, int rankLeft, int upValue, const Shoe &shoe);
    template <class PlayHand>
    SplitValue splitWith(int pairValue, int rankLeft, int upValue, const Shoe &shoe, PlayHand &&play);

    // rankLeft: unseen cards of the pair's rank, used only when the hand splits.
    double chartTwoCardRaw(const ChartTable &chart, int rank1, int rank2, int upValue, const Shoe &shoe,
                           bool canSplit, int rankLeft, bool setAside);
    double chartHitRaw(const ChartTable &chart, const PlayerHand &hand, int upValue, const Shoe &shoe, bool setAside);
    void useChart(const ChartTable &chart);
    template <class PlayDeal> double overAllDeals(PlayDeal &&play);
    // Every deal from a full deck, in dealing order (up-card, then the
    // player's two cards), by rank: visit(chance, up, first, second, natural,
    // unseen cards of the first card's rank, the cards left).
    template <class Visit> static void forEachDeal(Visit &&visit);

    GameRules rules;
    // [natural][player total][dealer's final total - lowestFinal]: the stake
    // won or lost when both stand.
    std::array<std::array<std::array<double, bustFinal>, 22>, 2> resultAgainst;
    DealerOutcomes dealerOutcomes;
    FlatMap<double> memo;
    // Shoes of a first split hand (a rank marked) apart: a split's own shoes
    // are met by no other question, so they are dropped when the next split
    // is of another kind.
    FlatMap<double> splitHandMemo;
    DealerOutcomes splitHandDealer;
    int splitHandTablesFor = 0; // up-card and pair value of the shoes in them
    FlatMap<double> &memoFor(const Shoe &shoe) { return shoe.markedValue ? splitHandMemo : memo; }
    DealerOutcomes &dealerFor(const Shoe &shoe) { return shoe.markedValue ? splitHandDealer : dealerOutcomes; }
    const DealerOutcomes &dealerFor(const Shoe &shoe) const
    {
        return shoe.markedValue ? splitHandDealer : dealerOutcomes;
    }
    // Chart-play hit values under `chartMemoFor`, by up-card value: a hand
    // that draws reads only its up-card's column, so a change to one column
    // keeps the others' values.
    std::array<FlatMap<double>, 11> chartMemo;
    ChartTable chartMemoFor;
};

template <class Visit> void StrategyEngine::forEachDeal(Visit &&visit)
{
    std::array<int, 14> ranksLeft;
    ranksLeft.fill(4);
    int left = 52;
    Shoe shoe = Shoe::fullDeck();
    for (int up = 1; up <= 13; ++up) {
        const double pUp = double(ranksLeft[up]--) / left--;
        shoe.remove(valueOf(up));
        for (int first = 1; first <= 13; ++first) {
            const double pFirst = pUp * ranksLeft[first]-- / left--;
            shoe.remove(valueOf(first));
            for (int second = 1; second <= 13; ++second) {
                const double pSecond = pFirst * ranksLeft[second]-- / left--;
                shoe.remove(valueOf(second));
                const bool natural = valueOf(first) + valueOf(second) == 11 && (first == 1 || second == 1);
                visit(pSecond, up, first, second, natural, ranksLeft[first], std::as_const(shoe));
                shoe.put(valueOf(second));
                ++ranksLeft[second];
                ++left;
            }
            shoe.put(valueOf(first));
            ++ranksLeft[first];
            ++left;
        }
        shoe.put(valueOf(up));
        ++ranksLeft[up];
        ++left;
    }
}

