#pragma once
#include "ChartTable.h"
#include "ChartPlayTree.h"
#include "SplitSecondHands.h"
#include "StrategyEngine.h"
#include <array>
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
// The hands of three or more cards are a `ChartPlayTree`; the splits' second
// hands, most of all the hands, are valued for every original up-card at once
// (`SplitSecondHands`). The hands' structure and stand values do not depend
// on the chart and are kept; after a change only the hit values of the
// changed columns are worked out again.
class ChartEvaluation : private ChartPlayTree<1> {
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

    // Two cards dealt (at the deal, or to a first split hand), read in a two-card row.
    struct Entry {
        double probability; // of the deal, or within its split
        int node;
        int8_t row;
        int8_t up;
        double stand;
        int split = -1; // first entry of the split's first hands, when it may split
        int splitCount = 0;
        int secondHands = -1; // the split's number in `secondHands`
        double splitValue = 0.0;
        double reach = 0.0;
        double current = 0.0;
    };

    void expand(int node) override;
    Shoe childShoe(const Node &parent, const Child &child) const override;
    // A two-card row's code at an entry, 'p' a hit where no split is allowed.
    double entryValue(const Entry &entry, char code);
    void addDeals();
    void addSplit(int pairEntry, int pairRank, int rankLeft, const Shoe &shoe);
    Entry makeEntry(double probability, int rank1, int rank2, int up, const Shoe &shoe, bool setAside);
    char entryCode(const Entry &entry) const;
    void reachHands();
    // The merged rows: exact, by playing the new code wherever the hand comes back.
    double mergedGain(int row, int column, char code);

    StrategyEngine &engine;
    ChartTable chart;
    bool evaluated = false;
    std::array<int, ChartTable::columns> columnStamp{};
    int stamp = 0;
    double value = 0.0;
    double fixedPart = 0.0; // naturals and dealer blackjacks: no chart cell decides them
    std::vector<Entry> entries; // the deals' entries first, then the first split hands'
    int dealEntries = 0;
    bool splitPairs = false;
    SplitSecondHands secondHands;
    CellActionSums sums{};
    // In merged rows, by cell: the entries reading them.
    std::array<std::array<std::vector<int>, ChartTable::columns>, ChartTable::rows> mergedEntries;
};
