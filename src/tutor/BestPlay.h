#pragma once
#include "Hand.h"
#include "StrategyChart.h"
#include <QString>
#include <cstdint>

// The tutor's answer for the player's hand against the dealer's up-card.
// Reads one cell of the chart: a two-card pair, then a soft total (an ace
// counting 11, any number of cards), then the hard total.
class BestPlay {
public:
    explicit BestPlay(const StrategyChart &chart) : chart(chart) {}

    // dealerTotal is the up-card's value; an ace (1) is turned into 11 in
    // place. Sets theChartLine (0..20) when the hand has a row; otherwise
    // leaves it and returns "". A hand of three or more cards can no longer
    // double: a "d" cell is answered "s" on a soft 18 or more, "h" otherwise.
    QString chartLookup(const Hand &playerHand, int16_t playerTotal, int16_t &dealerTotal,
                        int16_t &theChartLine) const;
    static QString ispair(const Hand &playerHand, int16_t &theChartLine);
    static QString issoft(const Hand &playerHand, int16_t &theChartLine);

private:
    const StrategyChart &chart;
};
