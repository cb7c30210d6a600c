#pragma once
#include "ChartTable.h"
#include "FlatMap.h"
#include "HugePageAllocator.h"
#include "SplitSecondHands.h"
#include "StrategyEngine.h"
#include <array>
#include <cmath>
#include <vector>

// Chart play valued once for everything a search for a better chart needs.
// One pass over the hands chart play can meet gives each of them the chance
// of reaching it under the chart and the exact value of every action open
// there, every later decision read from the chart. Changing one cell then
// changes the round's value by the sum, over the hands that read that cell,
// of reach times the difference of the two actions' values.
//
// That sum is exact wherever a hand that leaves a cell can never read it
// again: totals only rise, a soft row holds one total, and the pair rows are
// read on the first two cards alone. The merged rows H3-8 and H17-20 are the
// exception (5 + 2 is still H3-8), and their changes are valued exactly by
// playing the changed cell again wherever the hand comes back to it.
//
// The rounds are dealt from one full deck and played by the engine's rules.
// The splits' second hands, most of all the hands, are valued for every
// original up-card at once (`SplitSecondHands`). The hands' structure and stand values do not depend on the chart and are
// kept; after a change only the hit values of the changed columns are
// worked out again.
class ChartEvaluation {
public:
    explicit ChartEvaluation(StrategyEngine &engine);

    // Values chart play of this chart.
    void evaluate(const ChartTable &chart);
    // Expected result per round, in units staked.
    double roundValue() const { return value; }
    // Exact change of the round value if the cell took `code` ('s', 'h', 'd',
    // or 'p' on a pair row) and every other cell stayed.
    double gain(int row, int column, char code);
    // Whether a split hand can be a pair again (a shoe of several decks), so
    // that split values depend on the pair cells.
    bool splitHandsReadPairRows() const { return splitPairs; }

private:
    static CellAction actionOf(char code);

    // A card that leaves the hand below 21: it reads `row` next. A card that
    // ends the hand is summed into its node's `ended`.
    struct Child {
        double probability;
        double stand;
        int node;            // made when first needed
        int8_t row;
        int8_t card;
        int8_t setAside;     // cards of that rank dropped before it
        bool doubleStands : 1; // a "d" there means stand
        bool marked : 1;       // the card is of the split pair's set-aside rank
    };
    // A hand that may draw, against one up-card.
    struct Node {
        // Ordered so that no padding is needed: there are tens of thousands.
        Shoe shoe;
        PlayerHand hand;
        int8_t up;
        bool setAside;
        int8_t row; // row read there with three or more cards
        bool doubleStands;
        double stand;
        double ended = 0.0; // the cards that bust the hand or make 21
        double hit = 0.0;
        double arriveSame = 0.0; // from a hand reading the same cell
        double arriveOther = 0.0;
        double changed = 0.0; // value when the cell being tried is changed
        int firstChild = -1;
        int childCount = 0;
        int hitStamp = -1;
        int reachStamp = -1;
        int changedStamp = -1;
    };
    // Two cards dealt (at the deal, or to a split hand), read in a two-card row.
    struct Entry {
        double probability; // of the deal, or within its split
        int node;
        int8_t row;
        int8_t up;
        double stand;
        double doubled = NAN; // worked out when first needed
        int split = -1; // first entry of the split's first hands, when it may split
        int splitCount = 0;
        int secondHands = -1; // the split's number in `secondHands`
        double splitValue = 0.0;
        double reach = 0.0;
        double current = 0.0;
    };

    int nodeFor(const Shoe &shoe, const PlayerHand &hand, int up, bool setAside, double stand);
    void expand(int node);
    // The hand a child leads to, made when first asked for.
    int childNode(int parent, int child);
    double hitValue(int node);
    // The value of the hand a child leads to, every decision read from the chart.
    double childValue(int parent, int child);
    double currentValue(int node);
    // A two-card row's code at an entry, 'p' a hit where no split is allowed.
    double entryValue(Entry &entry, char code);
    void addDeals();
    void addSplit(int pairEntry, int pairRank, int rankLeft, const Shoe &shoe);
    Entry makeEntry(double probability, int rank1, int rank2, int up, const Shoe &shoe, bool setAside);
    char entryCode(const Entry &entry) const;
    void arrive(int node, double probability, bool sameCell);
    void reachHands();
    // The merged rows: exact, by playing the new code wherever the hand comes back.
    double mergedGain(int row, int column, char code);
    // Hit at this hand, the changed cell's code played wherever its row comes back.
    double changedHit(int node, int row, char code);

    StrategyEngine &engine;
    ChartTable chart;
    bool evaluated = false;
    std::array<int, ChartTable::columns> columnStamp{};
    int stamp = 0;
    int reachPass = 0;
    double value = 0.0;
    double fixedPart = 0.0; // naturals and dealer blackjacks: no chart cell decides them
    std::vector<Node, HugePageAllocator<Node>> nodes;
    std::vector<Child, HugePageAllocator<Child>> children;
    FlatMap<int> nodeIndex;
    std::vector<Entry> entries; // the deals' entries first, then the split hands'
    int dealEntries = 0;
    bool splitPairs = false;
    SplitSecondHands secondHands;
    std::vector<std::vector<int>> byCardsLeft;
    CellActionSums sums{};
    int changePass = 0;
    // H3-8 and H17-20 by column: the entries reading them, and the hands of
    // three or more cards entering them from another row.
    std::array<std::array<std::vector<int>, ChartTable::columns>, 2> mergedEntries;
    std::array<std::array<std::vector<int>, ChartTable::columns>, 2> mergedEntrants;
};
