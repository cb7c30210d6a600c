#pragma once

// The rules the strategy engine plays by. The program's own rules are the
// default; the standard casino rules exist only to check the engine against
// published single-deck figures.
struct GameRules {
    using DealerDrawRule = bool (*)(int dealerTotal, int playerTotal);

    DealerDrawRule dealerDraws;
    bool dealerPeeks;     // no dealer blackjack is played out; values are conditioned on it
    double naturalPayout; // paid on a two-card 21 that wins

    // Hole card drawn at the stand, the dealer's 16 depends on the player's
    // total (`dealerDraws`), every win even money.
    static GameRules program();
    // Dealer peeks, draws below 17 (stands on soft 17), a natural pays 3:2.
    static GameRules standard();
};
