#pragma once

// The rules a table plays by. The program's own table is the default; the
// casino options describe the common rules of real tables.
struct GameRules {
    using DealerDrawRule = bool (*)(int dealerTotal, int playerTotal);

    enum class DoubleOn { AnyTwo, NineToEleven, TenToEleven };

    DealerDrawRule dealerDraws;
    bool dealerPeeks;     // no dealer blackjack is played out; values are conditioned on it
    double naturalPayout; // paid on a two-card 21 that wins

    // The casino options. The program's table reads none of them: a fresh
    // deck every round, its own split rule, its own dealer.
    bool casino = false;
    int decks = 1;                        // 1, 2, 4, 6 or 8
    bool dealerHitsSoft17 = false;        // otherwise the dealer stands on every 17
    bool noHoleCard = false;              // European: a dealer natural takes only the original stakes
    DoubleOn doubleOn = DoubleOn::AnyTwo;
    bool doubleAfterSplit = true;
    int splitHands = 4;                   // most hands a pair can be split into: 2, 3 or 4
    bool resplitAces = false;             // split aces take one card each either way
    bool lateSurrender = false;

    // Whether the table lets a two-card hand double: `hardSum` counts aces
    // as 1, `afterSplit` for a hand of a split pair.
    bool mayDouble(int hardSum, bool hasAce, bool afterSplit) const;

    // Hole card drawn at the stand, the dealer's 16 depends on the player's
    // total (`dealerDraws`), every win even money.
    static GameRules program();
    // Dealer peeks, draws below 17 (stands on soft 17), a natural pays 3:2.
    static GameRules standard();
    // A casino table with the usual defaults: 6 decks, dealer stands on soft
    // 17 and peeks, 3:2, double on any two cards and after a split, split to
    // four hands, no resplit of aces, no surrender.
    static GameRules casinoDefaults();
};
