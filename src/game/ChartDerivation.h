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
// is answered as the tutor answers it, and "p" belongs to the pair rows alone.
class ChartDerivation {
public:
    explicit ChartDerivation(StrategyEngine &engine) : engine(engine) {}
    ChartTable derive();

private:
    enum Code { Stand, Hit, Double, Split, CodeCount };
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
};
