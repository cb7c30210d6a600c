#pragma once
#include "DecisionRecord.h"
#include "LiveOdds.h"
#include "StrategyEngine.h"
#include <future>

// Turns a decision into its stored record: the chart cell, the exact value
// of every action open, and the chips the chosen action gives away against
// the best one. A split can take the engine tens of milliseconds, so when
// the table has not worked it out it is worked out on another thread.
class DecisionValues {
public:
    struct Decision {
        LiveOdds::Situation situation;
        ActionOdds odds;       // stand, hit and double as the table worked them out
        char action = 0;
        char advice = 0;
        bool adviceAlways = true;
        bool canDouble = false;
        bool canSplit = false;
    };

    // The record, priced; a split value still to come leaves it to `price`.
    DecisionRecord record(const Decision &decision);
    // Whether the split value must come from `splitValue`.
    static bool splitPending(const Decision &decision) { return decision.canSplit && !decision.odds.split; }
    // Starts working out the split of the hand's pair; one at a time.
    std::shared_future<double> splitValue(const LiveOdds::Situation &situation);
    // Sets the cost from the values.
    static void price(DecisionRecord &record);

    static QString rankName(const Card &card);

private:
    double computeSplit(const LiveOdds::Situation &situation);
    StrategyEngine engine;
    std::shared_future<double> working;
};
