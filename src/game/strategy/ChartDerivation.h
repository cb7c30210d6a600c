#pragma once
#include "ChartTable.h"
#include "FlatMap.h"
#include "StrategyEngine.h"
#include <array>
#include <vector>

// Derives the chart from exact values: every cell gets the code with the
// highest expected result over the hands of its row against its up-card,
// each hand weighted by how often it is dealt. The first two cards come
// from a full deck; hands of three or more cards join the row the tutor
// reads for them, weighted by the chance of reaching them when every earlier decision
// was the best one (a hand is only reached by hitting). On such hands a "d"
// is answered as the tutor answers it. Splits are left to the next step,
// which values them as played.
//
// That chart assumes every later decision is the best one, but the player
// follows the chart: it is then improved one cell at a time, each cell given
// the code with the highest exact round value when every decision, split
// hands included, is read from the chart, until no single change gains;
// "p" belongs to the pair rows alone. The cells are visited row by row; a
// chart evaluation (`ChartEvaluation`) gives every cell's change at once and
// is repeated only when a change touches the cell visited. The reference
// search values each single-cell change by valuing the whole changed chart
// again.
class ChartDerivation {
public:
    // A cell's lead over the best other code, per round played.
    struct Margin {
        char runnerUp = 0;
        double margin = 0.0;
    };
    using Margins = std::array<std::array<Margin, ChartTable::columns>, ChartTable::rows>;

    explicit ChartDerivation(StrategyEngine &engine) : engine(engine) {}
    ChartTable derive();
    ChartTable deriveByReference();
    // Every cell's margin in the chart `derive` returned.
    const Margins &margins() const { return cellMargins; }

private:
    ChartTable bestPlayChart();
    // Takes each cell's best change, in row order, until none gains.
    ChartTable improveAsPlayed(ChartTable chart);
    ChartTable improveByReference(ChartTable chart);

    enum Code { Stand, Hit, Double, CodeCount };
    using CellSums = std::array<double, CodeCount>;

    // Hands of three or more cards, each met once with the summed weight of
    // every order of cards that reaches it: the orders are many.
    struct LaterHand {
        PlayerHand hand;
        Shoe shoe;
        double weight;
    };
    void reachByHitting(const PlayerHand &hand, const Shoe &shoe, double weight);
    void addLaterCards(int upValue);

    StrategyEngine &engine;
    std::array<std::array<CellSums, ChartTable::columns>, ChartTable::rows> sums{};
    std::vector<LaterHand> laterHands; // the fewer cards, the earlier
    FlatMap<int> laterHandIndex;
    Margins cellMargins{};
};
