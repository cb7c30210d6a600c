#pragma once
#include "ChartPlayTree.h"
#include "FlatMap.h"
#include "StrategyEngine.h"
#include <array>
#include <vector>

// The second hands of the round's splits, valued as ChartEvaluation values
// hands: the chance of reaching each under the chart and the value of each
// action there.
//
// A second hand is dealt from the deal's shoe less the pair, a new up-card,
// the cards set aside and its second card. For one pair, new up-card, cards
// set aside and second card, the splits against the ten original up-cards
// differ by that up-card alone: one card of the shoe. So each such hand is
// one tree over the shoe with the original up-card put back, with a lane per
// original up-card (its shoe is the tree's less that card). The chart's
// decisions are the same in every lane, as they read the hand's row and the
// new up-card's column; only the chances and values differ. A single deck's
// second hands are then about 24,000 hands instead of 350,000, each found
// once by its key; each lane does the arithmetic a tree of its own would do
// and asks for the same dealer outcomes.
class SplitSecondHands : private ChartPlayTree<10> {
public:
    // By the original up-card's value - 1.
    using Lanes = Values;

    // Reads the chart and the column stamps of the evaluation it serves: a
    // hit value is kept while its column's stamp stays.
    SplitSecondHands(StrategyEngine &engine, const ChartTable &chart,
                     const std::array<int, ChartTable::columns> &columnStamp);

    // The second hands of a split of a pair of `pairRank` against `up`, with
    // `rankLeft` cards of its rank unseen in `shoe`; returns the split's number.
    int add(int pairRank, int rankLeft, int up, const Shoe &shoe);
    // Whether some second hand is a pair (a shoe of several decks).
    bool readPairRows() const { return pairRows; }
    // Values the hands under the chart as it is now.
    void evaluate();
    // The split's second hands together, each weighted by its chance (before
    // dividing by the chance of no dealer blackjack).
    double value(int split) const;
    // Reach of the hands for the splits played, each split's reach given by
    // `reachSplit` after `startReach`; adds the hands to the cells' sums.
    void startReach();
    void reachSplit(int split, double reach) { splitReach[split] = reach; }
    void addReach(CellActionSums &sums);
    // Exact change of the round value from these hands if a merged row's cell
    // took `code`, played again wherever a hand comes back to it.
    double mergedChange(int row, int column, char code);

private:
    // A second hand's first two cards.
    struct Entry {
        int node; // -1 for 21
        int8_t row;
        int8_t up;
        Lanes stand;
        Lanes current{};
        Lanes reach{};
    };
    // One way a split's second hand is dealt.
    struct Dealt {
        int entry;
        int lane;
        double probability; // within the split
    };

    int entryFor(int pairRank, int card, int up, const Shoe &shoe);
    void expand(int node) override;
    Shoe childShoe(const Node &parent, const Child &child) const override;
    Lanes entryValue(const Entry &entry, char code);
    char entryCode(const Entry &entry) const;

    StrategyEngine &engine;
    FlatMap<int> entryIndex;
    std::vector<Entry> entries;
    std::vector<Dealt> dealt; // by split, in order
    std::vector<int> splitStart; // each split's first in `dealt`, and the end
    std::vector<double> splitReach;
    bool pairRows = false;
    // In merged rows, by cell: the entries reading them.
    std::array<std::array<std::vector<int>, ChartTable::columns>, ChartTable::rows> mergedEntries;
};
