#pragma once
#include "DecisionRecord.h"
#include "LiveOdds.h"

// Turns a decision into its stored record: the chart cell, the exact value
// of every action open, and the chips the chosen action gives away against
// the advised one.
class DecisionValues {
public:
    struct Decision {
        LiveOdds::Situation situation;
        ActionOdds odds;       // as the table worked them out
        char action = 0;
        char advice = 0;
        bool adviceAlways = true;
        bool canDouble = false;
        bool canSplit = false;
        std::optional<double> surrender; // its value, where the table allows it
        int hand = 0; // which hand of a casino table's split: two may hold the same cards
    };

    // None when the advice or the choice is no action open at that moment:
    // such a decision can be neither followed nor a mistake. `rules` is the
    // rules text of the table it was made at, whose chart rows it is counted in.
    static std::optional<DecisionRecord> record(const Decision &decision, const QString &rules);
    static QString rankName(const Card &card);
    // The stored value of an action code; none for an action not open.
    static std::optional<double> valueOf(const DecisionRecord &record, char action);
};
