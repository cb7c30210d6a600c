#pragma once
#include "CasinoDealer.h"
#include "CasinoHands.h"
#include "GameRules.h"

// Exact values of every play of a casino hand, for the cards left in the
// shoe, with every later decision the best one for the cards seen.
//
// Stand, hit, double and surrender are exact for the composition. A split
// is valued to the usual standard: each hand of the split starts with one
// card of the pair and draws from the shoe with both of the pair's cards
// out, plays its best, and faces the one dealer hand; the value is
// (hands completed with another second card) x (their mean value) +
// (hands dealt the pair again past the resplit limit) x (their value).
// With no resplit that is exact for a fixed play of each hand: the cards one
// hand draws are, unseen, as random to the other hand and to the dealer as
// the cards before them. What is left out: a resplit hand's later hands see
// only the first pair's cards out, not the further pair cards; the resplit
// chances skip the cards earlier hands drew; and each hand plays as if it
// did not see the other hands' cards. Each of these is a card-removal
// effect of one or two cards on a hand; measured by simulation they stay
// within a few thousandths of a unit per split (see the casino tests).
class CasinoEngine {
public:
    struct Values {
        double stand = 0.0;
        double hit = 0.0;         // then the best of hit and stand
        double doubleDown = 0.0;  // meaningful when canDouble
        double surrender = 0.0;   // meaningful when canSurrender
        double split = 0.0;       // meaningful when canSplit
        bool canDouble = false;
        bool canSurrender = false;
        bool canSplit = false;
        double best() const;
    };

    explicit CasinoEngine(const GameRules &rules);

    // The values per original stake of a first two-card hand (not a
    // natural) against the up-card. `unseen` holds every card not seen: the
    // up-card and the two cards are out, the hole card is in. Where the
    // dealer peeks with an ace or ten up, the values are for a dealer
    // without a natural; with no hole card a dealer natural costs the
    // original stake whatever was played.
    Values values(const Shoe &unseen, int upValue, int first, int second) const;

    const GameRules &rules() const { return tableRules; }
    const CasinoDealer &dealer() const { return casinoDealer; }

private:
    GameRules tableRules;
    CasinoDealer casinoDealer;
};
