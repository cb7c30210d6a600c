#pragma once
#include "StrategyEngine.h"
#include <string>

// Exact split values for a pair on the round's first two cards, where the
// situation is fixed by the pair's value, the up-card's value and how many
// cards of the pair's rank are still unseen. Working one out takes far longer
// than the player may wait, so derive_chart writes them all into
// SplitOddsTable.h.
class SplitOdds {
public:
    // Both hands together, per unit staked on each.
    static double value(int pairValue, int upValue, int rankLeft);
    // The text of SplitOddsTable.h for this engine's rules.
    static std::string tableText(StrategyEngine &engine);
};
