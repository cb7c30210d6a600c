#pragma once
#include "ChartTable.h"
#include "FlatMap.h"
#include "StrategyEngine.h"
#include <array>
#include <vector>

// Measures the tutor against the exact engine: every decision a player meets
// when each one follows the chart (split hands and hands that have drawn
// included), weighted by how often it is met in a round, and whether the
// chart's advice is the best action allowed there, each action valued with
// every later decision the best one.
class AdviceAgreement {
public:
    explicit AdviceAgreement(StrategyEngine &engine) : engine(engine) {}

    // The weighted share of decisions, 0..1, where the advice is the best.
    double share(const ChartTable &chart);

private:
    struct LaterHand {
        PlayerHand hand;
        int upValue;
        Shoe shoe;
        bool setAside;
        double weight;
    };

    void decideTwoCards(int rank1, int rank2, int upValue, const Shoe &shoe, double weight, int rankLeft,
                        bool splitHand, bool setAside);
    void split(int pairRank, int rankLeft, int upValue, const Shoe &shoe, double weight);
    void count(double weight, double advised, double best);
    // Queues the hands of three or more cards a hit leads to, met once each
    // with the summed weight of every order of cards that reaches them.
    void reachByHitting(const PlayerHand &hand, int upValue, const Shoe &shoe, bool setAside, double weight);
    // Decides the queued hands, the most cards left first: a hand is reached
    // only from shoes with more cards, so its weight is complete by its turn.
    void decideLaterHands();

    StrategyEngine &engine;
    ChartTable chart;
    double agreeing = 0.0;
    double decisions = 0.0;
    std::array<std::vector<LaterHand>, 53> laterHands; // by cards left in the shoe
    FlatMap<int> laterHandIndex;
};
