#pragma once
#include "CasinoDealer.h"
#include "CasinoHands.h"
#include "GameRules.h"
#include <vector>

// Exact values of every play of a casino hand, for the cards left in the
// shoe, with every later decision the best one for the cards seen.
//
// Stand, hit, double and surrender are exact for the composition. A split
// is valued to the usual standard: each hand of the split holds one card of
// the pair and draws from the shoe without the other hand's card, plays its
// best, and faces the one dealer hand; the value is (hands completed with
// another second card) x (their mean value) + (hands dealt the pair again
// past the resplit limit) x (their value), the numbers of hands counted over
// the pair cards as they are dealt (`SplitHandCounts`).
//
// Error bound. Without a resplit (split to two hands, or aces that may not
// be resplit) this is exact for a fixed play of each hand: unseen, the cards
// one hand draws are as random to the other hand and to the dealer as the
// cards before them. Resplits bring two approximations, each a removal of at
// most two cards from what a hand sees: a later hand is valued with only the
// first pair out, not the further pair cards, and the resplit chances skip
// the cards earlier hands drew. Against chart play simulated split by split
// (`derive_chart --check-splits`) the values agree within the simulation's
// error without resplits, and within 0.006 of a unit per split with resplits
// to four hands (one deck; 0.004 at six decks), less than 0.01 % on a round.
// The best play here lets each hand ignore the other hands' cards, a play a
// player can make, so the split value is at most the information short.
class CasinoEngine {
public:
    // A hand at any point of the round: the cards it holds so far, by point
    // value (1 for an ace), and where it stands among the round's hands.
    struct Position {
        std::vector<int> cards;
        int hands = 1;          // hands the round holds; more than one after a split
        int hand = 0;           // this hand's place among them: the first carries the original stake
        bool splitAces = false; // a hand of split aces: stands, or splits an ace again where the rules allow
    };

    struct Values {
        double stand = 0.0;
        double hit = 0.0;         // then the best of hit and stand
        double doubleDown = 0.0;  // meaningful when canDouble
        double surrender = 0.0;   // meaningful when canSurrender
        double split = 0.0;       // meaningful when canSplit
        bool canHit = true;       // not on split aces
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
    // The same for a hand at any point below 21: `unseen` has every card on
    // the table out, the hole card in while it is face down. Doubling on
    // two cards as the rules allow (after a split only with double after
    // split), a pair splits while the round holds fewer hands than the
    // limit, and surrender is only the first decision's. Stand, hit and
    // double are exact for the composition; a split is valued to the
    // standard above, with as many hands as the limit leaves. With no hole
    // card a dealer natural costs the first hand its original stake, and a
    // later split hand nothing.
    Values values(const Shoe &unseen, int upValue, const Position &position) const;

    const GameRules &rules() const { return tableRules; }
    const CasinoDealer &dealer() const { return casinoDealer; }

private:
    // The split of a pair of `pair` joint with no dealer natural: `before`
    // holds every card but the up-card, the pair's in; at most `mostHands`.
    double splitValue(const Shoe &before, int upValue, int pair, int mostHands, CasinoDealer::Memo &memo) const;

    GameRules tableRules;
    CasinoDealer casinoDealer;
};
