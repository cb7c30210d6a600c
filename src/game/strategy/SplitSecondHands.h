#pragma once
#include "ChartTable.h"
#include "FlatMap.h"
#include "HugePageAllocator.h"
#include "StrategyEngine.h"
#include <array>
#include <vector>

// The actions a chart cell can hold, as indexes of its sums.
enum CellAction { StandAction, HitAction, DoubleAction, SplitAction, CellActionCount };
// Per chart cell: over the hands reading it, reach x value of each action.
using CellActionSums =
    std::array<std::array<std::array<double, CellActionCount>, ChartTable::columns>, ChartTable::rows>;

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
// new up-card's column; only the chances and values differ. That makes a
// tenth of the hands, children and lookups of a tree per original up-card,
// and each lane does the arithmetic a tree of its own would do.
class SplitSecondHands {
public:
    // By the original up-card's value - 1.
    using Lanes = std::array<double, 10>;

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
    struct Child {
        // The card's chance in the lanes of other values, and in the lane of
        // its own value, which has one of them fewer: kept as two numbers,
        // the lanes made of them when needed.
        double chance;
        double chanceInOwnLane;
        Lanes stand; // 0 in a lane without the card
        int node; // made when first needed
        int8_t row;
        int8_t card;
        bool doubleStands;
    };
    struct Node {
        Shoe shoe; // with the original up-card still in
        PlayerHand hand;
        int8_t up;
        int8_t row; // read there with three or more cards
        bool doubleStands;
        Lanes stand;
        Lanes ended{}; // the cards that bust the hand or make 21
        Lanes oneCard{}; // one card, then stand: half a double
        Lanes hit{};
        Lanes arriveSame{};
        Lanes arriveOther{};
        Lanes changed{};
        int firstChild = -1;
        int childCount = 0;
        int hitStamp = -1;
        int reachStamp = -1;
        int changedStamp = -1;
    };
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

    int nodeFor(const Shoe &shoe, const PlayerHand &hand, int up, const Lanes &stand);
    int entryFor(int pairRank, int card, int up, const Shoe &shoe);
    void expand(int node);
    int childNode(int parent, int child);
    static Lanes chances(const Child &child);
    // Drawing one card at this hand: childValue(child) gives what the hand a
    // child leads to is worth.
    template <class ChildValue> Lanes drawValue(int node, ChildValue &&childValue);
    const Lanes &hitValue(int node);
    Lanes childValue(int parent, int child);
    Lanes currentValue(int node);
    Lanes entryValue(const Entry &entry, char code);
    char entryCode(const Entry &entry) const;
    void arrive(int node, const Lanes &reach, const Lanes &probability, bool sameCell);
    Lanes changedHit(int node, int row, char code);

    StrategyEngine &engine;
    const ChartTable &chart;
    const std::array<int, ChartTable::columns> &columnStamp;
    std::vector<Node, HugePageAllocator<Node>> nodes;
    std::vector<Child, HugePageAllocator<Child>> children;
    FlatMap<int> nodeIndex;
    FlatMap<int> entryIndex;
    std::vector<Entry> entries;
    std::vector<Dealt> dealt; // by split, in order
    std::vector<int> splitStart; // each split's first in `dealt`, and the end
    std::vector<double> splitReach;
    bool pairRows = false;
    int reachPass = 0;
    int changePass = 0;
    std::vector<std::vector<int>> byCardsLeft;
    // In merged rows, by cell: the entries reading them, and the hands of
    // three or more cards entering them from another row.
    std::array<std::array<std::vector<int>, ChartTable::columns>, ChartTable::rows> mergedEntries;
    std::array<std::array<std::vector<int>, ChartTable::columns>, ChartTable::rows> mergedEntrants;
};
