#pragma once
#include "DecisionRecord.h"
#include "LiveOdds.h"
#include "StrategyEngine.h"

// Turns a decision into its stored record: the chart cell, the exact value
// of every action open (the split worked out here when the pair may split),
// and the chips the chosen action gives away against the best one.
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

    DecisionRecord record(const Decision &decision);

    static QString rankName(const Card &card);

private:
    double splitValue(const LiveOdds::Situation &situation);
    StrategyEngine engine;
};
