#pragma once
#include "Card.h"
#include "Hand.h"
#include "StrategyEngine.h"
#include <optional>
#include <vector>

// Expected results in chips of each action open to the player, for the
// strategy window. Exact under the program's rules, from every card that has
// left the stock this round.
struct ActionOdds {
    double stand = 0.0;
    double hit = 0.0;                     // hit, then go on playing the best way
    std::optional<double> doubleDown;     // only on the hand's first two cards
    std::optional<double> split;          // only on a pair dealt as the round's first two cards
    std::optional<double> surrender;      // casino tables that allow it, on the first two cards
    std::optional<double> insurance;      // the insurance bet, while it is offered
};

class LiveOdds {
public:
    struct Situation {
        Hand playerHand;          // the hand being played
        Card upCard;              // the dealer's up-card
        std::vector<Card> cardsOut; // every other card that left the stock this round:
                                  // the waiting split card, set-aside cards, the first
                                  // split hand and its dealer's cards
        int stake = 25;           // the hand's stake before any double
        bool firstSplitHand = false; // cards of the pair's rank are set aside before each hit
    };

    // A few hundred microseconds at most on a fresh hand; values already
    // computed are remembered for later calls.
    ActionOdds compute(const Situation &situation);

private:
    StrategyEngine engine;
};
